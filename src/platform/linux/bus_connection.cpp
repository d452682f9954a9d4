#include "platform/linux/bus_connection.h"

#include <poll.h>
#include <time.h>

#include <cstdint>
#include <system_error>

namespace tolvane::sdbus {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// Closing the window must not wait on a bus that takes nothing in.
constexpr milliseconds kFlushLimit{500};

std::uint64_t MonotonicUsec() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);  // the clock of sd_bus_get_timeout
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
}

}  // namespace

std::string ErrorText(const sd_bus_error* error) {
    if (error && error->message && *error->message) return error->message;
    if (error && error->name) return error->name;
    return "Unknown D-Bus error";
}

std::string ErrnoText(int negativeErrno) {
    return std::generic_category().message(-negativeErrno);
}

std::unique_ptr<Connection> Connection::Open(BusKind kind, EventLoop& loop,
                                             std::function<void()> processed, int& error) {
    sd_bus* raw = nullptr;
    // Connecting does not wait for the bus to answer: authentication and Hello go on from
    // the event loop, and calls made meanwhile are queued.
    error = kind == BusKind::Session ? sd_bus_open_user(&raw) : sd_bus_open_system(&raw);
    Bus bus(raw);
    if (error < 0) return nullptr;
    return std::unique_ptr<Connection>(new Connection(std::move(bus), loop, std::move(processed)));
}

Connection::Connection(Bus bus, EventLoop& loop, std::function<void()> processed)
    : bus_(std::move(bus)),
      processed_(std::move(processed)),
      watch_(loop.NewWatch([this] { Wake(); })) {
    Rearm();
}

Connection::~Connection() {
    pending_.clear();
    FlushBriefly();
}

int Connection::Call(sd_bus_message* call, std::optional<microseconds> limit,
                     ReplyHandler handler) {
    PendingCall& pending = pending_.emplace_back(PendingCall{std::move(handler), nullptr});
    sd_bus_slot* slot = nullptr;
    // 0 is sd-bus's default limit; UINT64_MAX none at all.
    const std::uint64_t usec = limit ? static_cast<std::uint64_t>(limit->count()) : UINT64_MAX;
    const int r = sd_bus_call_async(bus_.get(), &slot, call, &OnReply, &pending, usec);
    if (r < 0) {
        pending_.pop_back();
        return r;
    }
    pending.slot.reset(slot);
    Rearm();  // the call may wait in the write queue
    return r;
}

int Connection::OnReply(sd_bus_message* reply, void* userdata, sd_bus_error*) {
    auto& pending = *static_cast<PendingCall*>(userdata);
    // Taken out now; the entry itself goes once sd-bus has let go of its slot.
    const ReplyHandler handler = std::move(pending.handler);
    pending.handler = nullptr;
    if (handler) handler(reply, 0);
    return 0;
}

void Connection::Wake() {
    // sd_bus_process until it has nothing left, then back to the event loop.
    int r = 0;
    while ((r = sd_bus_process(bus_.get(), nullptr)) > 0) continue;
    if (r < 0) {
        sd_bus_close(bus_.get());  // else the same error would wake us again and again
        FailPending(r);
    }
    pending_.remove_if([](const PendingCall& call) { return !call.handler; });
    Rearm();
    // Copied: `processed` may destroy this connection, and with it processed_.
    const std::function<void()> processed = processed_;
    if (processed) processed();
}

void Connection::FailPending(int broken) {
    // sd-bus answers pending calls itself when a connection ends; not on other errors.
    for (PendingCall& pending : pending_) {
        const ReplyHandler handler = std::move(pending.handler);
        pending.handler = nullptr;
        if (handler) handler(nullptr, broken);
    }
}

void Connection::Rearm() {
    const int fd = sd_bus_get_fd(bus_.get());
    const int events = sd_bus_get_events(bus_.get());
    std::uint64_t until = UINT64_MAX;
    if (fd < 0 || events < 0) {
        // Closed: every call has had its answer already; nothing more will come.
        watch_->Watch(-1, false, false, std::nullopt);
        return;
    }
    std::optional<milliseconds> timeout;
    if (sd_bus_get_timeout(bus_.get(), &until) > 0 && until != UINT64_MAX) {
        const std::uint64_t now = MonotonicUsec();
        const std::uint64_t left = until > now ? until - now : 0;
        timeout = milliseconds((left + 999) / 1000);  // rounded up: never early
    }
    watch_->Watch(fd, (events & POLLIN) != 0, (events & POLLOUT) != 0, timeout);
}

void Connection::FlushBriefly() {
    const std::uint64_t deadline =
        MonotonicUsec() + static_cast<std::uint64_t>(microseconds(kFlushLimit).count());
    for (;;) {
        std::uint64_t queued = 0;
        if (sd_bus_get_n_queued_write(bus_.get(), &queued) < 0 || queued == 0) return;
        const std::uint64_t now = MonotonicUsec();
        if (now >= deadline) return;
        const int r = sd_bus_process(bus_.get(), nullptr);
        if (r < 0) return;
        if (r == 0 && sd_bus_wait(bus_.get(), deadline - now) < 0) return;
    }
}

}  // namespace tolvane::sdbus
