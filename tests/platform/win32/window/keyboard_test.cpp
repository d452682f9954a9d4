#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <initguid.h>
// After initguid.h, so that oleacc's GUIDs are defined here.
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/resources/resource_ids.h"
#include "test_window.h"

namespace tolvane::win32::testing {
namespace {

// A key message put through the dialog manager as the program's message loop does, so
// Tab and Enter meet IsDialogMessage before any control sees them.
void Key(TestWindow& w, UINT message, WPARAM virtualKey) {
    // A release carries the previous-state and transition bits (30 and 31), repeat count 1.
    const auto keyData = static_cast<LPARAM>(message == WM_KEYUP ? 0xC0000001u : 1u);
    MSG msg{GetFocus(), message, virtualKey, keyData, 0, {}};
    if (!IsDialogMessageW(w.Handle(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // TranslateMessage may have posted the key's character.
    MSG posted;
    while (PeekMessageW(&posted, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE))
        if (!IsDialogMessageW(w.Handle(), &posted)) DispatchMessageW(&posted);
}
// A key message as the system queues it for the focus, taken from the queue as the
// program's loop takes it, so it passes the program's key hook first.
void Queued(TestWindow& w, UINT message, WPARAM virtualKey, bool repeat = false) {
    const auto keyData = static_cast<LPARAM>(message == WM_KEYUP ? 0xC0000001u
                                             : repeat            ? 0x40000001u
                                                                 : 1u);
    PostMessageW(GetFocus(), message, virtualKey, keyData);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(w.Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
void Stroke(TestWindow& w, WPARAM virtualKey) {
    Key(w, WM_KEYDOWN, virtualKey);
    Key(w, WM_KEYUP, virtualKey);
}

POINT ScreenCentre(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(window, &centre);
    return centre;
}

LPARAM FromKeyboard() {
    return MAKELPARAM(-1, -1);
}

TEST(Win32KeyboardTest, TabGoesFromTheTextBoxToShutDownThenRestartAndRoundAgain) {
    TestWindow w(TestWindow::Shown::Yes);
    ASSERT_TRUE(w.created);
    EXPECT_EQ(GetNextDlgTabItem(w.Handle(), nullptr, FALSE), w[Control::txtUptime]);
    SetFocus(w[Control::txtUptime]);
    ASSERT_EQ(GetFocus(), w[Control::txtUptime]);
    for (const Control next : {Control::lblShutDown, Control::lblRestart, Control::txtUptime}) {
        Stroke(w, VK_TAB);
        EXPECT_EQ(GetFocus(), w[next]) << ui::Describe(next).name;
    }
    EXPECT_TRUE(w.boxes.empty() && w.popups.empty());
}

TEST(Win32KeyboardTest, EnterOrSpaceOnALabelAsksAsItsDoubleClickDoes) {
    const std::wstring reboot = L"Are you sure you want to reboot the computer?";
    const std::wstring shutDown = L"Are you sure you want to shut the computer down?";
    const struct {
        Control label;
        WPARAM key;
        int answer;
        std::wstring prompt;
        std::vector<std::string> journal;
    } cases[] = {
        {Control::lblRestart, VK_RETURN, IDNO, reboot, {"box Sure?"}},
        {Control::lblRestart,
         VK_SPACE,
         IDYES,
         reboot,
         {"box Sure?", "privilege", "request restart"}},
        {Control::lblShutDown, VK_SPACE, IDNO, shutDown, {"box Sure?"}},
        {Control::lblShutDown,
         VK_RETURN,
         IDYES,
         shutDown,
         {"box Sure?", "privilege", "request power off"}},
    };
    // One shown window for all: under Wine each shown window costs seconds to close.
    TestWindow w(TestWindow::Shown::Yes);
    ASSERT_TRUE(w.created);
    for (const auto& c : cases) {
        w.journal.clear();
        w.boxes.clear();
        w.boxAnswer = c.answer;
        SetFocus(w[c.label]);
        ASSERT_EQ(GetFocus(), w[c.label]);
        Sleep(50);  // a press in the same millisecond as a release would be its repeat
        Queued(w, WM_KEYDOWN, c.key);
        EXPECT_EQ(w.journal, c.journal) << ui::Describe(c.label).name << ' ' << c.key;
        ASSERT_EQ(w.boxes.size(), 1u);
        EXPECT_EQ(w.boxes[0].owner, w.Handle());
        EXPECT_EQ(w.boxes[0].text, c.prompt);
        EXPECT_EQ(w.boxes[0].type & (MB_TYPEMASK | MB_ICONMASK), 36u);  // MB_YESNO|MB_ICONQUESTION
        // Held on, its repeats and release ask nothing more: the box's default answer is Yes.
        Queued(w, WM_KEYDOWN, c.key, true);
        Queued(w, WM_KEYDOWN, c.key, true);
        Queued(w, WM_KEYUP, c.key);
        EXPECT_EQ(w.boxes.size(), 1u);
        // Pressed afresh, it asks again.
        Sleep(50);
        Queued(w, WM_KEYDOWN, c.key);
        Queued(w, WM_KEYUP, c.key);
        EXPECT_EQ(w.boxes.size(), 2u);
        EXPECT_TRUE(w.popups.empty());
    }
}

// COM for one test, in the window's own apartment kind.
struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// A stand-in for oleacc's annotation services, registered in this process for its
// CLSID: Wine's oleacc keeps no annotations (it reports the plain STATIC's role and no
// default action), so the window's calls are read here instead. Lives on the stack.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class RecordingPropServices final : public IAccPropServices, public IClassFactory {
  public:
    struct Call {
        bool set;  // else cleared
        HWND label;
        bool labelAlive;
        bool client;  // the label's client object itself
        GUID property;
        std::wstring value;  // a string, or the role's number
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == IID_IAccPropServices) {
            *out = static_cast<IAccPropServices*>(this);
        } else if (iid == __uuidof(IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
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
        Record(true, window, object, child, property, role);
        return S_OK;
    }
    STDMETHODIMP SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
        Record(true, window, object, child, property, text);
        return S_OK;
    }
    STDMETHODIMP ClearHwndProps(HWND window, DWORD object, DWORD child,
                                const MSAAPROPID* properties, int count) override {
        for (int i = 0; i < count; ++i) Record(false, window, object, child, properties[i], L"");
        return S_OK;
    }
    // Nothing else is expected of the window.
    STDMETHODIMP SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return Odd(); }
    STDMETHODIMP SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                               AnnoScope) override {
        return Odd();
    }
    STDMETHODIMP ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return Odd(); }
    STDMETHODIMP SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                   AnnoScope) override {
        return Odd();
    }
    STDMETHODIMP ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
        return Odd();
    }
    STDMETHODIMP DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
        return Odd();
    }
    STDMETHODIMP SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return Odd(); }
    STDMETHODIMP SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return Odd(); }
    STDMETHODIMP SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                    AnnoScope) override {
        return Odd();
    }
    STDMETHODIMP ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return Odd(); }
    STDMETHODIMP ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return Odd(); }
    STDMETHODIMP DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
        return Odd();
    }

  private:
    void Record(bool set, HWND window, DWORD object, DWORD child, const GUID& property,
                std::wstring value) {
        const bool client = object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF;
        calls.push_back(
            {set, window, IsWindow(window) != FALSE, client, property, std::move(value)});
    }
    HRESULT Odd() {
        ADD_FAILURE() << "an annotation call the window should not make";
        return E_NOTIMPL;
    }
};
#pragma GCC diagnostic pop

TEST(Win32KeyboardTest, TheActionLabelsAreAnnotatedAsPushButtonsWhoseDefaultActionIsPress) {
    const ComApartment com;
    RecordingPropServices services;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&services),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    std::vector<RecordingPropServices::Call> expected;
    {
        TestWindow w;
        ASSERT_TRUE(w.created);
        for (const Control label : {Control::lblShutDown, Control::lblRestart}) {
            expected.push_back({true, w[label], true, true, PROPID_ACC_ROLE,
                                std::to_wstring(ROLE_SYSTEM_PUSHBUTTON)});
            expected.push_back({true, w[label], true, true, PROPID_ACC_DEFAULTACTION, L"Press"});
        }
        EXPECT_EQ(services.calls, expected);
        // Taken off again while the labels are still there.
        for (const Control label : {Control::lblShutDown, Control::lblRestart})
            for (const GUID& property : {PROPID_ACC_ROLE, PROPID_ACC_DEFAULTACTION})
                expected.push_back({false, w[label], true, true, property, L""});
    }
    EXPECT_EQ(services.calls, expected);
    CoRevokeClassObject(cookie);
}

// As a screen reader does it: the label's object from oleacc, and its default action.
TEST(Win32KeyboardTest, TheDefaultActionOfAnActionLabelAsksAsEnterDoes) {
    const struct {
        Control label;
        std::wstring prompt;
    } cases[] = {
        {Control::lblRestart, L"Are you sure you want to reboot the computer?"},
        {Control::lblShutDown, L"Are you sure you want to shut the computer down?"},
    };
    const ComApartment com;
    TestWindow w;
    ASSERT_TRUE(w.created);
    w.journal.clear();
    for (const auto& c : cases) {
        const std::string name(ui::Describe(c.label).name);
        w.boxes.clear();
        IAccessible* raw = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(w[c.label], static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible), reinterpret_cast<void**>(&raw)),
                  S_OK)
            << name;
        const std::unique_ptr<IAccessible, decltype([](IAccessible* a) { a->Release(); })>
            accessible(raw);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        ASSERT_EQ(accessible->accDoDefaultAction(self), S_OK) << name;
        // The box opens once the call has returned, from the label's own message.
        EXPECT_TRUE(w.boxes.empty()) << name;
        ASSERT_TRUE(PumpUntil([&] { return !w.boxes.empty(); })) << name;
        ASSERT_EQ(w.boxes.size(), 1u);
        EXPECT_EQ(w.boxes[0].text, c.prompt);
    }
    EXPECT_EQ(w.journal, (std::vector<std::string>{"box Sure?", "box Sure?"}));  // both No
}

TEST(Win32KeyboardTest, KeysInTheTextBoxOrOtherKeysAskNothing) {
    TestWindow w(TestWindow::Shown::Yes);
    ASSERT_TRUE(w.created);
    w.journal.clear();
    SetFocus(w[Control::txtUptime]);
    Stroke(w, VK_RETURN);
    Stroke(w, VK_SPACE);
    SetFocus(w[Control::lblRestart]);
    for (const WPARAM key : {WPARAM{'A'}, WPARAM{VK_ESCAPE}, WPARAM{VK_DOWN}}) Stroke(w, key);
    EXPECT_TRUE(w.boxes.empty());
    EXPECT_TRUE(w.popups.empty());
    EXPECT_TRUE(w.journal.empty());
}

TEST(Win32KeyboardTest, TheKeyboardsContextMenuOpensThePopupByTheFocusFromAnywhere) {
    const struct {
        Control focus;  // frmMain: the window itself
        UINT choice;
    } cases[] = {
        {Control::frmMain, IDM_ABOUT_TOLVANE},
        {Control::txtUptime, 0},
        {Control::lblShutDown, IDM_ABOUT_TOLVANE},
        {Control::lblRestart, 0},
    };
    TestWindow w(TestWindow::Shown::Yes);
    ASSERT_TRUE(w.created);
    for (const auto& c : cases) {
        w.journal.clear();
        w.boxes.clear();
        w.popups.clear();
        w.popupChoice = c.choice;
        const HWND focus = c.focus == Control::frmMain ? w.Handle() : w[c.focus];
        SetFocus(focus);
        ASSERT_EQ(GetFocus(), focus);
        // What DefWindowProc sends the focused window for Shift+F10 or the menu key.
        SendMessageW(focus, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(focus), FromKeyboard());
        const char* name =
            c.focus == Control::frmMain ? "frmMain" : ui::Describe(c.focus).name.data();
        ASSERT_EQ(w.popups.size(), 1u) << name;
        EXPECT_EQ(w.popups[0].owner, w.Handle());
        EXPECT_EQ(w.popups[0].items,
                  (std::vector<std::pair<UINT, std::wstring>>{{IDM_ABOUT_TOLVANE, L"&About..."}}));
        const POINT centre = ScreenCentre(focus);
        EXPECT_EQ(w.popups[0].at.x, centre.x) << name;
        EXPECT_EQ(w.popups[0].at.y, centre.y) << name;
        ASSERT_EQ(w.boxes.size(), c.choice ? 1u : 0u) << name;
        if (c.choice) {
            EXPECT_EQ(w.boxes[0].caption, L"About Tolvane");
        }
        EXPECT_TRUE(w.journal.size() == w.boxes.size()) << name;
    }
}

TEST(Win32KeyboardTest, TheMousesContextMenuMessagesOpenNothingMore) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    // What follows a right button's release over the background and over a label.
    POINT background = w.PointOnBackground();
    ClientToScreen(w.Handle(), &background);
    SendMessageW(w.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.Handle()),
                 MAKELPARAM(background.x, background.y));
    POINT label = w.PointOver(Control::lblRestart);
    ClientToScreen(w.Handle(), &label);
    SendMessageW(w[Control::lblRestart], WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(w[Control::lblRestart]), MAKELPARAM(label.x, label.y));
    EXPECT_TRUE(w.popups.empty());
}

TEST(Win32KeyboardTest, TheFocusComesBackToTheLabelWhenTheWindowIsActiveAgain) {
    TestWindow w(TestWindow::Shown::Yes);
    ASSERT_TRUE(w.created);
    SetFocus(w[Control::lblRestart]);
    ASSERT_EQ(GetFocus(), w[Control::lblRestart]);
    // As around a message box: deactivated, the window itself focused, then activated.
    SendMessageW(w.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(w.Handle());
    SendMessageW(w.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), w[Control::lblRestart]);
}

// Pixels of the label's outermost rows and columns that differ from the face colour.
int MarkedEdgePixels(HWND label) {
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT rect{};
    GetClientRect(label, &rect);
    const HDC dc = GetDC(label);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int marked = 0;
    for (int x = 0; x < rect.right; ++x)
        for (const int y : {0, static_cast<int>(rect.bottom) - 1})
            if (GetPixel(dc, x, y) != face) ++marked;
    ReleaseDC(label, dc);
    return marked;
}

TEST(Win32KeyboardTest, OnlyAFocusedLabelHasAFocusRectangle) {
    TestWindow w(TestWindow::Shown::Yes);
    ASSERT_TRUE(w.created);
    const HWND restart = w[Control::lblRestart];
    SetFocus(w[Control::txtUptime]);
    const int unfocused = MarkedEdgePixels(restart);
    Stroke(w, VK_TAB);
    Stroke(w, VK_TAB);
    ASSERT_EQ(GetFocus(), restart);
    RECT rect{};
    GetClientRect(restart, &rect);
    // A dotted line along the top and bottom rows: every other pixel at least.
    EXPECT_GE(MarkedEdgePixels(restart), unfocused + rect.right / 2);
    // Drawn again, it is still there: the inverting frame does not undo itself.
    EXPECT_GE(MarkedEdgePixels(restart), unfocused + rect.right / 2);
    Stroke(w, VK_TAB);
    ASSERT_EQ(GetFocus(), w[Control::txtUptime]);
    EXPECT_EQ(MarkedEdgePixels(restart), unfocused);
}

}  // namespace
}  // namespace tolvane::win32::testing
