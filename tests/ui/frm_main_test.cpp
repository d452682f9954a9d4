#include "ui/frm_main.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_forms.h"
#include "fakes/fake_system.h"

// The power sequence itself (prompts, waiting, failures) is PowerActions' and tested there;
// here only that each entry point reaches it, and the window's own rules.
namespace tolvane {
namespace {

using Journal = std::vector<std::string>;
using testing::ElementsAre;

constexpr Control kAll[] = {Control::frmMain, Control::lblTip,      Control::txtUptime,
                            Control::fraTodo, Control::lblShutDown, Control::lblRestart};

class FrmMainTest : public testing::Test {
  protected:
    Journal journal;
    fakes::FakeForms forms{journal};
    fakes::FakeSystem system{&journal};
    FrmMain frm{forms, system};
};

TEST_F(FrmMainTest, LoadAsksForTheNameThenTheSystemAndShortensOnlyTheLabel) {
    forms.lineWidth = 36;
    frm.Load();
    EXPECT_THAT(journal,
                ElementsAre("machine name", "os name",
                            "lblTip = \\\\PC1\r\nRunning Windows\xE2\x80\xA6, has been up for:",
                            "lblTip tip = \\\\PC1\r\nRunning Windows 2000 , has been up for:"));
}

TEST_F(FrmMainTest, ATickWritesTheClocksUptimeOnlyWhenTheBoxShowsSomethingElse) {
    const struct {
        std::uint64_t ms;
        const char* typed;    // put into the box before the tick
        const char* written;  // nullptr: the box is left alone
    } ticks[] = {
        {90'061'000, nullptr, "1 day 1 hour 1 minute 1 second"},
        {90'061'400, nullptr, nullptr},
        {90'062'000, nullptr, "1 day 1 hour 1 minute 2 seconds"},
        {90'062'100, "typed by the user", "1 day 1 hour 1 minute 2 seconds"},
        {0, nullptr, "0 second"},  // a clock that jumps back is believed
        {4'294'968'295, nullptr, "7 weeks 0 day 17 hours 2 minutes 48 seconds"},
    };
    for (const auto& tick : ticks) {
        if (tick.typed) forms.texts[Control::txtUptime] = tick.typed;
        system.milliseconds = tick.ms;
        journal.clear();
        frm.Timer();
        EXPECT_EQ(journal,
                  tick.written ? Journal{std::string("txtUptime = ") + tick.written} : Journal{})
            << tick.ms;
    }
}

// Every move sets the colour again; only the frame's surface puts both labels back.
TEST_F(FrmMainTest, HoveringLightsALabelUntilThePointerCrossesTheFrame) {
    const struct {
        std::vector<Control> moves;
        Journal writes;
    } cases[] = {
        {{Control::lblRestart, Control::lblRestart, Control::fraTodo},
         {"lblRestart lit", "lblRestart lit", "lblRestart unlit", "lblShutDown unlit"}},
        {{Control::lblShutDown, Control::frmMain, Control::txtUptime, Control::lblTip,
          Control::lblRestart},
         {"lblShutDown lit", "lblRestart lit"}},
    };
    for (const auto& c : cases) {
        journal.clear();
        for (const Control move : c.moves) frm.MouseMove(move);
        EXPECT_EQ(journal, c.writes);
    }
}

// A double-click, assistive technology's press, and Enter or Space act on a label alone,
// each on its own action; nothing else does anything.
TEST_F(FrmMainTest, EachWayOfActingReachesOnlyTheLabelsOwnAction) {
    forms.answer = msgbox::kYes;
    const struct {
        const char* what;
        std::function<void(Control)> act;
        bool acts;
    } ways[] = {
        {"double-click", [this](Control on) { frm.DblClick(on); }, true},
        {"accessible press", [this](Control on) { frm.Activate(on); }, true},
        {"Enter", [this](Control on) { frm.KeyDown(on, Key::Enter); }, true},
        {"Space", [this](Control on) { frm.KeyDown(on, Key::Space); }, true},
        {"another key", [this](Control on) { frm.KeyDown(on, Key::Other); }, false},
    };
    for (const auto& way : ways) {
        for (const Control on : kAll) {
            const char* request = on == Control::lblRestart    ? "request restart"
                                  : on == Control::lblShutDown ? "request power off"
                                                               : nullptr;
            journal.clear();
            way.act(on);
            if (request && way.acts) {
                EXPECT_EQ(std::ranges::count(journal, request), 1) << way.what << " on " << int(on);
            } else {
                EXPECT_EQ(journal, Journal{}) << way.what << " on " << int(on);
            }
        }
    }
}

// A right press on the window's background opens the menu at the pointer, the context-menu
// key on any control at the focus; its item shows the About box.
TEST_F(FrmMainTest, OnlyTheBackgroundsRightPressAndTheMenuKeyOpenThePopup) {
    // Plain decimal numbers of the built version: 1.0.20, not 1.00.0020.
    const std::string about =
        "box About Tolvane (64) Tolvane\r\nVer 1.0.20\r\nby the Tolvane authors";
    forms.menuChoice = MenuItem::mnuAboutTolvane;
    for (const Control on : kAll) {
        for (const MouseButton button :
             {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
            journal.clear();
            frm.MouseDown(on, button);
            const bool opens = on == Control::frmMain && button == MouseButton::Right;
            EXPECT_EQ(journal, opens ? (Journal{"popup at pointer", about}) : Journal{})
                << int(on) << ' ' << int(button);
        }
        journal.clear();
        frm.KeyDown(on, Key::ContextMenu);
        EXPECT_THAT(journal, ElementsAre("popup at focus", about)) << int(on);
    }
    forms.menuChoice = MenuItem::None;
    journal.clear();
    frm.MouseDown(Control::frmMain, MouseButton::Right);
    EXPECT_THAT(journal, ElementsAre("popup at pointer"));
}

}  // namespace
}  // namespace tolvane
