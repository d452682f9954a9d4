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

TEST_F(FrmMainTest, LoadSetsTheHeadingOnceFromNameThenOsShortenedOnlyInTheLabel) {
    const std::string whole = "\\\\PC1\r\nRunning Windows 2000 , has been up for:";
    const struct {
        std::size_t lineWidth;  // as the label measures the line
        std::string label;
    } cases[] = {
        {std::string::npos, whole},
        {6, "\\\\PC1\r\nRunning \xE2\x80\xA6, has been up for:"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> log;
        FakeForms fresh{&log};
        FakeSystem machine{&log};
        fresh.lineWidth = c.lineWidth;
        FrmMain handlers{fresh, machine};
        handlers.Load();
        EXPECT_FALSE(fresh.texts.contains(Control::txtUptime));  // empty until the first tick
        for (int i = 0; i < 3; ++i) handlers.Timer();
        EXPECT_EQ(fresh.texts[Control::lblTip], c.label);
        EXPECT_EQ(fresh.toolTips[Control::lblTip], whole);
        EXPECT_THAT(log, ElementsAre("machine name", "os name"));
    }
}

TEST_F(FrmMainTest, ATickWritesTheUptimeFromTheClockOnlyWhenItDiffersFromTheBox) {
    const struct {
        std::uint64_t ms;
        const char* typed;  // put into the box before the tick; nullptr: nothing
        const char* text;
        int writes;  // so far
    } ticks[] = {
        {90'061'000, nullptr, "1 day 1 hour 1 minute 1 second", 1},
        {90'061'400, nullptr, "1 day 1 hour 1 minute 1 second", 1},  // same second: left alone
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

// Every move sets the colour again; only the frame's surface puts both labels back.
TEST_F(FrmMainTest, HoveringFollowsTheThreeHandlers) {
    using W = std::pair<Control, OleColor>;
    constexpr Control restart = Control::lblRestart, shut = Control::lblShutDown;
    const W restartLit{restart, kColorButtonHighlight}, shutLit{shut, kColorButtonHighlight};
    const struct {
        const char* what;
        std::vector<Control> moves;
        std::vector<W> writes;
    } cases[] = {
        {"Restart twice, then the frame",
         {restart, restart, Control::fraTodo},
         {restartLit, restartLit, {restart, kColorButtonText}, {shut, kColorButtonText}}},
        {"Restart, then straight out of the window",
         {restart, Control::frmMain, Control::txtUptime, Control::lblTip},
         {restartLit}},
        {"one lit, then the other without crossing the frame",
         {shut, restart},
         {shutLit, restartLit}},
    };
    for (const auto& c : cases) {
        FakeForms fresh;
        FrmMain handlers{fresh, system};
        for (const Control move : c.moves) handlers.MouseMove(move);
        EXPECT_EQ(fresh.colorWrites, c.writes) << c.what;
    }
}

// A double-click, assistive technology's press, and Enter or Space on a label act alike;
// nothing elsewhere, nor another key.
TEST_F(FrmMainTest, EachEntryPointOfALabelReachesItsOwnAction) {
    enum class Do { DblClick, Activate, Enter, Space, Other };
    const struct {
        Control on;
        const char* request;  // nullptr: nothing happens
    } cases[] = {
        {Control::lblRestart, "request restart"},
        {Control::lblShutDown, "request power off"},
        {Control::fraTodo, nullptr},
        {Control::frmMain, nullptr},
        {Control::txtUptime, nullptr},
        {Control::lblTip, nullptr},
    };
    forms.answer = [](const ShownBox&) { return msgbox::kYes; };
    for (const Do how : {Do::DblClick, Do::Activate, Do::Enter, Do::Space, Do::Other}) {
        for (const auto& c : cases) {
            journal.clear();
            if (how == Do::DblClick) frm.DblClick(c.on);
            if (how == Do::Activate) frm.Activate(c.on);
            if (how == Do::Enter) frm.KeyDown(c.on, Key::Enter);
            if (how == Do::Space) frm.KeyDown(c.on, Key::Space);
            if (how == Do::Other) frm.KeyDown(c.on, Key::Other);
            const auto sent = std::find_if(journal.begin(), journal.end(), [](const auto& entry) {
                return entry.starts_with("request");
            });
            const bool acts = c.request && how != Do::Other;
            EXPECT_EQ(sent == journal.end() ? "" : *sent, acts ? c.request : "")
                << static_cast<int>(how) << ' ' << static_cast<int>(c.on);
        }
    }
    EXPECT_THAT(forms.popupPlaces, IsEmpty());
    EXPECT_THAT(forms.colorWrites, IsEmpty());  // the keyboard lights nothing up
    EXPECT_EQ(forms.textWrites, 0);
}

// A right press on the window's background opens the menu at the pointer, the
// context-menu key from any control opens it at the focus; About shows the About box.
TEST_F(FrmMainTest, OnlyTheBackgroundsRightPressAndTheMenuKeyOpenThePopup) {
    enum { None = -1 };
    const struct {
        Control on;
        int button;  // a MouseButton, or None for the context-menu key
        MenuItem choice;
        std::vector<PopupPlace> places;
    } cases[] = {
        {Control::frmMain,
         int(MouseButton::Right),
         MenuItem::mnuAboutTolvane,
         {PopupPlace::AtPointer}},
        {Control::frmMain, int(MouseButton::Right), MenuItem::None, {PopupPlace::AtPointer}},
        {Control::frmMain, int(MouseButton::Left), MenuItem::mnuAboutTolvane, {}},
        {Control::frmMain, int(MouseButton::Middle), MenuItem::mnuAboutTolvane, {}},
        {Control::lblRestart, int(MouseButton::Right), MenuItem::mnuAboutTolvane, {}},
        {Control::lblShutDown, int(MouseButton::Right), MenuItem::mnuAboutTolvane, {}},
        {Control::txtUptime, int(MouseButton::Right), MenuItem::mnuAboutTolvane, {}},
        {Control::fraTodo, int(MouseButton::Right), MenuItem::mnuAboutTolvane, {}},
        {Control::lblTip, int(MouseButton::Right), MenuItem::mnuAboutTolvane, {}},
        {Control::frmMain, None, MenuItem::mnuAboutTolvane, {PopupPlace::AtFocus}},
        {Control::lblRestart, None, MenuItem::None, {PopupPlace::AtFocus}},
        {Control::lblShutDown, None, MenuItem::mnuAboutTolvane, {PopupPlace::AtFocus}},
        {Control::txtUptime, None, MenuItem::mnuAboutTolvane, {PopupPlace::AtFocus}},
    };
    // Plain decimal numbers of the built version: 1.0.20, not 1.00.0020.
    const ShownBox about{"Tolvane\r\nVer 1.0.20\r\nby the Tolvane authors", 64, "About Tolvane"};
    for (const auto& c : cases) {
        FakeForms fresh;
        fresh.menuChoice = c.choice;
        FrmMain handlers{fresh, system};
        if (c.button == None) {
            handlers.KeyDown(c.on, Key::ContextMenu);
        } else {
            handlers.MouseDown(c.on, static_cast<MouseButton>(c.button));
        }
        const std::string row = std::to_string(int(c.on)) + ' ' + std::to_string(c.button);
        EXPECT_EQ(fresh.popupPlaces, c.places) << row;
        const bool shown = !c.places.empty() && c.choice == MenuItem::mnuAboutTolvane;
        EXPECT_EQ(fresh.boxes, shown ? std::vector{about} : std::vector<ShownBox>{}) << row;
    }
}

}  // namespace
}  // namespace tolvane
