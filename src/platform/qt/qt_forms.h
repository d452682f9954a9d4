#pragma once
#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <functional>

#include "platform/forms.h"
#include "platform/qt/control_widgets.h"
#include "ui/key_gate.h"

namespace tolvane::qt {

// What frmMain's handlers ask of a toolkit, done with the window's Qt widgets.
class QtForms final : public Forms {
  public:
    // How a ready box or menu is put before the user. The defaults run their own modal
    // loops; tests put in one that inspects it and answers as a user would.
    using BoxPresenter = std::function<void(QMessageBox&)>;
    // A menu is put at a point on the screen.
    using MenuPresenter = std::function<QAction*(QMenu&, const QPoint&)>;

    // keys hears of every message box as it opens.
    QtForms(QWidget& window, const ControlWidgets& controls, ui::KeyGate& keys);

    void SetBoxPresenter(BoxPresenter presenter) { presentBox_ = std::move(presenter); }
    void SetMenuPresenter(MenuPresenter presenter) { presentMenu_ = std::move(presenter); }

    void SetText(Control control, const std::string& text) override;
    std::string Text(Control control) override;
    bool FitsOnOneLine(Control control, const std::string& line) override;
    void SetToolTip(Control control, const std::string& text) override;
    void SetForeColor(Control control, OleColor color) override;
    int MsgBox(const std::string& prompt, int style, const std::string& title) override;
    MenuItem PopupAboutMenu(PopupPlace place) override;
    void SetWaiting(bool waiting) override;

  private:
    QPoint PopupPosition(PopupPlace place) const;

    QWidget& window_;
    ControlWidgets controls_;
    ui::KeyGate& keys_;
    // The hidden top-level menu mnuAbout: never in a menu bar, only ever a popup.
    QPointer<QMenu> mnuAbout_;
    QPointer<QAction> mnuAboutTolvane_;
    BoxPresenter presentBox_;
    MenuPresenter presentMenu_;
    bool waiting_ = false;
    QCursor textBoxCursor_;  // while waiting
};

}  // namespace tolvane::qt
