#include "platform/qt/palette_colors.h"

#include <QApplication>
#include <stdexcept>

namespace tolvane::qt {
namespace {

constexpr OleColor kSystemColorFlag = 0x80000000u;

struct RoleOfIndex {
    int index;
    QPalette::ColorRole role;
};

constexpr RoleOfIndex kRoles[] = {
    {SystemColorIndex(kColorButtonText), QPalette::ButtonText},  // 18, button text
    {SystemColorIndex(kColorButtonHighlight), QPalette::Light},  // 20, 3-D highlight
};

int Channel(OleColor color, int shift) {
    return static_cast<int>((color >> shift) & 0xFFu);
}

}  // namespace

QPalette::ColorRole PaletteRole(OleColor systemColor) {
    if (systemColor & kSystemColorFlag)
        for (const auto& [index, role] : kRoles)
            if (SystemColorIndex(systemColor) == index) return role;
    throw std::out_of_range("no palette role for this system colour");
}

QColor ResolveColor(OleColor color, const QPalette& palette) {
    if (color & kSystemColorFlag) return palette.color(PaletteRole(color));
    return QColor(Channel(color, 0), Channel(color, 8), Channel(color, 16));
}

void SetTextColor(QWidget& widget, OleColor color) {
    QPalette palette = widget.palette();
    palette.setColor(widget.foregroundRole(), ResolveColor(color, QApplication::palette(&widget)));
    widget.setPalette(palette);
}

}  // namespace tolvane::qt
