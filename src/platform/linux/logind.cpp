#include "platform/linux/logind.h"

#include "platform/linux/bus_call.h"
#include "platform/linux/sd_bus_ptr.h"

namespace tolvane {

// CanReboot / CanPowerOff are not asked first: logind and polkit decide during the call
// itself and their refusal, in their own words, is what the user gets to read.
PowerRequestResult AskLogind(PowerAction action, const std::function<void()>& keepResponsive) {
    sd_bus* rawBus = nullptr;
    // sd_bus_open_system honours DBUS_SYSTEM_BUS_ADDRESS; a fresh connection, closed on return.
    int r = sd_bus_open_system(&rawBus);
    const sdbus::Bus bus(rawBus);
    if (r < 0) return {false, "The system bus could not be reached: " + sdbus::ErrnoText(r) + "."};

    sd_bus_message* rawCall = nullptr;
    r = sd_bus_message_new_method_call(bus.get(), &rawCall, "org.freedesktop.login1",
                                       "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                       action == PowerAction::Restart ? "Reboot" : "PowerOff");
    const sdbus::Message call(rawCall);
    if (r < 0) return {false, sdbus::ErrnoText(r)};
    // The header flag and the argument both say that polkit may ask the user.
    r = sd_bus_message_set_allow_interactive_authorization(call.get(), 1);
    if (r >= 0) r = sd_bus_message_append(call.get(), "b", 1);
    if (r < 0) return {false, sdbus::ErrnoText(r)};
    return sdbus::AwaitCall(bus.get(), call.get(), keepResponsive);
}

}  // namespace tolvane
