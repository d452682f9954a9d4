#include <gtest/gtest.h>
#include <winternl.h>

#include <cstddef>
#include <cstring>

#include "test_window.h"

namespace tolvane::win32::testing {
namespace {

struct GuiObjects {
    DWORD gdi, user;
    bool operator==(const GuiObjects&) const = default;
};

GuiObjects Count() {
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

// Wine leaves GetGuiResources unimplemented (always 0). Its GDI objects live in the
// process's GDI handle table, which the PEB points to as Windows' does: 0x10000 cells of
// 24 bytes, whose type byte (offset 14) is 0 when the cell is free.
DWORD GdiHandleTableCount() {
#ifdef _WIN64
    constexpr std::size_t kTableOffsetInPeb = 0xF8;
#else
    constexpr std::size_t kTableOffsetInPeb = 0x94;
#endif
    constexpr std::size_t kCells = 0x10000, kCellSize = 24, kTypeOffset = 14;
    using QueryFunction = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
        return 0;
    const auto* peb = reinterpret_cast<const std::byte*>(basic.PebBaseAddress);
    const std::byte* table = nullptr;
    std::memcpy(&table, peb + kTableOffsetInPeb, sizeof(table));
    if (!table) return 0;
    DWORD live = 0;
    for (std::size_t cell = 0; cell < kCells; ++cell)
        if (table[cell * kCellSize + kTypeOffset] != std::byte{0}) ++live;
    return live;
}

// Windows and menus this process holds. USER handles carry a table index in the low word;
// a handle without the generation in the high word names whatever lives at that index, on
// Windows as under Wine, so every cell can be asked about without knowing its handle.
DWORD UserHandleCount() {
    constexpr UINT_PTR kFirstIndex = 0x20, kLastIndex = 0xFFFF;
    DWORD live = 0;
    for (UINT_PTR index = kFirstIndex; index <= kLastIndex; index += 2) {
        DWORD owner = 0;
        const auto window = reinterpret_cast<HWND>(index);
        if (IsWindow(window) && GetWindowThreadProcessId(window, &owner) &&
            owner == GetCurrentProcessId())
            ++live;
        else if (IsMenu(reinterpret_cast<HMENU>(index)))
            ++live;
    }
    return live;
}

void Repaint(const TestWindow& w) {
    RedrawWindow(w.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Ticks and hover changes, each repainted, and a popup menu every hundred hovers.
void Exercise(TestWindow& w, int ticks, int hovers) {
    for (int i = 0; i < ticks; ++i) {
        w.system.milliseconds += 100;
        w.Tick();
        Repaint(w);
    }
    for (int i = 0; i < hovers; ++i) {
        if (i % 2 == 0)
            w.Send(w[i % 4 == 0 ? Control::lblRestart : Control::lblShutDown], WM_MOUSEMOVE);
        else
            w.Send(w.Handle(), WM_MOUSEMOVE, w.PointOnFrame());
        w.DrawnTextColor(Control::lblRestart);
        if (i % 10 == 0) Repaint(w);
        // The popup's menu is built and destroyed on each right press.
        if (i % 100 == 0) w.Send(w.Handle(), WM_RBUTTONDOWN, w.PointOnBackground());
    }
}

TEST(Win32GuiObjectsTest, TicksAndHoversCreateNoLastingObjects) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    if (Count() == GuiObjects{0, 0})
        GTEST_SKIP() << "GetGuiResources counts nothing here (Wine leaves it unimplemented)";
    Exercise(w, 10, 100);  // first paints may create cached objects for good
    const GuiObjects before = Count();
    Exercise(w, 10'000, 10'000);
    const GuiObjects after = Count();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

TEST(Win32GuiObjectsTest, TicksAndHoversLeaveTheGdiHandleTableAsItWas) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const DWORD start = GdiHandleTableCount();
    if (start == 0) GTEST_SKIP() << "no GDI handle table to read in this process";
    {
        // The measure sees an object come and go.
        const HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
        ASSERT_EQ(GdiHandleTableCount(), start + 1);
        DeleteObject(probe);
        ASSERT_EQ(GdiHandleTableCount(), start);
    }
    Exercise(w, 10, 100);
    const DWORD before = GdiHandleTableCount();
    Exercise(w, 10'000, 10'000);
    EXPECT_EQ(GdiHandleTableCount(), before);
}

TEST(Win32GuiObjectsTest, TicksHoversAndPopupsLeaveTheUserHandlesAsTheyWere) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const DWORD start = UserHandleCount();
    // The window and its five controls at least.
    ASSERT_GE(start, 1 + ui::kControls.size());
    {
        // The measure sees a menu and a window come and go.
        const HMENU menu = CreatePopupMenu();
        ASSERT_EQ(UserHandleCount(), start + 1);
        DestroyMenu(menu);
        const HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, w.Handle(),
                                           nullptr, nullptr, nullptr);
        ASSERT_EQ(UserHandleCount(), start + 1);
        DestroyWindow(child);
        ASSERT_EQ(UserHandleCount(), start);
    }
    Exercise(w, 10, 100);
    const DWORD before = UserHandleCount();
    Exercise(w, 10'000, 10'000);
    EXPECT_EQ(UserHandleCount(), before);
}

TEST(Win32GuiObjectsTest, TheColourMessageHandsOutTheSystemBrushEveryTime) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const HDC dc = CreateCompatibleDC(nullptr);
    for (int i = 0; i < 100; ++i) {
        const Control label = i % 2 ? Control::lblRestart : Control::lblShutDown;
        w.Send(w[label], WM_MOUSEMOVE);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(w.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(w[label])));
        ASSERT_EQ(brush, GetSysColorBrush(COLOR_BTNFACE)) << i;
    }
    DeleteDC(dc);
}

TEST(Win32GuiObjectsTest, TheFontStaysTheSameAcrossTicksAndHovers) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const HFONT font = w.window.Font();
    Exercise(w, 100, 1000);
    EXPECT_EQ(w.window.Font(), font);
    for (const auto& control : ui::kControls)
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(w[control.control], WM_GETFONT, 0, 0)), font)
            << control.name;
}

}  // namespace
}  // namespace tolvane::win32::testing
