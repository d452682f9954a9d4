#pragma once
#include "platform/system.h"
#include "sysinfo/sysinfo.h"

namespace tolvane {

// The running Windows machine.
class Win32System final : public System {
  public:
    std::uint64_t MillisecondsSinceStart() override;
    std::string MachineName() override;
    std::string OSName() override;
    void EnableShutdownPrivilege() override;
    // ExitWindowsEx answers at once: `done` runs before this returns.
    void RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) override;
};

}  // namespace tolvane
