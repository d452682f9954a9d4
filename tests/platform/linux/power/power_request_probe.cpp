// Runs one real restart or power-off request over D-Bus and prints its outcome, for the
// harness that surrounds it with private buses and mocked services:
//   power_request_probe restart|poweroff [FILE]
// With FILE, every keepResponsive call creates that file, so a mocked service can hold
// its answer until it sees that the caller kept its window responsive meanwhile.
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/linux/power_request.h"

int main(int argc, char** argv) {
    const std::string action = argc > 1 ? argv[1] : "";
    if (argc < 2 || argc > 3 || (action != "restart" && action != "poweroff")) {
        std::fprintf(stderr, "usage: %s restart|poweroff [FILE]\n", argv[0]);
        return 2;
    }
    const std::string marker = argc > 2 ? argv[2] : "";
    int keepResponsiveCalls = 0;
    const auto result = tolvane::RequestPowerOverDBus(
        action == "restart" ? tolvane::PowerAction::Restart : tolvane::PowerAction::PowerOff, [&] {
            ++keepResponsiveCalls;
            if (!marker.empty()) std::ofstream(marker).put('\n');
        });
    std::printf("started=%d\nkeep_responsive_calls=%d\nreason=%s\n", result.started ? 1 : 0,
                keepResponsiveCalls, result.reason.c_str());
    return 0;
}
