#pragma once
#include <QEventLoopLocker>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/linux/event_loop.h"

namespace tolvane::qt {

// A file descriptor and a deadline watched by Qt's own event loop, so that the Linux
// layer's D-Bus traffic never blocks the window.
class QtFdWatch final : public FdWatch {
  public:
    explicit QtFdWatch(std::function<void()> wake);

    void Watch(int fd, bool read, bool write,
               std::optional<std::chrono::milliseconds> timeout) override;

  private:
    void Fire();

    std::function<void()> wake_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> read_;
    std::unique_ptr<QSocketNotifier> write_;
    QTimer timer_;
};

class QtEventLoop final : public EventLoop {
  public:
    std::unique_ptr<FdWatch> NewWatch(std::function<void()> wake) override {
        return std::make_unique<QtFdWatch>(std::move(wake));
    }
    // Qt quits once the last window is closed and no such locker is left.
    std::shared_ptr<void> KeepRunning() override { return std::make_shared<QEventLoopLocker>(); }
};

}  // namespace tolvane::qt
