#pragma once
#include <windows.h>

#include "ui/window_description.h"

namespace tolvane::win32 {

// Control identifiers follow the tab order.
inline constexpr int kFirstControlId = 1000;
inline int ControlId(const ui::ControlDescription& control) {
    return kFirstControlId + control.tabIndex;
}

// The native child window for one control of the description, with its initial text.
// All of them are children of the main window, in tab order; the action labels lie over
// the frame and get their own pointer messages.
HWND CreateChildControl(HWND parent, const ui::ControlDescription& control);

// Where the control goes in the main window's client area at `dpi`. `textSize` is the
// measured text of a label sized to its text, and unused otherwise.
ui::PixelRect ClientRect(const ui::ControlDescription& control, int dpi, SIZE textSize);

// The size of `window`'s own text drawn in `font`.
SIZE MeasureText(HWND window, HFONT font);

// Draws the dotted focus rectangle around `label`'s client area, unless the window hides
// focus cues (Windows hides them until the keyboard is used). It inverts: draw it only
// over freshly painted pixels.
void DrawFocusFrame(HWND label);

}  // namespace tolvane::win32
