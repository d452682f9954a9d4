#include "platform/win32/win32_forms.h"

#include <commctrl.h>

#include "platform/win32/resources/resource_ids.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "ui/window_description.h"

namespace tolvane::win32 {
namespace {

struct DestroyMenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuHandle = UniqueHandle<HMENU, DestroyMenuDeleter>;

std::size_t IndexOf(Control control) {
    return static_cast<std::size_t>(control);
}

int ShowMessageBox(const MessageBoxRequest& request) {
    return MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.type);
}

UINT TrackAt(HWND owner, HMENU menu, POINT at) {
    return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                            at.x, at.y, 0, owner, nullptr));
}

// The hidden top-level menu mnuAbout with its one item; only its items are ever shown.
MenuHandle BuildAboutMenu() {
    MenuHandle bar(CreateMenu());
    HMENU items = CreatePopupMenu();
    AppendMenuW(items, MF_STRING, IDM_ABOUT_TOLVANE, Widen(ui::kMenuAboutTolvaneText).c_str());
    // The bar owns the items' menu from here on and destroys it with itself.
    AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(items),
                Widen(ui::kMenuAboutText).c_str());
    return bar;
}

// Asks the window under the pointer, if it is ours, to set the pointer again now rather
// than at the pointer's next move.
void RefreshPointer(HWND window) {
    POINT at{};
    if (!window || !GetCursorPos(&at)) return;
    const HWND under = WindowFromPoint(at);
    if (!under || (under != window && !IsChild(window, under))) return;
    const auto hit =
        static_cast<WORD>(SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(hit, WM_MOUSEMOVE));
}

}  // namespace

COLORREF ResolveColor(OleColor color) {
    if (color & 0x80000000u) return GetSysColor(SystemColorIndex(color));
    return static_cast<COLORREF>(color);
}

Win32Forms::Win32Forms(ui::KeyGate& keys)
    : keys_(keys), presentBox_(ShowMessageBox), presentMenu_(TrackAt) {
    colors_.fill(kColorButtonText);
}

void Win32Forms::Attach(Control control, HWND window) {
    windows_[IndexOf(control)] = window;
}

HWND Win32Forms::Window(Control control) const {
    return windows_[IndexOf(control)];
}

OleColor Win32Forms::ForeColor(Control control) const {
    return colors_[IndexOf(control)];
}

void Win32Forms::SetText(Control control, const std::string& text) {
    const HWND window = Window(control);
    // The text box keeps its caret (the beginning at first, which then shows) rather than
    // have it put back at the start every second.
    DWORD caret = 0;
    if (control == Control::txtUptime)
        SendMessageW(window, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    // Static and edit controls take CR LF as their line break, as the texts carry it.
    SetWindowTextW(window, Widen(text).c_str());
    if (control == Control::txtUptime)
        SendMessageW(window, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

std::string Win32Forms::Text(Control control) {
    const HWND window = Window(control);
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return Narrow(text);
}

bool Win32Forms::FitsOnOneLine(Control control, const std::string& line) {
    const HWND window = Window(control);
    RECT client{};
    GetClientRect(window, &client);
    // Within the main window too (the heading is a pixel wider), and clear of its edges.
    RECT main{};
    GetClientRect(Window(Control::frmMain), &main);
    MapWindowPoints(Window(Control::frmMain), window, reinterpret_cast<POINT*>(&main), 2);
    IntersectRect(&client, &client, &main);
    const HDC dc = GetDC(window);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    const std::wstring text = Widen(line);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const int margin = MulDiv(3, dpi_, 96);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return size.cx <= client.right - client.left - 2 * margin;
}

void Win32Forms::ForwardToControls(UINT message, WPARAM wParam, LPARAM lParam) const {
    for (const HWND window : windows_)
        if (window != Window(Control::frmMain)) SendMessageW(window, message, wParam, lParam);
    if (toolTips_) SendMessageW(toolTips_, message, wParam, lParam);
}

void Win32Forms::SetToolTip(Control control, const std::string& text) {
    const HWND owner = Window(Control::frmMain);
    if (!toolTips_) {
        const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        toolTips_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
        // Lines break where the text breaks them.
        SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, 4096);
    }
    std::wstring wide = Widen(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(Window(control));
    tool.lpszText = wide.data();
    SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Win32Forms::ToolTip(Control control) const {
    wchar_t text[1024]{};
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Window(Control::frmMain);
    tool.uId = reinterpret_cast<UINT_PTR>(Window(control));
    tool.lpszText = text;
    if (toolTips_) SendMessageW(toolTips_, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    return text;
}

void Win32Forms::SetForeColor(Control control, OleColor color) {
    colors_[IndexOf(control)] = color;
    // Drawn from the stored colour at the next WM_CTLCOLORSTATIC.
    InvalidateRect(Window(control), nullptr, TRUE);
}

int Win32Forms::MsgBox(const std::string& prompt, int style, const std::string& title) {
    // The style values are MessageBoxW's own: 4 is MB_YESNO, 32 MB_ICONQUESTION, 64
    // MB_ICONINFORMATION; the first button (Yes, OK) is the default.
    const auto type = static_cast<UINT>(style) | MB_DEFBUTTON1 | MB_APPLMODAL;
    // A key already down must not answer it, nor a held one.
    const ui::KeyGate::Box open(keys_);
    return presentBox_({Window(Control::frmMain), Widen(prompt), Widen(title), type});
}

POINT Win32Forms::PopupPosition(PopupPlace place) const {
    POINT at{};
    if (place == PopupPlace::AtPointer) {
        GetCursorPos(&at);
        return at;
    }
    // By the middle of whatever in the window has the focus, or of the window itself.
    const HWND window = Window(Control::frmMain);
    HWND focus = GetFocus();
    if (!focus || (focus != window && !IsChild(window, focus))) focus = window;
    RECT rect{};
    GetClientRect(focus, &rect);
    at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(focus, &at);
    return at;
}

MenuItem Win32Forms::PopupAboutMenu(PopupPlace place) {
    const MenuHandle bar = BuildAboutMenu();
    const UINT chosen =
        presentMenu_(Window(Control::frmMain), GetSubMenu(bar.get(), 0), PopupPosition(place));
    return chosen == IDM_ABOUT_TOLVANE ? MenuItem::mnuAboutTolvane : MenuItem::None;
}

void Win32Forms::SetWaiting(bool waiting) {
    waiting_ = waiting;
    RefreshPointer(Window(Control::frmMain));
}

}  // namespace tolvane::win32
