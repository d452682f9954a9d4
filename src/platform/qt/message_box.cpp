#include "platform/qt/message_box.h"

#include <stdexcept>
#include <vector>

#include "platform/forms.h"
#include "platform/qt/qt_text.h"

namespace tolvane::qt {
namespace {

using Button = QMessageBox::StandardButton;

struct ButtonSet {
    int style;
    std::vector<Button> buttons;  // the first is the default
    Button escape;
};

const std::vector<ButtonSet>& ButtonSets() {
    static const std::vector<ButtonSet> sets{
        {0, {QMessageBox::Ok}, QMessageBox::Ok},
        {1, {QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel},
        {2, {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}, QMessageBox::NoButton},
        {3, {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel},
        {msgbox::kYesNo, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No},
        {5, {QMessageBox::Retry, QMessageBox::Cancel}, QMessageBox::Cancel},
    };
    return sets;
}

QMessageBox::Icon IconOf(int style) {
    switch (style & msgbox::kIconMask) {
        case 0:
            return QMessageBox::NoIcon;
        case 16:
            return QMessageBox::Critical;
        case msgbox::kQuestion:
            return QMessageBox::Question;
        case msgbox::kExclamation:
            return QMessageBox::Warning;
        case msgbox::kInformation:
            return QMessageBox::Information;
        default:
            throw std::invalid_argument("unknown message box icon");
    }
}

int AnswerCode(Button button) {
    switch (button) {
        case QMessageBox::Ok:
            return msgbox::kOk;
        case QMessageBox::Cancel:
            return 2;
        case QMessageBox::Abort:
            return 3;
        case QMessageBox::Retry:
            return 4;
        case QMessageBox::Ignore:
            return 5;
        case QMessageBox::Yes:
            return msgbox::kYes;
        case QMessageBox::No:
            return msgbox::kNo;
        default:
            return 0;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& prompt, int style,
                                            const std::string& title, QWidget* parent) {
    const int buttonStyle = style & msgbox::kButtonsMask;
    for (const auto& set : ButtonSets()) {
        if (set.style != buttonStyle) continue;
        auto box = std::make_unique<QMessageBox>(IconOf(style), ToQString(title), ToQString(prompt),
                                                 QMessageBox::NoButton, parent);
        for (const Button button : set.buttons) box->addButton(button);
        box->setDefaultButton(set.buttons.front());
        if (set.escape != QMessageBox::NoButton) box->setEscapeButton(set.escape);
        return box;
    }
    throw std::invalid_argument("unknown message box button set");
}

int AnswerOf(const QMessageBox& box) {
    QAbstractButton* pressed = box.clickedButton();
    if (!pressed) pressed = box.escapeButton();
    return pressed ? AnswerCode(box.standardButton(pressed)) : 0;
}

}  // namespace tolvane::qt
