#pragma once
#include <functional>
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
    std::string OsName() override;
    // logind asks polkit during the request itself; there is no separate step.
    void EnableShutdownPrivilege() override {}
    PowerRequestResult RequestPower(PowerAction action) override;

  private:
    std::function<void()> keepResponsive_;
};

// The distribution's name from the first os-release file that exists (never both).
std::string OsNameFromFiles(const std::string& etcOsRelease, const std::string& usrLibOsRelease);

}  // namespace tolvane
