// The privilege step and a request as the program makes them, for a relay trace:
//   power_trace_probe restart|poweroff
// Under Wine the request ends only this prefix's session. Exit status 0: it was started.
#include <string_view>

#include "platform/win32/win32_system.h"

int main(int argc, char** argv) {
    using tolvane::PowerAction;
    const bool restart = argc == 2 && std::string_view(argv[1]) == "restart";
    tolvane::Win32System system;
    system.EnableShutdownPrivilege();
    int status = 1;
    system.RequestPower(
        restart ? PowerAction::Restart : PowerAction::PowerOff,
        [&](const tolvane::PowerRequestResult& result) { status = result.started ? 0 : 1; });
    return status;
}
