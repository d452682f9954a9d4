#include "platform/qt/qt_forms.h"

#include <QCursor>
#include <QFontMetrics>
#include <algorithm>
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

QtForms::QtForms(QWidget& window, const ControlWidgets& controls, ui::KeyGate& keys)
    : window_(window),
      controls_(controls),
      keys_(keys),
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
    if (control == Control::txtUptime) {
        // Where the caret was, not at the end: the box shows its text's beginning when it
        // does not all fit, as Windows' edit box does, and the caret stays where moved.
        QLineEdit& box = *controls_.txtUptime;
        const auto caret = std::min<qsizetype>(box.cursorPosition(), qtext.size());
        box.setText(qtext);
        return box.setCursorPosition(static_cast<int>(caret));
    }
    if (control == Control::fraTodo) return controls_.fraTodo->setTitle(qtext);
    QLabel* label = controls_.Label(control);
    label->setText(qtext);
    const auto& description = ui::Describe(control);
    if (description.autoSize) PlaceAutoSizedLabel(*label, description);
}

std::string QtForms::Text(Control control) {
    QString text;
    if (control == Control::frmMain) text = window_.windowTitle();
    if (control == Control::txtUptime) text = controls_.txtUptime->text();
    if (control == Control::fraTodo) text = controls_.fraTodo->title();
    if (const QLabel* label = controls_.Label(control)) text = label->text();
    return FromQString(text);
}

bool QtForms::FitsOnOneLine(Control control, const std::string& line) {
    const QWidget* widget = controls_.Find(control);
    if (!widget) widget = &window_;
    // Within the window too (the heading is a pixel wider), and clear of its edges.
    const QRect inside = widget->contentsRect().intersected(
        QRect(widget->mapFrom(&window_, QPoint(0, 0)), window_.size()));
    const int margin = widget->logicalDpiX() * 3 / 96;
    return QFontMetrics(widget->font()).horizontalAdvance(ToQString(line)) <=
           inside.width() - 2 * margin;
}

void QtForms::SetToolTip(Control control, const std::string& text) {
    QWidget* widget = controls_.Find(control);
    if (!widget) widget = &window_;
    widget->setToolTip(ToQString(text));
    widget->setAccessibleName(ToQString(text));
}

void QtForms::SetForeColor(Control control, OleColor color) {
    QWidget* widget = controls_.Find(control);
    SetTextColor(widget ? *widget : window_, color);
}

int QtForms::MsgBox(const std::string& prompt, int style, const std::string& title) {
    const auto box = MakeMessageBox(prompt, style, title, &window_);
    // A key already down must not answer it, nor a held one.
    const ui::KeyGate::Box open(keys_);
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

}  // namespace tolvane::qt
