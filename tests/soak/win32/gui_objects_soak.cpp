// Starts the real Tolvane.exe, drives its window from outside with ten thousand timer ticks
// and ten thousand hover colour changes, each repainted, and checks that the program holds
// exactly as many GDI and USER objects afterwards as before.
//
//   gui_objects_soak PATH\TO\Tolvane.exe
//
// Exit status: 0 counts unchanged, 1 changed or the program misbehaved, 77 nothing to count.
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/child_controls.h"
#include "platform/win32/main_window.h"
#include "ui/window_description.h"

namespace {

constexpr int kTicks = 10'000, kHovers = 10'000;
constexpr int kSkipped = 77;

// One UniqueHandle-like owner for the two handles CreateProcess hands back.
struct ChildProcess {
    PROCESS_INFORMATION info{};
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 10'000) != WAIT_OBJECT_0)
                TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
        }
        if (info.hThread) CloseHandle(info.hThread);
    }
};

struct Counts {
    DWORD gdiTable, windows, gdiReported, userReported;
    bool operator==(const Counts&) const = default;
};

// Live cells of the process's GDI handle table. Wine leaves GetGuiResources unimplemented
// (always 0) but keeps this table where Windows does: the PEB points to 0x10000 cells of 24
// bytes (x64), whose type byte (offset 14) is 0 when the cell is free.
DWORD GdiHandleTableCount(HANDLE process) {
    constexpr std::size_t kTableOffsetInPeb = 0xF8;
    constexpr std::size_t kCells = 0x10000, kCellSize = 24, kTypeOffset = 14;
    using QueryFunction = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
        return 0;
    const auto* peb = reinterpret_cast<const std::byte*>(basic.PebBaseAddress);
    const std::byte* table = nullptr;
    if (!ReadProcessMemory(process, peb + kTableOffsetInPeb, &table, sizeof(table), nullptr) ||
        !table)
        return 0;
    std::vector<std::byte> cells(kCells * kCellSize);
    if (!ReadProcessMemory(process, table, cells.data(), cells.size(), nullptr)) return 0;
    DWORD live = 0;
    for (std::size_t cell = 0; cell < kCells; ++cell)
        if (cells[cell * kCellSize + kTypeOffset] != std::byte{0}) ++live;
    return live;
}

// Every window the process owns, hidden and message-only ones included. Window handles are
// an index into USER's handle table in the low word; a handle without the generation in the
// high word names whatever lives at that index, on Windows as under Wine.
DWORD WindowsOwnedBy(DWORD processId) {
    constexpr UINT_PTR kFirstIndex = 0x20, kLastIndex = 0xFFFF;
    DWORD owned = 0;
    for (UINT_PTR index = kFirstIndex; index <= kLastIndex; index += 2) {
        const auto window = reinterpret_cast<HWND>(index);
        DWORD owner = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &owner) && owner == processId)
            ++owned;
    }
    return owned;
}

Counts Count(const PROCESS_INFORMATION& program) {
    return {GdiHandleTableCount(program.hProcess), WindowsOwnedBy(program.dwProcessId),
            GetGuiResources(program.hProcess, GR_GDIOBJECTS),
            GetGuiResources(program.hProcess, GR_USEROBJECTS)};
}

struct FindMain {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK MatchMain(HWND window, LPARAM data) {
    auto* find = reinterpret_cast<FindMain*>(data);
    wchar_t className[64]{};
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != find->processId || !GetClassNameW(window, className, 64) ||
        std::wcscmp(className, L"TolvaneMainWindow") != 0)
        return TRUE;
    find->found = window;
    return FALSE;
}

HWND WaitForMainWindow(const PROCESS_INFORMATION& program) {
    WaitForInputIdle(program.hProcess, 10'000);
    FindMain find{program.dwProcessId};
    for (int attempt = 0; attempt < 200 && !find.found; ++attempt) {
        EnumWindows(&MatchMain, reinterpret_cast<LPARAM>(&find));
        if (!find.found && WaitForSingleObject(program.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    return find.found;
}

bool WaitUntilAnswering(HWND main) {
    DWORD_PTR answer = 0;
    for (int attempt = 0; attempt < 12; ++attempt)
        if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5'000, &answer)) return true;
    return false;
}

HWND ControlWindow(HWND main, tolvane::Control control) {
    return GetDlgItem(main, tolvane::win32::ControlId(tolvane::ui::Describe(control)));
}

// The frame's own surface, clear of both labels, in the main window's client coordinates.
LPARAM PointOnFrame(HWND main) {
    RECT frame{};
    GetWindowRect(ControlWindow(main, tolvane::Control::fraTodo), &frame);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&frame), 2);
    return MAKELPARAM(frame.left + 4, (frame.top + frame.bottom) / 2);
}

// Paints everything that is invalid now, in the program's own thread, before returning.
bool Repaint(HWND main) {
    return RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE;
}

// False as soon as the program stops answering.
bool Exercise(HWND main, int ticks, int hovers) {
    using tolvane::Control;
    const HWND labels[] = {ControlWindow(main, Control::lblRestart),
                           ControlWindow(main, Control::lblShutDown)};
    const LPARAM onFrame = PointOnFrame(main);
    DWORD_PTR answer = 0;
    const auto send = [&](HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, 30'000, &answer) !=
               0;
    };
    for (int i = 0; i < ticks; ++i)
        if (!send(main, WM_TIMER, tolvane::win32::MainWindow::kTimerId, 0) || !Repaint(main))
            return false;
    for (int i = 0; i < hovers; ++i) {
        // Over a label it lights up; over the frame's surface both go back.
        const bool sent = i % 2 == 0 ? send(labels[(i / 2) % 2], WM_MOUSEMOVE, 0, MAKELPARAM(2, 2))
                                     : send(main, WM_MOUSEMOVE, 0, onFrame);
        if (!sent || !Repaint(main)) return false;
    }
    return true;
}

int Fail(const char* why) {
    std::fprintf(stderr, "%s\n", why);
    return 1;
}

void Print(const char* when, const Counts& counts) {
    std::printf("%s: GDI table %lu, windows %lu, GetGuiResources GDI %lu USER %lu\n", when,
                counts.gdiTable, counts.windows, counts.gdiReported, counts.userReported);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 2) return Fail("usage: gui_objects_soak PATH\\TO\\Tolvane.exe");
    ChildProcess program;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &program.info)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    const HWND main = WaitForMainWindow(program.info);
    if (!main) return Fail("the program showed no main window");
    // A program just started under a busy Wine can take seconds to reach its message loop;
    // only a program that never gets there has stopped answering.
    if (!WaitUntilAnswering(main)) return Fail("the program never answered");

    // The first ticks and paints may create objects that are then kept for good.
    if (!Exercise(main, 10, 100)) return Fail("the program stopped answering");
    const Counts before = Count(program.info);
    Print("before", before);
    if (before.gdiTable == 0 && before.gdiReported == 0) {
        std::fputs("neither GetGuiResources nor the GDI handle table counts anything here\n",
                   stderr);
        PostMessageW(main, WM_CLOSE, 0, 0);
        return kSkipped;
    }
    // The main window and its five controls at least: the count sees the program's windows.
    if (before.windows < 1 + tolvane::ui::kControls.size())
        return Fail("the program's windows were not found");

    const bool answered = Exercise(main, kTicks, kHovers);
    const Counts after = Count(program.info);
    Print("after", after);
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!answered) return Fail("the program stopped answering");
    if (after != before) {
        std::printf("%d ticks and %d hover changes left objects behind\n", kTicks, kHovers);
        return 1;
    }
    return 0;
}
