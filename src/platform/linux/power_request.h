#pragma once
#include <functional>
#include <memory>
#include <optional>

#include "platform/linux/bus_connection.h"
#include "platform/linux/event_loop.h"
#include "platform/system.h"

namespace tolvane {

struct SessionManager;  // a desktop's, and how to ask it

// One restart or power-off request: to the desktop's session manager on the session bus,
// so that running applications may save their work or refuse, as on Windows; without one,
// to systemd-logind on the system bus. Every step goes on from the event loop.
class PowerRequest {
  public:
    using Finished = std::function<void(PowerRequestResult)>;

    // `finished` runs once, from the event loop, when the answer has come; it may destroy
    // this request. Destroying it earlier drops the answer: `finished` never runs.
    PowerRequest(EventLoop& loop, PowerAction action, Finished finished)
        : loop_(loop), action_(action), finished_(std::move(finished)) {}
    PowerRequest(const PowerRequest&) = delete;
    PowerRequest& operator=(const PowerRequest&) = delete;

    // The result when it is known at once (nothing could be sent); then `finished` never runs.
    std::optional<PowerRequestResult> Start();

  private:
    using Handler = void (PowerRequest::*)(sd_bus_message* reply, int broken);

    // Sends `call`, which making returned `built`: a failure there fails the request.
    void Send(sdbus::Connection& bus, int built, const sdbus::Message& call,
              std::optional<std::chrono::microseconds> limit, Handler handler);
    void LookForSessionManager();
    void Named(sd_bus_message* reply, int broken);    // the names owned on the session bus
    void Allowed(sd_bus_message* reply, int broken);  // whether the manager may do it
    void Request(const char* method);
    void RequestFromLogind();
    void Answered(sd_bus_message* reply, int broken);  // the request's own answer
    // A cancel, by the user or an application, or the session ending: no refusal.
    bool IsCancel(sd_bus_message* reply, int broken) const;
    // After each round of answers on either bus: the end, once the result is known.
    void Processed();

    EventLoop& loop_;
    PowerAction action_;
    Finished finished_;
    std::unique_ptr<sdbus::Connection> session_;
    std::unique_ptr<sdbus::Connection> system_;
    const SessionManager* manager_ = nullptr;
    bool triedInstead_ = false;
    std::optional<PowerRequestResult> result_;
};

}  // namespace tolvane
