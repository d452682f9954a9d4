#include <gtest/gtest.h>

#include "platform/win32/resources/resource_ids.h"
#include "test_window.h"

namespace tolvane::win32::testing {
namespace {

enum class Move { OverShutDown, OverRestart, OverFrame, OverBackground };

void MovePointer(TestWindow& w, Move move) {
    switch (move) {
        case Move::OverShutDown:
            return w.Send(w[Control::lblShutDown], WM_MOUSEMOVE);
        case Move::OverRestart:
            return w.Send(w[Control::lblRestart], WM_MOUSEMOVE);
        case Move::OverFrame:
            return w.Send(w.Handle(), WM_MOUSEMOVE, w.PointOnFrame());
        case Move::OverBackground:
            return w.Send(w.Handle(), WM_MOUSEMOVE, w.PointOnBackground());
    }
}

TEST(Win32PointerTest, LabelsLightUpUnderThePointerAndTheFramePutsThemBack) {
    const COLORREF text = GetSysColor(18), lit = GetSysColor(20);
    ASSERT_NE(text, lit);
    const struct {
        const char* name;
        std::vector<Move> moves;
        COLORREF shutDown, restart;
    } cases[] = {
        {"before any move", {}, text, text},
        {"onto restart", {Move::OverRestart}, text, lit},
        {"onto shut down", {Move::OverShutDown}, lit, text},
        {"frame, restart, frame",
         {Move::OverFrame, Move::OverRestart, Move::OverFrame},
         text,
         text},
        {"restart, then straight out", {Move::OverRestart, Move::OverBackground}, text, lit},
        {"one lit, then the other", {Move::OverRestart, Move::OverShutDown}, lit, lit},
        {"both lit, then the frame",
         {Move::OverRestart, Move::OverShutDown, Move::OverFrame},
         text,
         text},
        {"again and again",
         {Move::OverShutDown, Move::OverShutDown, Move::OverShutDown},
         lit,
         text},
    };
    for (const auto& c : cases) {
        TestWindow w;
        ASSERT_TRUE(w.created);
        for (const Move move : c.moves) MovePointer(w, move);
        EXPECT_EQ(w.DrawnTextColor(Control::lblShutDown), c.shutDown) << c.name;
        EXPECT_EQ(w.DrawnTextColor(Control::lblRestart), c.restart) << c.name;
        EXPECT_EQ(w.DrawnTextColor(Control::lblTip), text) << c.name;
        EXPECT_TRUE(w.boxes.empty() && w.popups.empty()) << c.name;
    }
}

TEST(Win32PointerTest, TheLabelsTakeTheirOwnPointerAndTheFrameLetsItThrough) {
    TestWindow w(TestWindow::Shown::Yes);
    ASSERT_TRUE(w.created);
    SetWindowPos(w.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto windowAt = [&](POINT client) {
        ClientToScreen(w.Handle(), &client);
        return WindowFromPoint(client);
    };
    EXPECT_EQ(windowAt(w.PointOver(Control::lblShutDown)), w[Control::lblShutDown]);
    EXPECT_EQ(windowAt(w.PointOver(Control::lblRestart)), w[Control::lblRestart]);
    EXPECT_EQ(windowAt(w.PointOver(Control::lblTip)), w[Control::lblTip]);
    EXPECT_EQ(windowAt(w.PointOnFrame()), w.Handle());
    EXPECT_EQ(windowAt(w.PointOnBackground()), w.Handle());
}

TEST(Win32PointerTest, ADoubleClickOnALabelAsksFirstAndActsOnlyOnYes) {
    const std::wstring reboot = L"Are you sure you want to reboot the computer?";
    const std::wstring shutDown = L"Are you sure you want to shut the computer down?";
    const struct {
        Control label;
        int answer;
        std::wstring prompt;
        std::vector<std::string> journal;
    } cases[] = {
        {Control::lblRestart, IDNO, reboot, {"box Sure?"}},
        {Control::lblRestart, IDYES, reboot, {"box Sure?", "privilege", "request restart"}},
        {Control::lblShutDown, IDNO, shutDown, {"box Sure?"}},
        {Control::lblShutDown, IDYES, shutDown, {"box Sure?", "privilege", "request power off"}},
    };
    for (const auto& c : cases) {
        TestWindow w;
        ASSERT_TRUE(w.created);
        w.journal.clear();
        w.boxAnswer = c.answer;
        const HWND label = w[c.label];
        w.Send(label, WM_LBUTTONDOWN, {3, 3}, MK_LBUTTON);
        w.Send(label, WM_LBUTTONUP, {3, 3});
        w.Send(label, WM_LBUTTONDBLCLK, {3, 3}, MK_LBUTTON);
        w.Send(label, WM_LBUTTONUP, {3, 3});
        EXPECT_EQ(w.journal, c.journal) << ui::Describe(c.label).name << ' ' << c.answer;
        ASSERT_EQ(w.boxes.size(), 1u);
        EXPECT_EQ(w.boxes[0].owner, w.Handle());
        EXPECT_EQ(w.boxes[0].text, c.prompt);
        EXPECT_EQ(w.boxes[0].caption, L"Sure?");
        EXPECT_EQ(w.boxes[0].type & (MB_TYPEMASK | MB_ICONMASK), 36u);  // MB_YESNO|MB_ICONQUESTION
        EXPECT_EQ(w.boxes[0].type & MB_DEFMASK, static_cast<UINT>(MB_DEFBUTTON1));  // Yes
        EXPECT_TRUE(w.popups.empty());
    }
}

// While a request waits, the pointer over the window, its labels and its text box shows
// it; afterwards each takes its own again.
TEST(Win32PointerTest, WhileARequestWaitsThePointerShowsIt) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    w.system.answerAtOnce = false;
    w.boxAnswer = IDYES;
    const HCURSOR busy = LoadCursorW(nullptr, IDC_APPSTARTING);
    const auto pointerOver = [&](HWND window) {
        SetCursor(nullptr);
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const HWND over[] = {w.Handle(), w[Control::lblRestart], w[Control::txtUptime]};
    const HWND label = w[Control::lblRestart];
    w.Send(label, WM_LBUTTONDOWN, {3, 3}, MK_LBUTTON);
    w.Send(label, WM_LBUTTONUP, {3, 3});
    w.Send(label, WM_LBUTTONDBLCLK, {3, 3}, MK_LBUTTON);
    w.Send(label, WM_LBUTTONUP, {3, 3});
    for (const HWND window : over) EXPECT_EQ(pointerOver(window), busy);
    ASSERT_TRUE(w.system.Answer());
    for (const HWND window : over) EXPECT_NE(pointerOver(window), busy);
    EXPECT_EQ(pointerOver(w[Control::txtUptime]), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST(Win32PointerTest, ASingleClickOnALabelDoesNothing) {
    TestWindow w;
    ASSERT_TRUE(w.created);
    w.journal.clear();
    for (const Control label : {Control::lblRestart, Control::lblShutDown}) {
        w.Send(w[label], WM_LBUTTONDOWN, {3, 3}, MK_LBUTTON);
        w.Send(w[label], WM_LBUTTONUP, {3, 3});
    }
    EXPECT_TRUE(w.journal.empty());
    EXPECT_TRUE(w.boxes.empty());
}

TEST(Win32PointerTest, OnlyARightPressOnTheBackgroundOpensTheMenu) {
    enum class Target { Window, Label, Heading };
    const struct {
        const char* name;
        UINT message;
        Target target;
        POINT (TestWindow::*where)() const;
        std::size_t popups;
    } cases[] = {
        {"right on the background", WM_RBUTTONDOWN, Target::Window, &TestWindow::PointOnBackground,
         1},
        {"left on the background", WM_LBUTTONDOWN, Target::Window, &TestWindow::PointOnBackground,
         0},
        {"middle on the background", WM_MBUTTONDOWN, Target::Window, &TestWindow::PointOnBackground,
         0},
        {"right on the frame's surface", WM_RBUTTONDOWN, Target::Window, &TestWindow::PointOnFrame,
         0},
        {"right on a label", WM_RBUTTONDOWN, Target::Label, nullptr, 0},
        {"right on the heading", WM_RBUTTONDOWN, Target::Heading, nullptr, 0},
    };
    for (const auto& c : cases) {
        TestWindow w;
        ASSERT_TRUE(w.created);
        w.journal.clear();
        w.popupChoice = IDM_ABOUT_TOLVANE;
        switch (c.target) {
            case Target::Window:
                w.Send(w.Handle(), c.message, (w.*c.where)());
                break;
            case Target::Label:
                w.Send(w[Control::lblRestart], c.message);
                break;
            case Target::Heading:
                w.Send(w[Control::lblTip], c.message);
                break;
        }
        EXPECT_EQ(w.popups.size(), c.popups) << c.name;
        EXPECT_EQ(w.boxes.size(), c.popups) << c.name;  // the About box follows the choice
        EXPECT_TRUE(w.journal.size() == c.popups) << c.name;
    }
    // A right press over the text box's place, had the window been given it.
    TestWindow w;
    ASSERT_TRUE(w.created);
    w.Send(w.Handle(), WM_RBUTTONDOWN, w.PointOver(Control::txtUptime));
    EXPECT_TRUE(w.popups.empty());
}

TEST(Win32PointerTest, ThePopupHoldsAboutAndChoosingItShowsTheAboutBox) {
    const struct {
        UINT choice;
        std::size_t boxes;
    } cases[] = {{IDM_ABOUT_TOLVANE, 1}, {0, 0}};
    for (const auto& c : cases) {
        TestWindow w;
        ASSERT_TRUE(w.created);
        w.popupChoice = c.choice;
        w.Send(w.Handle(), WM_RBUTTONDOWN, w.PointOnBackground(), MK_RBUTTON);
        ASSERT_EQ(w.popups.size(), 1u);
        EXPECT_EQ(w.popups[0].owner, w.Handle());
        EXPECT_EQ(w.popups[0].items,
                  (std::vector<std::pair<UINT, std::wstring>>{{IDM_ABOUT_TOLVANE, L"&About..."}}));
        ASSERT_EQ(w.boxes.size(), c.boxes) << c.choice;
        if (c.boxes == 0) continue;
        EXPECT_EQ(w.boxes[0].owner, w.Handle());
        EXPECT_EQ(w.boxes[0].text, L"Tolvane\r\nVer 1.0.20\r\nby the Tolvane authors");
        EXPECT_EQ(w.boxes[0].caption, L"About Tolvane");
        EXPECT_EQ(w.boxes[0].type & (MB_TYPEMASK | MB_ICONMASK), 64u);  // MB_OK|MB_ICONINFORMATION
    }
}

TEST(Win32PointerTest, ColourReferencesResolveToTheSystemColours) {
    const struct {
        OleColor color;
        COLORREF want;
    } cases[] = {
        {kColorButtonText, GetSysColor(COLOR_BTNTEXT)},
        {kColorButtonHighlight, GetSysColor(COLOR_BTNHIGHLIGHT)},
        {0x80000005, GetSysColor(COLOR_WINDOW)},
        {0x000000FF, RGB(255, 0, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveColor(c.color), c.want) << std::hex << c.color;
}

}  // namespace
}  // namespace tolvane::win32::testing
