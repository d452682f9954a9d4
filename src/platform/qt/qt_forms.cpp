#include "platform/qt/qt_forms.h"

#include <QCursor>
#include <stdexcept>

#include "platform/qt/qt_text.h"
#include "ui/window_description.h"

namespace tolvane::qt {
namespace {

// The boxes frmMain shows: Yes and No with a question, Yes the default and Escape meaning
// No; or OK alone with the exclamation or information icon.
std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& prompt, int style,
                                            const std::string& title, QWidget* parent) {
    const bool yesNo = (style & msgbox::kButtonsMask) == msgbox::kYesNo;
    const auto icon = yesNo ? QMessageBox::Question
                      : (style & msgbox::kIconMask) == msgbox::kExclamation
                          ? QMessageBox::Warning
                          : QMessageBox::Information;
    auto box = std::make_unique<QMessageBox>(
        icon, ToQString(title), ToQString(prompt),
        yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box->setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    box->setEscapeButton(yesNo ? QMessageBox::No : QMessageBox::Ok);
    return box;
}

// The button pressed, else the one Escape or the Close box stands for.
int AnswerOf(const QMessageBox& box) {
    QAbstractButton* pressed = box.clickedButton() ? box.clickedButton() : box.escapeButton();
    switch (box.standardButton(pressed)) {
        case QMessageBox::Yes:
            return msgbox::kYes;
        case QMessageBox::No:
            return msgbox::kNo;
        default:
            return msgbox::kOk;
    }
}

}  // namespace

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

}  // namespace tolvane::qt
