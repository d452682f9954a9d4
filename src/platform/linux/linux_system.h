#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/system.h"

namespace tolvane {

// The running Linux machine.
class LinuxSystem final : public System {
  public:
    // keepResponsive is called again and again while a power request waits for an
    // answer (a password prompt can take minutes), so the window can keep repainting.
    explicit LinuxSystem(std::function<void()> keepResponsive = {})
        : keepResponsive_(std::move(keepResponsive)) {}

    std::uint64_t MillisecondsSinceStart() override;
    std::string MachineName() override;
    std::string OSName() override;
    // logind asks polkit during the request itself; there is no separate step.
    void EnableShutdownPrivilege() override {}
    PowerRequestResult RequestPower(PowerAction action) override;

  private:
    std::function<void()> keepResponsive_;
};

// The first 64 KiB of path, when it is a regular file (through links); else nothing.
std::optional<std::string> ReadSmallRegularFile(const std::string& path);

// The distribution's name from the first os-release file that is a regular file (never both).
std::string OSNameFromFiles(const std::string& etcOSRelease, const std::string& usrLibOSRelease);

}  // namespace tolvane
