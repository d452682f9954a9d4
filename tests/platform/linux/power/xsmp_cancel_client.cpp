// An application that refuses the end of the session once, as one with unsaved work does: it
// registers with the session manager named by SESSION_MANAGER and, the first time a save
// before a shutdown allows interaction, asks to interact and then cancels the shutdown; later
// shutdowns go ahead, as after the user saved. It prints each step on its own line, so the
// test can tell the refusal really happened.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>

namespace {

struct Closer {
    void operator()(SmcConn connection) const { SmcCloseConnection(connection, 0, nullptr); }
};
using Connection = std::unique_ptr<std::remove_pointer_t<SmcConn>, Closer>;

bool finished = false;
bool refused = false;

void Say(const char* step) {
    std::printf("%s\n", step);
    std::fflush(stdout);
}

void Interact(SmcConn connection, SmPointer) {
    Say("cancelling");
    refused = true;
    SmcInteractDone(connection, True);
    SmcSaveYourselfDone(connection, True);
}

void SaveYourself(SmcConn connection, SmPointer, int, Bool shutdown, int interactStyle, Bool) {
    Say(shutdown ? "save-yourself shutdown" : "save-yourself");
    if (shutdown && !refused && interactStyle != SmInteractStyleNone &&
        SmcInteractRequest(connection, SmDialogNormal, Interact, nullptr))
        return;
    SmcSaveYourselfDone(connection, True);
}

}  // namespace

int main() {
    SmcCallbacks callbacks{};
    callbacks.save_yourself.callback = SaveYourself;
    callbacks.die.callback = [](SmcConn, SmPointer) {
        Say("die");
        finished = true;
    };
    callbacks.save_complete.callback = [](SmcConn, SmPointer) { Say("save-complete"); };
    callbacks.shutdown_cancelled.callback = [](SmcConn, SmPointer) { Say("shutdown-cancelled"); };
    std::array<char, 256> error{};
    char* clientId = nullptr;
    const Connection connection(SmcOpenConnection(
        nullptr, nullptr, SmProtoMajor, SmProtoMinor,
        SmcSaveYourselfProcMask | SmcDieProcMask | SmcSaveCompleteProcMask |
            SmcShutdownCancelledProcMask,
        &callbacks, nullptr, &clientId, static_cast<int>(error.size()), error.data()));
    if (!connection) {
        std::fprintf(stderr, "no session manager: %s\n", error.data());
        return 1;
    }
    std::free(clientId);
    Say("registered");

    IceConn ice = SmcGetIceConnection(connection.get());
    while (!finished) {
        pollfd fd{IceConnectionNumber(ice), POLLIN, 0};
        if (poll(&fd, 1, -1) < 0) return 1;
        if (IceProcessMessages(ice, nullptr, nullptr) == IceProcessMessagesIOError) {
            Say("disconnected");
            return 0;
        }
    }
    return 0;
}
