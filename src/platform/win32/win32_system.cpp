#include "platform/win32/win32_system.h"

#include <windows.h>

#include <array>

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace tolvane {
namespace {

constexpr DWORD kPlannedByUser =
    SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);

// Windows' own version record, true also on 8.1, 10 and 11 whatever the manifest says.
OSVersionInfo ReadOSVersion() {
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    // RtlGetVersion is not subject to GetVersionEx's compatibility shims (6.2 for all).
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                    reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
              : nullptr;
    if (!rtlGetVersion || rtlGetVersion(&record) != 0) {
        record = {};
        record.dwOSVersionInfoSize = sizeof(record);
        GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));  // zeros on failure: "Windows"
    }
    OSVersionInfo version;
    version.major = record.dwMajorVersion;
    version.minor = record.dwMinorVersion;
    version.build = record.dwBuildNumber;
    version.servicePack =
        win32::Narrow(std::wstring_view(record.szCSDVersion, std::size(record.szCSDVersion)));
    version.server = record.wProductType != 0 && record.wProductType != VER_NT_WORKSTATION;
    return version;
}

}  // namespace

std::uint64_t Win32System::MillisecondsSinceStart() {
    return GetTickCount64();
}

std::string Win32System::MachineName() {
    std::array<wchar_t, MAX_COMPUTERNAME_LENGTH + 1> name{};
    DWORD length = static_cast<DWORD>(name.size());
    if (!GetComputerNameW(name.data(), &length)) return {};
    return win32::Narrow(std::wstring_view(name.data(), length));
}

std::string Win32System::OSName() {
    return GetOSName(ReadOSVersion());
}

void Win32System::EnableShutdownPrivilege() {
    // No step is skipped when an earlier one fails: a zero LUID is still tried.
    win32::KernelHandle token;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put());
    LUID luid{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid);
    TOKEN_PRIVILEGES enable{};
    enable.PrivilegeCount = 1;
    enable.Privileges[0].Luid = luid;
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous{};
    DWORD returned = 0;
    // It succeeds without enabling a privilege the account lacks: the error says so.
    const BOOL adjusted = calls_.adjustTokenPrivileges(token.get(), FALSE, &enable,
                                                       sizeof(previous), &previous, &returned);
    const DWORD error = GetLastError();
    privilegeError_ = !adjusted || error == ERROR_NOT_ALL_ASSIGNED ? error : ERROR_SUCCESS;
}

void Win32System::RequestPower(PowerAction action, std::function<void(PowerRequestResult)> done) {
    // No force flag: running applications are asked to close and may refuse.
    const UINT flags = action == PowerAction::Restart ? EWX_REBOOT : EWX_POWEROFF;
    // Logged as a user's planned restart or power-off; zero would log an unplanned one.
    if (calls_.exitWindowsEx(flags, kPlannedByUser)) return done({});
    std::string reason = win32::SystemErrorText(GetLastError());
    if (privilegeError_ != ERROR_SUCCESS)
        reason = win32::SystemErrorText(privilegeError_) + "\r\n" + reason;
    done({false, reason});
}

}  // namespace tolvane
