// The program's window through ten thousand timer ticks of a clock that moves every tick,
// each with a hover colour change and a repaint: the process must hold as many GDI objects
// and windows afterwards as before. Minutes under Wine: run by `make soak` alone.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <utility>

#include "fakes/fake_system.h"
#include "platform/win32/main_window.h"

namespace {

// Live cells of the process's GDI handle table. Wine leaves GetGuiResources unimplemented
// (always 0) but keeps this table where Windows does: the PEB points to 0x10000 cells of 24
// bytes (x64), whose type byte (offset 14) is 0 when the cell is free.
DWORD GdiObjects() {
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
DWORD Windows() {
    DWORD owned = 0;
    for (UINT_PTR index = 0x20; index <= 0xFFFF; index += 2) {
        DWORD owner = 0;
        const auto window = reinterpret_cast<HWND>(index);
        owned += IsWindow(window) && GetWindowThreadProcessId(window, &owner) &&
                 owner == GetCurrentProcessId();
    }
    return owned;
}

}  // namespace

TEST(Win32SoakTest, GuiObjectsAndWindowsStayAsManyThroughTenThousandTicks) {
#ifndef _WIN64
    GTEST_SKIP() << "the GDI handle table is read as x64 lays it out";
#endif
    using tolvane::Control;
    std::vector<std::string> journal;
    tolvane::fakes::FakeSystem system{journal};
    tolvane::win32::MainWindow window(system);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    window.Show(SW_SHOWNOACTIVATE);
    RECT frame{};
    GetWindowRect(window.ControlWindow(Control::fraTodo), &frame);
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&frame), 2);
    const LPARAM onFrame = MAKELPARAM(frame.left + 4, (frame.top + frame.bottom) / 2);
    const HWND labels[] = {window.ControlWindow(Control::lblRestart),
                           window.ControlWindow(Control::lblShutDown)};
    // Over a label it lights up; over the frame's surface both go back.
    const auto exercise = [&](int ticks) {
        for (int i = 0; i < ticks; ++i) {
            system.milliseconds += 1'000;
            SendMessageW(window.Handle(), WM_TIMER, tolvane::win32::MainWindow::kTimerId, 0);
            if (i % 2 == 0) SendMessageW(labels[i / 2 % 2], WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            if (i % 2 == 1) SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, onFrame);
            RedrawWindow(window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
    };
    exercise(100);  // the first ticks and paints may create objects kept for good
    const std::pair before{GdiObjects(), Windows()};
    ASSERT_GT(before.first, 0u) << "no GDI handle table to count";
    // The main window and its five controls at least, or the count does not see them.
    ASSERT_GE(before.second, 6u);
    exercise(10'000);
    EXPECT_EQ(std::pair(GdiObjects(), Windows()), before);
}
