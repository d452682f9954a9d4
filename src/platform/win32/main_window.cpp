#include "platform/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>

#include "platform/win32/child_controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/resources/resource_ids.h"
#include "platform/win32/text.h"

namespace tolvane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TolvaneMainWindow";
constexpr UINT_PTR kSubclassId = 1;

// A registered window class, unregistered when the program ends.
class WindowClass {
  public:
    WindowClass(HINSTANCE instance, WNDPROC procedure) : instance_(instance) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        // No CS_DBLCLKS: a second press on the background is another MouseDown.
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOLVANE));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        atom_ = RegisterClassExW(&windowClass);
    }
    ~WindowClass() {
        if (atom_) UnregisterClassW(kClassName, instance_);
    }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    explicit operator bool() const { return atom_ != 0; }

  private:
    HINSTANCE instance_;
    ATOM atom_ = 0;
};

GdiObject<HFONT> CreateControlFont(int dpi) {
    const int hundredthsOfPoint = static_cast<int>(std::lround(ui::kFontPointSize * 100));
    return GdiObject<HFONT>(
        CreateFontW(-MulDiv(hundredthsOfPoint, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, Widen(ui::kFontFamily).c_str()));
}

POINT PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

std::optional<MouseButton> ButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
            return MouseButton::Left;
        case WM_RBUTTONDOWN:
            return MouseButton::Right;
        case WM_MBUTTONDOWN:
            return MouseButton::Middle;
        default:
            return std::nullopt;
    }
}

Key KeyOf(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
            return Key::Enter;
        case VK_SPACE:
            return Key::Space;
        default:
            return Key::Other;
    }
}

// Enter or Space, pressed or typed (their characters '\r' and ' ' equal their key codes).
bool IsEnterOrSpace(const MSG* message) {
    return message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
           (message->wParam == VK_RETURN || message->wParam == VK_SPACE);
}

// A context menu asked for from the keyboard comes without a pointer position.
bool FromKeyboard(LPARAM lParam) {
    return GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1;
}

bool IsLabel(Control control) {
    return control != Control::frmMain && ui::Describe(control).kind == ui::ControlKind::Label;
}

// A thread's hook gets no data of its own.
thread_local ui::KeyGate* hookedKeys = nullptr;

LRESULT CALLBACK KeyMessageHook(int code, WPARAM removal, LPARAM lParam) {
    auto& message = *reinterpret_cast<MSG*>(lParam);
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
    if (code == HC_ACTION && removal == PM_REMOVE && key && hookedKeys) {
        const bool press = message.message == WM_KEYDOWN;
        const Key named = KeyOf(message.wParam);
        // Bit 30 of a press: the key was already down, so this is a repeat. The system tells
        // every repeat so, and two presses may share a timestamp (SendInput).
        const ui::KeyStroke stroke{static_cast<std::uint32_t>(message.wParam),
                                   press ? ui::KeyEdge::Press : ui::KeyEdge::Release, std::nullopt,
                                   press && (message.lParam & (1 << 30)) != 0,
                                   named == Key::Enter || named == Key::Space};
        if (!hookedKeys->Deliberate(stroke)) message.message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

MainWindow::KeyHook::KeyHook(ui::KeyGate& keys)
    : hook_(SetWindowsHookExW(WH_GETMESSAGE, &KeyMessageHook, nullptr, GetCurrentThreadId())) {
    hookedKeys = &keys;
}

MainWindow::KeyHook::~KeyHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hookedKeys = nullptr;
}

bool MainWindow::Create(HINSTANCE instance) {
    static const WindowClass windowClass(instance, &WindowProc);
    if (!windowClass) return false;
    {
        const ScopedPerMonitorDpiAwareness perMonitor;
        // A fixed tool window: caption and Close only, thin border, no sizing. Yet with a
        // taskbar button and an Alt+Tab entry, the keyboard's way back to it.
        if (!CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_APPWINDOW, kClassName,
                             Widen(ui::kWindowCaption).c_str(),
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this))
            return false;
    }
    CreateControls();
    ApplyDpi(WindowDpi(Handle()));
    CentreOnWorkArea();
    frmMain_.Load();
    SetTimer(Handle(), kTimerId, ui::kTimerIntervalMs, nullptr);
    return true;
}

void MainWindow::Show(int showCommand) {
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
}

void MainWindow::CreateControls() {
    forms_.Attach(Control::frmMain, Handle());
    // Creation order is the tab order.
    for (const auto& control : ui::kControls) {
        const HWND child = CreateChildControl(Handle(), control);
        forms_.Attach(control.control, child);
        const auto self = reinterpret_cast<DWORD_PTR>(this);
        if (control.kind == ui::ControlKind::Label)
            SetWindowSubclass(child, &LabelProc, kSubclassId, self);
        if (control.kind == ui::ControlKind::Frame)
            SetWindowSubclass(child, &FrameProc, kSubclassId, self);
        if (control.kind == ui::ControlKind::TextBox)
            SetWindowSubclass(child, &TextBoxProc, kSubclassId, self);
    }
}

void MainWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    forms_.SetDpi(dpi);
    GdiObject<HFONT> font = CreateControlFont(dpi);
    for (const auto& control : ui::kControls)
        SendMessageW(forms_.Window(control.control), WM_SETFONT,
                     reinterpret_cast<WPARAM>(font.get()), FALSE);
    font_ = std::move(font);  // the old font goes only once no control uses it
    for (const auto& control : ui::kControls) {
        const HWND child = forms_.Window(control.control);
        const SIZE text = control.autoSize ? MeasureText(child, font_.get()) : SIZE{};
        const ui::PixelRect rect = ClientRect(control, dpi, text);
        SetWindowPos(child, nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::CentreOnWorkArea() {
    const SIZE client{ui::TwipsToPixels(ui::kClientWidthTwips, dpi_),
                      ui::TwipsToPixels(ui::kClientHeightTwips, dpi_)};
    const SIZE outer = WindowSizeForClient(Handle(), client, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - outer.cx) / 2,
                 work.top + (work.bottom - work.top - outer.cy) / 2, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<Control> MainWindow::ControlOf(HWND child) const {
    for (const auto& control : ui::kControls)
        if (forms_.Window(control.control) == child) return control.control;
    return std::nullopt;
}

Control MainWindow::ControlAt(POINT client) const {
    // Backwards through the tab order: the action labels lie over the frame.
    for (auto control = ui::kControls.rbegin(); control != ui::kControls.rend(); ++control) {
        RECT rect{};
        GetWindowRect(forms_.Window(control->control), &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        if (PtInRect(&rect, client)) return control->control;
    }
    return Control::frmMain;
}

LRESULT MainWindow::LabelColors(HDC dc, Control label) const {
    SetTextColor(dc, ResolveColor(forms_.ForeColor(label)));
    SetBkMode(dc, TRANSPARENT);
    // A system brush: shared, never created here and never deleted.
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam != kTimerId) break;
            frmMain_.Timer();
            return 0;
        case WM_MOUSEMOVE:
            frmMain_.MouseMove(ControlAt(PointOf(lParam)));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            frmMain_.MouseDown(ControlAt(PointOf(lParam)), *ButtonOf(message));
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) != STN_DBLCLK) break;
            if (const auto label = ControlOf(reinterpret_cast<HWND>(lParam)))
                frmMain_.DblClick(*label);
            return 0;
        case WM_CTLCOLORSTATIC: {
            const auto control = ControlOf(reinterpret_cast<HWND>(lParam));
            if (!control || !IsLabel(*control)) break;
            return LabelColors(reinterpret_cast<HDC>(wParam), *control);
        }
        case WM_SETCURSOR:
            // Children ask here first: the wait shows over the whole window, text box included.
            // The application-starting pointer, as the window stays usable meanwhile.
            if (!forms_.Waiting() || LOWORD(lParam) != HTCLIENT) break;
            SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
            return TRUE;
        case WM_CONTEXTMENU:
            // A right-click opened the popup at its press already; only the keyboard's
            // request is news here.
            if (!FromKeyboard(lParam)) break;
            frmMain_.KeyDown(ControlOf(reinterpret_cast<HWND>(wParam)).value_or(Control::frmMain),
                             Key::ContextMenu);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                focusBeforeDeactivation_ = GetFocus();
            } else if (focusBeforeDeactivation_ && IsChild(Handle(), focusBeforeDeactivation_)) {
                SetFocus(focusBeforeDeactivation_);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            ApplyDpi(LOWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(Handle(), nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SYSCOLORCHANGE:
            // Top-level windows pass it on: the common controls hear of it no other way.
            forms_.ForwardToControls(message, wParam, lParam);
            break;
        case WM_DESTROY:
            // Before the labels go (a window is told before its children).
            *labelsConnected_ = false;
            KillTimer(Handle(), kTimerId);
            // Closing the window ends the program.
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<MainWindow*>(data);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(label, &LabelProc, id);
    const auto control = self->ControlOf(label);
    if (!control) return DefSubclassProc(label, message, wParam, lParam);
    if (message == WM_MOUSEMOVE) self->frmMain_.MouseMove(*control);
    if (const auto button = ButtonOf(message)) self->frmMain_.MouseDown(*control, *button);
    // Named by its tooltip where it has one: the whole text, which the label may shorten.
    if (message == WM_GETOBJECT) {
        const bool action = ui::IsActionLabel(*control);
        if (const LRESULT object = AnswerGetObject(
                label, wParam, lParam,
                {action, action ? Widen(ui::ActionName(*control)) : self->forms_.ToolTip(*control),
                 self->labelsConnected_}))
            return object;
    }
    if (ui::IsActionLabel(*control)) {
        if (message == kPressMessage) {
            self->frmMain_.Activate(*control);
            return 0;
        }
        if (const auto result = self->LabelKeyboard(label, *control, message, wParam, lParam))
            return *result;
    }
    return DefSubclassProc(label, message, wParam, lParam);
}

std::optional<LRESULT> MainWindow::LabelKeyboard(HWND label, Control control, UINT message,
                                                 WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            // Without this the dialog manager takes Enter for the default button, and the
            // label never sees it.
            if (!IsEnterOrSpace(reinterpret_cast<const MSG*>(lParam))) return std::nullopt;
            return DefSubclassProc(label, message, wParam, lParam) | DLGC_WANTMESSAGE;
        case WM_KEYDOWN:
            // Only deliberate presses get here (KeyHook).
            frmMain_.KeyDown(control, KeyOf(wParam));
            return std::nullopt;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
            InvalidateRect(label, nullptr, TRUE);
            return std::nullopt;
        case WM_PAINT: {
            if (GetFocus() != label) return std::nullopt;
            // The whole label afresh, so the inverting frame lands on clean pixels.
            InvalidateRect(label, nullptr, TRUE);
            const LRESULT result = DefSubclassProc(label, message, wParam, lParam);
            DrawFocusFrame(label);
            return result;
        }
        default:
            return std::nullopt;
    }
}

LRESULT CALLBACK MainWindow::TextBoxProc(HWND textBox, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR) {
    // From the keyboard, the window's popup as anywhere else in it; a right-click keeps
    // the edit field's own menu.
    if (message == WM_CONTEXTMENU && FromKeyboard(lParam))
        return SendMessageW(GetParent(textBox), WM_CONTEXTMENU, wParam, lParam);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(textBox, &TextBoxProc, id);
    return DefSubclassProc(textBox, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR) {
    // The frame's surface belongs to the window, which tells it from the labels on it.
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(frame, &FrameProc, id);
    return DefSubclassProc(frame, message, wParam, lParam);
}

}  // namespace tolvane::win32
