// The Linux system layer against the running machine, and its os-release files as given.
#include "platform/linux/linux_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace tolvane {
namespace {

std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// These queries never touch the event loop; only power requests do.
class NoEventLoop final : public EventLoop {
  public:
    std::unique_ptr<FdWatch> NewWatch(std::function<void()>) override {
        ADD_FAILURE() << "the event loop was used";
        return nullptr;
    }
    std::shared_ptr<void> KeepRunning() override { return nullptr; }
};
NoEventLoop noEventLoop;
LinuxSystem machine(noEventLoop);

TEST(LinuxSystemTest, UptimeAgreesWithProcUptime) {
    const double before = std::stod(ReadFile("/proc/uptime"));
    const double ours = static_cast<double>(machine.MillisecondsSinceStart()) / 1000.0;
    const double after = std::stod(ReadFile("/proc/uptime"));
    // /proc/uptime is given to the hundredth; allow a second either way.
    EXPECT_GE(ours, before - 1.0);
    EXPECT_LE(ours, after + 1.0);
}

TEST(LinuxSystemTest, MachineNameIsTheKernelsHostName) {
    std::string kernel = ReadFile("/proc/sys/kernel/hostname");
    if (!kernel.empty() && kernel.back() == '\n') kernel.pop_back();
    ASSERT_FALSE(kernel.empty());
    EXPECT_EQ(machine.MachineName(), kernel);
}

TEST(LinuxSystemTest, OSNameIsWhatTheShellReadsFromOSRelease) {
    // The shell is the format's own reference reader.
    const char* command =
        "/bin/sh -c 'if [ -e /etc/os-release ]; then . /etc/os-release; else . "
        "/usr/lib/os-release; fi; printf %s \"$PRETTY_NAME\"'";
    std::unique_ptr<FILE, int (*)(FILE*)> shell(popen(command, "r"), pclose);
    ASSERT_TRUE(shell);
    std::array<char, 512> buffer{};
    const std::string pretty(buffer.data(), fread(buffer.data(), 1, buffer.size(), shell.get()));
    if (pretty.empty()) GTEST_SKIP() << "this machine's os-release has no PRETTY_NAME";
    EXPECT_EQ(machine.OSName(), pretty + ' ');
}

TEST(LinuxSystemTest, ReadsTheFirstRegularOSReleaseFileNeverBothAndAtMost64KiB) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tolvane-os-release-" + std::to_string(getpid()));
    const std::string etc = dir / "etc", usrLib = dir / "usrlib";
    enum class Kind { Missing, Text, LinkToText, Fifo, LinkToDevZero };
    const struct {
        Kind etc;
        std::string etcText;
        const char* usrLib;  // nullptr: missing
        const char* name;
    } cases[] = {
        {Kind::Text, "PRETTY_NAME=\"From etc\"\n", "PRETTY_NAME=\"From usr/lib\"\n", "From etc"},
        // Not filled in from usr/lib.
        {Kind::Text, "ID=x\n", "PRETTY_NAME=\"From usr/lib\"\n", "Linux"},
        {Kind::Missing, "", "NAME=Lib\nVERSION=2\n", "Lib 2"},
        {Kind::Missing, "", nullptr, "Linux"},
        {Kind::LinkToText, "PRETTY_NAME='Linked'\n", nullptr, "Linked"},
        // Neither blocks the start; both count as missing.
        {Kind::Fifo, "", "NAME=Lib\n", "Lib"},
        {Kind::LinkToDevZero, "", nullptr, "Linux"},
        {Kind::Text, std::string(64 * 1024, '#') + "\nPRETTY_NAME=Late\n", nullptr, "Linux"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        if (c.usrLib) std::ofstream(usrLib) << c.usrLib;
        if (c.etc == Kind::Text) std::ofstream(etc) << c.etcText;
        if (c.etc == Kind::LinkToText) {
            std::ofstream(dir / "linked") << c.etcText;
            std::filesystem::create_symlink(dir / "linked", etc);
        }
        if (c.etc == Kind::Fifo) {
            ASSERT_EQ(mkfifo(etc.c_str(), 0600), 0);
        }
        if (c.etc == Kind::LinkToDevZero) std::filesystem::create_symlink("/dev/zero", etc);
        EXPECT_EQ(OSNameFromFiles(etc, usrLib), c.name) << "case " << (&c - cases);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tolvane
