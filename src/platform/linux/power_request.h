#pragma once
#include <functional>
#include <memory>
#include <optional>

#include "platform/linux/bus_connection.h"
#include "platform/linux/event_loop.h"
#include "platform/linux/session_manager.h"
#include "platform/system.h"

namespace tolvane {

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
    template <typename Handler>
    sdbus::ReplyHandler Guarded(Handler handler);
    void LookForSessionManager();
    void Ask();
    void Request(const char* method);
    void RequestFromLogind();
    void Answered(sd_bus_message* reply, int broken);
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
