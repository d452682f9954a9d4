#include "ui/frm_main.h"

#include "power/power_actions.h"
#include "sysinfo/sysinfo.h"
#include "uptime/uptime.h"

namespace tolvane {

std::string AboutText(const AppVersion& version) {
    return "Tolvane\r\nVer " + std::to_string(version.major) + '.' + std::to_string(version.minor) +
           '.' + std::to_string(version.revision) + "\r\nby the Tolvane authors";
}

void FrmMain::Load() {
    // The machine name first, then the system's name: argument order is unspecified.
    const std::string machineName = system_.MachineName();
    const std::string osName = system_.OsName();
    forms_.SetText(Control::lblTip, HeadingText(machineName, osName));
}

void FrmMain::Timer() {
    // The real clock every time, never a count of ticks: ticks can be late or dropped.
    forms_.SetText(Control::txtUptime, FormatUptime(system_.MillisecondsSinceStart()));
}

void FrmMain::MouseMove(Control over) {
    switch (over) {
        case Control::lblRestart:
        case Control::lblShutDown:
            forms_.SetForeColor(over, kColorButtonHighlight);
            break;
        case Control::fraTodo:
            // Only the frame's own surface puts both labels back.
            forms_.SetForeColor(Control::lblRestart, kColorButtonText);
            forms_.SetForeColor(Control::lblShutDown, kColorButtonText);
            break;
        default:
            break;
    }
}

void FrmMain::DblClick(Control on) {
    if (on == Control::lblRestart) ConfirmRestart(forms_, system_);
    if (on == Control::lblShutDown) ConfirmPowerOff(forms_, system_);
}

void FrmMain::MouseDown(Control on, MouseButton button) {
    if (on != Control::frmMain || button != MouseButton::Right) return;
    MenuClick(forms_.PopupAboutMenu());
}

void FrmMain::MenuClick(MenuItem item) {
    if (item != MenuItem::mnuAboutTolvane) return;
    forms_.MsgBox(AboutText(forms_.Version()), msgbox::kOkOnly + msgbox::kInformation,
                  "About Tolvane");
}

}  // namespace tolvane
