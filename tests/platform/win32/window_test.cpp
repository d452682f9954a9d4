// The Win32 window: its native controls laid out from the window description, and its
// translation of native messages into frmMain's handlers and of their requests into
// native calls. The rules themselves are the handlers' and are tested there.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <initguid.h>
// After initguid.h, so that oleacc's GUIDs are defined here.
#include <oleacc.h>

#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/win32/main_window.h"
#include "platform/win32/text.h"
#include "platform/window_events.h"

namespace tolvane::win32 {
namespace {

using window_test::Event;

const std::wstring kHeading = L"\\\\\u00C5SA-\u65E5\r\nRunning Windows 2000 , has been up for:";

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
            return yes ? (sure ? IDYES : IDOK) : IDNO;
        });
        window.Forms().SetMenuPresenter([this](HWND owner, HMENU menu, POINT at) {
            EXPECT_EQ(owner, Handle());
            EXPECT_EQ(GetMenuItemCount(menu), 1);
            const bool there = at.x == popupAt.x && at.y == popupAt.y;
            journal.push_back(there ? "popup" : "popup elsewhere");
            return yes ? GetMenuItemID(menu, 0) : 0u;
        });
        system.machineName = "\xC3\x85SA-\xE6\x97\xA5";
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

    // Where `control` is, in the client coordinates of `in`.
    ui::PixelRect RectOf(Control control, Control in = Control::frmMain) const {
        RECT r{};
        GetWindowRect((*this)[control], &r);
        MapWindowPoints(nullptr, (*this)[control == in ? Control::frmMain : in],
                        reinterpret_cast<POINT*>(&r), 2);
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

// A key pressed, held for `repeats`, and released, queued for the focus as the system
// queues it: lParam's bit 30 for a key already down, bit 31 for its release.
void Stroke(const TestWindow& w, WPARAM key, LPARAM flags, int repeats = 0) {
    Sleep(30);  // a press in the same millisecond as a release would be its repeat
    for (int i = 0; i <= repeats + 1; ++i) {
        const LPARAM down = i > 0 ? 1 << 30 : 0, up = i > repeats ? LPARAM{1} << 31 : 0;
        PostMessageW(GetFocus(), up ? WM_KEYUP : WM_KEYDOWN, key, 1 | flags | down | up);
        Drain(w);
    }
}

TEST(Win32WindowTest, AFixedToolWindowLaidOutFromTheDescriptionAtTwoDpisWithItsTexts) {
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
        for (const auto& control : ui::kControls) {
            SCOPED_TRACE(control.name);
            const HWND child = w[control.control];
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)),
                      w.window.Font());
            // Measured here apart from the window's code.
            const HDC dc = CreateCompatibleDC(nullptr);
            const HGDIOBJ previous = SelectObject(dc, w.window.Font());
            const std::wstring text = Widen(control.text);
            SIZE size{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            SelectObject(dc, previous);
            DeleteDC(dc);
            EXPECT_EQ(w.RectOf(control.control, control.container),
                      window_test::ExpectedRect(control, dpi, size.cx, size.cy));
        }
    }
    EXPECT_EQ(GetObjectType(first), 0u);  // the font it replaced is gone, not leaked
    // Texts cross as UTF-16 both ways, and the heading is measured in its font.
    Win32Forms& forms = w.window.Forms();
    EXPECT_EQ(forms.ToolTip(Control::lblTip), kHeading);
    EXPECT_EQ(Widen(forms.Text(Control::lblTip)), kHeading);  // whole, as it fits
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

// A row's event natively: the pointer's messages where the hit test puts them, the keys
// queued for the focus.
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
        ASSERT_EQ(GetFocus(), target) << ui::Describe(on).name;
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
        int repeats = 0;
    } kNative[] = {
        {Event::Move, {WM_MOUSEMOVE}},
        {Event::Click, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {Event::MiddlePress, {WM_MBUTTONDOWN}},
        {Event::RightPress, {WM_RBUTTONDOWN}},
        {Event::DoubleClick, {WM_LBUTTONDBLCLK}},
        {Event::Enter, {}, VK_RETURN},
        {Event::KeypadEnter, {}, VK_RETURN, 1 << 24},
        {Event::HeldSpace, {}, VK_SPACE, 0, 2},
        {Event::Repeats, {}, VK_SPACE, 1 << 30, 1},
        {Event::OtherKey, {}, 'A'},
        {Event::Tab, {}, VK_TAB},
    };
    for (const auto& native : kNative) {
        if (native.event != event) continue;
        for (const UINT message : native.mouse)
            SendMessageW(receiver, message, 0, MAKELPARAM(client.x, client.y));
        if (native.key) Stroke(w, native.key, native.flags, native.repeats);
    }
    if (event == Event::RightMenu)
        SendMessageW(receiver, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(receiver),
                     MAKELPARAM(screen.x, screen.y));
    if (event == Event::MenuKey)  // as DefWindowProc sends it: no pointer position
        SendMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(-1, -1));
    if (event == Event::Reactivate) {
        SendMessageW(w.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
        SetFocus(w.Handle());
        SendMessageW(w.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    }
    if (event == Event::Click || event == Event::Tab || event == Event::Reactivate)
        for (const auto& control : ui::kControls) {
            const std::string name(control.name);
            if (GetFocus() == w[control.control]) w.journal.push_back("focus " + name);
            if (ui::IsActionLabel(control.control) && Framed(w[control.control]))
                w.journal.push_back("framed " + name);
        }
    if (event == Event::Default) {
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
        for (const ULONGLONG end = GetTickCount64() + 10'000;
             w.journal.size() == asked && GetTickCount64() < end; Drain(w))
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

TEST(Win32WindowTest, NativeEventsReachTheirHandlersAndTheirRequestsTheScreen) {
    // One shown window for all: the keys need the focus.
    TestWindow w(true);
    ASSERT_TRUE(w.created);
    for (const auto& row : window_test::Rows()) {
        if (row.only == window_test::Toolkit::Qt) continue;
        Perform(w, Event::Move, Control::fraTodo);  // both labels unlit
        SetFocus(w[Control::txtUptime]);
        w.journal.clear();
        w.yes = row.yes;
        for (const auto& step : row.steps) Perform(w, step.event, step.on);
        for (const Control label : {Control::lblShutDown, Control::lblRestart})
            if (w.Lit(label)) w.journal.push_back("lit " + std::string(ui::Describe(label).name));
        EXPECT_EQ(w.journal, row.journal) << row.name;
    }
}

// Over the whole window while a request waits, the text box included; then as before.
TEST(Win32WindowTest, WhileARequestWaitsThePointerShowsIt) {
    TestWindow w;
    ASSERT_TRUE(w.created);
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
        return E_NOTIMPL;                     \
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
        {shutDown, PROPID_ACC_ROLE, button}, {shutDown, PROPID_ACC_DEFAULTACTION, L"Press"},
        {restart, PROPID_ACC_ROLE, button},  {restart, PROPID_ACC_DEFAULTACTION, L"Press"},
        {tip, PROPID_ACC_NAME, kHeading},
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
