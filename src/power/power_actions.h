#pragma once
#include <string>
#include <string_view>

#include "platform/forms.h"
#include "platform/system.h"

namespace tolvane {

// Ask "Sure?"; on Yes enable the shutdown privilege, then request the restart or the
// power-off. A request that could not even be started is reported in a message box.
void ConfirmRestart(Forms& forms, System& system);
void ConfirmPowerOff(Forms& forms, System& system);

// The system's reason for a refusal as the box shows it: at most about 600 characters in
// 12 lines, cut after a word with an ellipsis, so the box stays on the screen.
std::string ShownReason(std::string_view reason);

}  // namespace tolvane
