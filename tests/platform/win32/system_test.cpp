// The Win32 system layer in-process on the running system (Wine here).
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/dll_search.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_system.h"

namespace tolvane {
namespace {

TEST(Win32SystemTest, AnswersFromTheRunningSystem) {
    Win32System system;
    wchar_t computer[256] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"COMPUTERNAME", computer, 256), 0u);
    EXPECT_EQ(system.MachineName(), win32::Narrow(computer));  // whole, no NULs after it
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "the rest is the Wine prefix's";
    // The Windows cmake/wine-run gives the prefix: its own record, named by the core.
    EXPECT_EQ(system.OSName(), "Windows 10 ");
}

// Under Wine both calls always succeed: here they fail as Windows' can, the privilege step
// also by succeeding without enabling the privilege.
struct Refusal {
    BOOL adjusted;
    DWORD adjustError, exitError;  // exitError 0: ExitWindowsEx succeeds
    std::vector<DWORD> told;       // whose words the reason gives, in order
} refusal;

BOOL WINAPI FakeAdjust(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
    SetLastError(refusal.adjustError);
    return refusal.adjusted;
}
BOOL WINAPI FakeExitWindowsEx(UINT, DWORD) {
    SetLastError(refusal.exitError);
    return refusal.exitError == 0;
}

TEST(Win32SystemTest, ARefusalIsToldInWindowsOwnWords) {
    const DWORD notHeld = ERROR_PRIVILEGE_NOT_HELD, notAll = ERROR_NOT_ALL_ASSIGNED;
    const Refusal cases[] = {
        {FALSE, ERROR_ACCESS_DENIED, 0, {}},  // the privilege was enabled before, say
        {TRUE, ERROR_SUCCESS, ERROR_NOT_READY, {ERROR_NOT_READY}},
        {TRUE, notAll, notHeld, {notAll, notHeld}},
        {FALSE, ERROR_ACCESS_DENIED, notHeld, {ERROR_ACCESS_DENIED, notHeld}},
    };
    for (const Refusal& c : cases) {
        refusal = c;
        Win32System system({FakeAdjust, FakeExitWindowsEx});
        system.EnableShutdownPrivilege();
        PowerRequestResult result;
        system.RequestPower(PowerAction::Restart, [&](PowerRequestResult r) { result = r; });
        std::string expected;  // FormatMessage's words, without their line break
        for (const DWORD error : c.told)
            expected += (expected.empty() ? "" : "\r\n") + win32::SystemErrorText(error);
        EXPECT_EQ(result.started, c.exitError == 0) << c.exitError;
        EXPECT_EQ(result.reason, expected);
    }
    EXPECT_EQ(win32::SystemErrorText(0x2FFFFFFF), "Error 805306367.");  // no words of its own
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
}

}  // namespace
}  // namespace tolvane
