#pragma once
#include <QAbstractButton>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <vector>

#include "platform/qt/qt_forms.h"

namespace tolvane::qt::testing {

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// Stands in for the user at the window's boxes and popup menu: notes what each showed
// and answers it the way a click would, without a modal loop.
class BoxAnswerer {
  public:
    explicit BoxAnswerer(QtForms& forms) {
        forms.SetBoxPresenter([this](QMessageBox& box) {
            boxes.push_back({box.text(), box.windowTitle(), box.icon(), box.standardButtons(),
                             box.standardButton(box.defaultButton())});
            if (QAbstractButton* button = box.button(answer)) button->click();
        });
        forms.SetMenuPresenter([this](QMenu& menu, const QPoint& at) -> QAction* {
            menuPositions.push_back(at);
            QStringList texts;
            QAction* chosen = nullptr;
            for (QAction* action : menu.actions()) {
                texts << action->text();
                if (action->text() == menuChoice) chosen = action;
            }
            menus.push_back(texts);
            return chosen;
        });
    }

    QMessageBox::StandardButton answer = QMessageBox::No;
    QString menuChoice;  // the item to choose; none of them when empty
    std::vector<SeenBox> boxes;
    std::vector<QStringList> menus;
    std::vector<QPoint> menuPositions;  // where each was put, on the screen
};

}  // namespace tolvane::qt::testing
