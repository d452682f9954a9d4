#include "platform/win32/child_controls.h"

#include <string>

#include "platform/win32/text.h"

namespace tolvane::win32 {
namespace {

struct NativeClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

NativeClass NativeClassFor(const ui::ControlDescription& control) {
    switch (control.kind) {
        case ui::ControlKind::Label: {
            // SS_NOTIFY: the label answers hit tests itself, so it gets its own moves and
            // double-clicks and the window sees none over it.
            DWORD style = SS_NOPREFIX | SS_NOTIFY;
            style |= control.centred ? SS_CENTER : SS_LEFT;
            // Tab stops at the labels that act, so the keyboard can reach them too.
            if (ui::IsActionLabel(control.control)) style |= WS_TABSTOP;
            return {L"STATIC", style, 0};
        }
        case ui::ControlKind::TextBox:
            return {L"EDIT", ES_LEFT | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ui::ControlKind::Frame:
            return {L"BUTTON", BS_GROUPBOX, 0};
    }
    return {L"STATIC", 0, 0};
}

// A window's device context, released with the window it came from.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

}  // namespace

HWND CreateChildControl(HWND parent, const ui::ControlDescription& control) {
    const NativeClass native = NativeClassFor(control);
    return CreateWindowExW(native.exStyle, native.name, Widen(control.text).c_str(),
                           WS_CHILD | WS_VISIBLE | native.style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control))),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                           nullptr);
}

ui::PixelRect ClientRect(const ui::ControlDescription& control, int dpi, SIZE textSize) {
    ui::PixelRect rect = control.autoSize
                             ? ui::AutoSizedLabelRect(control, textSize.cx, textSize.cy, dpi)
                             : ui::ToPixels(control.rect, dpi);
    if (control.container != Control::frmMain) {
        const ui::PixelRect container = ui::ToPixels(ui::Describe(control.container).rect, dpi);
        rect.left += container.left;
        rect.top += container.top;
    }
    return rect;
}

SIZE MeasureText(HWND window, HFONT font) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));

    const WindowDc dc(window);
    const HGDIOBJ previous = SelectObject(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), length, &size);
    SelectObject(dc.get(), previous);
    return size;
}

void DrawFocusFrame(HWND label) {
    if (SendMessageW(label, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
    RECT rect{};
    GetClientRect(label, &rect);
    const WindowDc dc(label);
    DrawFocusRect(dc.get(), &rect);
}

}  // namespace tolvane::win32
