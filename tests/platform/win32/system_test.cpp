// The Win32 system layer in-process on the running system (Wine here).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/dll_search.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_system.h"

namespace tolvane {
namespace {

TEST(Win32SystemTest, AnswersFromTheRunningSystem) {
    Win32System system;
    const ULONGLONG before = GetTickCount64();
    const std::uint64_t ours = system.MillisecondsSinceStart();
    EXPECT_GE(ours, before);
    EXPECT_LE(ours, GetTickCount64());
    wchar_t computer[256] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"COMPUTERNAME", computer, 256), 0u);
    EXPECT_EQ(system.MachineName(), win32::Narrow(computer));  // whole, no NULs after it
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "the rest are Wine 8's defaults";
    // Windows 7 SP1 unless the prefix is told otherwise: its own record, named by the core.
    EXPECT_EQ(system.OSName(), "Windows 7 Service Pack 1");
}

// Failures are reported in Windows' own words, without its line break.
TEST(Win32SystemTest, ErrorTexts) {
    const std::string denied = win32::SystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), '\n');
    EXPECT_NE(denied.back(), '\r');
    EXPECT_EQ(win32::SystemErrorText(0x2FFFFFFF), "Error 805306367.");
}

// For the whole process and for good: harmless to the window's tests, as the program itself
// runs so restricted.
TEST(Win32SystemTest, APlantedDllBesideTheProgramIsRefusedOnceRestricted) {
    constexpr const wchar_t* kPlanted = L"tolvane_planted.dll";  // built beside this program
    ASSERT_TRUE(win32::RestrictDllSearchToSystem32());
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(kPlanted), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    // There, and loadable when the program's folder is named on purpose.
    const HMODULE asked = LoadLibraryExW(kPlanted, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    EXPECT_NE(asked, nullptr);
    if (asked) FreeLibrary(asked);
    // Windows' own DLLs are found as before.
    const HMODULE own = LoadLibraryW(L"version.dll");
    EXPECT_NE(own, nullptr);
    if (own) FreeLibrary(own);
}

}  // namespace
}  // namespace tolvane
