#pragma once
#include <cstdint>
#include <string>

namespace tolvane {

enum class PowerAction { Restart, PowerOff };

// Whether a restart or power-off request could be started. One that was started may
// still be refused later by a running application; that stays silent.
struct PowerRequestResult {
    bool started = true;
    std::string reason;  // the system's own words, when not started
};

// What the program asks of the operating system. It returns raw facts; the core turns
// them into words. Each platform folder has one implementation, and tests a fake.
class System {
  public:
    virtual ~System() = default;

    virtual std::uint64_t MillisecondsSinceStart() = 0;  // includes time spent suspended
    virtual std::string MachineName() = 0;               // empty when the query fails
    // Windows: GetOSName of its version record; Linux: the distribution's name, then " ".
    virtual std::string OSName() = 0;

    virtual void EnableShutdownPrivilege() = 0;
    virtual PowerRequestResult RequestPower(PowerAction action) = 0;
};

}  // namespace tolvane
