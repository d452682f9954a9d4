#include "platform/qt/deliberate_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace tolvane::qt {

DeliberateKeys::DeliberateKeys(ui::KeyGate& gate) : gate_(gate) {
    QCoreApplication::instance()->installEventFilter(this);
}

DeliberateKeys::~DeliberateKeys() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool DeliberateKeys::eventFilter(QObject* watched, QEvent* event) {
    // A key event goes to its window first and then on to widget after widget: only that
    // first delivery is a new event.
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!key || !watched->isWindowType()) return false;
    const auto& keyEvent = *static_cast<const QKeyEvent*>(event);
    // The scan code names the key alike on press and release, whatever the modifiers;
    // events made up without one have only the key.
    const auto code = keyEvent.nativeScanCode() ? keyEvent.nativeScanCode()
                                                : static_cast<quint32>(keyEvent.key());
    const int pressed = keyEvent.key();
    const ui::KeyStroke stroke{
        code, event->type() == QEvent::KeyPress ? ui::KeyEdge::Press : ui::KeyEdge::Release,
        keyEvent.timestamp(), keyEvent.isAutoRepeat(),
        pressed == Qt::Key_Return || pressed == Qt::Key_Enter || pressed == Qt::Key_Space};
    return !gate_.Deliberate(stroke);
}

}  // namespace tolvane::qt
