#include "ui/frm_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <sstream>

#include "fakes/fake_forms.h"
#include "fakes/fake_system.h"
#include "ui/key_gate.h"
#include "ui/window_description.h"
#include "version.h"

// frmMain's handlers, its layout, and the key filter its front ends put before KeyDown.
namespace tolvane {
namespace {

using Journal = std::vector<std::string>;
using namespace ui;

constexpr Control kAll[] = {Control::frmMain, Control::lblTip,      Control::txtUptime,
                            Control::fraTodo, Control::lblShutDown, Control::lblRestart};

class FrmMainTest : public testing::Test {
  protected:
    Journal journal;
    fakes::FakeForms forms{journal};
    fakes::FakeSystem system{journal};
    FrmMain frm{forms, system};
};

// The tooltip, which is also the accessible name, capped as any words from outside.
TEST_F(FrmMainTest, LoadAsksForTheNameThenTheSystemAndShortensTheLabelAndCapsTheTooltip) {
    forms.lineWidth = 36;
    system.osName = "Windows 2000 " + std::string(65536, 'x');  // os-release holds 64 KiB
    frm.Load();
    EXPECT_EQ(journal, (Journal{"machine name", "os name",
                                "lblTip = \\\\PC1\r\nRunning Windows\xE2\x80\xA6, has been up for:",
                                "lblTip tip = \\\\PC1\r\nRunning Windows 2000 " +
                                    std::string(586, 'x') + "\xE2\x80\xA6, has been up for:"}));
}

TEST_F(FrmMainTest, ATickWritesTheClocksUptimeOnlyWhenTheBoxShowsSomethingElse) {
    const struct {
        std::uint64_t ms;
        const char* typed;    // put into the box before the tick
        const char* written;  // nullptr: the box is left alone
    } ticks[] = {
        {90'061'000, nullptr, "1 day 1 hour 1 minute 1 second"},
        {90'061'400, nullptr, nullptr},
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
// each on its own action; nothing else does anything. What follows, the power sequence, is
// PowerActions' and tested there.
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
    // The built version as project() writes it, plain decimal numbers: 1.0.20, not 1.00.0020.
    const std::string about = "box About Tolvane (64) Tolvane\r\nVer " +
                              std::string(version::kText) + "\r\nby the Tolvane authors";
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
        EXPECT_EQ(journal, (Journal{"popup at focus", about})) << int(on);
    }
    forms.menuChoice = MenuItem::None;
    journal.clear();
    frm.MouseDown(Control::frmMain, MouseButton::Right);
    EXPECT_EQ(journal, (Journal{"popup at pointer"}));
}

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

// Each step a key (E Enter, S Space, L Left, X Escape) pressed (+) or released (-) at an
// X11 timestamp (none on Windows, which flags every repeat), r if flagged as a repeat, then
// whether it passes (y or n); or a box opening ([) or closing (]).
TEST(KeyGateTest, AFreshPressAlwaysPassesAndAHeldKeyNeverActsNorAnswers) {
    const struct {
        const char* what;
        const char* steps;
    } cases[] = {
        {"held Enter on an action, X11 repeats as pairs sharing a timestamp",
         "E+10y E-500y E+500n E-530y E+530rn E-900y"},
        {"held Left outside a box repeats, flagged or not", "L+10y L-500y L+500y L+530ry L-900y"},
        {"in a box no repeat passes, of any key", "[ L+10y L+500rn"},
        {"the key that opened a box, held, then pressed afresh",
         "E+10y [ E-500n E+500n E+530rn E-3000n E+3400y E-3480y"},
        {"a box opening between the halves of a repeat", "S+10y S-500y [ S+500n S-530n"},
        {"Enter's release lost to the blocked window, Escape, Enter again",
         "E+10y [ X+400y ] E+900y"},
        {"Windows: two presses in one tick; repeats by the previous-state bit", "E+y E-y E+y E+rn"},
        {"a release whose press was never seen", "E-10n"},
    };
    for (const auto& c : cases) {
        KeyGate gate;
        std::optional<KeyGate::Box> box;
        std::istringstream steps(c.steps);
        for (std::string step; steps >> step;) {
            if (step == "[") box.emplace(gate);
            if (step == "]") box.reset();
            if (step.size() < 3) continue;
            const std::optional<std::uint64_t> time =
                std::isdigit(step[2]) ? std::optional(std::stoull(step.substr(2))) : std::nullopt;
            const KeyStroke stroke{static_cast<std::uint32_t>(step[0]),
                                   step[1] == '+' ? KeyEdge::Press : KeyEdge::Release, time,
                                   step[step.size() - 2] == 'r', step[0] == 'E' || step[0] == 'S'};
            EXPECT_EQ(gate.Deliberate(stroke), step.back() == 'y') << c.what << ": " << step;
        }
    }
}

}  // namespace
}  // namespace tolvane
