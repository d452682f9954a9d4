#include "ui/frm_main.h"

#include "power/power_actions.h"
#include "sysinfo/display_text.h"
#include "sysinfo/sysinfo.h"
#include "uptime/uptime.h"
#include "version.h"

namespace tolvane {

std::string AboutText() {
    return "Tolvane\r\nVer " + std::to_string(version::kMajor) + '.' +
           std::to_string(version::kMinor) + '.' + std::to_string(version::kRevision) +
           "\r\nby the Tolvane authors";
}

void FrmMain::Load() {
    // The machine name first, then the system's name: argument order is unspecified.
    const std::string machineName = system_.MachineName();
    const std::string osName = system_.OSName();
    // Shortened in the label where a line would not fit its width; in the tooltip, which is
    // also the heading's accessible name, capped as any words from outside.
    forms_.SetText(Control::lblTip,
                   HeadingText(machineName, osName, [this](const std::string& line) {
                       return forms_.FitsOnOneLine(Control::lblTip, line);
                   }));
    forms_.SetToolTip(Control::lblTip,
                      HeadingText(ShownSystemText(machineName), ShownSystemText(osName)));
}

void FrmMain::Timer() {
    // The real clock every time, never a count of ticks: ticks can be late or dropped.
    const std::string uptime = FormatUptime(system_.MillisecondsSinceStart());
    // Only a change is written: a rewrite is announced to screen readers, drops the
    // selection and repaints. Anything else in the box is still replaced.
    if (forms_.Text(Control::txtUptime) != uptime) forms_.SetText(Control::txtUptime, uptime);
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

void FrmMain::Activate(Control label) {
    // One at a time: while "Sure?" is open or a request waits this does nothing (PowerActions).
    if (label == Control::lblRestart) power_.Confirm(PowerAction::Restart);
    if (label == Control::lblShutDown) power_.Confirm(PowerAction::PowerOff);
}

void FrmMain::DblClick(Control on) {
    Activate(on);
}

void FrmMain::MouseDown(Control on, MouseButton button) {
    if (on != Control::frmMain || button != MouseButton::Right) return;
    MenuClick(forms_.PopupAboutMenu(PopupPlace::AtPointer));
}

void FrmMain::KeyDown(Control on, Key key) {
    if (key == Key::ContextMenu) return MenuClick(forms_.PopupAboutMenu(PopupPlace::AtFocus));
    if (key == Key::Enter || key == Key::Space) Activate(on);
}

void FrmMain::MenuClick(MenuItem item) {
    if (item != MenuItem::mnuAboutTolvane) return;
    forms_.MsgBox(AboutText(), msgbox::kOkOnly + msgbox::kInformation, "About Tolvane");
}

}  // namespace tolvane
