#pragma once
#include <systemd/sd-bus.h>

#include "platform/linux/sd_bus_ptr.h"
#include "platform/system.h"

namespace tolvane {

// A call to systemd-logind to reboot or power off, interactively: polkit may ask for a
// password during the call, and that authorization is the privilege step on Linux.
// Negative errno when it cannot be made.
int NewLogindCall(sd_bus* bus, PowerAction action, sdbus::Message& call);

}  // namespace tolvane
