#include <gtest/gtest.h>

#include "platform/win32/utf8.h"
#include "test_window.h"

namespace tolvane::win32::testing {
namespace {

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

// The text's size in the control's own font, measured apart from the window's code.
SIZE TextSizeOf(HWND control) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = TextOf(control);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return size;
}

void ExpectLaidOutAt(const TestWindow& w, int dpi) {
    const ui::PixelRect frame = ui::ToPixels(ui::Describe(Control::fraTodo).rect, dpi);
    const double axis = ui::kActionAxisTwips * dpi / 1440.0;
    for (const auto& control : ui::kControls) {
        const ui::PixelRect rect = w.ClientRectOf(control.control);
        if (!control.autoSize) {
            EXPECT_EQ(rect, ui::ToPixels(control.rect, dpi)) << control.name << " at " << dpi;
            continue;
        }
        const SIZE text = TextSizeOf(w[control.control]);
        EXPECT_EQ(rect.width, text.cx) << control.name << " at " << dpi;
        EXPECT_EQ(rect.height, text.cy) << control.name << " at " << dpi;
        EXPECT_NEAR(rect.left - frame.left + rect.width / 2.0, axis, 0.5) << control.name;
        EXPECT_EQ(rect.top - frame.top, ui::TwipsToPixels(control.rect.top, dpi)) << control.name;
    }
}

TEST(Win32MainWindowTest, ControlsSitWhereTheDescriptionPutsThemAt96Dpi) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    ASSERT_EQ(w.window.Dpi(), 96);
    ExpectLaidOutAt(w, 96);
    // Tahoma 8.25 pt puts the labels close to the designer's own sizes.
    EXPECT_NEAR(w.ClientRectOf(Control::lblShutDown).width, 131, 12);
    EXPECT_NEAR(w.ClientRectOf(Control::lblRestart).width, 115, 12);
}

TEST(Win32MainWindowTest, IsAFixedToolWindowCentredOnTheWorkArea) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const auto style = GetWindowLongPtrW(w.Handle(), GWL_STYLE);
    const auto exStyle = GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    for (const LONG_PTR absent : {WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_FALSE(style & absent) << std::hex << absent;
    EXPECT_EQ(TextOf(w.Handle()), L"Tolvane");

    RECT client{};
    GetClientRect(w.Handle(), &client);
    EXPECT_EQ(client.right, 336);
    EXPECT_EQ(client.bottom, 144);

    RECT outer{};
    GetWindowRect(w.Handle(), &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(w.Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);
    EXPECT_NEAR(outer.top - work.top, work.bottom - outer.bottom, 1);
}

TEST(Win32MainWindowTest, ChildrenAreNativeControlsInTabOrder) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const struct {
        Control control;
        const wchar_t* className;
        LONG_PTR typeMask, type, flags;
    } cases[] = {
        {Control::lblTip, L"Static", SS_TYPEMASK, SS_CENTER, SS_NOPREFIX},
        {Control::txtUptime, L"Edit", 0, 0, ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP},
        {Control::fraTodo, L"Button", BS_TYPEMASK, BS_GROUPBOX, 0},
        {Control::lblShutDown, L"Static", SS_TYPEMASK, SS_CENTER, SS_NOTIFY | SS_NOPREFIX},
        {Control::lblRestart, L"Static", SS_TYPEMASK, SS_CENTER, SS_NOTIFY | SS_NOPREFIX},
    };
    HWND child = GetWindow(w.Handle(), GW_CHILD);
    for (const auto& c : cases) {
        const auto& description = ui::Describe(c.control);
        EXPECT_EQ(child, w[c.control]) << description.name << " out of tab order";
        EXPECT_EQ(GetDlgCtrlID(w[c.control]), 1000 + description.tabIndex) << description.name;
        wchar_t className[64]{};
        GetClassNameW(w[c.control], className, 64);
        EXPECT_EQ(_wcsicmp(className, c.className), 0) << description.name;
        const auto style = GetWindowLongPtrW(w[c.control], GWL_STYLE);
        EXPECT_EQ(style & c.typeMask, c.type) << description.name;
        EXPECT_EQ(style & c.flags, c.flags) << description.name;
        EXPECT_TRUE(style & WS_VISIBLE) << description.name;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

TEST(Win32MainWindowTest, LoadWritesTheHeadingOnceAndTheTextsAreReadable) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    EXPECT_EQ(w.journal, (std::vector<std::string>{"machine name", "os name"}));
    const struct {
        Control control;
        std::wstring text;
    } cases[] = {
        {Control::lblTip, L"\\\\PC1\r\nRunning Windows 2000 , has been up for:"},
        {Control::txtUptime, L""},  // until the first tick
        {Control::fraTodo, L"I want to (double click the option)..."},
        {Control::lblShutDown, L"o Shut Down the Computer"},
        {Control::lblRestart, L"o Restart the Computer"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextOf(w[c.control]), c.text) << ui::Describe(c.control).name;
    EXPECT_EQ(w.window.Forms().ToolTip(Control::lblTip),
              L"\\\\PC1\r\nRunning Windows 2000 , has been up for:");
}

TEST(Win32MainWindowTest, ALineFitsTheHeadingWhenItsTextIsNarrowerThanTheWindow) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const struct {
        std::string line;
        bool fits;
    } cases[] = {
        {"\\\\PC1", true},
        {"Running Debian GNU/Linux 12 (bookworm) , has been up for:", true},
        {"\\\\" + std::string(63, 'm'), false},
        {"Running Red Hat Enterprise Linux CoreOS 414.92.202402130420-0 (Plow) , has been up for:",
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(w.window.Forms().FitsOnOneLine(Control::lblTip, c.line), c.fits) << c.line;
}

TEST(Win32MainWindowTest, TextsCrossIntoTheControlsAsUtf16) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const struct {
        std::string utf8;
        std::wstring shown;
    } cases[] = {
        {"\\\\\xC3\x85SA-PC\r\nRunning", L"\\\\\u00C5SA-PC\r\nRunning"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", L"\u65E5\u672C"},
        {"", L""},
    };
    for (const auto& c : cases) {
        w.window.Forms().SetText(Control::lblTip, c.utf8);
        EXPECT_EQ(TextOf(w[Control::lblTip]), c.shown);
    }
}

TEST(Win32MainWindowTest, EveryControlUsesOneTahomaFont) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    for (const auto& control : ui::kControls) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(w[control.control], WM_GETFONT, 0, 0)),
                  w.window.Font())
            << control.name;
    }
    const LOGFONTW font = FontOf(w[Control::lblTip]);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfHeight, -11);  // 8.25 pt at 96 dpi
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, 0);
    EXPECT_FALSE(font.lfItalic);
}

TEST(Win32MainWindowTest, EachTickReplacesTheWholeUptimeText) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const struct {
        std::uint64_t milliseconds;
        std::wstring text;
    } cases[] = {
        {90'061'400, L"1 day 1 hour 1 minute 1 second"},
        {0, L"0 second"},
        {2'147'483'648, L"3 weeks 3 days 20 hours 31 minutes 24 seconds"},
        {59'500, L"1 minute 0 second"},
    };
    const HWND text = w[Control::txtUptime];
    for (const auto& c : cases) {
        SetWindowTextW(text, L"typed by the user");
        w.system.milliseconds = c.milliseconds;
        w.Tick();
        EXPECT_EQ(TextOf(text), c.text) << c.milliseconds;
    }
}

TEST(Win32MainWindowTest, TheTimerTicksByItself) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    w.system.milliseconds = 61'000;
    EXPECT_EQ(TextOf(w[Control::txtUptime]), L"");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(w[Control::txtUptime]) == L"1 minute 1 second"; }));
}

TEST(Win32MainWindowTest, ADpiChangeRescalesTheLayoutAndTheFont) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const HFONT before = w.window.Font();
    for (const int dpi : {144, 120, 96}) {
        RECT outer{0, 0, ui::TwipsToPixels(ui::kClientWidthTwips, dpi),
                   ui::TwipsToPixels(ui::kClientHeightTwips, dpi)};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(w.Handle(), GWL_STYLE)),
                           FALSE, static_cast<DWORD>(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE)));
        OffsetRect(&outer, 100 - outer.left, 100 - outer.top);
        SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&outer));

        EXPECT_EQ(w.window.Dpi(), dpi);
        EXPECT_EQ(FontOf(w[Control::txtUptime]).lfHeight, -MulDiv(825, dpi, 7200)) << dpi;
        for (const auto& control : ui::kControls)
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(w[control.control], WM_GETFONT, 0, 0)),
                      w.window.Font())
                << control.name << " at " << dpi;
        ExpectLaidOutAt(w, dpi);
        RECT client{};
        GetClientRect(w.Handle(), &client);
        EXPECT_EQ(client.right, ui::TwipsToPixels(ui::kClientWidthTwips, dpi)) << dpi;
        EXPECT_EQ(client.bottom, ui::TwipsToPixels(ui::kClientHeightTwips, dpi)) << dpi;
    }
    // The fonts it replaced are gone, not leaked.
    EXPECT_EQ(GetObjectType(before), 0u);
}

TEST(Win32MainWindowTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const HWND handle = w.Handle();
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(w.Handle(), nullptr);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

}  // namespace
}  // namespace tolvane::win32::testing
