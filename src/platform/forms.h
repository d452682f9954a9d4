#pragma once
#include <cstdint>
#include <string>

namespace tolvane {

// The controls of frmMain; their layout lives in ui/window_description.h.
enum class Control { frmMain, lblTip, txtUptime, fraTodo, lblShutDown, lblRestart };

enum class MenuItem { None, mnuAboutTolvane };

enum class MouseButton { Left, Right, Middle };

// The keys frmMain's handlers tell apart. The front end maps its own: the context-menu
// key and Shift+F10 are both ContextMenu.
enum class Key { Enter, Space, ContextMenu, Other };

// Where the popup menu opens: at the pointer after a right-click, or by the control that
// has the keyboard focus when the keyboard asked for it.
enum class PopupPlace { AtPointer, AtFocus };

// A colour as the forms describe it: 0x80000000 plus a system colour index, resolved by
// the toolkit to the current system colour when drawn.
using OleColor = std::uint32_t;
inline constexpr OleColor kColorButtonText = 0x80000012;       // index 18
inline constexpr OleColor kColorButtonHighlight = 0x80000014;  // index 20
constexpr int SystemColorIndex(OleColor color) {
    return static_cast<int>(color & 0xFFu);
}

// Message-box style values: one button set plus one icon.
namespace msgbox {
inline constexpr int kOkOnly = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kButtonsMask = 0x0F;
inline constexpr int kIconMask = 0xF0;
// Answers.
inline constexpr int kOk = 1;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace msgbox

// What frmMain's handlers ask of the toolkit. Texts are UTF-8 with CR LF between lines;
// the front end converts to its own strings and line breaks.
class Forms {
  public:
    virtual ~Forms() = default;

    virtual void SetText(Control control, const std::string& text) = 0;  // caption or text
    virtual std::string Text(Control control) = 0;                       // as shown now
    // Whether `line` fits on one line of the control's width in its own font.
    virtual bool FitsOnOneLine(Control control, const std::string& line) = 0;
    // Shown when the pointer rests on the control, and its name for screen readers.
    virtual void SetToolTip(Control control, const std::string& text) = 0;
    virtual void SetForeColor(Control control, OleColor color) = 0;
    // Modal, owned by the window; returns the answer (msgbox::kYes, ...). With Yes and
    // No buttons, Yes is the default button.
    virtual int MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // Shows the hidden menu mnuAbout's items at `place`; returns the chosen item.
    virtual MenuItem PopupAboutMenu(PopupPlace place) = 0;
    // The pointer over the window shows that the program waits for the system (true), or
    // is as before (false). The window stays usable meanwhile.
    virtual void SetWaiting(bool waiting) = 0;
};

}  // namespace tolvane
