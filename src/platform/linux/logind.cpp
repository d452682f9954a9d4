#include "platform/linux/logind.h"

namespace tolvane {

// CanReboot / CanPowerOff are not asked first: logind and polkit decide during the call
// itself and their refusal, in their own words, is what the user gets to read.
int NewLogindCall(sd_bus* bus, PowerAction action, sdbus::Message& call) {
    sd_bus_message* raw = nullptr;
    int r = sd_bus_message_new_method_call(
        bus, &raw, "org.freedesktop.login1", "/org/freedesktop/login1",
        "org.freedesktop.login1.Manager", action == PowerAction::Restart ? "Reboot" : "PowerOff");
    call.reset(raw);
    if (r < 0) return r;
    // The header flag and the argument both say that polkit may ask the user.
    r = sd_bus_message_set_allow_interactive_authorization(call.get(), 1);
    if (r >= 0) r = sd_bus_message_append(call.get(), "b", 1);
    return r;
}

}  // namespace tolvane
