#include "platform/linux/bus_call.h"

#include <chrono>
#include <cstdint>
#include <system_error>

#include "platform/linux/sd_bus_ptr.h"

namespace tolvane::sdbus {
namespace {

using std::chrono::microseconds;

// Long enough for anyone at a password prompt; finite so nothing waits forever.
constexpr auto kCallTimeout = std::chrono::hours(12);
// Short enough for the window to repaint smoothly while the answer is awaited.
constexpr auto kWaitSlice = std::chrono::milliseconds(50);

struct PendingCall {
    bool answered = false;
    PowerRequestResult result;
};

std::string ErrorText(const sd_bus_error* error) {
    if (error->message && *error->message) return error->message;
    if (error->name) return error->name;
    return "Unknown D-Bus error";
}

int OnReply(sd_bus_message* reply, void* userdata, sd_bus_error*) {
    auto* pending = static_cast<PendingCall*>(userdata);
    pending->answered = true;
    if (sd_bus_message_is_method_error(reply, nullptr))
        pending->result = {false, ErrorText(sd_bus_message_get_error(reply))};
    return 0;
}

std::uint64_t Usec(microseconds duration) {
    return static_cast<std::uint64_t>(duration.count());
}

}  // namespace

std::string ErrnoText(int negativeErrno) {
    return std::generic_category().message(-negativeErrno);
}

PowerRequestResult AwaitCall(sd_bus* bus, sd_bus_message* call,
                             const std::function<void()>& keepResponsive) {
    PendingCall pending;
    sd_bus_slot* rawSlot = nullptr;
    int r = sd_bus_call_async(bus, &rawSlot, call, OnReply, &pending, Usec(kCallTimeout));
    // Dropping the slot before returning cancels the call, so OnReply never outlives pending.
    const Slot slot(rawSlot);
    if (r < 0) return {false, ErrnoText(r)};

    while (!pending.answered) {
        r = sd_bus_process(bus, nullptr);
        if (r < 0) return {false, ErrnoText(r)};
        if (r > 0) continue;  // more may be queued: process it before waiting
        if (keepResponsive) keepResponsive();
        r = sd_bus_wait(bus, Usec(kWaitSlice));
        if (r < 0) return {false, ErrnoText(r)};
    }
    return pending.result;
}

}  // namespace tolvane::sdbus
