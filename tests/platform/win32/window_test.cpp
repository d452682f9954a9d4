// The Win32 window: its native controls laid out from the window description, and its
// translation of native messages into frmMain's handlers and of their requests into
// native calls. The rules themselves are the handlers' and are tested there.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/win32/main_window.h"
#include "platform/win32/text.h"
#include "platform/window_events.h"

namespace tolvane::win32 {
namespace {

using window_test::Event;

// A machine name too wide for the label, which shows it shortened.
const std::wstring kHeading = L"\\\\\u00C5SA-\u65E5" + std::wstring(40, L'W') +
                              L"\r\nRunning Windows 2000 , has been up for:";

// A window's client object, as assistive technology gets it.
struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
};
std::unique_ptr<IAccessible, Release> ClientObject(HWND window) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
    return std::unique_ptr<IAccessible, Release>(object);
}
const VARIANT kSelf{{{VT_I4, 0, 0, 0, {.lVal = CHILDID_SELF}}}};

std::wstring Take(BSTR text) {
    const std::wstring taken = text ? text : L"";
    SysFreeString(text);
    return taken;
}

// The real main window on a fake system. What frmMain asks of the system, the boxes and
// the popup all go into one journal; boxes and the popup are answered here, never shown.
// Hidden unless asked: under Wine each shown window costs seconds to close.
struct TestWindow {
    explicit TestWindow(bool shown = false) {
        window.Forms().SetBoxPresenter([this](const MessageBoxRequest& box) {
            const bool sure = box.caption == L"Sure?", refused = box.caption == L"Tolvane";
            EXPECT_EQ(box.owner, Handle());
            EXPECT_EQ(box.type & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK),
                      static_cast<UINT>(sure      ? MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1
                                        : refused ? MB_OK | MB_ICONWARNING
                                                  : MB_OK | MB_ICONINFORMATION));
            journal.push_back("box " + Narrow(box.caption));
            return yes ? (sure ? IDYES : IDOK) : IDNO;
        });
        window.Forms().SetMenuPresenter([this](HWND owner, HMENU menu, POINT at) {
            EXPECT_EQ(owner, Handle());
            EXPECT_EQ(GetMenuItemCount(menu), 1);
            journal.push_back(at.x == popupAt.x && at.y == popupAt.y ? "popup" : "popup elsewhere");
            return yes ? GetMenuItemID(menu, 0) : 0u;
        });
        system.machineName = "\xC3\x85SA-\xE6\x97\xA5" + std::string(40, 'W');
        EXPECT_TRUE(window.Create(GetModuleHandleW(nullptr)));
        // The real pointer off the window, so that no tooltip covers what a test points at.
        SetCursorPos(0, 0);
        if (shown) window.Show(SW_SHOWNOACTIVATE);
    }
    HWND operator[](Control control) const { return window.ControlWindow(control); }
    HWND Handle() const { return window.Handle(); }

    ui::PixelRect RectOf(Control control, Control in = Control::frmMain) const {
        RECT r{};
        GetWindowRect((*this)[control], &r);
        MapWindowPoints(nullptr, (*this)[control == in ? Control::frmMain : in],
                        reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    std::vector<std::string> journal;
    fakes::FakeSystem system{journal};
    MainWindow window{system};
    bool yes = false;  // the answer to boxes and the popup
    POINT popupAt{};   // where a popup must open
};

// Dispatches what is queued as the program's loop does: past the key hook, then the dialog
// manager, which takes Tab and Enter before any control sees them.
void Drain(const TestWindow& w) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(w.Handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The size of `line` in `font`, measured here apart from the window's code.
SIZE TextSize(HFONT font, const std::wstring& line) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return size;
}

// A fixed window with the narrow frame (its taskbar button is checked under Wine). At its own
// DPI, which on a second monitor is not the screen's: laid out from the description, and the
// heading's fit measured clear of the window's edges by 3/96 inch.
TEST(Win32WindowTest, AFixedToolWindowLaidOutAndMeasuredAtItsOwnDpi) {
    TestWindow w;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w.Handle(), GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_TRUE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongPtrW(w[Control::txtUptime], GWL_STYLE) & ES_READONLY);
    RECT client{};
    GetClientRect(w.Handle(), &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(ui::kClientWidthTwips, w.window.Dpi()));
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(ui::kClientHeightTwips, w.window.Dpi()));
    const HFONT first = w.window.Font();
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 640, 480};  // where the system would move it, and its size
        if (dpi != w.window.Dpi())
            SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        GetClientRect(w.Handle(), &client);
        LOGFONTW font{};
        GetObjectW(w.window.Font(), sizeof(font), &font);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");
        EXPECT_EQ(font.lfHeight, -MulDiv(825, dpi, 7200));
        for (const auto& control : ui::kControls) {
            SCOPED_TRACE(control.name);
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(w[control.control], WM_GETFONT, 0, 0)),
                      w.window.Font());
            const SIZE text = TextSize(w.window.Font(), Widen(control.text));
            EXPECT_EQ(w.RectOf(control.control, control.container),
                      control.autoSize ? ui::AutoSizedLabelRect(control, text.cx, text.cy, dpi)
                                       : ui::ToPixels(control.rect, dpi));
        }
        // The heading within its label and the window, less the margins.
        const ui::PixelRect tip = w.RectOf(Control::lblTip);
        const int room = std::min(tip.left + tip.width, static_cast<int>(client.right)) -
                         std::max(tip.left, 0) - 2 * MulDiv(3, dpi, 96);
        std::string line = "\\\\";
        while (TextSize(w.window.Font(), Widen(line + 'l')).cx <= room) line += 'l';
        EXPECT_TRUE(w.window.Forms().FitsOnOneLine(Control::lblTip, line));
        EXPECT_FALSE(w.window.Forms().FitsOnOneLine(Control::lblTip, line + 'l'));
    }
    EXPECT_EQ(GetObjectType(first), 0u);  // the font it replaced is gone, not leaked
}

// Texts cross as UTF-16 both ways. To assistive technology the actions are buttons named by
// their words, the heading is whole however the label shortens it, and once the window is
// gone every object a client kept refuses to answer: it is told so only if the window is
// destroyed while all it holds still exists.
TEST(Win32WindowTest, TheLabelsAsScreenReadersSeeThemWhileTheyLast) {
    auto w = std::make_unique<TestWindow>();
    const std::wstring shown = Widen(w->window.Forms().Text(Control::lblTip));
    EXPECT_EQ(shown.substr(0, 7), kHeading.substr(0, 7));
    EXPECT_NE(shown, kHeading);  // shortened to fit
    std::vector<std::unique_ptr<IAccessible, Release>> kept;
    for (const Control label : {Control::lblShutDown, Control::lblRestart, Control::lblTip}) {
        SCOPED_TRACE(ui::Describe(label).name);
        kept.push_back(ClientObject((*w)[label]));
        IAccessible* object = kept.back().get();
        ASSERT_TRUE(object);
        VARIANT role{};
        BSTR action = nullptr, name = nullptr;
        object->get_accRole(kSelf, &role);
        object->get_accDefaultAction(kSelf, &action);
        object->get_accName(kSelf, &name);
        const bool button = ui::IsActionLabel(label);
        EXPECT_EQ(role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_PUSHBUTTON, button);
        EXPECT_EQ(Take(action), button ? L"Press" : L"");
        EXPECT_EQ(Take(name), label == Control::lblShutDown ? L"Shut Down the Computer"
                              : button                      ? L"Restart the Computer"
                                                            : kHeading);
    }
    w.reset();
    for (const auto& object : kept) {
        BSTR name = nullptr;
        EXPECT_EQ(object->get_accName(kSelf, &name), CO_E_OBJNOTCONNECTED);
        EXPECT_EQ(object->accDoDefaultAction(kSelf), CO_E_OBJNOTCONNECTED);  // posts nothing
    }
}

// The common controls hear of new system colours only from the window.
int toldOfColours;
LRESULT CALLBACK ListenForColours(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR, DWORD_PTR) {
    toldOfColours += message == WM_SYSCOLORCHANGE;
    return DefSubclassProc(control, message, wParam, lParam);
}

TEST(Win32WindowTest, PassesSystemColourChangesOn) {
    TestWindow w;
    for (const auto& control : ui::kControls)
        SetWindowSubclass(w[control.control], ListenForColours, 9, 0);
    SendMessageW(w.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(toldOfColours, static_cast<int>(ui::kControls.size()));
}

TEST(Win32WindowTest, ClosingEndsTheProgramWithExitCode0) {
    TestWindow w;
    Drain(w);  // earlier windows' ends
    SendMessageW(w.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(w.Handle(), nullptr);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

// Whether `label` shows the focus: a dotted line along its top and bottom rows, still there
// when drawn again (the inverting frame must not undo itself).
bool Framed(HWND label) {
    RECT rect{};
    GetClientRect(label, &rect);
    int marked = 0;
    for (int drawn = 0; drawn < 2; ++drawn) {
        RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const HDC dc = GetDC(label);
        for (int x = 0; x < rect.right; ++x)
            for (const LONG y : {0L, rect.bottom - 1})
                marked += GetPixel(dc, x, y) != GetSysColor(COLOR_BTNFACE);
        ReleaseDC(label, dc);
    }
    return marked >= 2 * rect.right * 3 / 4;  // every other pixel of both rows, about
}

// A row's event natively: the pointer's messages where the hit test puts them, the keys
// queued for the focus and taken as the program's loop takes them.
void Perform(TestWindow& w, Event event, Control on) {
    const HWND target = w[on];
    // The bare background left of the text box; the frame's surface left of both labels.
    const ui::PixelRect text = w.RectOf(Control::txtUptime), frame = w.RectOf(Control::fraTodo);
    POINT screen = on == Control::frmMain   ? POINT{text.left / 2, text.top + text.height / 2}
                   : on == Control::fraTodo ? POINT{frame.left + 4, frame.top + frame.height / 2}
                                            : POINT{2, 2};
    ClientToScreen(on == Control::fraTodo ? w.Handle() : target, &screen);
    const HWND receiver = WindowFromPoint(screen);
    POINT client = screen;
    ScreenToClient(receiver, &client);
    GetCursorPos(&w.popupAt);
    if (event >= Event::Enter) {
        SetFocus(target);
        // The keyboard's popup opens by the middle of the focus.
        RECT rect{};
        GetClientRect(target, &rect);
        w.popupAt = {rect.right / 2, rect.bottom / 2};
        ClientToScreen(target, &w.popupAt);
    }
    // The extended key's bit tells the keypad's Enter.
    const struct {
        Event event;
        std::vector<UINT> mouse;
        WPARAM key = 0;
        LPARAM flags = 0;
    } kNative[] = {
        {Event::Move, {WM_MOUSEMOVE}},
        {Event::Click, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {Event::MiddlePress, {WM_MBUTTONDOWN}},
        {Event::RightPress, {WM_RBUTTONDOWN}},
        {Event::DoubleClick, {WM_LBUTTONDBLCLK}},
        {Event::RightDoubleClick, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK}},
        {Event::Enter, {}, VK_RETURN},
        {Event::KeypadEnter, {}, VK_RETURN, 1 << 24},
        {Event::OtherKey, {}, 'A'},
        {Event::Tab, {}, VK_TAB},
    };
    for (const auto& native : kNative) {
        if (native.event != event) continue;
        for (const UINT message : native.mouse)
            SendMessageW(receiver, message, 0, MAKELPARAM(client.x, client.y));
        // Pressed and released as the system queues them, lParam's bits 30 and 31 set for the
        // release, and as fast as SendInput's, often in one tick.
        for (const LPARAM up : {LPARAM{0}, LPARAM{3} << 30}) {
            if (!native.key) break;
            PostMessageW(GetFocus(), up ? WM_KEYUP : WM_KEYDOWN, native.key, 1 | native.flags | up);
            Drain(w);
        }
    }
    if (event == Event::RightMenu)
        SendMessageW(receiver, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(receiver),
                     MAKELPARAM(screen.x, screen.y));
    if (event == Event::MenuKey)  // as DefWindowProc sends it: no pointer position
        SendMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(-1, -1));
    if (event == Event::Click || event == Event::Tab)
        for (const auto& control : ui::kControls) {
            const std::string name(control.name);
            if (GetFocus() == w[control.control]) w.journal.push_back("focus " + name);
            if (ui::IsActionLabel(control.control) && Framed(w[control.control]))
                w.journal.push_back("framed " + name);
        }
    if (event == Event::Default) {
        const auto object = ClientObject(target);
        ASSERT_TRUE(object);
        const std::size_t asked = w.journal.size();
        EXPECT_EQ(object->accDoDefaultAction(kSelf), S_OK);
        // The box opens once the call has returned, from the label's own message.
        EXPECT_EQ(w.journal.size(), asked);
        Drain(w);
    }
}

TEST(Win32WindowTest, NativeEventsReachTheirHandlersAndTheirRequestsTheScreen) {
    // One shown window for all: the keys need the focus.
    TestWindow w(true);
    for (const auto& row : window_test::Rows()) {
        if (row.qtOnly) continue;
        Perform(w, Event::Move, Control::fraTodo);  // both labels unlit
        SetFocus(w[Control::txtUptime]);
        w.journal.clear();
        w.yes = row.yes;
        w.system.result.started = !row.refused;
        for (const auto& step : row.steps) Perform(w, step.event, step.on);
        // Lit: what WM_CTLCOLORSTATIC draws a label's text in.
        const HDC dc = CreateCompatibleDC(nullptr);
        for (const Control label : {Control::lblShutDown, Control::lblRestart}) {
            SendMessageW(w.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(w[label]));
            if (GetTextColor(dc) == GetSysColor(COLOR_BTNHIGHLIGHT))
                w.journal.push_back("lit " + std::string(ui::Describe(label).name));
        }
        DeleteDC(dc);
        EXPECT_EQ(w.journal, row.journal) << row.name;
    }
}

// The caret stays where the user put it when the text is rewritten.
TEST(Win32WindowTest, TheUptimeBoxKeepsItsCaret) {
    TestWindow w;
    const HWND box = w[Control::txtUptime];
    for (const int caret : {0, 5}) {
        SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(caret), caret);
        w.system.milliseconds += 62'985'599'000;  // 104 weeks and more, beyond the box
        SendMessageW(w.Handle(), WM_TIMER, MainWindow::kTimerId, 0);
        EXPECT_EQ(SendMessageW(box, EM_GETSEL, 0, 0), MAKELRESULT(caret, caret));
    }
    // A held arrow moves it on: outside a box the key filter lets its repeats (bit 30) pass.
    SetFocus(box);
    for (int repeat = 0; repeat < 3; ++repeat) {
        PostMessageW(box, WM_KEYDOWN, VK_LEFT, 1 | (LPARAM{1} << 30));
        Drain(w);
    }
    EXPECT_EQ(SendMessageW(box, EM_GETSEL, 0, 0), MAKELRESULT(2, 2));
}

// Over the whole window while a request waits, the text box included; then as before.
TEST(Win32WindowTest, WhileARequestWaitsThePointerShowsIt) {
    TestWindow w;
    w.system.answerAtOnce = false;
    w.yes = true;
    const auto pointerOver = [](HWND window) {
        SetCursor(nullptr);
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const HCURSOR busy = LoadCursorW(nullptr, IDC_APPSTARTING);
    const HWND over[] = {w.Handle(), w[Control::lblRestart], w[Control::txtUptime]};
    SendMessageW(w[Control::lblRestart], WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    for (const HWND window : over) EXPECT_EQ(pointerOver(window), busy);
    ASSERT_TRUE(w.system.Answer());
    EXPECT_EQ(pointerOver(w[Control::txtUptime]), LoadCursorW(nullptr, IDC_IBEAM));
}

}  // namespace
}  // namespace tolvane::win32
