#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/win32/system_error.h"
#include "platform/win32/utf8.h"
#include "platform/win32/win32_system.h"

namespace tolvane {
namespace {

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(Win32SystemTest, UptimeFollowsTheSystemsTickCount) {
    Win32System system;
    const ULONGLONG before = GetTickCount64();
    const std::uint64_t ours = system.MillisecondsSinceStart();
    const ULONGLONG after = GetTickCount64();
    EXPECT_GE(ours, before);
    EXPECT_LE(ours, after);
}

TEST(Win32SystemTest, UnderWineUptimeIsTheHostMachines) {
    // Wine's tick count is the Linux machine's uptime, readable here through drive Z:.
    std::ifstream procUptime("Z:\\proc\\uptime");
    double hostSeconds = 0;
    if (!RunningUnderWine() || !(procUptime >> hostSeconds)) GTEST_SKIP() << "not under Wine";
    const double ours = static_cast<double>(Win32System().MillisecondsSinceStart()) / 1000.0;
    EXPECT_NEAR(ours, hostSeconds, 2.0);
}

TEST(Win32SystemTest, MachineNameIsTheEnvironmentsComputerName) {
    wchar_t expected[256] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"COMPUTERNAME", expected, 256), 0u);
    EXPECT_EQ(GetMachineName(), win32::Narrow(expected));
    EXPECT_FALSE(GetMachineName().empty());
    EXPECT_EQ(GetMachineName().find('\0'), std::string::npos);
}

TEST(Win32SystemTest, VersionRecordIsWhatThisWineReports) {
    if (!RunningUnderWine()) GTEST_SKIP() << "expectations are Wine 8's defaults";
    // Wine 8 reports Windows 7 SP1 unless its prefix is told otherwise.
    const OSVersionInfo version = ReadOSVersion();
    EXPECT_EQ(version.major, 6u);
    EXPECT_EQ(version.minor, 1u);
    EXPECT_EQ(version.build & 0xFFFF, 7601u);
    EXPECT_FALSE(version.server);
    ASSERT_EQ(version.servicePack.size(), 128u);  // the raw field, NULs included
    EXPECT_EQ(version.servicePack.substr(0, 14), "Service Pack 1");
    EXPECT_EQ(version.servicePack[14], '\0');
    EXPECT_EQ(GetOSName(), "Windows 7 Service Pack 1");
    EXPECT_EQ(Win32System().OSName(), "Windows 7 Service Pack 1");
}

TEST(Win32Utf8Test, RoundTripsThroughUtf16) {
    const struct {
        std::string utf8;
        std::wstring utf16;
    } cases[] = {
        {"", L""},
        {"PC1", L"PC1"},
        {"K\xC3\xB8"
         "benhavn",
         L"K\u00F8benhavn"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC", L"\u6771\u4EAC"},
        {"\xF0\x9F\x95\x92", L"\U0001F552"},  // outside the BMP: a surrogate pair
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(win32::Widen(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(win32::Narrow(c.utf16), c.utf8) << c.utf8;
    }
}

TEST(Win32SystemErrorTest, GivesWindowsOwnSentenceWithoutTheLineBreak) {
    const std::string denied = win32::SystemErrorText(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), '\n');
    EXPECT_NE(denied.back(), '\r');
    EXPECT_EQ(win32::SystemErrorText(0x2FFFFFFF), "Error 805306367.");
}

}  // namespace
}  // namespace tolvane
