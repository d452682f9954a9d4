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
#include <string>
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

void SetProperties(SmcConn connection, const char* program) {
    // Never restarted: it is only here for this one session.
    char restartNever = SmRestartNever;
    std::array<SmPropValue, 1> programValue{
        {{static_cast<int>(std::char_traits<char>::length(program)), const_cast<char*>(program)}}};
    char user[] = "tolvane-test";
    SmPropValue userValue{static_cast<int>(sizeof user - 1), user};
    SmPropValue hintValue{1, &restartNever};
    char programName[] = SmProgram, restartName[] = SmRestartCommand, cloneName[] = SmCloneCommand,
         userName[] = SmUserID, hintName[] = SmRestartStyleHint;
    char array[] = SmLISTofARRAY8, array8[] = SmARRAY8, card8[] = SmCARD8;
    SmProp properties[] = {
        {programName, array8, 1, programValue.data()},
        {restartName, array, 1, programValue.data()},
        {cloneName, array, 1, programValue.data()},
        {userName, array8, 1, &userValue},
        {hintName, card8, 1, &hintValue},
    };
    std::array<SmProp*, 5> list{&properties[0], &properties[1], &properties[2], &properties[3],
                                &properties[4]};
    SmcSetProperties(connection, static_cast<int>(list.size()), list.data());
}

}  // namespace

int main(int, char** argv) {
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
    SetProperties(connection.get(), argv[0]);
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
