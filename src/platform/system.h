#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace tolvane {

enum class PowerAction { Restart, PowerOff };

// Whether a restart or power-off request could be started. One that was started may
// still be cancelled by the user or refused by a running application; that stays silent.
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
    // Returns at once. `done` runs exactly once: before the return when the system answers
    // at once, else later from the event loop; never after this object is gone.
    virtual void RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) = 0;
};

}  // namespace tolvane
