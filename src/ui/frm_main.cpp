#include "ui/frm_main.h"

#include "power/power_actions.h"
#include "sysinfo/sysinfo.h"
#include "ui/window_description.h"
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

void FrmMain::Confirm(Control label) {
    if (label == Control::lblRestart) power_.Confirm(PowerAction::Restart);
    if (label == Control::lblShutDown) power_.Confirm(PowerAction::PowerOff);
}

void FrmMain::DblClick(Control on) {
    Confirm(on);
}

void FrmMain::MouseDown(Control on, MouseButton button) {
    if (on != Control::frmMain || button != MouseButton::Right) return;
    MenuClick(forms_.PopupAboutMenu(PopupPlace::AtPointer));
}

void FrmMain::KeyDown(Control on, Key key) {
    if (key == Key::ContextMenu) {
        pressed_.reset();
        MenuClick(forms_.PopupAboutMenu(PopupPlace::AtFocus));
        return;
    }
    // Any other press forgets an earlier one, so only an uninterrupted press and release
    // of the same key on the same label acts.
    pressed_.reset();
    // A press while a request waits is dropped: its release after the answer must not act.
    if (ui::IsActionLabel(on) && (key == Key::Enter || key == Key::Space) && !power_.Waiting())
        pressed_.emplace(on, key);
}

void FrmMain::KeyUp(Control on, Key key) {
    // On release, not on press: the confirmation's default answer is Yes, and a held key's
    // auto-repeats would otherwise answer it.
    if (pressed_ != std::pair{on, key}) return;
    pressed_.reset();
    Confirm(on);
}

void FrmMain::MenuClick(MenuItem item) {
    if (item != MenuItem::mnuAboutTolvane) return;
    forms_.MsgBox(AboutText(forms_.Version()), msgbox::kOkOnly + msgbox::kInformation,
                  "About Tolvane");
}

}  // namespace tolvane
