#include "platform/qt/event_translator.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/action_label.h"

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

// The context-menu key needs nothing here: the platform turns it into a context-menu
// event of its own, which arrives first. Shift+F10 it leaves as a plain key.
Key KeyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Key::Enter;
        case Qt::Key_Space:
            return Key::Space;
        case Qt::Key_F10:
            return event.modifiers() == Qt::ShiftModifier ? Key::ContextMenu : Key::Other;
        default:
            return Key::Other;
    }
}

// A key goes first to the focused widget, or to the window when none has the focus, and
// then to the parents that ignore it; only that first delivery is the key's own.
bool FirstReceiver(const QObject* watched) {
    const QWidget* focus = QApplication::focusWidget();
    return !focus || watched == focus;
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
        if (auto* label = dynamic_cast<ActionLabel*>(widget))
            label->SetPressHandler([this, control = control] { handlers_.Activate(control); });
    }
}

std::optional<Control> EventTranslator::ControlOf(const QObject* watched) const {
    for (const auto& [widget, control] : watched_)
        if (widget == watched) return control;
    return std::nullopt;
}

bool EventTranslator::eventFilter(QObject* watched, QEvent* event) {
    const std::optional<Control> control = ControlOf(watched);
    if (!control) return false;
    switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return Mouse(*static_cast<QWidget*>(watched), *control,
                         *static_cast<QMouseEvent*>(event));
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return FirstReceiver(watched) && Keyboard(*control, *static_cast<QKeyEvent*>(event));
        case QEvent::ContextMenu:
            return ContextMenu(*control, *static_cast<QContextMenuEvent*>(event));
        default:
            return false;
    }
}

bool EventTranslator::Mouse(const QWidget& widget, Control control, const QMouseEvent& event) {
    if (!OnOwnSurface(widget, event)) return false;
    if (event.type() == QEvent::MouseMove) {
        handlers_.MouseMove(control);
    } else if (event.type() == QEvent::MouseButtonDblClick) {
        // The left button's alone, as on Windows, where only it sends a label's double-click.
        if (event.button() == Qt::LeftButton) handlers_.DblClick(control);
    } else if (const auto button = ButtonOf(event.button())) {
        handlers_.MouseDown(control, *button);
    }
    // Qt's own handling goes on: the text box keeps its selection and context menu.
    return false;
}

bool EventTranslator::Keyboard(Control control, const QKeyEvent& event) {
    // Only presses act; a held key's repeats never got this far (DeliberateKeys).
    const Key key = KeyOf(event);
    if (event.type() == QEvent::KeyPress) handlers_.KeyDown(control, key);
    // Shift+F10 is spent on the popup; every other key goes on as Qt would deliver it.
    return key == Key::ContextMenu;
}

bool EventTranslator::ContextMenu(Control control, const QContextMenuEvent& event) {
    // The right button has its own path, through the press.
    if (event.reason() != QContextMenuEvent::Keyboard) return false;
    handlers_.KeyDown(control, Key::ContextMenu);
    return true;  // instead of a widget's own menu
}

}  // namespace tolvane::qt
