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

#include "sysinfo/sysinfo.h"

namespace tolvane {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// These queries never touch the event loop; only power requests do.
class NoEventLoop final : public EventLoop {
  public:
    std::unique_ptr<FdWatch> NewWatch(std::function<void()>) override {
        ADD_FAILURE() << "the event loop was used";
        return nullptr;
    }
};
NoEventLoop noEventLoop;

double ProcUptimeSeconds() {
    return std::stod(ReadFile("/proc/uptime"));
}

TEST(LinuxSystemTest, UptimeAgreesWithProcUptime) {
    LinuxSystem system(noEventLoop);
    const double before = ProcUptimeSeconds();
    const double ours = static_cast<double>(system.MillisecondsSinceStart()) / 1000.0;
    const double after = ProcUptimeSeconds();
    // /proc/uptime is given to the hundredth; allow a second either way.
    EXPECT_GE(ours, before - 1.0);
    EXPECT_LE(ours, after + 1.0);
}

TEST(LinuxSystemTest, MachineNameIsTheKernelsHostName) {
    std::string kernel = ReadFile("/proc/sys/kernel/hostname");
    if (!kernel.empty() && kernel.back() == '\n') kernel.pop_back();
    ASSERT_FALSE(kernel.empty());
    EXPECT_EQ(GetMachineName(), kernel);
    EXPECT_EQ(LinuxSystem(noEventLoop).MachineName(), kernel);
}

TEST(LinuxSystemTest, OsNameIsWhatTheShellReadsFromOsRelease) {
    // The shell is the format's own reference reader.
    const char* command =
        "/bin/sh -c 'if [ -e /etc/os-release ]; then . /etc/os-release; else . "
        "/usr/lib/os-release; fi;"
        " printf %s \"$PRETTY_NAME\"'";
    std::unique_ptr<FILE, int (*)(FILE*)> shell(popen(command, "r"), pclose);
    ASSERT_TRUE(shell);
    std::array<char, 512> buffer{};
    const std::size_t length = fread(buffer.data(), 1, buffer.size() - 1, shell.get());
    const std::string pretty(buffer.data(), length);
    if (pretty.empty()) GTEST_SKIP() << "this machine's os-release has no PRETTY_NAME";
    EXPECT_EQ(GetOSName(), pretty + ' ');
    EXPECT_EQ(LinuxSystem(noEventLoop).OsName(), pretty + ' ');
}

class OsReleaseFilesTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tolvane-os-release-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    void Write(const char* name, const std::string& text) const {
        std::ofstream(Path(name)) << text;
    }

    std::filesystem::path dir_;
};

TEST_F(OsReleaseFilesTest, ReadsTheFirstRegularFileNeverBothAndAtMost64KiB) {
    enum class Kind { Missing, Text, Fifo, Directory, LinkToDevZero };
    const std::string tail(64 * 1024, '#');  // a comment past which nothing is read
    const struct {
        const char* what;
        Kind etc;
        std::string etcText;
        const char* usrLib;  // nullptr: missing
        const char* name;
    } cases[] = {
        {"etc wins", Kind::Text, "PRETTY_NAME=\"From etc\"\n", "PRETTY_NAME=\"From usr/lib\"\n",
         "From etc"},
        {"etc without names is not filled in from usr/lib", Kind::Text, "ID=x\n",
         "PRETTY_NAME=\"From usr/lib\"\n", "Linux"},
        {"only usr/lib", Kind::Missing, "", "NAME=Lib\nVERSION=2\n", "Lib 2"},
        {"neither", Kind::Missing, "", nullptr, "Linux"},
        {"a FIFO does not block, and counts as missing", Kind::Fifo, "", "NAME=Lib\n", "Lib"},
        {"a directory counts as missing", Kind::Directory, "", "NAME=Lib\n", "Lib"},
        {"a link to an endless device counts as missing", Kind::LinkToDevZero, "", nullptr,
         "Linux"},
        {"the first 64 KiB are read", Kind::Text, "PRETTY_NAME=Early\n" + tail, nullptr, "Early"},
        {"nothing after them", Kind::Text, tail + "\nPRETTY_NAME=Late\n", nullptr, "Linux"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(Path("etc"));
        std::filesystem::remove(Path("usrlib"));
        switch (c.etc) {
            case Kind::Missing:
                break;
            case Kind::Text:
                Write("etc", c.etcText);
                break;
            case Kind::Fifo:
                ASSERT_EQ(mkfifo(Path("etc").c_str(), 0600), 0);
                break;
            case Kind::Directory:
                std::filesystem::create_directory(Path("etc"));
                break;
            case Kind::LinkToDevZero:
                std::filesystem::create_symlink("/dev/zero", Path("etc"));
                break;
        }
        if (c.usrLib) Write("usrlib", c.usrLib);
        EXPECT_EQ(OsNameFromFiles(Path("etc"), Path("usrlib")), c.name) << c.what;
    }
}

TEST_F(OsReleaseFilesTest, FollowsTheUsualSymbolicLink) {
    Write("usrlib", "PRETTY_NAME='Linked'\n");
    std::filesystem::create_symlink(Path("usrlib"), Path("etc"));
    EXPECT_EQ(OsNameFromFiles(Path("etc"), Path("missing")), "Linked");
}

}  // namespace
}  // namespace tolvane
