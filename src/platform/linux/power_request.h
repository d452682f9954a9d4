#pragma once
#include <functional>
#include <memory>
#include <optional>

#include "platform/linux/bus_connection.h"
#include "platform/linux/event_loop.h"
#include "platform/system.h"

namespace tolvane {

struct SessionManager;  // a desktop's, and how to ask it

// One restart or power-off request. systemd-logind on the system bus is asked first whether
// this user may, and which programs block it: a refusal then leaves the session as it is.
// Then the desktop's session manager on the session bus, so that running applications may
// save their work or refuse, as on Windows; without one, logind itself. Every step goes on
// from the event loop, and the program keeps running, its window closed or not, until the
// request has left it or its result is known.
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
    void AskLogind();
    void LogindMay(sd_bus_message* reply, int broken);   // logind's CanReboot / CanPowerOff
    void Inhibitors(sd_bus_message* reply, int broken);  // logind's ListInhibitors
    void LookForSessionManager();
    void Named(sd_bus_message* reply, int broken);    // the names owned on the session bus
    void Allowed(sd_bus_message* reply, int broken);  // whether the manager may do it
    void Request(const char* method);
    void RequestFromLogind();
    // The request sent on `bus`: watched until it has left, and for at most kAnswerLimit.
    void SendRequest(sdbus::Connection& bus, int built, const sdbus::Message& call);
    void Answered(sd_bus_message* reply, int broken);  // the request's own answer
    // A cancel, by the user or an application, or the session ending: no refusal.
    bool IsCancel(sd_bus_message* reply, int broken);
    // Whether everything written to the request's bus, the request too, has left.
    bool RequestLeft();
    // After each round of answers on either bus: the end, once the result is known.
    void Processed();

    EventLoop& loop_;
    PowerAction action_;
    Finished finished_;
    std::shared_ptr<void> running_;  // keeps the program running until the request has left
    std::unique_ptr<sdbus::Connection> session_;
    std::unique_ptr<sdbus::Connection> system_;
    sdbus::Connection* requestBus_ = nullptr;
    std::unique_ptr<FdWatch> answerLimit_;
    const SessionManager* manager_ = nullptr;
    bool triedInstead_ = false;
    bool left_ = false;
    std::optional<PowerRequestResult> result_;
};

}  // namespace tolvane
