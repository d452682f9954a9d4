#include "platform/qt/control_widgets.h"

#include <QApplication>
#include <QFontMetrics>
#include <stdexcept>

#include "platform/qt/action_label.h"
#include "platform/qt/qt_text.h"

namespace tolvane::qt {
namespace {

QRect ToQRect(const ui::PixelRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

QWidget& Container(const ControlWidgets& built, QWidget& window, Control container) {
    if (container == Control::frmMain) return window;
    // Containers come before their children in the description.
    if (QWidget* widget = built.Find(container)) return *widget;
    throw std::logic_error("a control's container is described after it");
}

}  // namespace

void SetTextColor(QWidget& widget, OleColor color) {
    const auto role = color == kColorButtonHighlight ? QPalette::Light : QPalette::ButtonText;
    QPalette palette = widget.palette();
    palette.setColor(widget.foregroundRole(), QApplication::palette(&widget).color(role));
    widget.setPalette(palette);
}

namespace {

QLabel* MakeLabel(const ui::ControlDescription& description, QWidget& parent) {
    const QString text = ToQString(description.text);
    auto* label = ui::IsActionLabel(description.control) ? new ActionLabel(text, &parent)
                                                         : new QLabel(text, &parent);
    label->setAlignment(description.centred ? Qt::AlignHCenter | Qt::AlignTop
                                            : Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(!description.autoSize);
    label->setMargin(0);
    label->setIndent(0);
    SetTextColor(*label, kColorButtonText);
    return label;
}

QLineEdit* MakeTextBox(const ui::ControlDescription& description, QWidget& parent) {
    auto* edit = new QLineEdit(ToQString(description.text), &parent);
    // Every tick replaces the text, so typing into it would serve nothing.
    edit->setReadOnly(true);
    return edit;
}

QGroupBox* MakeFrame(const ui::ControlDescription& description, QWidget& parent) {
    auto* frame = new QGroupBox(ToQString(description.text), &parent);
    // The caption sits on the frame's top line, as group boxes are drawn on Windows:
    // many styles put it above the line instead, and the line then crosses the first label.
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    return frame;
}

}  // namespace

QWidget* ControlWidgets::Find(Control control) const {
    switch (control) {
        case Control::lblTip:
            return lblTip;
        case Control::txtUptime:
            return txtUptime;
        case Control::fraTodo:
            return fraTodo;
        case Control::lblShutDown:
            return lblShutDown;
        case Control::lblRestart:
            return lblRestart;
        case Control::frmMain:
            break;
    }
    return nullptr;
}

QLabel* ControlWidgets::Label(Control control) const {
    switch (control) {
        case Control::lblTip:
            return lblTip;
        case Control::lblShutDown:
            return lblShutDown;
        case Control::lblRestart:
            return lblRestart;
        default:
            return nullptr;
    }
}

ControlWidgets BuildControls(QWidget& window) {
    const int dpi = window.logicalDpiX();
    ControlWidgets built;
    // kControls is in tab order, and Qt's focus chain follows the order of creation.
    for (const auto& description : ui::kControls) {
        QWidget& parent = Container(built, window, description.container);
        QWidget* widget = nullptr;
        switch (description.kind) {
            case ui::ControlKind::Label: {
                QLabel* label = MakeLabel(description, parent);
                if (description.control == Control::lblTip) built.lblTip = label;
                if (description.control == Control::lblShutDown) built.lblShutDown = label;
                if (description.control == Control::lblRestart) built.lblRestart = label;
                widget = label;
                break;
            }
            case ui::ControlKind::TextBox:
                widget = built.txtUptime = MakeTextBox(description, parent);
                break;
            case ui::ControlKind::Frame:
                widget = built.fraTodo = MakeFrame(description, parent);
                break;
        }
        widget->setObjectName(QString::fromUtf8(description.name.data(),
                                                static_cast<qsizetype>(description.name.size())));
        widget->setFont(window.font());
        // Moves without a pressed button only arrive at widgets that track the mouse.
        widget->setMouseTracking(true);
        widget->setGeometry(ToQRect(ui::ToPixels(description.rect, dpi)));
    }
    // Sized once the font is theirs.
    for (const auto& description : ui::kControls)
        if (description.autoSize)
            PlaceAutoSizedLabel(*built.Label(description.control), description);
    return built;
}

void PlaceAutoSizedLabel(QLabel& label, const ui::ControlDescription& description) {
    const QFontMetrics metrics(label.font());
    const int width = metrics.horizontalAdvance(label.text());
    label.setGeometry(
        ToQRect(ui::AutoSizedLabelRect(description, width, metrics.height(), label.logicalDpiX())));
}

}  // namespace tolvane::qt
