// The Win32 window: its native controls laid out from the window description, and its
// translation of native messages into frmMain's handlers and of their requests into
// native calls. The rules themselves are the handlers' and are tested there.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <initguid.h>
// After initguid.h, so that oleacc's GUIDs are defined here.
#include <oleacc.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/win32/main_window.h"
#include "platform/win32/resources/resource_ids.h"
#include "platform/win32/text.h"
#include "ui/window_description.h"

namespace tolvane::win32 {
namespace {

using Place = std::pair<LONG, LONG>;  // on the screen

// The real main window on a fake system; boxes and the popup are answered here, never
// shown. Hidden unless asked: under Wine each shown window costs seconds to close.
struct TestWindow {
    explicit TestWindow(bool shown = false) {
        window.Forms().SetBoxPresenter([this](const MessageBoxRequest& box) {
            EXPECT_EQ(box.owner, window.Handle());
            const bool sure = box.caption == L"Sure?";
            EXPECT_EQ(box.type & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK),
                      static_cast<UINT>(sure ? MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1
                                             : MB_OK | MB_ICONINFORMATION));
            journal.push_back("box " + Narrow(box.caption));
            boxes.push_back(box.text);
            return boxAnswer;
        });
        window.Forms().SetMenuPresenter([this](HWND owner, HMENU menu, POINT at) {
            wchar_t item[64]{};
            GetMenuStringW(menu, 0, item, 64, MF_BYPOSITION);
            EXPECT_EQ(owner, window.Handle());
            EXPECT_EQ(GetMenuItemCount(menu), 1);
            EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_ABOUT_TOLVANE));
            EXPECT_STREQ(item, L"&About...");
            popups.emplace_back(at.x, at.y);
            return menuChoice;
        });
        created = window.Create(GetModuleHandleW(nullptr));
        // The real pointer off the window, so that no tooltip covers what a test points at.
        SetCursorPos(0, 0);
        if (created && shown) window.Show(SW_SHOWNOACTIVATE);
    }
    ~TestWindow() {
        if (window.Handle()) DestroyWindow(window.Handle());
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND operator[](Control control) const { return window.ControlWindow(control); }
    HWND Handle() const { return window.Handle(); }

    // Where `control` is, in the window's client coordinates.
    RECT ClientRectOf(Control control) const {
        RECT rect{};
        GetWindowRect((*this)[control], &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The colour WM_CTLCOLORSTATIC makes `label` draw its text with.
    bool Lit(Control label) const {
        const HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>((*this)[label]));
        const COLORREF color = GetTextColor(dc);
        DeleteDC(dc);
        EXPECT_TRUE(color == GetSysColor(COLOR_BTNTEXT) ||
                    color == GetSysColor(COLOR_BTNHIGHLIGHT));
        return color == GetSysColor(COLOR_BTNHIGHLIGHT);
    }

    bool created = false;
    std::vector<std::string> journal;
    fakes::FakeSystem system{&journal};
    MainWindow window{system};
    int boxAnswer = IDNO;
    UINT menuChoice = IDM_ABOUT_TOLVANE;
    std::vector<std::wstring> boxes;  // their texts
    std::vector<Place> popups;
};

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

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

// Runs the message loop until `done` holds; false if it still does not after ten seconds.
bool PumpUntil(const TestWindow& w, const std::function<bool()>& done) {
    for (const ULONGLONG end = GetTickCount64() + 10'000; !done(); Drain(w)) {
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return true;
}

// A key message as the system queues it for the focus. Bit 30: the key was down before;
// bit 31: released. Repeat count 1.
void Queued(const TestWindow& w, UINT message, WPARAM key, bool repeat = false) {
    const auto data = message == WM_KEYUP ? 0xC0000001u : repeat ? 0x40000001u : 1u;
    PostMessageW(GetFocus(), message, key, static_cast<LPARAM>(data));
    Drain(w);
}

// A key pressed, held for `repeats`, and released.
void Stroke(const TestWindow& w, WPARAM key, int repeats = 0) {
    Sleep(30);  // a press in the same millisecond as a release would be its repeat
    Queued(w, WM_KEYDOWN, key);
    for (int i = 0; i < repeats; ++i) Queued(w, WM_KEYDOWN, key, true);
    Queued(w, WM_KEYUP, key);
}

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

void ExpectLaidOutAt(const TestWindow& w, int dpi) {
    RECT client{};
    GetClientRect(w.Handle(), &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(ui::kClientWidthTwips, dpi)) << dpi;
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(ui::kClientHeightTwips, dpi)) << dpi;
    EXPECT_EQ(FontOf(w[Control::lblTip]).lfHeight, -MulDiv(825, dpi, 7200)) << dpi;
    const RECT frame = w.ClientRectOf(Control::fraTodo);
    for (const auto& control : ui::kControls) {
        SCOPED_TRACE(std::string(control.name) + " at " + std::to_string(dpi));
        const HWND child = w[control.control];
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        EXPECT_EQ(font, w.window.Font());
        const RECT r = w.ClientRectOf(control.control);
        const ui::PixelRect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        if (!control.autoSize) {
            EXPECT_EQ(rect, ui::ToPixels(control.rect, dpi));
            continue;
        }
        // Sized to its text in its own font, measured apart from the window's code, and
        // centred on the action labels' axis.
        const HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = SelectObject(dc, font);
        const std::wstring text = TextOf(child);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        DeleteDC(dc);
        EXPECT_EQ(rect.width, size.cx);
        EXPECT_EQ(rect.height, size.cy);
        EXPECT_NEAR(rect.left - frame.left + rect.width / 2.0, ui::kActionAxisTwips * dpi / 1440.0,
                    0.5);
        EXPECT_EQ(rect.top - frame.top, ui::TwipsToPixels(control.rect.top, dpi));
    }
}

TEST(Win32WindowTest, AFixedToolWindowOfNativeControlsLaidOutFromTheDescriptionAtEachDpi) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const auto style = GetWindowLongPtrW(w.Handle(), GWL_STYLE);
    EXPECT_TRUE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(TextOf(w.Handle()), L"Tolvane");
    EXPECT_STREQ(FontOf(w[Control::lblTip]).lfFaceName, L"Tahoma");
    // In creation order, which is the tab order.
    const struct {
        Control control;
        const wchar_t* className;
        LONG_PTR flags;
    } children[] = {
        {Control::lblTip, L"Static", SS_CENTER | SS_NOPREFIX},
        {Control::txtUptime, L"Edit", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP},
        {Control::fraTodo, L"Button", BS_GROUPBOX},
        {Control::lblShutDown, L"Static", SS_CENTER | SS_NOTIFY | SS_NOPREFIX},
        {Control::lblRestart, L"Static", SS_CENTER | SS_NOTIFY | SS_NOPREFIX},
    };
    HWND child = GetWindow(w.Handle(), GW_CHILD);
    for (const auto& c : children) {
        wchar_t className[64]{};
        GetClassNameW(child, className, 64);
        EXPECT_EQ(child, w[c.control]) << ui::Describe(c.control).name;
        EXPECT_EQ(_wcsicmp(className, c.className), 0) << ui::Describe(c.control).name;
        EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & c.flags, c.flags) << className;
        child = GetWindow(child, GW_HWNDNEXT);
    }

    ASSERT_EQ(w.window.Dpi(), 96);
    ExpectLaidOutAt(w, 96);
    const HFONT before = w.window.Font();
    for (const int dpi : {144, 96}) {
        RECT outer{0, 0, ui::TwipsToPixels(ui::kClientWidthTwips, dpi),
                   ui::TwipsToPixels(ui::kClientHeightTwips, dpi)};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(style), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE)));
        SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&outer));
        ExpectLaidOutAt(w, dpi);
    }
    EXPECT_EQ(GetObjectType(before), 0u);  // the fonts it replaced are gone, not leaked
}

TEST(Win32WindowTest, TextsCrossAsUtf16TheHeadingIsMeasuredInItsFontAndTheTimerTicks) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const std::wstring heading = L"\\\\PC1\r\nRunning Windows 2000 , has been up for:";
    EXPECT_EQ(TextOf(w[Control::lblTip]), heading);
    EXPECT_EQ(w.window.Forms().ToolTip(Control::lblTip), heading);
    w.window.Forms().SetText(Control::lblTip, "\\\\\xC3\x85SA-\xE6\x97\xA5");
    EXPECT_EQ(TextOf(w[Control::lblTip]), L"\\\\\u00C5SA-\u65E5");
    EXPECT_EQ(w.window.Forms().Text(Control::lblTip), "\\\\\xC3\x85SA-\xE6\x97\xA5");
    Forms& forms = w.window.Forms();
    EXPECT_TRUE(forms.FitsOnOneLine(Control::lblTip,
                                    "Running Debian GNU/Linux 12 (bookworm) , has been up for:"));
    EXPECT_FALSE(forms.FitsOnOneLine(Control::lblTip, "\\\\" + std::string(63, 'm')));

    EXPECT_EQ(TextOf(w[Control::txtUptime]), L"");  // until the first tick
    w.system.milliseconds = 61'000;
    EXPECT_TRUE(
        PumpUntil(w, [&] { return TextOf(w[Control::txtUptime]) == L"1 minute 1 second"; }));
}

// One native event; `on` is where the pointer is or what has the focus. MouseMenu is the
// WM_CONTEXTMENU after a right button's release, KeyMenu that of Shift+F10 or the menu key;
// Hold a key's press, two repeats and release; Default a screen reader's accDoDefaultAction.
// clang-format off
enum class Event {
    Move, LeftDown, LeftUp, MiddleDown, RightDown, DoubleClick,
    MouseMenu, KeyMenu, Stroke, Hold, Default
};
// clang-format on
struct Step {
    Event event;
    Control on;
    WPARAM key = 0;
};

// Runs `step`; where a popup opened by it would be, if it may open one.
std::optional<Place> Perform(TestWindow& w, const Step& step) {
    const HWND target = w[step.on];
    // The bare background left of the text box; the frame's surface left of both labels.
    const RECT text = w.ClientRectOf(Control::txtUptime), frame = w.ClientRectOf(Control::fraTodo);
    const POINT at =
        step.on == Control::frmMain   ? POINT{text.left / 2, (text.top + text.bottom) / 2}
        : step.on == Control::fraTodo ? POINT{frame.left + 4, (frame.top + frame.bottom) / 2}
                                      : POINT{2, 2};
    POINT screen = at;
    ClientToScreen(step.on == Control::fraTodo ? w.Handle() : target, &screen);
    // The pointer's messages go where the hit test puts them, as the system's do.
    const HWND receiver = WindowFromPoint(screen);
    POINT client = screen;
    ScreenToClient(receiver, &client);
    if (step.event >= Event::KeyMenu && GetFocus() != target) {
        SetFocus(target);
        EXPECT_EQ(GetFocus(), target) << "control " << static_cast<int>(step.on);
    }
    constexpr UINT kMouse[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,
                               WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK};
    if (step.event <= Event::DoubleClick)
        SendMessageW(receiver, kMouse[static_cast<int>(step.event)], 0,
                     MAKELPARAM(client.x, client.y));
    switch (step.event) {
        case Event::RightDown: {
            POINT cursor{};
            GetCursorPos(&cursor);
            return Place{cursor.x, cursor.y};
        }
        case Event::MouseMenu:
            SendMessageW(receiver, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(receiver),
                         MAKELPARAM(screen.x, screen.y));
            return std::nullopt;
        case Event::KeyMenu: {
            // As DefWindowProc sends it to the focus: no pointer position.
            SendMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
                         MAKELPARAM(-1, -1));
            RECT rect{};
            GetClientRect(target, &rect);
            POINT centre{rect.right / 2, rect.bottom / 2};
            ClientToScreen(target, &centre);
            return Place{centre.x, centre.y};
        }
        case Event::Stroke:
        case Event::Hold:
            Stroke(w, step.key, step.event == Event::Hold ? 2 : 0);
            return std::nullopt;
        case Event::Default: {
            IAccessible* accessible = nullptr;
            EXPECT_EQ(AccessibleObjectFromWindow(target, static_cast<DWORD>(OBJID_CLIENT),
                                                 __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&accessible)),
                      S_OK);
            if (!accessible) return std::nullopt;
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            const std::size_t asked = w.journal.size();
            EXPECT_EQ(accessible->accDoDefaultAction(self), S_OK);
            accessible->Release();
            // The box opens once the call has returned, from the label's own message.
            EXPECT_EQ(w.journal.size(), asked);
            EXPECT_TRUE(PumpUntil(w, [&] { return w.journal.size() > asked; }));
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

// Each native event and what it must come to: the labels' colours, what frmMain asked of
// the fake system and the boxes, and the popups, each where its event puts it.
TEST(Win32WindowTest, NativeEventsReachTheirHandlersAndTheirRequestsTheScreen) {
    const std::wstring reboot = L"Are you sure you want to reboot the computer?";
    const std::wstring shutDown = L"Are you sure you want to shut the computer down?";
    const std::wstring about = L"Tolvane\r\nVer 1.0.20\r\nby the Tolvane authors";
    const std::string sure = "box Sure?", privilege = "privilege", aboutBox = "box About Tolvane";
    const std::string restart = "request restart", powerOff = "request power off";
    using enum Event;
    using enum Control;
    const struct {
        const char* name;
        std::vector<Step> steps;
        int answer;  // to the boxes; a popup is answered with the About item unless it is 0
        bool restartLit, shutDownLit;
        std::vector<std::string> journal;
        std::vector<std::wstring> boxes;  // their texts
        bool popups;                      // each RightDown and KeyMenu opens one where it should
    } cases[] = {
        // clang-format off
        {"hover restart", {{Move, lblRestart}}, IDNO, true, false, {}, {}, false},
        {"hover shut down, then the background", {{Move, lblShutDown}, {Move, frmMain}}, IDNO,
         false, true, {}, {}, false},
        {"both lit, then the frame", {{Move, lblRestart}, {Move, lblShutDown}, {Move, fraTodo}},
         IDNO, false, false, {}, {}, false},
        {"a click on a label", {{LeftDown, lblRestart}, {LeftUp, lblRestart}}, IDYES,
         false, false, {}, {}, false},
        {"double-click restart, No", {{DoubleClick, lblRestart}}, IDNO,
         false, false, {sure}, {reboot}, false},
        {"double-click shut down, Yes", {{DoubleClick, lblShutDown}}, IDYES,
         false, false, {sure, privilege, powerOff}, {shutDown}, false},
        {"right press on the background", {{RightDown, frmMain}}, IDOK,
         false, false, {aboutBox}, {about}, true},
        {"right press on the background, dismissed", {{RightDown, frmMain}}, 0,
         false, false, {}, {}, true},
        {"left and middle press on the background", {{LeftDown, frmMain}, {MiddleDown, frmMain}},
         IDOK, false, false, {}, {}, false},
        {"right press on the heading and the frame", {{RightDown, lblTip}, {RightDown, fraTodo}},
         IDOK, false, false, {}, {}, false},
        {"the right button's context menus", {{MouseMenu, frmMain}, {MouseMenu, lblRestart}},
         IDOK, false, false, {}, {}, false},
        {"Enter on restart, No", {{Stroke, lblRestart, VK_RETURN}}, IDNO,
         false, false, {sure}, {reboot}, false},
        {"Space on restart held, then again",
         {{Hold, lblRestart, VK_SPACE}, {Stroke, lblRestart, VK_SPACE}}, IDYES, false, false,
         {sure, privilege, restart, sure, privilege, restart}, {reboot, reboot}, false},
        {"Enter on shut down held", {{Hold, lblShutDown, VK_RETURN}}, IDYES,
         false, false, {sure, privilege, powerOff}, {shutDown}, false},
        {"Enter and Space in the text box, other keys on a label",
         {{Stroke, txtUptime, VK_RETURN}, {Stroke, txtUptime, VK_SPACE},
          {Stroke, lblRestart, 'A'}, {Stroke, lblRestart, VK_ESCAPE}}, IDYES,
         false, false, {}, {}, false},
        {"the keyboard's context menu by the focus", {{KeyMenu, frmMain}, {KeyMenu, txtUptime},
         {KeyMenu, lblShutDown}, {KeyMenu, lblRestart}}, IDOK,
         false, false, std::vector(4, aboutBox), std::vector(4, about), true},
        {"the default action of each action label", {{Default, lblRestart}, {Default, lblShutDown}},
         IDYES, false, false, {sure, privilege, restart, sure, privilege, powerOff},
         {reboot, shutDown}, false},
        // clang-format on
    };
    // One shown window for all: the keys need the focus.
    TestWindow w(true);
    ASSERT_TRUE(w.created);
    for (const auto& c : cases) {
        Perform(w, {Move, fraTodo});  // both labels unlit
        w.journal.clear();
        w.boxes.clear();
        w.popups.clear();
        w.boxAnswer = c.answer;
        w.menuChoice = c.answer ? IDM_ABOUT_TOLVANE : 0;
        std::vector<Place> places;
        for (const Step& step : c.steps)
            if (const auto place = Perform(w, step)) places.push_back(*place);
        EXPECT_EQ(w.Lit(lblRestart), c.restartLit) << c.name;
        EXPECT_EQ(w.Lit(lblShutDown), c.shutDownLit) << c.name;
        EXPECT_EQ(w.journal, c.journal) << c.name;
        EXPECT_EQ(w.boxes, c.boxes) << c.name;
        EXPECT_EQ(w.popups, c.popups ? places : std::vector<Place>{}) << c.name;
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
    SendMessageW(w[Control::lblRestart], WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    for (const HWND window : over) EXPECT_EQ(pointerOver(window), busy);
    ASSERT_TRUE(w.system.Answer());
    for (const HWND window : over) EXPECT_NE(pointerOver(window), busy);
    EXPECT_EQ(pointerOver(w[Control::txtUptime]), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST(Win32WindowTest, TabReachesTheActionLabelsWhichShowTheFocusAndGetItBack) {
    TestWindow w(true);
    ASSERT_TRUE(w.created);
    const HWND restart = w[Control::lblRestart];
    // Pixels of the label's top and bottom rows that differ from the face colour.
    const auto markedEdge = [&] {
        RedrawWindow(restart, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT rect{};
        GetClientRect(restart, &rect);
        const HDC dc = GetDC(restart);
        int marked = 0;
        for (int x = 0; x < rect.right; ++x)
            for (const LONG y : {0L, rect.bottom - 1})
                marked += GetPixel(dc, x, y) != GetSysColor(COLOR_BTNFACE);
        ReleaseDC(restart, dc);
        return marked;
    };
    SetFocus(w[Control::txtUptime]);
    const int unfocused = markedEdge();
    RECT rect{};
    GetClientRect(restart, &rect);
    for (const Control next : {Control::lblShutDown, Control::lblRestart, Control::txtUptime}) {
        Stroke(w, VK_TAB);
        EXPECT_EQ(GetFocus(), w[next]) << ui::Describe(next).name;
        if (next != Control::lblRestart) {
            EXPECT_EQ(markedEdge(), unfocused);
            continue;
        }
        // A dotted line along both rows, every other pixel at least; still there when drawn
        // again: the inverting frame does not undo itself.
        EXPECT_GE(markedEdge(), unfocused + rect.right / 2);
        EXPECT_GE(markedEdge(), unfocused + rect.right / 2);
    }
    // As around a message box: deactivated, the window itself focused, then activated.
    SetFocus(restart);
    SendMessageW(w.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(w.Handle());
    SendMessageW(w.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), restart);
    EXPECT_TRUE(w.boxes.empty() && w.popups.empty());
}

// A stand-in for oleacc's annotation services, registered in this process for its CLSID:
// Wine's oleacc keeps no annotations (it reports the plain STATIC's role and no default
// action), so the window's calls are read here instead. Lives on the stack.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class RecordingPropServices final : public IAccPropServices, public IClassFactory {
  public:
    struct Call {
        bool set;  // else cleared
        HWND label;
        bool labelAlive, client;  // client: the label's client object itself
        GUID property;
        std::wstring value;  // a string, or the role's number
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IAccPropServices || iid == __uuidof(IUnknown))
            *out = static_cast<IAccPropServices*>(this);
        else if (iid == __uuidof(IClassFactory))
            *out = static_cast<IClassFactory*>(this);
        else
            *out = nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return outer ? CLASS_E_NOAGGREGATION : QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    STDMETHODIMP SetHwndProp(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                             VARIANT value) override {
        const std::wstring role = value.vt == VT_I4 ? std::to_wstring(value.lVal) : L"?";
        return Record(true, window, object, child, property, role);
    }
    STDMETHODIMP SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
        return Record(true, window, object, child, property, text);
    }
    STDMETHODIMP ClearHwndProps(HWND window, DWORD object, DWORD child,
                                const MSAAPROPID* properties, int count) override {
        for (int i = 0; i < count; ++i) Record(false, window, object, child, properties[i], L"");
        return S_OK;
    }
    // Nothing else is expected of the window: a call to these would show in no record.
#define TOLVANE_UNEXPECTED(name, ...)         \
    STDMETHODIMP name(__VA_ARGS__) override { \
        return E_FAIL;                        \
    }
    TOLVANE_UNEXPECTED(SetPropValue, const BYTE*, DWORD, MSAAPROPID, VARIANT)
    TOLVANE_UNEXPECTED(SetPropServer, const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                       AnnoScope)
    TOLVANE_UNEXPECTED(ClearProps, const BYTE*, DWORD, const MSAAPROPID*, int)
    TOLVANE_UNEXPECTED(SetHwndPropServer, HWND, DWORD, DWORD, const MSAAPROPID*, int,
                       IAccPropServer*, AnnoScope)
    TOLVANE_UNEXPECTED(ComposeHwndIdentityString, HWND, DWORD, DWORD, BYTE**, DWORD*)
    TOLVANE_UNEXPECTED(DecomposeHwndIdentityString, const BYTE*, DWORD, HWND*, DWORD*, DWORD*)
    TOLVANE_UNEXPECTED(SetHmenuProp, HMENU, DWORD, MSAAPROPID, VARIANT)
    TOLVANE_UNEXPECTED(SetHmenuPropStr, HMENU, DWORD, MSAAPROPID, LPCWSTR)
    TOLVANE_UNEXPECTED(SetHmenuPropServer, HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                       AnnoScope)
    TOLVANE_UNEXPECTED(ClearHmenuProps, HMENU, DWORD, const MSAAPROPID*, int)
    TOLVANE_UNEXPECTED(ComposeHmenuIdentityString, HMENU, DWORD, BYTE**, DWORD*)
    TOLVANE_UNEXPECTED(DecomposeHmenuIdentityString, const BYTE*, DWORD, HMENU*, DWORD*)
#undef TOLVANE_UNEXPECTED

  private:
    HRESULT Record(bool set, HWND window, DWORD object, DWORD child, const GUID& property,
                   std::wstring value) {
        const bool client = object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF;
        calls.push_back({set, window, IsWindow(window) != FALSE, client, property, value});
        return S_OK;
    }
};
#pragma GCC diagnostic pop

TEST(Win32WindowTest, ActionLabelsAreAnnotatedAsButtonsUntilClosingEndsTheProgram) {
    struct Com {  // before the window's own
        Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
        ~Com() { CoUninitialize(); }
    } com;
    RecordingPropServices services;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&services),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    TestWindow w;
    ASSERT_TRUE(w.created);
    std::vector<RecordingPropServices::Call> expected;
    for (const Control label : {Control::lblShutDown, Control::lblRestart}) {
        expected.push_back(
            {true, w[label], true, true, PROPID_ACC_ROLE, std::to_wstring(ROLE_SYSTEM_PUSHBUTTON)});
        expected.push_back({true, w[label], true, true, PROPID_ACC_DEFAULTACTION, L"Press"});
    }
    // The heading by its whole text, however the label shortens it.
    expected.push_back({true, w[Control::lblTip], true, true, PROPID_ACC_NAME,
                        L"\\\\PC1\r\nRunning Windows 2000 , has been up for:"});
    EXPECT_EQ(services.calls, expected);
    // Taken off again while the labels are still there: the system reuses handles.
    for (const Control label : {Control::lblShutDown, Control::lblRestart})
        for (const GUID& property : {PROPID_ACC_ROLE, PROPID_ACC_DEFAULTACTION})
            expected.push_back({false, w[label], true, true, property, L""});
    expected.push_back({false, w[Control::lblTip], true, true, PROPID_ACC_NAME, L""});
    SendMessageW(w.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(w.Handle(), nullptr);
    EXPECT_EQ(services.calls, expected);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);  // the program's exit code
    CoRevokeClassObject(cookie);
}

}  // namespace
}  // namespace tolvane::win32
