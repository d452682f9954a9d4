#include "platform/qt/event_translator.h"

#include <QMouseEvent>

namespace tolvane::qt {
namespace {

std::optional<MouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return std::nullopt;
    }
}

// Qt hands an event a child ignored on to its parent. The window and the frame only
// have an event of their own where no child lies under the pointer.
bool OnOwnSurface(const QWidget& widget, const QMouseEvent& event) {
    return widget.childAt(event.position().toPoint()) == nullptr;
}

}  // namespace

EventTranslator::EventTranslator(FrmMain& handlers, QWidget& window, const ControlWidgets& controls)
    : handlers_(handlers) {
    watched_.emplace_back(&window, Control::frmMain);
    for (const Control control : {Control::lblTip, Control::txtUptime, Control::fraTodo,
                                  Control::lblShutDown, Control::lblRestart})
        watched_.emplace_back(controls.Find(control), control);
    for (const auto& [widget, control] : watched_) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

std::optional<Control> EventTranslator::ControlOf(const QObject* watched) const {
    for (const auto& [widget, control] : watched_)
        if (widget == watched) return control;
    return std::nullopt;
}

bool EventTranslator::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonDblClick)
        return false;
    const std::optional<Control> control = ControlOf(watched);
    if (!control) return false;
    const auto& mouse = *static_cast<QMouseEvent*>(event);
    if (!OnOwnSurface(*static_cast<QWidget*>(watched), mouse)) return false;

    if (type == QEvent::MouseMove) {
        handlers_.MouseMove(*control);
    } else if (type == QEvent::MouseButtonDblClick) {
        handlers_.DblClick(*control);
    } else if (const auto button = ButtonOf(mouse.button())) {
        handlers_.MouseDown(*control, *button);
    }
    // Qt's own handling goes on: the text box keeps its selection and context menu.
    return false;
}

}  // namespace tolvane::qt
