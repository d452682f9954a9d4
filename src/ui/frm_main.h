#pragma once
#include <string>

#include "platform/forms.h"
#include "platform/system.h"
#include "power/power_actions.h"

namespace tolvane {

// "Tolvane" CR LF "Ver 1.0.20" CR LF "by the Tolvane authors", from the built version.
std::string AboutText();

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
    // A deliberate key press on the control that has the focus (frmMain when no control
    // has it): the front end drops a held Enter's or Space's repeats (ui::KeyGate) first.
    void KeyDown(Control on, Key key);
    // The action label's own action, however it was asked for; nothing elsewhere.
    void Activate(Control label);

  private:
    Forms& forms_;
    System& system_;
    PowerActions power_;
};

}  // namespace tolvane
