#include "power/power_actions.h"

#include "sysinfo/display_text.h"

namespace tolvane {
namespace {

struct PowerTexts {
    PowerAction action;
    const char* question;
    const char* failure;
};

constexpr PowerTexts kRestart{PowerAction::Restart, "Are you sure you want to reboot the computer?",
                              "Tolvane could not restart the computer."};
constexpr PowerTexts kPowerOff{PowerAction::PowerOff,
                               "Are you sure you want to shut the computer down?",
                               "Tolvane could not shut the computer down."};

void Confirm(Forms& forms, System& system, const PowerTexts& texts) {
    if (forms.MsgBox(texts.question, msgbox::kYesNo + msgbox::kQuestion, "Sure?") != msgbox::kYes)
        return;
    system.EnableShutdownPrivilege();
    const PowerRequestResult result = system.RequestPower(texts.action);
    if (result.started) return;
    // Silence here would read as if it had worked.
    std::string message = texts.failure;
    if (!result.reason.empty()) message += "\r\n" + ShownReason(result.reason);
    forms.MsgBox(message, msgbox::kOkOnly + msgbox::kExclamation, "Tolvane");
}

}  // namespace

std::string ShownReason(std::string_view reason) {
    return ShortenAtWord(reason, 600, 12);
}

void ConfirmRestart(Forms& forms, System& system) {
    Confirm(forms, system, kRestart);
}
void ConfirmPowerOff(Forms& forms, System& system) {
    Confirm(forms, system, kPowerOff);
}

}  // namespace tolvane
