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
    wchar_t computer[256] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"COMPUTERNAME", computer, 256), 0u);
    EXPECT_EQ(system.MachineName(), win32::Narrow(computer));  // whole, no NULs after it
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "the rest is the Wine prefix's";
    // The Windows cmake/wine-run gives the prefix: its own record, named by the core.
    EXPECT_EQ(system.OSName(), "Windows 10 ");
}

// Under Wine both calls always succeed: here they fail as Windows' can, the privilege step
// also by succeeding without enabling the privilege (ERROR_NOT_ALL_ASSIGNED).
DWORD adjustError, exitError;
BOOL WINAPI FakeAdjust(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
    SetLastError(adjustError);
    return adjustError != ERROR_ACCESS_DENIED;
}
BOOL WINAPI FakeExitWindowsEx(UINT, DWORD) {
    SetLastError(exitError);
    return exitError == ERROR_SUCCESS;
}

TEST(Win32SystemTest, ARefusalIsToldInWindowsOwnWords) {
    const auto request = [](DWORD adjust, DWORD exit) {
        adjustError = adjust, exitError = exit;
        Win32System system({FakeAdjust, FakeExitWindowsEx});
        system.EnableShutdownPrivilege();
        PowerRequestResult result;
        system.RequestPower(PowerAction::Restart, [&](PowerRequestResult r) { result = r; });
        return result.started ? "started" : result.reason;
    };
    const auto words = win32::SystemErrorText;  // FormatMessage's, without its line break
    const DWORD denied = ERROR_ACCESS_DENIED, notAll = ERROR_NOT_ALL_ASSIGNED;
    EXPECT_EQ(request(denied, ERROR_SUCCESS), "started");  // enabled before, say
    EXPECT_EQ(request(ERROR_SUCCESS, ERROR_NOT_READY), words(ERROR_NOT_READY));
    for (const DWORD privilege : {denied, notAll})
        EXPECT_EQ(request(privilege, ERROR_PRIVILEGE_NOT_HELD),
                  words(privilege) + "\r\n" + words(ERROR_PRIVILEGE_NOT_HELD));
    EXPECT_EQ(words(0x2FFFFFFF), "Error 805306367.");  // no words of its own
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
