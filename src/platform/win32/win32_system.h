#pragma once
#include <windows.h>

#include "platform/system.h"
#include "sysinfo/sysinfo.h"

namespace tolvane {

// The two calls of a request that can refuse it. Under Wine they always succeed, so tests
// put in ones that fail as Windows' do.
struct PowerCalls {
    decltype(&::AdjustTokenPrivileges) adjustTokenPrivileges = ::AdjustTokenPrivileges;
    decltype(&::ExitWindowsEx) exitWindowsEx = ::ExitWindowsEx;
};

// The running Windows machine.
class Win32System final : public System {
  public:
    explicit Win32System(PowerCalls calls = {}) : calls_(calls) {}

    std::uint64_t MillisecondsSinceStart() override;
    std::string MachineName() override;
    std::string OSName() override;
    void EnableShutdownPrivilege() override;
    // ExitWindowsEx answers at once: `done` runs before this returns.
    // A refusal is told in Windows' own words: the privilege step's, if it failed, then the
    // request's.
    void RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) override;

  private:
    PowerCalls calls_;
    DWORD privilegeError_ = ERROR_SUCCESS;
};

}  // namespace tolvane
