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
    PowerRequestResult RequestPower(PowerAction action) override;
};

}  // namespace tolvane
