#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "platform/system.h"
#include "platform/win32/accessible_label.h"
#include "platform/win32/base_window.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_forms.h"
#include "ui/frm_main.h"
#include "ui/key_gate.h"

namespace tolvane::win32 {

// frmMain as a Win32 window: builds the window and its controls from the description and
// translates native messages into frmMain's handlers. No behaviour rule lives here.
class MainWindow final : public BaseWindow<MainWindow> {
  public:
    static constexpr UINT_PTR kTimerId = 1;

    explicit MainWindow(System& system) : forms_(keys_), frmMain_(forms_, system) {}
    // The window goes first, so that its last messages still find every member here.
    ~MainWindow() {
        if (Handle()) DestroyWindow(Handle());
    }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls, centred on its monitor's work area, and runs
    // the Load event. The window stays hidden until Show.
    bool Create(HINSTANCE instance);
    void Show(int showCommand);

    Win32Forms& Forms() { return forms_; }
    HWND ControlWindow(Control control) const { return forms_.Window(control); }
    int Dpi() const { return dpi_; }
    HFONT Font() const { return font_.get(); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK TextBoxProc(HWND textBox, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);

    void CreateControls();
    void ApplyDpi(int dpi);
    void CentreOnWorkArea();
    Control ControlAt(POINT client) const;
    std::optional<Control> ControlOf(HWND child) const;
    LRESULT LabelColors(HDC dc, Control label) const;
    // Keys and focus on an action label; nullopt leaves the message to the label itself.
    std::optional<LRESULT> LabelKeyboard(HWND label, Control control, UINT message, WPARAM wParam,
                                         LPARAM lParam);

    // First, so COM is up before any label can answer WM_GETOBJECT and down after the rest.
    ComApartment com_;
    // Every key message of this thread passes keys_ as it is taken from the queue, by the
    // program's loop or a message box's, so a held key's repeats reach no window.
    class KeyHook {
      public:
        explicit KeyHook(ui::KeyGate& keys);
        ~KeyHook();
        KeyHook(const KeyHook&) = delete;
        KeyHook& operator=(const KeyHook&) = delete;

      private:
        HHOOK hook_;
    };

    ui::KeyGate keys_;
    KeyHook keyHook_{keys_};
    Win32Forms forms_;
    FrmMain frmMain_;
    int dpi_ = 96;
    GdiObject<HFONT> font_;
    // Shared with the labels' accessible objects, which clients may keep after the window.
    std::shared_ptr<bool> labelsConnected_ = std::make_shared<bool>(true);
    // The control that had the focus when the window was last deactivated, say by a
    // message box, given it back on reactivation as a dialog would.
    HWND focusBeforeDeactivation_ = nullptr;
};

}  // namespace tolvane::win32
