#pragma once
#include <systemd/sd-bus.h>

#include <memory>

namespace tolvane::sdbus {

// Owning pointers for the sd-bus objects this program creates.
struct BusUnref {
    // Never sd_bus_flush_close_unref: on a bus that does not answer it waits for minutes.
    void operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
};
struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
struct SlotUnref {
    void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};

using Bus = std::unique_ptr<sd_bus, BusUnref>;
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;
using Slot = std::unique_ptr<sd_bus_slot, SlotUnref>;

// An sd_bus_error that frees its strings when it goes.
class Error {
  public:
    Error() = default;
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    ~Error() { sd_bus_error_free(&error_); }

    sd_bus_error* get() { return &error_; }
    const sd_bus_error* get() const { return &error_; }

  private:
    sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

}  // namespace tolvane::sdbus
