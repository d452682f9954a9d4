#pragma once
#include <QLabel>

namespace tolvane::qt {

// A label that acts: Tab stops at it, a click does not focus it (so nothing changes for
// the mouse), and it shows the style's focus rectangle while it has the focus.
class ActionLabel final : public QLabel {
  public:
    ActionLabel(const QString& text, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tolvane::qt
