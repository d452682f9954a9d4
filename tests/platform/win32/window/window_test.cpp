// The Win32 window: its native controls laid out from the window description, and its
// translation of native messages into frmMain's handlers and of their requests into
// native calls. The rules themselves are the handlers' and are tested there.
#include <gtest/gtest.h>

#include "platform/win32/resources/resource_ids.h"
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
    RECT client{};
    GetClientRect(w.Handle(), &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(ui::kClientWidthTwips, dpi)) << dpi;
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(ui::kClientHeightTwips, dpi)) << dpi;
    EXPECT_EQ(FontOf(w[Control::lblTip]).lfHeight, -MulDiv(825, dpi, 7200)) << dpi;
    const ui::PixelRect frame = ui::ToPixels(ui::Describe(Control::fraTodo).rect, dpi);
    const double axis = ui::kActionAxisTwips * dpi / 1440.0;
    for (const auto& control : ui::kControls) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(w[control.control], WM_GETFONT, 0, 0)),
                  w.window.Font())
            << control.name << " at " << dpi;
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

TEST(Win32WindowTest, AFixedToolWindowOfNativeControlsInTabOrder) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const auto style = GetWindowLongPtrW(w.Handle(), GWL_STYLE);
    EXPECT_TRUE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(TextOf(w.Handle()), L"Tolvane");
    EXPECT_STREQ(FontOf(w[Control::lblTip]).lfFaceName, L"Tahoma");

    const struct {
        Control control;
        const wchar_t* className;
        LONG_PTR flags;
    } cases[] = {
        {Control::lblTip, L"Static", SS_CENTER | SS_NOPREFIX},
        {Control::txtUptime, L"Edit", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP},
        {Control::fraTodo, L"Button", BS_GROUPBOX},
        {Control::lblShutDown, L"Static", SS_CENTER | SS_NOTIFY | SS_NOPREFIX},
        {Control::lblRestart, L"Static", SS_CENTER | SS_NOTIFY | SS_NOPREFIX},
    };
    HWND child = GetWindow(w.Handle(), GW_CHILD);
    for (const auto& c : cases) {
        const std::string_view name = ui::Describe(c.control).name;
        EXPECT_EQ(child, w[c.control]) << name << " out of tab order";
        wchar_t className[64]{};
        GetClassNameW(w[c.control], className, 64);
        EXPECT_EQ(_wcsicmp(className, c.className), 0) << name;
        EXPECT_EQ(GetWindowLongPtrW(w[c.control], GWL_STYLE) & c.flags, c.flags) << name;
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

TEST(Win32WindowTest, ControlsSitWhereTheDescriptionPutsThemAtEachDpi) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    ASSERT_EQ(w.window.Dpi(), 96);
    ExpectLaidOutAt(w, 96);
    const HFONT before = w.window.Font();
    for (const int dpi : {144, 96}) {
        RECT outer{0, 0, ui::TwipsToPixels(ui::kClientWidthTwips, dpi),
                   ui::TwipsToPixels(ui::kClientHeightTwips, dpi)};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(w.Handle(), GWL_STYLE)),
                           FALSE, static_cast<DWORD>(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE)));
        SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&outer));
        ExpectLaidOutAt(w, dpi);
    }
    EXPECT_EQ(GetObjectType(before), 0u);  // the fonts it replaced are gone, not leaked
}

TEST(Win32WindowTest, TextsCrossIntoTheControlsAsUtf16AndTheTimerTicksByItself) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    EXPECT_EQ(TextOf(w[Control::lblTip]), L"\\\\PC1\r\nRunning Windows 2000 , has been up for:");
    w.window.Forms().SetText(Control::lblTip, "\\\\\xC3\x85SA-\xE6\x97\xA5");
    EXPECT_EQ(TextOf(w[Control::lblTip]), L"\\\\\u00C5SA-\u65E5");

    EXPECT_EQ(TextOf(w[Control::txtUptime]), L"");  // until the first tick
    w.system.milliseconds = 61'000;
    EXPECT_TRUE(PumpUntil([&] { return TextOf(w[Control::txtUptime]) == L"1 minute 1 second"; }));
}

TEST(Win32WindowTest, TheHeadingIsMeasuredInTheLabelsFontAndWholeInTheToolTip) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    EXPECT_EQ(w.window.Forms().ToolTip(Control::lblTip),
              L"\\\\PC1\r\nRunning Windows 2000 , has been up for:");
    const struct {
        std::string line;
        bool fits;
    } cases[] = {
        {"Running Debian GNU/Linux 12 (bookworm) , has been up for:", true},
        {"\\\\" + std::string(63, 'm'), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(w.window.Forms().FitsOnOneLine(Control::lblTip, c.line), c.fits) << c.line;
}

enum class Place { ShutDown, Restart, Frame, Background, Heading };

POINT ClientPoint(const TestWindow& w, Place place) {
    switch (place) {
        case Place::Frame:
            return w.PointOnFrame();
        case Place::Background:
            return w.PointOnBackground();
        default:
            return {3, 3};
    }
}

HWND Target(const TestWindow& w, Place place) {
    switch (place) {
        case Place::ShutDown:
            return w[Control::lblShutDown];
        case Place::Restart:
            return w[Control::lblRestart];
        case Place::Heading:
            return w[Control::lblTip];
        default:
            return w.Handle();
    }
}

TEST(Win32WindowTest, NativeMessagesReachTheirHandlers) {
    const COLORREF text = GetSysColor(COLOR_BTNTEXT), lit = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(text, lit);
    const std::wstring reboot = L"Are you sure you want to reboot the computer?";
    const std::wstring shutDown = L"Are you sure you want to shut the computer down?";
    const std::wstring about = L"Tolvane\r\nVer 1.0.20\r\nby the Tolvane authors";
    struct Step {
        Place place;
        UINT message;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        int boxAnswer;
        COLORREF shutDown, restart;
        std::vector<std::string> journal;
        std::wstring box;  // the first box's text, if one was shown
        UINT boxType;
    } cases[] = {
        {"hover restart", {{Place::Restart, WM_MOUSEMOVE}}, IDNO, text, lit, {}, L"", 0},
        {"hover shut down, then out",
         {{Place::ShutDown, WM_MOUSEMOVE}, {Place::Background, WM_MOUSEMOVE}},
         IDNO,
         lit,
         text,
         {},
         L"",
         0},
        {"both lit, then the frame",
         {{Place::Restart, WM_MOUSEMOVE},
          {Place::ShutDown, WM_MOUSEMOVE},
          {Place::Frame, WM_MOUSEMOVE}},
         IDNO,
         text,
         text,
         {},
         L"",
         0},
        {"single click on a label",
         {{Place::Restart, WM_LBUTTONDOWN}, {Place::Restart, WM_LBUTTONUP}},
         IDYES,
         text,
         text,
         {},
         L"",
         0},
        {"double-click restart, No",
         {{Place::Restart, WM_LBUTTONDBLCLK}},
         IDNO,
         text,
         text,
         {"box Sure?"},
         reboot,
         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1},
        {"double-click shut down, Yes",
         {{Place::ShutDown, WM_LBUTTONDBLCLK}},
         IDYES,
         text,
         text,
         {"box Sure?", "privilege", "request power off"},
         shutDown,
         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1},
        {"right press on the background",
         {{Place::Background, WM_RBUTTONDOWN}},
         IDOK,
         text,
         text,
         {"box About Tolvane"},
         about,
         MB_OK | MB_ICONINFORMATION},
        {"left press on the background",
         {{Place::Background, WM_LBUTTONDOWN}},
         IDOK,
         text,
         text,
         {},
         L"",
         0},
        {"right press on the heading",
         {{Place::Heading, WM_RBUTTONDOWN}},
         IDOK,
         text,
         text,
         {},
         L"",
         0},
    };
    for (const auto& c : cases) {
        TestWindow w;
        ASSERT_TRUE(w.created);
        w.journal.clear();
        w.boxAnswer = c.boxAnswer;
        w.popupChoice = IDM_ABOUT_TOLVANE;
        for (const Step& step : c.steps)
            w.Send(Target(w, step.place), step.message, ClientPoint(w, step.place));
        EXPECT_EQ(w.DrawnTextColor(Control::lblShutDown), c.shutDown) << c.name;
        EXPECT_EQ(w.DrawnTextColor(Control::lblRestart), c.restart) << c.name;
        EXPECT_EQ(w.journal, c.journal) << c.name;
        if (c.box.empty()) continue;
        ASSERT_FALSE(w.boxes.empty()) << c.name;
        EXPECT_EQ(w.boxes[0].owner, w.Handle()) << c.name;
        EXPECT_EQ(w.boxes[0].text, c.box) << c.name;
        EXPECT_EQ(w.boxes[0].type & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK), c.boxType) << c.name;
        if (c.boxType != (MB_OK | MB_ICONINFORMATION)) continue;
        ASSERT_EQ(w.popups.size(), 1u);
        EXPECT_EQ(w.popups[0].items,
                  (std::vector<std::pair<UINT, std::wstring>>{{IDM_ABOUT_TOLVANE, L"&About..."}}));
    }
}

// Over the whole window while a request waits, the text box included; then as before.
TEST(Win32WindowTest, WhileARequestWaitsThePointerShowsIt) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    w.system.answerAtOnce = false;
    w.boxAnswer = IDYES;
    const auto pointerOver = [](HWND window) {
        SetCursor(nullptr);
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const HCURSOR busy = LoadCursorW(nullptr, IDC_APPSTARTING);
    const HWND over[] = {w.Handle(), w[Control::lblRestart], w[Control::txtUptime]};
    w.Send(Target(w, Place::Restart), WM_LBUTTONDBLCLK, ClientPoint(w, Place::Restart));
    for (const HWND window : over) EXPECT_EQ(pointerOver(window), busy);
    ASSERT_TRUE(w.system.Answer());
    for (const HWND window : over) EXPECT_NE(pointerOver(window), busy);
    EXPECT_EQ(pointerOver(w[Control::txtUptime]), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST(Win32WindowTest, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    SendMessageW(w.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(w.Handle(), nullptr);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

}  // namespace
}  // namespace tolvane::win32::testing
