#include "platform/linux/power_request.h"

namespace tolvane {

// Placeholder until the D-Bus requests land: reports honestly that nothing was started.
PowerRequestResult RequestPowerOverDBus(PowerAction, const std::function<void()>&) {
    return {false, "Restart and power-off requests are not built yet."};
}

}  // namespace tolvane
