#include "ui/window_description.h"

#include <gtest/gtest.h>

namespace tolvane::ui {
namespace {

TEST(WindowDescriptionTest, TwipsBecomePixelsAtTheWindowsDpi) {
    const struct {
        Control control;
        int dpi;
        PixelRect want;
    } cases[] = {
        {Control::lblTip, 96, {0, 8, 337, 33}},
        {Control::txtUptime, 144, {36, 72, 422, 38}},
        {Control::fraTodo, 192, {48, 160, 562, 114}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToPixels(Describe(c.control).rect, c.dpi), c.want)
            << Describe(c.control).name << " at " << c.dpi;
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 336);
    EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 144);
}

TEST(WindowDescriptionTest, AutoSizedLabelsStayCentredOnTheActionAxis) {
    const struct {
        Control label;
        int textWidth, dpi;
        PixelRect want;
    } cases[] = {
        {Control::lblShutDown, 131, 96, {79, 16, 131, 13}},  // the designed size
        {Control::lblRestart, 95, 96, {97, 32, 95, 13}},     // another font: centre at 144.5
        {Control::lblShutDown, 196, 144, {119, 24, 196, 13}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AutoSizedLabelRect(Describe(c.label), c.textWidth, 13, c.dpi), c.want)
            << Describe(c.label).name << ' ' << c.textWidth;
}

}  // namespace
}  // namespace tolvane::ui
