#include "platform/qt/accessible_texts.h"

#include "platform/qt/qt_text.h"
#include "ui/window_description.h"

namespace tolvane::qt {

void SetAccessibleTexts(const ControlWidgets& controls) {
    controls.lblTip->setAccessibleDescription(
        QStringLiteral("This computer's name and operating system"));

    controls.txtUptime->setAccessibleName(QStringLiteral("Uptime"));
    controls.txtUptime->setAccessibleDescription(
        QStringLiteral("How long this computer has been running since it was started"));

    // The frame's own title speaks of double-clicks only.
    controls.fraTodo->setAccessibleName(QStringLiteral("Restart or shut down"));
    controls.fraTodo->setAccessibleDescription(
        QStringLiteral("Two actions; each asks for a confirmation first"));

    controls.lblShutDown->setAccessibleName(ToQString(ui::ActionName(Control::lblShutDown)));
    controls.lblShutDown->setAccessibleDescription(QStringLiteral(
        "Double-click, or press Enter or Space, to shut down the computer after a confirmation"));
    controls.lblRestart->setAccessibleName(ToQString(ui::ActionName(Control::lblRestart)));
    controls.lblRestart->setAccessibleDescription(QStringLiteral(
        "Double-click, or press Enter or Space, to restart the computer after a confirmation"));
}

}  // namespace tolvane::qt
