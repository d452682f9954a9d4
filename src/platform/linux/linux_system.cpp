#include "platform/linux/linux_system.h"

#include <limits.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <sstream>

#include "platform/linux/power_request.h"
#include "sysinfo/os_release.h"
#include "sysinfo/sysinfo.h"

namespace tolvane {

std::uint64_t LinuxSystem::MillisecondsSinceStart() {
    // CLOCK_BOOTTIME counts time spent suspended, as Windows' tick count does.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
}

std::string LinuxSystem::MachineName() {
    return GetMachineName();
}
std::string LinuxSystem::OsName() {
    return GetOSName();
}

LinuxSystem::LinuxSystem(EventLoop& loop) : loop_(loop) {}
LinuxSystem::~LinuxSystem() = default;

void LinuxSystem::RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) {
    requests_.emplace_back();
    const auto request = std::prev(requests_.end());
    *request = std::make_unique<PowerRequest>(loop_, action,
                                              [this, request, done](PowerRequestResult result) {
                                                  // This closure belongs to the request erased
                                                  // here: only copies are used after.
                                                  const auto answer = done;
                                                  requests_.erase(request);
                                                  answer(std::move(result));
                                              });
    if (const auto result = (*request)->Start()) {
        requests_.erase(request);
        done(*result);
    }
}

std::string OsNameFromFiles(const std::string& etcOsRelease, const std::string& usrLibOsRelease) {
    const bool etcExists = access(etcOsRelease.c_str(), F_OK) == 0;
    std::ifstream file(etcExists ? etcOsRelease : usrLibOsRelease, std::ios::binary);
    std::ostringstream text;
    if (file) text << file.rdbuf();
    return OsReleaseName(text.str());
}

std::string GetMachineName() {
    std::array<char, HOST_NAME_MAX + 1> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) return {};
    return std::string(name.data());  // the array's last byte stays NUL, whatever was written
}

std::string GetOSName() {
    return OsNameFromFiles("/etc/os-release", "/usr/lib/os-release") + ' ';
}

}  // namespace tolvane
