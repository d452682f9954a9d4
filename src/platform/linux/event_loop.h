#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tolvane {

// A file descriptor and a deadline, watched by the program's event loop.
class FdWatch {
  public:
    virtual ~FdWatch() = default;
    // Replaces what is watched: fd (none when negative) for reading and/or writing, and a
    // timeout from now (none: the fd alone).
    virtual void Watch(int fd, bool read, bool write,
                       std::optional<std::chrono::milliseconds> timeout) = 0;
};

// What the Linux layer needs of the toolkit's event loop, so that nothing it does on
// D-Bus ever blocks the window.
class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // `wake` runs from the event loop each time what the watch was last told to watch is
    // ready or its timeout has passed; it then watches nothing until told again. `wake`
    // may destroy the watch.
    virtual std::unique_ptr<FdWatch> NewWatch(std::function<void()> wake) = 0;
    // While what this returns lives, the program goes on running with its window closed.
    virtual std::shared_ptr<void> KeepRunning() = 0;
};

}  // namespace tolvane
