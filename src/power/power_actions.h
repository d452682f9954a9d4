#pragma once
#include "platform/forms.h"
#include "platform/system.h"

namespace tolvane {

// Ask "Sure?"; on Yes enable the shutdown privilege, then request the restart or the
// power-off. A request that could not even be started is reported in a message box.
void ConfirmRestart(Forms& forms, System& system);
void ConfirmPowerOff(Forms& forms, System& system);

}  // namespace tolvane
