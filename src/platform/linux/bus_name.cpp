#include "platform/linux/bus_name.h"

#include "platform/linux/sd_bus_ptr.h"

namespace tolvane::sdbus {

bool NameHasOwner(sd_bus* bus, const char* name) {
    Error error;
    sd_bus_message* rawReply = nullptr;
    const int r = sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "NameHasOwner", error.get(), &rawReply,
                                     "s", name);
    const Message reply(rawReply);
    if (r < 0) return false;
    int owned = 0;
    return sd_bus_message_read(reply.get(), "b", &owned) >= 0 && owned;
}

}  // namespace tolvane::sdbus
