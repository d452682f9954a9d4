// Enables the shutdown privilege and requests a restart or power-off, exactly as the
// program does, so a relay trace can show the calls and their arguments:
//   power_trace_probe restart|poweroff
// It prints the outcome; under Wine the request ends only this prefix's session.
#include <cstdio>
#include <string_view>

#include "platform/win32/win32_system.h"

int main(int argc, char** argv) {
    const std::string_view action = argc == 2 ? argv[1] : "";
    if (action != "restart" && action != "poweroff") {
        std::fprintf(stderr, "usage: power_trace_probe restart|poweroff\n");
        return 2;
    }
    tolvane::Win32System system;
    system.EnableShutdownPrivilege();
    system.RequestPower(
        action == "restart" ? tolvane::PowerAction::Restart : tolvane::PowerAction::PowerOff,
        [](const tolvane::PowerRequestResult& result) {
            std::printf("started=%d reason=%s\n", result.started ? 1 : 0, result.reason.c_str());
        });
    std::fflush(stdout);
    return 0;
}
