// What both front ends' windows must do with each kind of native event: each test performs a
// row's events its own way and journals its boxes (icons checked) and popup ("popup elsewhere"
// when not where its event puts it), the focus after Tab or a click, and the labels lit.
#pragma once
#include <string>
#include <vector>

#include "platform/forms.h"
#include "ui/window_description.h"

namespace tolvane::window_test {

// RightMenu: what follows a right button's release. Default: a screen reader's press. Held
// keys are the key filter's (ui::KeyGate) and the whole programs', with the display's own
// repeats; so is the focus given back after a real box.
// clang-format off
enum class Event {
    Move, Click, MiddlePress, RightPress, RightMenu, DoubleClick, RightDoubleClick,
    Enter, KeypadEnter, OtherKey, ShiftF10, MenuKey, Tab, Default
};
// clang-format on

struct Step {
    Event event;
    Control on;  // where the pointer is, or what has the focus
};

struct Row {
    const char* name;
    std::vector<Step> steps;
    bool yes;  // every box answered Yes (or OK) and About chosen, else No and dismissed
    std::vector<std::string> journal;
    bool qtOnly = false;   // Win32 has one path for Shift+F10 and the menu key
    bool refused = false;  // every request refused at once
};

inline const std::vector<Row>& Rows() {
    using enum Event;
    using enum Control;
    const std::string sure = "box Sure?", about = "box About Tolvane", privilege = "privilege";
    static const std::vector<Row> rows = {
        // clang-format off
        {"restart, then the background", {{Move, lblRestart}, {Move, frmMain}}, false,
         {"lit lblRestart"}},
        {"shut down, then the frame", {{Move, lblShutDown}, {Move, fraTodo}}, false, {}},
        {"double-click restart, Yes, refused", {{DoubleClick, lblRestart}}, true,
         {sure, privilege, "request restart", "box Tolvane"}, false, true},
        {"a click, other buttons and keys, right presses off the background and their menus",
         {{Click, lblRestart}, {MiddlePress, frmMain}, {RightDoubleClick, lblShutDown},
          {OtherKey, lblRestart}, {RightPress, lblRestart}, {RightPress, lblTip},
          {RightPress, fraTodo}, {RightMenu, frmMain}, {RightMenu, lblRestart}}, true,
         {"focus txtUptime"}},
        {"right press on the background, dismissed", {{RightPress, frmMain}}, false, {"popup"}},
        {"Enter on restart twice, No", {{Enter, lblRestart}, {Enter, lblRestart}}, false,
         {sure, sure}},
        {"keypad Enter on shut down, Yes", {{KeypadEnter, lblShutDown}}, true,
         {sure, privilege, "request power off"}},
        {"the keyboard's context menu by the focus",
         {{MenuKey, frmMain}, {MenuKey, txtUptime}, {MenuKey, lblShutDown}}, true,
         {"popup", about, "popup", about, "popup", about}},
        {"Shift+F10", {{ShiftF10, txtUptime}}, true, {"popup", about}, true},
        {"Tab through the focusable controls",
         {{Tab, txtUptime}, {Tab, lblShutDown}, {Tab, lblRestart}}, false,
         {"focus lblShutDown", "framed lblShutDown", "focus lblRestart", "framed lblRestart",
          "focus txtUptime"}},
        {"a screen reader's press", {{Default, lblShutDown}}, true,
         {sure, privilege, "request power off"}},
        // clang-format on
    };
    return rows;
}

}  // namespace tolvane::window_test
