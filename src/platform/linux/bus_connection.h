#pragma once
#include <systemd/sd-bus.h>

#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/event_loop.h"

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

enum class BusKind { Session, System };

// A method call's answer: its return, or an error reply (sd-bus makes one up when the call
// times out or the connection ends); or no reply but the negative errno that broke the
// connection.
using ReplyHandler = std::function<void(sd_bus_message* reply, int broken)>;

// One connection to a bus, served from the program's event loop: nothing here waits.
class Connection {
  public:
    // Connects to the bus (honouring DBUS_SESSION_BUS_ADDRESS / DBUS_SYSTEM_BUS_ADDRESS).
    // `processed` runs from the event loop after each round of answers; it, and only it,
    // may destroy the connection. Null with a negative errno when the bus cannot be reached.
    static std::unique_ptr<Connection> Open(BusKind kind, EventLoop& loop,
                                            std::function<void()> processed, int& error);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    // What is still queued is written if the bus takes it within a moment; answers not yet
    // come are dropped, their handlers never run.
    ~Connection();

    sd_bus* get() const { return bus_.get(); }
    // Sends `call`; `handler` runs once with the answer, from the event loop. Without a time
    // limit the answer is awaited as long as the connection lasts. Negative errno on failure.
    int Call(sd_bus_message* call, std::optional<std::chrono::microseconds> limit,
             ReplyHandler handler);

  private:
    struct PendingCall {
        ReplyHandler handler;
        Slot slot;
    };

    Connection(Bus bus, EventLoop& loop, std::function<void()> processed);
    static int OnReply(sd_bus_message* reply, void* userdata, sd_bus_error*);
    void Wake();
    void FailPending(int broken);
    void Rearm();
    void FlushBriefly();

    Bus bus_;
    std::function<void()> processed_;
    std::list<PendingCall> pending_;
    std::unique_ptr<FdWatch> watch_;  // after bus_: gone before the socket is closed
};

// The error's own words: its message, else its name.
std::string ErrorText(const sd_bus_error* error);
// The words for a negative errno that sd-bus returned.
std::string ErrnoText(int negativeErrno);

}  // namespace tolvane::sdbus
