// The program's window on the running system, driven with ten thousand timer ticks of a
// clock that moves every tick and ten thousand hover colour changes, each repainted: the
// process must hold exactly as many GDI objects and windows afterwards as before.
// Exit status: 0 counts unchanged, 1 changed, 77 nothing to count.
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdio>

#include "fakes/fake_system.h"
#include "platform/win32/main_window.h"

namespace {

struct Counts {
    DWORD gdiTable, windows, gdiReported, userReported;
    bool operator==(const Counts&) const = default;
};

// Live cells of the process's GDI handle table. Wine leaves GetGuiResources unimplemented
// (always 0) but keeps this table where Windows does: the PEB points to 0x10000 cells of 24
// bytes (x64), whose type byte (offset 14) is 0 when the cell is free.
DWORD GdiHandleTableCount() {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                  sizeof(basic), nullptr) != 0)
        return 0;
    const auto* peb = reinterpret_cast<const std::byte*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const std::byte* const*>(peb + 0xF8);
    DWORD live = 0;
    for (std::size_t cell = 0; table && cell < 0x10000; ++cell)
        live += table[cell * 24 + 14] != std::byte{0};
    return live;
}

// Every window of the process, hidden and message-only ones included: a handle without the
// generation in its high word names whatever lives at that index of USER's table.
DWORD WindowsOwned() {
    DWORD owned = 0;
    for (UINT_PTR index = 0x20; index <= 0xFFFF; index += 2) {
        DWORD owner = 0;
        const auto window = reinterpret_cast<HWND>(index);
        owned += IsWindow(window) && GetWindowThreadProcessId(window, &owner) &&
                 owner == GetCurrentProcessId();
    }
    return owned;
}

Counts Count() {
    return {GdiHandleTableCount(), WindowsOwned(),
            GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

void Print(const char* when, const Counts& counts) {
    std::printf("%s: GDI table %lu, windows %lu, GetGuiResources GDI %lu USER %lu\n", when,
                counts.gdiTable, counts.windows, counts.gdiReported, counts.userReported);
}

}  // namespace

int main() {
    using tolvane::Control;
    tolvane::fakes::FakeSystem system;
    tolvane::win32::MainWindow window(system);
    if (!window.Create(GetModuleHandleW(nullptr))) return 1;
    window.Show(SW_SHOWNOACTIVATE);
    RECT frame{};
    GetWindowRect(window.ControlWindow(Control::fraTodo), &frame);
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&frame), 2);
    const LPARAM onFrame = MAKELPARAM(frame.left + 4, (frame.top + frame.bottom) / 2);
    const HWND labels[] = {window.ControlWindow(Control::lblRestart),
                           window.ControlWindow(Control::lblShutDown)};
    const auto exercise = [&](int ticks, int hovers) {
        for (int i = 0; i < ticks; ++i) {
            system.milliseconds += 1'000;
            SendMessageW(window.Handle(), WM_TIMER, tolvane::win32::MainWindow::kTimerId, 0);
            RedrawWindow(window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        // Over a label it lights up; over the frame's surface both go back.
        for (int i = 0; i < hovers; ++i) {
            if (i % 2 == 0) SendMessageW(labels[(i / 2) % 2], WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            if (i % 2 == 1) SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, onFrame);
            RedrawWindow(window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
    };
    // The first ticks and paints may create objects that are then kept for good.
    exercise(10, 100);
    const Counts before = Count();
    Print("before", before);
    if (before.gdiTable == 0 && before.gdiReported == 0) return 77;
    // The main window and its five controls at least, or the count does not see them.
    if (before.windows < 6) return 1;
    exercise(10'000, 10'000);
    const Counts after = Count();
    Print("after", after);
    return after == before ? 0 : 1;
}
