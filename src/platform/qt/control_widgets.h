#pragma once
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "platform/forms.h"
#include "ui/window_description.h"

namespace tolvane::qt {

// frmMain's controls as Qt widgets. The window owns them through Qt's parent chain;
// these are only handles.
struct ControlWidgets {
    QLabel* lblTip = nullptr;
    QLineEdit* txtUptime = nullptr;
    QGroupBox* fraTodo = nullptr;
    QLabel* lblShutDown = nullptr;
    QLabel* lblRestart = nullptr;

    QWidget* Find(Control control) const;  // nullptr for the window itself
    QLabel* Label(Control control) const;  // nullptr unless the control is a label
};

// Creates every control of the window description inside window, which already has its
// font, in tab order, placed at the window's DPI.
ControlWidgets BuildControls(QWidget& window);

// Draws the widget's text in a system colour, taken from the application's palette for that
// kind of widget so that it follows the desktop theme: button text (18) as ButtonText, the
// 3-D highlight (20) as Light.
void SetTextColor(QWidget& widget, OleColor color);

// Sizes a label to its text in its own font and centres it on the action axis.
void PlaceAutoSizedLabel(QLabel& label, const ui::ControlDescription& description);

}  // namespace tolvane::qt
