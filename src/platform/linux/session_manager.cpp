#include "platform/linux/session_manager.h"

#include <array>

#include "platform/linux/bus_call.h"
#include "platform/linux/bus_name.h"
#include "platform/linux/sd_bus_ptr.h"

namespace tolvane {
namespace {

struct SessionManager {
    const char* name;
    const char* path;
    const char* interface;
    const char* restart;
    const char* powerOff;
};

// In the order they are tried.
constexpr std::array kSessionManagers{
    SessionManager{"org.gnome.SessionManager", "/org/gnome/SessionManager",
                   "org.gnome.SessionManager", "RequestReboot", "RequestShutdown"},
    SessionManager{"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logoutAndReboot",
                   "logoutAndShutdown"},
};

}  // namespace

std::optional<PowerRequestResult> AskSessionManager(PowerAction action,
                                                    const std::function<void()>& keepResponsive) {
    sd_bus* rawBus = nullptr;
    // sd_bus_open_user honours DBUS_SESSION_BUS_ADDRESS; a fresh connection, closed on return.
    const int opened = sd_bus_open_user(&rawBus);
    const sdbus::Bus bus(rawBus);
    if (opened < 0) return std::nullopt;

    for (const SessionManager& manager : kSessionManagers) {
        if (!sdbus::NameHasOwner(bus.get(), manager.name)) continue;
        sd_bus_message* rawCall = nullptr;
        const int r = sd_bus_message_new_method_call(
            bus.get(), &rawCall, manager.name, manager.path, manager.interface,
            action == PowerAction::Restart ? manager.restart : manager.powerOff);
        const sdbus::Message call(rawCall);
        if (r < 0) return PowerRequestResult{false, sdbus::ErrnoText(r)};
        return sdbus::AwaitCall(bus.get(), call.get(), keepResponsive);
    }
    return std::nullopt;
}

}  // namespace tolvane
