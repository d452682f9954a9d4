#include "platform/linux/power_request.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "sysinfo/display_text.h"

namespace tolvane {

// A method name for each request.
struct PowerMethods {
    const char* restart = nullptr;
    const char* powerOff = nullptr;
    const char* Of(PowerAction action) const {
        return action == PowerAction::Restart ? restart : powerOff;
    }
};

// A desktop's session manager, and how its own menu asks it to restart or power off.
struct SessionManager {
    const char* desktop;  // for the reader only
    const char* owned;    // the session bus name whose owner marks this desktop
    const char* service;  // where the request goes; D-Bus may start it on demand
    const char* path;
    const char* interface;
    PowerMethods request;
    PowerMethods ask;        // asked first whether it may; none when not set
    PowerMethods instead;    // when `request` is an unknown method; none when not set
    bool allowSave = false;  // the request takes allow_save = true
    // Never answers a request that succeeds, as the session ends first: its request, or the
    // one tried instead.
    enum { kAnswers, kInsteadSilent, kSilent } silent = kAnswers;
};

namespace {

using sdbus::BusKind;
using sdbus::Connection;
using std::chrono::microseconds;

// In the order they are tried. Plasma's org.kde.Shutdown is started on demand, so its
// session is known by ksmserver. MATE and Cinnamon answer RequestReboot under GNOME's name;
// GNOME has not had it since 3.0 and shows its own confirmation for Reboot.
constexpr std::array kSessionManagers{
    SessionManager{"KDE Plasma",
                   "org.kde.ksmserver",
                   "org.kde.Shutdown",
                   "/Shutdown",
                   "org.kde.Shutdown",
                   {"logoutAndReboot", "logoutAndShutdown"},
                   {},
                   {}},
    SessionManager{"XFCE",
                   "org.xfce.SessionManager",
                   "org.xfce.SessionManager",
                   "/org/xfce/SessionManager",
                   "org.xfce.Session.Manager",
                   {"Restart", "Shutdown"},
                   {"CanRestart", "CanShutdown"},
                   {},
                   true},
    SessionManager{"MATE, Cinnamon, GNOME",
                   "org.gnome.SessionManager",
                   "org.gnome.SessionManager",
                   "/org/gnome/SessionManager",
                   "org.gnome.SessionManager",
                   {"RequestReboot", "RequestShutdown"},
                   {},
                   {"Reboot", "Shutdown"},
                   false,
                   SessionManager::kInsteadSilent},
    SessionManager{"LXQt",
                   "org.lxqt.session",
                   "org.lxqt.session",
                   "/LXQtSession",
                   "org.lxqt.session",
                   {"reboot", "powerOff"},
                   {},
                   {},
                   false,
                   SessionManager::kSilent},
};

// The first desktop, in the order they are tried, whose name has an owner among `owned`;
// nullptr for none.
const SessionManager* ChooseSessionManager(const std::vector<std::string>& owned) {
    for (const SessionManager& manager : kSessionManagers)
        if (std::find(owned.begin(), owned.end(), manager.owned) != owned.end()) return &manager;
    return nullptr;
}

// Questions get sd-bus's usual limit (0 says so). The request gets the answer limit: a
// password prompt or GNOME's own 60 s confirmation may stand before its answer.
const std::optional<microseconds> kQuestionLimit = microseconds(0);
constexpr std::chrono::minutes kAnswerLimit{10};

int NewCall(sd_bus* bus, const char* service, const char* path, const char* interface,
            const char* method, sdbus::Message& call) {
    sd_bus_message* raw = nullptr;
    const int r = sd_bus_message_new_method_call(bus, &raw, service, path, interface, method);
    call.reset(raw);
    return r;
}

std::vector<std::string> ReadNames(sd_bus_message* reply) {
    std::vector<std::string> names;
    if (sd_bus_message_enter_container(reply, 'a', "s") <= 0) return names;
    const char* name = nullptr;
    while (sd_bus_message_read(reply, "s", &name) > 0) names.emplace_back(name);
    return names;
}

bool IsError(sd_bus_message* reply, int broken) {
    return broken < 0 || sd_bus_message_is_method_error(reply, nullptr);
}

// GNOME answers Reboot and Shutdown so when the user cancels its own confirmation: GLib's
// G_IO_ERROR_CANCELLED, which has no D-Bus name of its own.
constexpr const char* kGnomeCancelled =
    "org.gtk.GDBus.UnmappedGError.Quark._g_2dio_2derror_2dquark.Code19";

PowerRequestResult Refused(sd_bus_message* reply, int broken) {
    if (broken < 0) return {false, sdbus::ErrnoText(broken)};
    return {false, sdbus::ErrorText(sd_bus_message_get_error(reply))};
}

int NewLogindCall(sd_bus* bus, const char* method, sdbus::Message& call) {
    return NewCall(bus, "org.freedesktop.login1", "/org/freedesktop/login1",
                   "org.freedesktop.login1.Manager", method, call);
}

// A system without logind: then the desktop decides, as it would without this program.
bool IsLogindMissing(sd_bus_message* reply, int broken) {
    return broken < 0 || sd_bus_message_is_method_error(reply, SD_BUS_ERROR_SERVICE_UNKNOWN) ||
           sd_bus_message_is_method_error(reply, SD_BUS_ERROR_NAME_HAS_NO_OWNER);
}

const char* Verb(PowerAction action) {
    return action == PowerAction::Restart ? "restart" : "shut down";
}

// "who: why" of each block inhibitor that holds back a shutdown or a restart, one a line.
// Delay inhibitors are not listed: logind waits for them itself.
std::string BlockInhibitors(sd_bus_message* reply) {
    std::string lines;
    if (sd_bus_message_enter_container(reply, 'a', "(ssssuu)") <= 0) return lines;
    const char *what = nullptr, *who = nullptr, *why = nullptr, *mode = nullptr;
    std::uint32_t uid = 0, pid = 0;
    while (sd_bus_message_read(reply, "(ssssuu)", &what, &who, &why, &mode, &uid, &pid) > 0) {
        bool shutdown = false;
        for (std::string_view rest = what; !rest.empty() && !shutdown;) {
            const auto colon = rest.find(':');
            shutdown = rest.substr(0, colon) == "shutdown";
            rest = colon == rest.npos ? "" : rest.substr(colon + 1);
        }
        if (!shutdown || std::string_view(mode) != "block") continue;
        // Any program names itself: on one line each, our colon between.
        lines += "\n" + CleanSystemText(who) + ": " + CleanSystemText(why);
    }
    return lines;
}

}  // namespace

std::optional<PowerRequestResult> PowerRequest::Start() {
    // Nothing may escape into the window's event handler, not even an allocation failure.
    try {
        running_ = loop_.KeepRunning();
        AskLogind();
    } catch (const std::exception& error) {
        result_ = {false, error.what()};
    }
    return result_;
}

void PowerRequest::Send(Connection& bus, int built, const sdbus::Message& call,
                        std::optional<microseconds> limit, Handler handler) {
    if (built < 0) {
        result_ = {false, sdbus::ErrnoText(built)};
        return;
    }
    const int r = bus.Call(call.get(), limit, [this, handler](sd_bus_message* reply, int broken) {
        // Called from sd-bus, which is C: nothing may escape.
        try {
            (this->*handler)(reply, broken);
        } catch (const std::exception& error) {
            result_ = {false, error.what()};
        }
    });
    if (r < 0) result_ = {false, sdbus::ErrnoText(r)};
}

void PowerRequest::AskLogind() {
    int error = 0;
    system_ = Connection::Open(
        BusKind::System, loop_, [this] { Processed(); }, error);
    if (!system_) return LookForSessionManager();
    sdbus::Message call;
    const int r = NewLogindCall(
        system_->get(), action_ == PowerAction::Restart ? "CanReboot" : "CanPowerOff", call);
    Send(*system_, r, call, kQuestionLimit, &PowerRequest::LogindMay);
}

void PowerRequest::LogindMay(sd_bus_message* reply, int broken) {
    if (IsLogindMissing(reply, broken)) return LookForSessionManager();
    const char* answer = nullptr;
    if (IsError(reply, broken) || sd_bus_message_read(reply, "s", &answer) < 0) {
        result_ = Refused(reply, broken);
        return;
    }
    // "challenge": polkit asks for a password during the request, as from the desktop's menu.
    if (std::string_view(answer) != "yes" && std::string_view(answer) != "challenge") {
        result_ = {false, std::string("This user may not ") + Verb(action_) +
                              " this computer now (systemd-logind answered \"" + answer + "\")."};
        return;
    }
    sdbus::Message call;
    const int r = NewLogindCall(system_->get(), "ListInhibitors", call);
    Send(*system_, r, call, kQuestionLimit, &PowerRequest::Inhibitors);
}

void PowerRequest::Inhibitors(sd_bus_message* reply, int broken) {
    if (IsError(reply, broken)) {
        result_ = Refused(reply, broken);
        return;
    }
    const std::string blocking = BlockInhibitors(reply);
    if (blocking.empty()) return LookForSessionManager();
    result_ = {false, std::string("Programs that must finish first do not let this computer ") +
                          Verb(action_) + " now:" + blocking};
}

void PowerRequest::LookForSessionManager() {
    int error = 0;
    session_ = Connection::Open(
        BusKind::Session, loop_, [this] { Processed(); }, error);
    if (!session_) return RequestFromLogind();  // no session bus, so no session manager
    sdbus::Message call;
    const int r = NewCall(session_->get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                          "org.freedesktop.DBus", "ListNames", call);
    Send(*session_, r, call, kQuestionLimit, &PowerRequest::Named);
}

void PowerRequest::Named(sd_bus_message* reply, int broken) {
    if (IsError(reply, broken)) {
        result_ = Refused(reply, broken);
        return;
    }
    // Only names with an owner now: asking for one that D-Bus could start would start it.
    manager_ = ChooseSessionManager(ReadNames(reply));
    if (!manager_) return RequestFromLogind();
    if (!manager_->ask.Of(action_)) return Request(manager_->request.Of(action_));
    sdbus::Message call;
    const int r = NewCall(session_->get(), manager_->service, manager_->path, manager_->interface,
                          manager_->ask.Of(action_), call);
    Send(*session_, r, call, kQuestionLimit, &PowerRequest::Allowed);
}

void PowerRequest::Allowed(sd_bus_message* reply, int broken) {
    if (IsError(reply, broken)) {
        result_ = Refused(reply, broken);
        return;
    }
    int may = 0;
    if (sd_bus_message_read(reply, "b", &may) >= 0 && may)
        return Request(manager_->request.Of(action_));
    result_ = {false, std::string(manager_->desktop) + "'s session manager answered " +
                          manager_->ask.Of(action_) + ": no."};
}

void PowerRequest::Request(const char* method) {
    sdbus::Message call;
    int r = NewCall(session_->get(), manager_->service, manager_->path, manager_->interface, method,
                    call);
    if (r >= 0 && manager_->allowSave) r = sd_bus_message_append(call.get(), "b", 1);
    SendRequest(*session_, r, call);
}

void PowerRequest::RequestFromLogind() {
    int error = 0;
    if (!system_)
        system_ = Connection::Open(
            BusKind::System, loop_, [this] { Processed(); }, error);
    if (!system_) {
        result_ = {false, "The system bus could not be reached: " + sdbus::ErrnoText(error) + "."};
        return;
    }
    // polkit decides during the call itself; its refusal, in its own words, is shown.
    sdbus::Message call;
    int r = NewLogindCall(system_->get(), action_ == PowerAction::Restart ? "Reboot" : "PowerOff",
                          call);
    // Interactively: polkit may ask for a password during the call, and that authorization
    // is the privilege step on Linux. The header flag and the argument both say so.
    if (r >= 0) r = sd_bus_message_set_allow_interactive_authorization(call.get(), 1);
    if (r >= 0) r = sd_bus_message_append(call.get(), "b", 1);
    SendRequest(*system_, r, call);
}

void PowerRequest::SendRequest(Connection& bus, int built, const sdbus::Message& call) {
    requestBus_ = &bus;
    left_ = false;
    // Timed here rather than by sd-bus, whose time-out reads as a lost answer.
    if (!answerLimit_) {
        answerLimit_ = loop_.NewWatch([this] {
            result_ = {false,
                       std::string(manager_ ? "The desktop's session manager" : "systemd-logind") +
                           " did not answer in 10 minutes."};
            Processed();
        });
        answerLimit_->Watch(-1, false, false, kAnswerLimit);
    }
    Send(bus, built, call, std::nullopt, &PowerRequest::Answered);
    if (RequestLeft()) running_.reset();
}

void PowerRequest::Answered(sd_bus_message* reply, int broken) {
    if (broken >= 0 && manager_ && !triedInstead_ && manager_->instead.Of(action_) &&
        sd_bus_message_is_method_error(reply, SD_BUS_ERROR_UNKNOWN_METHOD)) {
        triedInstead_ = true;
        return Request(manager_->instead.Of(action_));
    }
    if (!IsError(reply, broken) || IsCancel(reply, broken)) {
        result_ = PowerRequestResult{};
        return;
    }
    result_ = Refused(reply, broken);
}

bool PowerRequest::IsCancel(sd_bus_message* reply, int broken) {
    if (broken < 0) return false;
    if (sd_bus_message_is_method_error(reply, kGnomeCancelled)) return true;
    // A session that ends looks so, from the desktops that never answer a request that
    // succeeds; only once the request has left, or it was never seen. Any other lost
    // answer is a failure.
    const bool silent =
        manager_ && (manager_->silent == SessionManager::kSilent ||
                     (manager_->silent == SessionManager::kInsteadSilent && triedInstead_));
    return silent && sd_bus_message_is_method_error(reply, SD_BUS_ERROR_NO_REPLY) && RequestLeft();
}

bool PowerRequest::RequestLeft() {
    std::uint64_t queued = 0;
    if (!left_ && requestBus_ && sd_bus_get_n_queued_write(requestBus_->get(), &queued) >= 0)
        left_ = queued == 0;
    return left_;
}

void PowerRequest::Processed() {
    // Once the request has left, closing the window may end the program.
    if (RequestLeft()) running_.reset();
    if (!result_ || !finished_) return;
    // Moved out first: `finished` may destroy this request. The program keeps running until
    // its box, if any, is answered.
    const Finished finished = std::move(finished_);
    finished_ = nullptr;
    const std::shared_ptr<void> running = std::move(running_);
    finished(*result_);
}

}  // namespace tolvane
