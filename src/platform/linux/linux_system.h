#pragma once
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/event_loop.h"
#include "platform/system.h"

namespace tolvane {

class PowerRequest;

// The running Linux machine.
class LinuxSystem final : public System {
  public:
    // Power requests go on from `loop`, which must outlive this object.
    explicit LinuxSystem(EventLoop& loop);
    LinuxSystem(const LinuxSystem&) = delete;
    LinuxSystem& operator=(const LinuxSystem&) = delete;
    // Requests still waiting: what was sent is written out, their answers are dropped.
    ~LinuxSystem() override;

    std::uint64_t MillisecondsSinceStart() override;
    std::string MachineName() override;
    std::string OSName() override;
    // logind asks polkit during the request itself; there is no separate step.
    void EnableShutdownPrivilege() override {}
    void RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) override;

  private:
    EventLoop& loop_;
    std::list<std::unique_ptr<PowerRequest>> requests_;
};

// The first 64 KiB of path, when it is a regular file (through links); else nothing.
std::optional<std::string> ReadSmallRegularFile(const std::string& path);

// The distribution's name from the first os-release file that is a regular file (never both).
std::string OSNameFromFiles(const std::string& etcOSRelease, const std::string& usrLibOSRelease);

}  // namespace tolvane
