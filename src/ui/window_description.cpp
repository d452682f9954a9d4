#include "ui/window_description.h"

#include <cmath>
#include <cstdlib>

namespace tolvane::ui {

const ControlDescription& Describe(Control control) {
    for (const auto& description : kControls)
        if (description.control == control) return description;
    std::abort();  // frmMain itself: no caller asks for it
}

int TwipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

PixelRect ToPixels(const TwipsRect& rect, int dpi) {
    // Convert edges, not sizes, so neighbouring controls keep touching where they touch.
    const int left = TwipsToPixels(rect.left, dpi);
    const int top = TwipsToPixels(rect.top, dpi);
    return {left, top, TwipsToPixels(rect.left + rect.width, dpi) - left,
            TwipsToPixels(rect.top + rect.height, dpi) - top};
}

PixelRect AutoSizedLabelRect(const ControlDescription& label, int textWidthPx, int textHeightPx,
                             int dpi) {
    const double axisPx = kActionAxisTwips * dpi / 1440.0;
    const int left = static_cast<int>(std::lround(axisPx - textWidthPx / 2.0));
    const int top = TwipsToPixels(label.rect.top, dpi);
    return {left, top, textWidthPx, textHeightPx};
}

}  // namespace tolvane::ui
