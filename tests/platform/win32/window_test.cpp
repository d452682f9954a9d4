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
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/win32/main_window.h"
#include "platform/win32/text.h"
#include "ui/window_description.h"

namespace tolvane::win32 {
namespace {

// The real main window on a fake system. What frmMain asks of the system, the boxes and
// the popup all go into one journal; boxes and the popup are answered here, never shown.
// Hidden unless asked: under Wine each shown window costs seconds to close.
struct TestWindow {
    explicit TestWindow(bool shown = false) {
        window.Forms().SetBoxPresenter([this](const MessageBoxRequest& box) {
            const bool sure = box.caption == L"Sure?";
            EXPECT_EQ(box.owner, Handle());
            EXPECT_EQ(box.type & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK),
                      static_cast<UINT>(sure ? MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1
                                             : MB_OK | MB_ICONINFORMATION));
            journal.push_back("box " + Narrow(box.caption));
            return answer;
        });
        window.Forms().SetMenuPresenter([this](HWND owner, HMENU menu, POINT at) {
            EXPECT_EQ(owner, Handle());
            EXPECT_EQ(GetMenuItemCount(menu), 1);
            const bool there = at.x == popupAt.x && at.y == popupAt.y;
            journal.push_back(there ? "popup" : "popup elsewhere");
            return answer == IDCANCEL ? 0u : GetMenuItemID(menu, 0);
        });
        created = window.Create(GetModuleHandleW(nullptr));
        // The real pointer off the window, so that no tooltip covers what a test points at.
        SetCursorPos(0, 0);
        if (created && shown) window.Show(SW_SHOWNOACTIVATE);
    }
    ~TestWindow() {
        if (Handle()) DestroyWindow(Handle());
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND operator[](Control control) const { return window.ControlWindow(control); }
    HWND Handle() const { return window.Handle(); }

    // Where `control` is, in the window's client coordinates.
    ui::PixelRect ClientRectOf(Control control) const {
        RECT r{};
        GetWindowRect((*this)[control], &r);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    // Whether WM_CTLCOLORSTATIC makes `label` draw its text highlighted.
    bool Lit(Control label) const {
        const HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>((*this)[label]));
        const COLORREF color = GetTextColor(dc);
        DeleteDC(dc);
        return color == GetSysColor(COLOR_BTNHIGHLIGHT);
    }

    bool created = false;
    std::vector<std::string> journal;
    fakes::FakeSystem system{&journal};
    MainWindow window{system};
    int answer = IDNO;  // to the boxes; IDCANCEL also dismisses the popup
    POINT popupAt{};    // where a popup must open
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

// Runs the message loop until `done` holds; false if it still does not after ten seconds.
bool PumpUntil(const TestWindow& w, const std::function<bool()>& done) {
    for (const ULONGLONG end = GetTickCount64() + 10'000; !done(); Drain(w)) {
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return true;
}

// A key pressed, held for `repeats`, and released, queued for the focus as the system
// queues it: lParam's bit 30 for a key already down, bit 31 for its release.
void Stroke(const TestWindow& w, WPARAM key, int repeats = 0) {
    Sleep(30);  // a press in the same millisecond as a release would be its repeat
    for (int i = 0; i <= repeats + 1; ++i) {
        const LPARAM down = i > 0 ? 1 << 30 : 0, up = i > repeats ? LPARAM{1} << 31 : 0;
        PostMessageW(GetFocus(), up ? WM_KEYUP : WM_KEYDOWN, key, 1 | down | up);
        Drain(w);
    }
}

TEST(Win32WindowTest, AFixedToolWindowLaidOutFromTheDescriptionAtTwoDpis) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w.Handle(), GWL_STYLE));
    EXPECT_TRUE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(w.window.Forms().Text(Control::frmMain), "Tolvane");
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
        LOGFONTW font{};
        GetObjectW(w.window.Font(), sizeof(font), &font);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");
        EXPECT_EQ(font.lfHeight, -MulDiv(825, dpi, 7200));
        const ui::PixelRect frame = w.ClientRectOf(Control::fraTodo);
        for (const auto& control : ui::kControls) {
            SCOPED_TRACE(control.name);
            const HWND child = w[control.control];
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)),
                      w.window.Font());
            ui::PixelRect expected = ui::ToPixels(control.rect, dpi);
            if (control.autoSize) {
                // Sized to its text, measured here apart from the window's code.
                const HDC dc = CreateCompatibleDC(nullptr);
                const HGDIOBJ previous = SelectObject(dc, w.window.Font());
                const std::wstring text = Widen(control.text);
                SIZE size{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
                SelectObject(dc, previous);
                DeleteDC(dc);
                expected = ui::AutoSizedLabelRect(control, size.cx, size.cy, dpi);
                expected.left += frame.left;
                expected.top += frame.top;
            }
            EXPECT_EQ(w.ClientRectOf(control.control), expected);
        }
    }
    EXPECT_EQ(GetObjectType(first), 0u);  // the font it replaced is gone, not leaked
}

TEST(Win32WindowTest, TextsCrossAsUtf16AndTheHeadingIsMeasuredInItsFont) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    Forms& forms = w.window.Forms();
    EXPECT_EQ(w.window.Forms().ToolTip(Control::lblTip),
              L"\\\\PC1\r\nRunning Windows 2000 , has been up for:");
    forms.SetText(Control::lblTip, "\\\\\xC3\x85SA-\xE6\x97\xA5");
    wchar_t shown[16]{};
    GetWindowTextW(w[Control::lblTip], shown, 16);
    EXPECT_STREQ(shown, L"\\\\\u00C5SA-\u65E5");
    EXPECT_EQ(forms.Text(Control::lblTip), "\\\\\xC3\x85SA-\xE6\x97\xA5");
    EXPECT_TRUE(forms.FitsOnOneLine(Control::lblTip,
                                    "Running Debian GNU/Linux 12 (bookworm) , has been up for:"));
    EXPECT_FALSE(forms.FitsOnOneLine(Control::lblTip, "\\\\" + std::string(63, 'm')));
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

// One native event; `on` is where the pointer is or what has the focus. MouseMenu is the
// WM_CONTEXTMENU after a right button's release, KeyMenu that of Shift+F10 or the menu key;
// Hold a key's press, two repeats and release; Default a screen reader's accDoDefaultAction.
// Reactivate the window's deactivation and reactivation around a message box.
// clang-format off
enum class Event {
    Move, LeftDown, LeftUp, MiddleDown, RightDown, DoubleClick,
    MouseMenu, KeyMenu, Stroke, Hold, Tab, Reactivate, Default
};
// clang-format on
struct Step {
    Event event;
    Control on;
    WPARAM key = 0;
};

void Perform(TestWindow& w, const Step& step) {
    const HWND target = w[step.on];
    // The bare background left of the text box; the frame's surface left of both labels.
    const ui::PixelRect text = w.ClientRectOf(Control::txtUptime),
                        frame = w.ClientRectOf(Control::fraTodo);
    POINT screen = step.on == Control::frmMain ? POINT{text.left / 2, text.top + text.height / 2}
                   : step.on == Control::fraTodo
                       ? POINT{frame.left + 4, frame.top + frame.height / 2}
                       : POINT{2, 2};
    ClientToScreen(step.on == Control::fraTodo ? w.Handle() : target, &screen);
    // The pointer's messages go where the hit test puts them, as the system's do.
    const HWND receiver = WindowFromPoint(screen);
    POINT client = screen;
    ScreenToClient(receiver, &client);
    GetCursorPos(&w.popupAt);
    if (step.event >= Event::KeyMenu) {
        SetFocus(target);
        ASSERT_EQ(GetFocus(), target) << ui::Describe(step.on).name;
        // The keyboard's popup opens by the middle of the focus.
        RECT rect{};
        GetClientRect(target, &rect);
        w.popupAt = {rect.right / 2, rect.bottom / 2};
        ClientToScreen(target, &w.popupAt);
    }
    constexpr UINT kMouse[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,
                               WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK};
    if (step.event <= Event::DoubleClick)
        SendMessageW(receiver, kMouse[static_cast<int>(step.event)], 0,
                     MAKELPARAM(client.x, client.y));
    if (step.event == Event::MouseMenu)
        SendMessageW(receiver, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(receiver),
                     MAKELPARAM(screen.x, screen.y));
    if (step.event == Event::KeyMenu)  // as DefWindowProc sends it: no pointer position
        SendMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(-1, -1));
    if (step.event == Event::Stroke || step.event == Event::Hold || step.event == Event::Tab)
        Stroke(w, step.event == Event::Tab ? VK_TAB : step.key, step.event == Event::Hold ? 2 : 0);
    if (step.event == Event::Reactivate) {
        SendMessageW(w.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
        SetFocus(w.Handle());
        SendMessageW(w.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    }
    if (step.event == Event::Tab || step.event == Event::Reactivate)
        for (const auto& control : ui::kControls) {
            const std::string name(control.name);
            if (GetFocus() == w[control.control]) w.journal.push_back("focus " + name);
            if (ui::IsActionLabel(control.control) && Framed(w[control.control]))
                w.journal.push_back("framed " + name);
        }
    if (step.event == Event::Default) {
        IAccessible* accessible = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(target, static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&accessible)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        const std::size_t asked = w.journal.size();
        EXPECT_EQ(accessible->accDoDefaultAction(self), S_OK);
        accessible->Release();
        // The box opens once the call has returned, from the label's own message.
        EXPECT_EQ(w.journal.size(), asked);
        EXPECT_TRUE(PumpUntil(w, [&] { return w.journal.size() > asked; }));
    }
}

// One row per kind of native event: what it must reach, as frmMain's requests to the fake
// system, the boxes and the popup, then which action labels are left lit.
TEST(Win32WindowTest, NativeEventsReachTheirHandlersAndTheirRequestsTheScreen) {
    const std::string sure = "box Sure?", privilege = "privilege", about = "box About Tolvane";
    using enum Event;
    using enum Control;
    const struct {
        const char* name;
        std::vector<Step> steps;
        int answer;
        std::vector<std::string> journal;
    } cases[] = {
        // clang-format off
        {"move onto restart", {{Move, lblRestart}}, IDNO, {"lit lblRestart"}},
        {"shut down, then the background", {{Move, lblShutDown}, {Move, frmMain}}, IDNO,
         {"lit lblShutDown"}},
        {"shut down, then the frame", {{Move, lblShutDown}, {Move, fraTodo}}, IDNO, {}},
        {"double-click shut down, Yes", {{DoubleClick, lblShutDown}}, IDYES,
         {sure, privilege, "request power off"}},
        {"a click and another key on a label",
         {{LeftDown, lblRestart}, {LeftUp, lblRestart}, {Stroke, lblRestart, 'A'}}, IDYES, {}},
        {"right press on the background", {{RightDown, frmMain}}, IDOK, {"popup", about}},
        {"the same, dismissed", {{RightDown, frmMain}}, IDCANCEL, {"popup"}},
        {"other presses, and right presses off the background",
         {{LeftDown, frmMain}, {MiddleDown, frmMain}, {RightDown, lblTip}, {RightDown, fraTodo}},
         IDOK, {}},
        {"the right button's context menus", {{MouseMenu, frmMain}, {MouseMenu, lblRestart}},
         IDOK, {}},
        {"Enter on restart, No", {{Stroke, lblRestart, VK_RETURN}}, IDNO, {sure}},
        {"Space on restart held, Yes", {{Hold, lblRestart, VK_SPACE}}, IDYES,
         {sure, privilege, "request restart"}},
        {"the keyboard's context menu by the focus",
         {{KeyMenu, frmMain}, {KeyMenu, txtUptime}, {KeyMenu, lblShutDown}}, IDOK,
         {"popup", about, "popup", about, "popup", about}},
        {"Tab through the focusable controls",
         {{Tab, txtUptime}, {Tab, lblShutDown}, {Tab, lblRestart}}, IDNO,
         {"focus lblShutDown", "framed lblShutDown", "focus lblRestart", "framed lblRestart",
          "focus txtUptime"}},
        {"the focus given back after a box", {{Reactivate, lblRestart}}, IDNO,
         {"focus lblRestart", "framed lblRestart"}},
        {"the default action of an action label", {{Default, lblShutDown}}, IDYES,
         {sure, privilege, "request power off"}},
        // clang-format on
    };
    // One shown window for all: the keys need the focus.
    TestWindow w(true);
    ASSERT_TRUE(w.created);
    for (const auto& c : cases) {
        Perform(w, {Move, fraTodo});  // both labels unlit
        w.journal.clear();
        w.answer = c.answer;
        for (const Step& step : c.steps) Perform(w, step);
        for (const Control label : {lblShutDown, lblRestart})
            if (w.Lit(label)) w.journal.push_back("lit " + std::string(ui::Describe(label).name));
        EXPECT_EQ(w.journal, c.journal) << c.name;
    }
}

// Over the whole window while a request waits, the text box included; then as before.
TEST(Win32WindowTest, WhileARequestWaitsThePointerShowsIt) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    w.system.answerAtOnce = false;
    w.answer = IDYES;
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

// Wine's oleacc keeps no annotations, so this stand-in for its annotation services,
// registered in this process for their CLSID, records the window's calls instead.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class RecordingPropServices final : public IAccPropServices, public IClassFactory {
  public:
    struct Call {
        HWND window;  // null unless a live window's own client object
        GUID property;
        std::wstring value;  // empty when cleared; a role by its number
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = iid == __uuidof(IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
        if (iid == IID_IAccPropServices || iid == __uuidof(IUnknown))
            *out = static_cast<IAccPropServices*>(this);
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID iid, void** out) override {
        return QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    STDMETHODIMP SetHwndProp(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                             VARIANT value) override {
        return Record(window, object, child, property, std::to_wstring(value.lVal));
    }
    STDMETHODIMP SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
        return Record(window, object, child, property, text);
    }
    STDMETHODIMP ClearHwndProps(HWND window, DWORD object, DWORD child,
                                const MSAAPROPID* properties, int count) override {
        for (int i = 0; i < count; ++i) Record(window, object, child, properties[i], L"");
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
    HRESULT Record(HWND window, DWORD object, DWORD child, const GUID& property,
                   std::wstring value) {
        const bool own = object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF;
        calls.push_back({own && IsWindow(window) ? window : nullptr, property, std::move(value)});
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
    const HWND shutDown = w[Control::lblShutDown], restart = w[Control::lblRestart];
    const HWND tip = w[Control::lblTip];
    const std::wstring button = std::to_wstring(ROLE_SYSTEM_PUSHBUTTON);
    // The heading by its whole text, however the label shortens it.
    std::vector<RecordingPropServices::Call> expected = {
        {shutDown, PROPID_ACC_ROLE, button},
        {shutDown, PROPID_ACC_DEFAULTACTION, L"Press"},
        {restart, PROPID_ACC_ROLE, button},
        {restart, PROPID_ACC_DEFAULTACTION, L"Press"},
        {tip, PROPID_ACC_NAME, L"\\\\PC1\r\nRunning Windows 2000 , has been up for:"},
    };
    EXPECT_EQ(services.calls, expected);
    // Taken off again while the labels are still there: the system reuses handles.
    for (const HWND label : {shutDown, restart})
        for (const GUID& property : {PROPID_ACC_ROLE, PROPID_ACC_DEFAULTACTION})
            expected.push_back({label, property, L""});
    expected.push_back({tip, PROPID_ACC_NAME, L""});
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
