#pragma once
#include <QMessageBox>
#include <memory>
#include <string>

namespace tolvane::qt {

// A message box owned by parent, set up from a style value: its button set (the first
// button is the default one), its icon, and the button that Escape or Close means.
// Throws std::invalid_argument for a style outside the known sets and icons.
std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& prompt, int style,
                                            const std::string& title, QWidget* parent);

// The answer code (msgbox::kYes, ...) for a box that has been closed: the button the
// user pressed, else the one Escape stands for, else 0.
int AnswerOf(const QMessageBox& box);

}  // namespace tolvane::qt
