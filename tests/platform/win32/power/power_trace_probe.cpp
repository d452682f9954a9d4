// The privilege step and a request exactly as the program makes them, for a relay trace:
//   power_trace_probe restart|poweroff
// Under Wine the request ends only this prefix's session.
#include <cstdio>
#include <string_view>

#include "platform/win32/win32_system.h"

int main(int argc, char** argv) {
    const bool restart = argc == 2 && std::string_view(argv[1]) == "restart";
    tolvane::Win32System system;
    system.EnableShutdownPrivilege();
    system.RequestPower(restart ? tolvane::PowerAction::Restart : tolvane::PowerAction::PowerOff,
                        [](const tolvane::PowerRequestResult& result) {
                            std::printf("started=%d reason=%s\n", result.started ? 1 : 0,
                                        result.reason.c_str());
                        });
    return 0;
}
