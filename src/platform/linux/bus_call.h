#pragma once
#include <systemd/sd-bus.h>

#include <functional>
#include <string>

#include "platform/system.h"

namespace tolvane::sdbus {

// Sends a method call and waits for its answer without a practical time limit (a polkit
// password prompt can stay up for minutes), calling keepResponsive between short waits.
// started is true when the answer is a method return; otherwise reason is the error's
// own message.
PowerRequestResult AwaitCall(sd_bus* bus, sd_bus_message* call,
                             const std::function<void()>& keepResponsive);

// The words for a negative errno that sd-bus returned.
std::string ErrnoText(int negativeErrno);

}  // namespace tolvane::sdbus
