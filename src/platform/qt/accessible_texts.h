#pragma once
#include "platform/qt/control_widgets.h"

namespace tolvane::qt {

// Names and descriptions that screen readers announce for the window's controls. The
// heading keeps its own text as its name, since that text is what it says.
void SetAccessibleTexts(const ControlWidgets& controls);

}  // namespace tolvane::qt
