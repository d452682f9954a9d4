#include "power/power_actions.h"

#include "sysinfo/display_text.h"

namespace tolvane {
namespace {

struct PowerTexts {
    const char* question;
    const char* failure;
};

constexpr PowerTexts kRestart{"Are you sure you want to reboot the computer?",
                              "Tolvane could not restart the computer."};
constexpr PowerTexts kPowerOff{"Are you sure you want to shut the computer down?",
                               "Tolvane could not shut the computer down."};

const PowerTexts& TextsOf(PowerAction action) {
    return action == PowerAction::Restart ? kRestart : kPowerOff;
}

}  // namespace

void PowerActions::Confirm(PowerAction action) {
    if (busy_) return;
    busy_ = true;
    if (forms_.MsgBox(TextsOf(action).question, msgbox::kYesNo + msgbox::kQuestion, "Sure?") !=
        msgbox::kYes) {
        busy_ = false;
        return;
    }
    system_.EnableShutdownPrivilege();
    forms_.SetWaiting(true);
    system_.RequestPower(action, [self = std::weak_ptr(self_), action](PowerRequestResult result) {
        if (const auto alive = self.lock()) (*alive)->Answered(action, result);
    });
}

void PowerActions::Answered(PowerAction action, const PowerRequestResult& result) {
    forms_.SetWaiting(false);
    if (!result.started) {
        // Silence here would read as if it had worked. The reason's words may come from any
        // program (a desktop, an inhibitor's name).
        std::string message = TextsOf(action).failure;
        if (!result.reason.empty()) message += "\r\n" + ShownSystemText(result.reason);
        forms_.MsgBox(message, msgbox::kOkOnly + msgbox::kExclamation, "Tolvane");
    }
    busy_ = false;
}

}  // namespace tolvane
