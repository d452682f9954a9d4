#pragma once
#include "platform/system.h"
#include "sysinfo/sysinfo.h"

namespace tolvane {

// The running Windows machine.
class Win32System final : public System {
  public:
    std::uint64_t MillisecondsSinceStart() override;
    std::string MachineName() override;
    std::string OsName() override;
    void EnableShutdownPrivilege() override;
    // ExitWindowsEx answers at once: `done` runs before this returns.
    void RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) override;
};

// Windows' own version record, true also on 8.1, 10 and 11 whatever the manifest says.
OsVersionInfo ReadOsVersion();

}  // namespace tolvane
