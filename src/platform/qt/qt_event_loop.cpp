#include "platform/qt/qt_event_loop.h"

namespace tolvane::qt {

QtFdWatch::QtFdWatch(std::function<void()> wake) : wake_(std::move(wake)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);  // a coarse one may wake before sd-bus's deadline
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Fire(); });
}

void QtFdWatch::Watch(int fd, bool read, bool write,
                      std::optional<std::chrono::milliseconds> timeout) {
    if (fd != fd_) {
        read_.reset();
        write_.reset();
        fd_ = fd;
        if (fd >= 0) {
            read_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            write_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
            for (QSocketNotifier* notifier : {read_.get(), write_.get()})
                QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                                 [this] { Fire(); });
        }
    }
    if (read_) read_->setEnabled(read);
    if (write_) write_->setEnabled(write);
    if (timeout)
        timer_.start(*timeout);
    else
        timer_.stop();
}

void QtFdWatch::Fire() {
    // Nothing more until the Linux layer, having processed, says what to watch next.
    if (read_) read_->setEnabled(false);
    if (write_) write_->setEnabled(false);
    timer_.stop();
    // Copied: wake may destroy this watch, and with it wake_.
    const std::function<void()> wake = wake_;
    wake();
}

}  // namespace tolvane::qt
