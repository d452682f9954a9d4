#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/win32/main_window.h"
#include "ui/window_description.h"

namespace tolvane::win32::testing {

struct PopupShown {
    HWND owner;
    std::vector<std::pair<UINT, std::wstring>> items;  // command id, text
    POINT at;                                          // on the screen
};

// The real main window on a fake system; boxes and the popup are answered here, never
// shown. Hidden unless asked (under Wine without a window manager every hidden or closed
// window costs a wait). Closes the window and forgets its WM_QUIT when done.
class TestWindow {
  public:
    enum class Shown { No, Yes };
    explicit TestWindow(Shown shown = Shown::No);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND operator[](Control control) const { return window.ControlWindow(control); }
    HWND Handle() const { return window.Handle(); }

    // Where `control` is, in the window's client coordinates.
    ui::PixelRect ClientRectOf(Control control) const;
    // A point on the frame's own surface, clear of both labels, and one on the bare
    // background left of the text box.
    POINT PointOnFrame() const;
    POINT PointOnBackground() const;
    POINT PointOver(Control control) const;  // the control's centre

    void Tick() { SendMessageW(Handle(), WM_TIMER, MainWindow::kTimerId, 0); }
    void Send(HWND target, UINT message, POINT client = {2, 2}, WPARAM keys = 0) {
        SendMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
    }
    // The colour WM_CTLCOLORSTATIC makes `label` draw its text with.
    COLORREF DrawnTextColor(Control label) const;

    bool created = false;
    std::vector<std::string> journal;
    fakes::FakeSystem system{&journal};
    MainWindow window{system};

    int boxAnswer = IDNO;
    std::vector<MessageBoxRequest> boxes;
    UINT popupChoice = 0;
    std::vector<PopupShown> popups;
};

std::wstring TextOf(HWND window);

// Runs the message loop until `done` holds; false if it still does not after `patience`.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds patience = std::chrono::seconds(10));

}  // namespace tolvane::win32::testing
