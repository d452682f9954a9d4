#pragma once
#include <functional>

#include "platform/system.h"

namespace tolvane {

// Asks the desktop's session manager on the session bus to restart or power off (so
// running applications can save their work); without one, systemd-logind on the system
// bus, interactively so polkit may ask for a password.
PowerRequestResult RequestPowerOverDBus(PowerAction action,
                                        const std::function<void()>& keepResponsive);

}  // namespace tolvane
