#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "platform/forms.h"
#include "ui/key_gate.h"

namespace tolvane::win32 {

// What MessageBoxW would be given.
struct MessageBoxRequest {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// A system colour reference (0x80000000 + index) as the current system colour; any
// other value is already an RGB colour.
COLORREF ResolveColor(OleColor color);

// The forms services on native Win32 controls. The window attaches its controls.
class Win32Forms final : public Forms {
  public:
    // How a box or the popup is put before the user. The defaults are MessageBoxW and
    // TrackPopupMenu; tests put in one that inspects it and answers as a user would.
    // A box's answer is MessageBoxW's: IDYES, IDNO, IDOK.
    using BoxPresenter = std::function<int(const MessageBoxRequest&)>;
    // `menu` for `owner` at `at` on the screen; the chosen command, 0 when dismissed.
    using MenuPresenter = std::function<UINT(HWND owner, HMENU menu, POINT at)>;

    // keys hears of every message box as it opens.
    explicit Win32Forms(ui::KeyGate& keys);

    void Attach(Control control, HWND window);
    HWND Window(Control control) const;
    OleColor ForeColor(Control control) const;
    std::wstring ToolTip(Control control) const;  // empty when it has none

    // The DPI the window is laid out at, its own monitor's.
    void SetDpi(int dpi) { dpi_ = dpi; }
    // `message` sent to every control, the tooltips included.
    void ForwardToControls(UINT message, WPARAM wParam, LPARAM lParam) const;

    void SetBoxPresenter(BoxPresenter presenter) { presentBox_ = std::move(presenter); }
    void SetMenuPresenter(MenuPresenter presenter) { presentMenu_ = std::move(presenter); }

    void SetText(Control control, const std::string& text) override;
    std::string Text(Control control) override;
    bool FitsOnOneLine(Control control, const std::string& line) override;
    void SetToolTip(Control control, const std::string& text) override;
    void SetForeColor(Control control, OleColor color) override;
    int MsgBox(const std::string& prompt, int style, const std::string& title) override;
    MenuItem PopupAboutMenu(PopupPlace place) override;
    void SetWaiting(bool waiting) override;
    // Whether the pointer over the window shows the wait (the window's WM_SETCURSOR asks).
    bool Waiting() const { return waiting_; }

  private:
    POINT PopupPosition(PopupPlace place) const;

    static constexpr std::size_t kControlCount = 6;
    std::array<HWND, kControlCount> windows_{};
    std::array<OleColor, kControlCount> colors_{};
    ui::KeyGate& keys_;
    HWND toolTips_ = nullptr;  // owned by the window, destroyed with it
    BoxPresenter presentBox_;
    MenuPresenter presentMenu_;
    bool waiting_ = false;
    int dpi_ = 96;
};

}  // namespace tolvane::win32
