#include "platform/qt/qt_forms.h"

#include <QCursor>
#include <stdexcept>

#include "platform/qt/message_box.h"
#include "platform/qt/palette_colors.h"
#include "platform/qt/qt_text.h"
#include "ui/window_description.h"
#include "version.h"

namespace tolvane::qt {

QtForms::QtForms(QWidget& window, const ControlWidgets& controls)
    : window_(window),
      controls_(controls),
      mnuAbout_(new QMenu(ToQString(ui::kMenuAboutText), &window)),
      presentBox_([](QMessageBox& box) { box.exec(); }),
      presentMenu_([](QMenu& menu, const QPoint& at) { return menu.exec(at); }) {
    mnuAbout_->setObjectName(QStringLiteral("mnuAbout"));
    mnuAboutTolvane_ = mnuAbout_->addAction(ToQString(ui::kMenuAboutTolvaneText));
    mnuAboutTolvane_->setObjectName(QStringLiteral("mnuAboutTolvane"));
}

void QtForms::SetText(Control control, const std::string& text) {
    const QString qtext = ToQString(text);
    if (control == Control::frmMain) return window_.setWindowTitle(qtext);
    if (control == Control::txtUptime) return controls_.txtUptime->setText(qtext);
    if (control == Control::fraTodo) return controls_.fraTodo->setTitle(qtext);
    QLabel* label = controls_.Label(control);
    label->setText(qtext);
    const auto& description = ui::Describe(control);
    if (description.autoSize) PlaceAutoSizedLabel(*label, description);
}

void QtForms::SetForeColor(Control control, OleColor color) {
    QWidget* widget = controls_.Find(control);
    SetTextColor(widget ? *widget : window_, color);
}

int QtForms::MsgBox(const std::string& prompt, int style, const std::string& title) {
    const auto box = MakeMessageBox(prompt, style, title, &window_);
    presentBox_(*box);
    return AnswerOf(*box);
}

QPoint QtForms::PopupPosition(PopupPlace place) const {
    if (place == PopupPlace::AtPointer) return QCursor::pos();
    // By the middle of whatever has the focus, as the platform places a keyboard menu.
    const QWidget* focus = window_.focusWidget();
    const QWidget& widget = focus ? *focus : window_;
    return widget.mapToGlobal(widget.rect().center());
}

MenuItem QtForms::PopupAboutMenu(PopupPlace place) {
    if (!mnuAbout_) throw std::logic_error("the About menu is gone");
    QAction* chosen = presentMenu_(*mnuAbout_, PopupPosition(place));
    return chosen && chosen == mnuAboutTolvane_ ? MenuItem::mnuAboutTolvane : MenuItem::None;
}

void QtForms::SetWaiting(bool waiting) {
    if (waiting == waiting_) return;
    waiting_ = waiting;
    // The text box has a pointer of its own, which would hide the wait over it.
    QLineEdit& textBox = *controls_.txtUptime;
    if (waiting) {
        textBoxCursor_ = textBox.cursor();
        window_.setCursor(Qt::BusyCursor);
        textBox.setCursor(Qt::BusyCursor);
    } else {
        window_.unsetCursor();
        textBox.setCursor(textBoxCursor_);
    }
}

AppVersion QtForms::Version() {
    return {static_cast<std::uint16_t>(version::kMajor),
            static_cast<std::uint16_t>(version::kMinor),
            static_cast<std::uint16_t>(version::kRevision)};
}

}  // namespace tolvane::qt
