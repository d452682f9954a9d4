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
    const std::string heading = "\\\\PC1\r\nRunning Windows 2000 , has been up for:";
    EXPECT_EQ(forms.texts[Control::lblTip], heading);
    EXPECT_EQ(forms.toolTips[Control::lblTip], heading);
    EXPECT_THAT(journal, ElementsAre("machine name", "os name"));
    EXPECT_FALSE(forms.texts.contains(Control::txtUptime));  // empty until the first tick

    for (int i = 0; i < 5; ++i) frm.Timer();
    EXPECT_EQ(system.machineNameQueries, 1);
    EXPECT_EQ(system.osNameQueries, 1);
}

TEST_F(FrmMainTest, AHeadingTooWideIsShortenedInTheLabelAndWholeInItsToolTip) {
    system.machineName = "A-MACHINE-NAME-OF-SOME-LENGTH";
    forms.lineWidth = 20;  // as the label measures the line
    frm.Load();
    EXPECT_EQ(forms.texts[Control::lblTip],
              "\\\\A-MACHINE-NAME-\xE2\x80\xA6\r\nRunning \xE2\x80\xA6, has been up for:");
    EXPECT_EQ(forms.toolTips[Control::lblTip],
              "\\\\A-MACHINE-NAME-OF-SOME-LENGTH\r\nRunning Windows 2000 , has been up for:");
}

TEST_F(FrmMainTest, ATickWritesTheUptimeFromTheClockOnlyWhenItDiffersFromTheBox) {
    const struct {
        std::uint64_t ms;
        const char* typed;  // put into the box before the tick; nullptr: nothing
        const char* text;
        int writes;  // so far
    } ticks[] = {
        {90'061'000, nullptr, "1 day 1 hour 1 minute 1 second", 1},
        {90'061'100, nullptr, "1 day 1 hour 1 minute 1 second", 1},  // same second: left alone
        {90'061'400, nullptr, "1 day 1 hour 1 minute 1 second", 1},
        {90'062'000, nullptr, "1 day 1 hour 1 minute 2 seconds", 2},
        {90'062'100, "typed by the user", "1 day 1 hour 1 minute 2 seconds", 3},
        {0, nullptr, "0 second", 4},  // a clock that jumps back is believed
        {4'294'968'295, nullptr, "7 weeks 0 day 17 hours 2 minutes 48 seconds", 5},
    };
    for (const auto& [ms, typed, text, writes] : ticks) {
        if (typed) forms.texts[Control::txtUptime] = typed;
        system.milliseconds = ms;
        frm.Timer();
        EXPECT_EQ(forms.texts[Control::txtUptime], text) << ms;
        EXPECT_EQ(forms.textWrites, writes) << ms;
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

// A double-click and assistive technology's press act alike.
TEST_F(FrmMainTest, DoubleClicksAndPressesStartTheirOwnConfirmation) {
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
    for (const auto handler : {&FrmMain::DblClick, &FrmMain::Activate}) {
        for (const auto& c : cases) {
            forms.boxes.clear();
            journal.clear();
            (frm.*handler)(c.on);
            if (c.question) {
                EXPECT_THAT(forms.boxes, ElementsAre(ShownBox{c.question, 36, "Sure?"}));
                EXPECT_THAT(journal, ElementsAre("box Sure?"));  // answered No: nothing else
            } else {
                EXPECT_THAT(forms.boxes, IsEmpty());
            }
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
    frm.MouseDown(Control::frmMain, MouseButton::Right);
    // Plain decimal numbers of the built version: 1.0.20, not 1.00.0020.
    EXPECT_THAT(forms.boxes, ElementsAre(ShownBox{"Tolvane\r\nVer 1.0.20\r\nby the Tolvane authors",
                                                  64, "About Tolvane"}));
}

TEST_F(FrmMainTest, EnterOrSpaceOnALabelAsksAsItsDoubleClickDoes) {
    const std::string reboot = "Are you sure you want to reboot the computer?";
    const std::string shutDown = "Are you sure you want to shut the computer down?";
    const struct {
        Control on;
        Key key;
        const char* question;  // nullptr: nothing happens
    } cases[] = {
        {Control::lblRestart, Key::Enter, reboot.c_str()},
        {Control::lblRestart, Key::Space, reboot.c_str()},
        {Control::lblShutDown, Key::Enter, shutDown.c_str()},
        {Control::lblShutDown, Key::Space, shutDown.c_str()},
        {Control::lblRestart, Key::Other, nullptr},
        {Control::lblShutDown, Key::Other, nullptr},
    };
    for (const auto& c : cases) {
        forms.boxes.clear();
        frm.KeyDown(c.on, c.key);
        if (c.question) {
            EXPECT_THAT(forms.boxes, ElementsAre(ShownBox{c.question, 36, "Sure?"}));
        } else {
            EXPECT_THAT(forms.boxes, IsEmpty());
        }
    }
    EXPECT_EQ(forms.popups, 0);
}

// Yes to every box; a restart is requested and its answer not yet come. Whatever is done
// to the actions meanwhile is dropped, not acted on once the answer comes.
TEST_F(FrmMainTest, InputToTheActionsWhileARequestWaitsIsDroppedNotKept) {
    const std::string reboot = "Are you sure you want to reboot the computer?";
    const std::string shutDown = "Are you sure you want to shut the computer down?";
    enum class Do { DblClick, Key, Activate, Answer };
    struct Step {
        Do what;
        Control on = Control::frmMain;
        Key key = Key::Other;
    };
    constexpr Control restart = Control::lblRestart, shut = Control::lblShutDown;
    const Step answer{Do::Answer};
    const struct {
        const char* what;
        std::vector<Step> steps;
        std::vector<std::string> questions;  // asked after the first one
    } cases[] = {
        {"double-clicks", {{Do::DblClick, restart}, {Do::DblClick, shut}, answer}, {}},
        {"Enter and Space on the labels",
         {{Do::Key, shut, Key::Enter}, {Do::Key, restart, Key::Space}, answer},
         {}},
        {"assistive technology's press", {{Do::Activate, shut}, answer}, {}},
        {"after the answer, a double-click asks again",
         {{Do::DblClick, shut}, answer, {Do::DblClick, shut}},
         {shutDown}},
        {"after the answer, Enter asks again", {answer, {Do::Key, restart, Key::Enter}}, {reboot}},
    };
    for (const auto& c : cases) {
        FakeForms fresh;
        fresh.answer = [](const ShownBox&) { return msgbox::kYes; };
        FakeSystem waiting;
        waiting.answerAtOnce = false;
        FrmMain handlers{fresh, waiting};
        handlers.DblClick(Control::lblRestart);
        for (const Step& step : c.steps) {
            if (step.what == Do::DblClick) handlers.DblClick(step.on);
            if (step.what == Do::Key) handlers.KeyDown(step.on, step.key);
            if (step.what == Do::Activate) handlers.Activate(step.on);
            if (step.what == Do::Answer) {
                EXPECT_TRUE(waiting.Answer()) << c.what;
            }
        }
        std::vector<std::string> asked;
        for (std::size_t i = 1; i < fresh.boxes.size(); ++i) asked.push_back(fresh.boxes[i].prompt);
        EXPECT_EQ(asked, c.questions) << c.what;
    }
}

TEST_F(FrmMainTest, EnterAndSpaceElsewhereDoNothing) {
    for (const Control on :
         {Control::frmMain, Control::lblTip, Control::txtUptime, Control::fraTodo}) {
        for (const Key key : {Key::Enter, Key::Space, Key::Other}) frm.KeyDown(on, key);
    }
    EXPECT_THAT(forms.boxes, IsEmpty());
    EXPECT_EQ(forms.popups, 0);
    EXPECT_EQ(forms.textWrites, 0);
    EXPECT_THAT(forms.colorWrites, IsEmpty());  // the keyboard lights nothing up
}

TEST_F(FrmMainTest, TheContextMenuKeyOpensThePopupByTheFocusFromAnyControl) {
    const struct {
        Control on;
        MenuItem choice;
        std::size_t boxes;
    } cases[] = {
        {Control::frmMain, MenuItem::mnuAboutTolvane, 1},
        {Control::lblRestart, MenuItem::None, 0},
        {Control::lblShutDown, MenuItem::mnuAboutTolvane, 1},
        {Control::txtUptime, MenuItem::mnuAboutTolvane, 1},
        {Control::fraTodo, MenuItem::None, 0},
    };
    for (const auto& c : cases) {
        FakeForms fresh;
        fresh.menuChoice = c.choice;
        FrmMain handlers{fresh, system};
        handlers.KeyDown(c.on, Key::ContextMenu);
        EXPECT_THAT(fresh.popupPlaces, ElementsAre(PopupPlace::AtFocus)) << static_cast<int>(c.on);
        ASSERT_EQ(fresh.boxes.size(), c.boxes) << static_cast<int>(c.on);
        if (c.boxes) {
            EXPECT_EQ(fresh.boxes[0].title, "About Tolvane");
        }
    }
}

TEST_F(FrmMainTest, TheMouseMenuStaysAtThePointer) {
    frm.KeyDown(Control::lblRestart, Key::ContextMenu);
    frm.MouseDown(Control::frmMain, MouseButton::Right);
    EXPECT_THAT(forms.popupPlaces, ElementsAre(PopupPlace::AtFocus, PopupPlace::AtPointer));
    EXPECT_THAT(forms.boxes, IsEmpty());
}

}  // namespace
}  // namespace tolvane
