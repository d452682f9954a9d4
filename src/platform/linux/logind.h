#pragma once
#include <functional>

#include "platform/system.h"

namespace tolvane {

// Asks systemd-logind on the system bus, interactively: polkit may ask for a password
// during the call, and that authorization is the privilege step on Linux.
PowerRequestResult AskLogind(PowerAction action, const std::function<void()>& keepResponsive);

}  // namespace tolvane
