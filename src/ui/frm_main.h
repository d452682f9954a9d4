#pragma once
#include <optional>
#include <string>
#include <utility>

#include "platform/forms.h"
#include "platform/system.h"
#include "power/power_actions.h"

namespace tolvane {

// "Tolvane" CR LF "Ver 1.0.20" CR LF "by the Tolvane authors".
std::string AboutText(const AppVersion& version);

// The event handlers of frmMain. Every rule of the window's behaviour lives here; the
// front ends only translate their native events into these calls.
class FrmMain {
  public:
    FrmMain(Forms& forms, System& system) : forms_(forms), system_(system), power_(forms, system) {}

    void Load();                                     // before the window first appears
    void Timer();                                    // every tick of tmrTimer
    void MouseMove(Control over);                    // pointer moved over a control
    void DblClick(Control on);                       // double-click on a control
    void MouseDown(Control on, MouseButton button);  // press on a control or the window
    void MenuClick(MenuItem item);                   // a menu item was chosen
    // Keys on the control that has the focus (frmMain when no control has it). Presses
    // include the toolkit's auto-repeats; releases do not.
    void KeyDown(Control on, Key key);
    void KeyUp(Control on, Key key);

  private:
    void Confirm(Control label);

    Forms& forms_;
    System& system_;
    PowerActions power_;
    // The action label and key pressed on it, waiting for that key's release.
    std::optional<std::pair<Control, Key>> pressed_;
};

}  // namespace tolvane
