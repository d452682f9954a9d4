#pragma once
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "platform/forms.h"

namespace tolvane::ui {

enum class ControlKind { Label, TextBox, Frame };

// A rectangle in twips (1/1440 inch), relative to the container's client area.
struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

struct ControlDescription {
    Control control;
    std::string_view name;  // "lblTip", ...
    ControlKind kind;
    Control container;
    TwipsRect rect;
    int tabIndex;
    std::string_view text;
    bool centred;   // text centred in the control
    bool autoSize;  // a label sized to its text
};

inline constexpr std::string_view kWindowCaption = "Tolvane";
inline constexpr int kClientWidthTwips = 5040;
inline constexpr int kClientHeightTwips = 2160;
inline constexpr std::string_view kFontFamily = "Tahoma";
inline constexpr double kFontPointSize = 8.25;
inline constexpr int kTimerIntervalMs = 100;
inline constexpr std::string_view kMenuAboutText = "About";
inline constexpr std::string_view kMenuAboutTolvaneText = "&About...";
// The two action labels stay centred on this vertical axis, in twips from the frame's left.
inline constexpr double kActionAxisTwips = 2167.5;

// In tab order.
inline constexpr std::array<ControlDescription, 5> kControls{{
    {Control::lblTip,
     "lblTip",
     ControlKind::Label,
     Control::frmMain,
     {0, 120, 5055, 495},
     0,
     "\\\\COMPUTERNAME34567890123456789012345 has been up for:",
     true,
     false},
    {Control::txtUptime,
     "txtUptime",
     ControlKind::TextBox,
     Control::frmMain,
     {360, 720, 4215, 375},
     1,
     "",
     false,
     false},
    {Control::fraTodo,
     "fraTodo",
     ControlKind::Frame,
     Control::frmMain,
     {360, 1200, 4215, 855},
     2,
     "I want to (double click the option)...",
     false,
     false},
    {Control::lblShutDown,
     "lblShutDown",
     ControlKind::Label,
     Control::fraTodo,
     {1185, 240, 1965, 195},
     3,
     "o Shut Down the Computer",
     true,
     true},
    {Control::lblRestart,
     "lblRestart",
     ControlKind::Label,
     Control::fraTodo,
     {1305, 480, 1725, 195},
     4,
     "o Restart the Computer",
     true,
     true},
}};

const ControlDescription& Describe(Control control);

// The two labels that act. Besides the pointer, Tab reaches them and keys act on them.
constexpr bool IsActionLabel(Control control) {
    return control == Control::lblShutDown || control == Control::lblRestart;
}

// An action's name for screen readers, the same on every system: its label's words
// without the bullet letter in front.
constexpr std::string_view ActionName(Control label) {
    return label == Control::lblShutDown ? "Shut Down the Computer" : "Restart the Computer";
}

// Twips to pixels at a given DPI (15 twips a pixel at 96 dpi), to the nearest pixel.
int TwipsToPixels(double twips, int dpi);
PixelRect ToPixels(const TwipsRect& rect, int dpi);

// Where a label sized to its text goes: its own top and height, the text's width, and
// centred on the action axis, so another font doesn't push it off centre.
PixelRect AutoSizedLabelRect(const ControlDescription& label, int textWidthPx, int textHeightPx,
                             int dpi);

}  // namespace tolvane::ui
