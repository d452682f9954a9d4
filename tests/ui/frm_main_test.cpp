#include "ui/frm_main.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_forms.h"
#include "fakes/fake_system.h"

namespace tolvane {
namespace {

using fakes::FakeForms;
using fakes::FakeSystem;
using fakes::ShownBox;
using testing::ElementsAre;
using testing::IsEmpty;

class FrmMainTest : public testing::Test {
  protected:
    std::vector<std::string> journal;
    FakeForms forms{&journal};
    FakeSystem system{&journal};
    FrmMain frm{forms, system};
};

TEST_F(FrmMainTest, LoadSetsTheHeadingOnceFromNameThenOs) {
    frm.Load();
    EXPECT_EQ(forms.texts[Control::lblTip], "\\\\PC1\r\nRunning Windows 2000 , has been up for:");
    EXPECT_THAT(journal, ElementsAre("machine name", "os name"));
    EXPECT_FALSE(forms.texts.contains(Control::txtUptime));  // empty until the first tick

    for (int i = 0; i < 5; ++i) frm.Timer();
    EXPECT_EQ(system.machineNameQueries, 1);
    EXPECT_EQ(system.osNameQueries, 1);
}

TEST_F(FrmMainTest, EveryTickRewritesTheUptimeFromTheClock) {
    forms.texts[Control::txtUptime] = "typed by the user";
    const struct {
        std::uint64_t ms;
        const char* text;
    } ticks[] = {
        {90'061'400, "1 day 1 hour 1 minute 1 second"},
        {90'061'400, "1 day 1 hour 1 minute 1 second"},  // unchanged text is written again
        {0, "0 second"},                                 // a clock that jumps back is believed
        {4'294'968'295, "7 weeks 0 day 17 hours 2 minutes 48 seconds"},
    };
    int writes = 0;
    for (const auto& [ms, text] : ticks) {
        system.milliseconds = ms;
        frm.Timer();
        EXPECT_EQ(forms.texts[Control::txtUptime], text);
        EXPECT_EQ(forms.textWrites, ++writes);
    }
}

TEST_F(FrmMainTest, HoveringFollowsTheThreeHandlers) {
    constexpr OleColor lit = kColorButtonHighlight, normal = kColorButtonText;
    const struct {
        const char* what;
        std::vector<Control> moves;
        OleColor restart, shutDown;  // 0: never set
    } cases[] = {
        {"onto Restart", {Control::fraTodo, Control::lblRestart}, lit, normal},
        {"frame, Restart, frame",
         {Control::fraTodo, Control::lblRestart, Control::fraTodo},
         normal,
         normal},
        {"Restart, then straight out of the window",
         {Control::lblRestart, Control::frmMain, Control::txtUptime, Control::lblTip},
         lit,
         0},
        {"one lit, then the other without crossing the frame",
         {Control::lblShutDown, Control::lblRestart},
         lit,
         lit},
        {"Shut Down alone", {Control::lblShutDown}, 0, lit},
    };
    for (const auto& c : cases) {
        FakeForms fresh;
        FrmMain handlers{fresh, system};
        for (const Control move : c.moves) handlers.MouseMove(move);
        const auto colour = [&](Control label) {
            return fresh.colors.contains(label) ? fresh.colors[label] : 0u;
        };
        EXPECT_EQ(colour(Control::lblRestart), c.restart) << c.what;
        EXPECT_EQ(colour(Control::lblShutDown), c.shutDown) << c.what;
    }
}

TEST_F(FrmMainTest, EveryMoveSetsTheColourAgainAndTheFrameResetsRestartFirst) {
    frm.MouseMove(Control::lblRestart);
    frm.MouseMove(Control::lblRestart);
    frm.MouseMove(Control::fraTodo);
    using P = std::pair<Control, OleColor>;
    EXPECT_THAT(forms.colorWrites, ElementsAre(P{Control::lblRestart, kColorButtonHighlight},
                                               P{Control::lblRestart, kColorButtonHighlight},
                                               P{Control::lblRestart, kColorButtonText},
                                               P{Control::lblShutDown, kColorButtonText}));
}

TEST_F(FrmMainTest, DoubleClicksStartTheirOwnConfirmation) {
    const struct {
        Control on;
        const char* question;  // nullptr: nothing happens
    } cases[] = {
        {Control::lblRestart, "Are you sure you want to reboot the computer?"},
        {Control::lblShutDown, "Are you sure you want to shut the computer down?"},
        {Control::fraTodo, nullptr},
        {Control::frmMain, nullptr},
        {Control::txtUptime, nullptr},
        {Control::lblTip, nullptr},
    };
    for (const auto& c : cases) {
        forms.boxes.clear();
        journal.clear();
        frm.DblClick(c.on);
        if (c.question) {
            EXPECT_THAT(forms.boxes, ElementsAre(ShownBox{c.question, 36, "Sure?"}));
            EXPECT_THAT(journal, ElementsAre("box Sure?"));  // answered No: nothing else
        } else {
            EXPECT_THAT(forms.boxes, IsEmpty());
        }
    }
}

TEST_F(FrmMainTest, OnlyARightPressOnTheBackgroundOpensTheMenu) {
    const struct {
        Control on;
        MouseButton button;
        bool opens;
    } cases[] = {
        {Control::frmMain, MouseButton::Right, true},
        {Control::frmMain, MouseButton::Left, false},
        {Control::frmMain, MouseButton::Middle, false},
        {Control::lblRestart, MouseButton::Right, false},
        {Control::lblShutDown, MouseButton::Right, false},
        {Control::txtUptime, MouseButton::Right, false},
        {Control::fraTodo, MouseButton::Right, false},
        {Control::lblTip, MouseButton::Right, false},
    };
    for (const auto& c : cases) {
        forms.popups = 0;
        frm.MouseDown(c.on, c.button);
        EXPECT_EQ(forms.popups, c.opens ? 1 : 0) << static_cast<int>(c.on);
    }
    EXPECT_THAT(forms.boxes, IsEmpty());  // the menu was dismissed: no About box
}

TEST_F(FrmMainTest, ChoosingAboutShowsTheAboutBox) {
    forms.menuChoice = MenuItem::mnuAboutTolvane;
    forms.version = {1, 0, 20};
    frm.MouseDown(Control::frmMain, MouseButton::Right);
    forms.version = {2, 11, 305};
    frm.MenuClick(MenuItem::mnuAboutTolvane);
    EXPECT_THAT(
        forms.boxes,
        ElementsAre(
            ShownBox{"Tolvane\r\nVer 1.0.20\r\nby the Tolvane authors", 64, "About Tolvane"},
            ShownBox{"Tolvane\r\nVer 2.11.305\r\nby the Tolvane authors", 64, "About Tolvane"}));
}

}  // namespace
}  // namespace tolvane
