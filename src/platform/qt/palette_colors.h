#pragma once
#include <QColor>
#include <QPalette>
#include <QWidget>

#include "platform/forms.h"

namespace tolvane::qt {

// The palette role standing in for a system colour reference (0x80000000 + index).
// Throws std::out_of_range for an index the window never uses.
QPalette::ColorRole PaletteRole(OleColor systemColor);

// A system colour reference from the palette, or a plain 0x00BBGGRR colour as it is.
QColor ResolveColor(OleColor color, const QPalette& palette);

// Draws the widget's text in the colour, resolved against the application's palette
// for that kind of widget, so the colour follows the desktop theme.
void SetTextColor(QWidget& widget, OleColor color);

}  // namespace tolvane::qt
