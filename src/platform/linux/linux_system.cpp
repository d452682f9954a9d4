#include "platform/linux/linux_system.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <optional>

#include "platform/linux/power_request.h"
#include "sysinfo/os_release.h"

namespace tolvane {

std::uint64_t LinuxSystem::MillisecondsSinceStart() {
    // CLOCK_BOOTTIME counts time spent suspended, as Windows' tick count does.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
}

LinuxSystem::LinuxSystem(EventLoop& loop) : loop_(loop) {}
LinuxSystem::~LinuxSystem() = default;

void LinuxSystem::RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) {
    requests_.emplace_back();
    const auto request = std::prev(requests_.end());
    *request = std::make_unique<PowerRequest>(loop_, action,
                                              [this, request, done](PowerRequestResult result) {
                                                  // This closure belongs to the request erased
                                                  // here: only copies are used after.
                                                  const auto answer = done;
                                                  requests_.erase(request);
                                                  answer(std::move(result));
                                              });
    if (const auto result = (*request)->Start()) {
        requests_.erase(request);
        done(*result);
    }
}

namespace {

constexpr std::size_t kMaxOSReleaseBytes = 64 * 1024;

// An open file descriptor, closed on the way out.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::optional<std::string> ReadSmallRegularFile(const std::string& path) {
    // Non-blocking, so a FIFO cannot stop the start; anything but a regular file (a FIFO,
    // a device such as /dev/zero behind a link, a directory) counts as missing.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string text(kMaxOSReleaseBytes, '\0');
    std::size_t length = 0;
    while (length < text.size()) {
        const ssize_t got = read(file.get(), text.data() + length, text.size() - length);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        length += static_cast<std::size_t>(got);
    }
    text.resize(length);
    return text;
}

std::string OSNameFromFiles(const std::string& etcOSRelease, const std::string& usrLibOSRelease) {
    std::optional<std::string> text = ReadSmallRegularFile(etcOSRelease);
    if (!text) text = ReadSmallRegularFile(usrLibOSRelease);
    return OSReleaseName(text.value_or(std::string{}));
}

std::string LinuxSystem::MachineName() {
    // A name may have HOST_NAME_MAX bytes; the call needs room for its NUL as well.
    std::array<char, HOST_NAME_MAX + 1> name{};
    if (gethostname(name.data(), name.size()) != 0) return {};
    name.back() = '\0';  // not written when the name was cut
    return std::string(name.data());
}

std::string LinuxSystem::OSName() {
    return OSNameFromFiles("/etc/os-release", "/usr/lib/os-release") + ' ';
}

}  // namespace tolvane
