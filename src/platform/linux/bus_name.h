#pragma once
#include <systemd/sd-bus.h>

namespace tolvane::sdbus {

// Whether some client owns the well-known name right now. Asks the bus itself, so an
// activatable service that is not running is never started by asking.
bool NameHasOwner(sd_bus* bus, const char* name);

}  // namespace tolvane::sdbus
