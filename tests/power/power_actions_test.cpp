#include "power/power_actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "fakes/fake_forms.h"
#include "fakes/fake_system.h"

namespace tolvane {
namespace {

using fakes::FakeForms;
using fakes::FakeSystem;
using fakes::ShownBox;
using testing::ElementsAre;

struct Sequence {
    PowerAction action;
    const char* question;
    const char* request;
    const char* failure;
};

const Sequence kSequences[] = {
    {PowerAction::Restart, "Are you sure you want to reboot the computer?", "request restart",
     "Tolvane could not restart the computer."},
    {PowerAction::PowerOff, "Are you sure you want to shut the computer down?", "request power off",
     "Tolvane could not shut the computer down."},
};

class PowerActionsTest : public testing::TestWithParam<Sequence> {
  protected:
    std::vector<std::string> journal;
    FakeForms forms{&journal};
    FakeSystem system{&journal};
    PowerActions power{forms, system};

    void Confirm() { power.Confirm(GetParam().action); }
    void AnswerYesLater() {
        forms.answer = [](const ShownBox&) { return msgbox::kYes; };
        system.answerAtOnce = false;
        system.results = {{false, "Access denied."}};
    }
};

// Only Yes goes on: the privilege, then the request, with the pointer showing the wait
// until the answer; only a request that was not started is reported, whenever it comes.
TEST_P(PowerActionsTest, OnlyYesRequestsAndOnlyAnUnstartedRequestIsReported) {
    const std::string request = GetParam().request, failure = GetParam().failure;
    const struct {
        const char* what;
        int answer;
        bool atOnce;
        PowerRequestResult result;
        const char* reported;  // nullptr: no box
    } cases[] = {
        {"No", msgbox::kNo, true, {false, "x"}, nullptr},
        {"the box closed", 2 /* Cancel */, true, {false, "x"}, nullptr},
        {"answered at once, started", msgbox::kYes, true, {}, nullptr},
        {"answered at once, refused",
         msgbox::kYes,
         true,
         {false, "Access denied."},
         "\r\nAccess denied."},
        {"answered later, started or cancelled", msgbox::kYes, false, {}, nullptr},
        {"answered later, refused",
         msgbox::kYes,
         false,
         {false, "Unknown method"},
         "\r\nUnknown method"},
        {"refused without a reason", msgbox::kYes, false, {false, ""}, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> log;
        FakeForms user{&log};
        FakeSystem machine{&log};
        user.answer = [&c](const ShownBox&) { return c.answer; };
        machine.answerAtOnce = c.atOnce;
        machine.results = {c.result};
        PowerActions actions{user, machine};
        actions.Confirm(GetParam().action);

        std::vector<std::string> expected{"box Sure?"};
        std::vector<ShownBox> boxes{{GetParam().question, 36, "Sure?"}};
        if (c.answer == msgbox::kYes) {
            expected.insert(expected.end(), {"privilege", "waiting", request});
            if (!c.atOnce) {
                EXPECT_EQ(log, expected) << c.what;
                EXPECT_TRUE(actions.Waiting()) << c.what;
                EXPECT_TRUE(machine.Answer()) << c.what;
            }
            expected.push_back("not waiting");
        }
        if (c.reported) {
            expected.push_back("box Tolvane");
            boxes.push_back({failure + c.reported, 48, "Tolvane"});
        }
        EXPECT_EQ(log, expected) << c.what;
        EXPECT_EQ(user.boxes, boxes) << c.what;
        EXPECT_FALSE(actions.Waiting()) << c.what;
    }
}

TEST_P(PowerActionsTest, WhileARequestWaitsConfirmingDoesNothingAndAfterItsAnswerAllAgain) {
    AnswerYesLater();
    Confirm();
    power.Confirm(PowerAction::Restart);
    power.Confirm(PowerAction::PowerOff);
    EXPECT_THAT(journal, ElementsAre("box Sure?", "privilege", "waiting", GetParam().request));
    ASSERT_TRUE(system.Answer());
    ASSERT_FALSE(system.Answer());  // the ignored confirmations sent nothing
    journal.clear();
    Confirm();
    EXPECT_THAT(journal, ElementsAre("box Sure?", "privilege", "waiting", GetParam().request));
}

TEST_P(PowerActionsTest, AnAnswerThatComesAfterTheWindowIsGoneIsDropped) {
    AnswerYesLater();
    auto gone = std::make_unique<PowerActions>(forms, system);
    gone->Confirm(GetParam().action);
    gone.reset();
    journal.clear();
    ASSERT_TRUE(system.Answer());
    EXPECT_TRUE(journal.empty());
}

TEST(ShownReasonTest, ALongReasonIsCutAfterAWordWithinAbout600Characters) {
    const auto repeat = [](const std::string& text, int times) {
        std::string all;
        for (int i = 0; i < times; ++i) all += text;
        return all;
    };
    const std::string ellipsis = "\xE2\x80\xA6";
    const struct {
        const char* what;
        std::string reason, shown;
    } cases[] = {
        {"short", "Access denied.", "Access denied."},
        {"600 characters", repeat("word ", 120), repeat("word ", 120)},
        {"10 KB of words", repeat("word ", 2000), repeat("word ", 119) + "word" + ellipsis},
        {"one long word", std::string(1000, 'x'), std::string(599, 'x') + ellipsis},
        {"two-byte characters", repeat("\xC3\xA9", 1000), repeat("\xC3\xA9", 599) + ellipsis},
        {"accents stay with their letters", repeat("e\xCC\x81", 400),
         repeat("e\xCC\x81", 299) + ellipsis},
        {"at most 12 lines", repeat("line\n", 50), repeat("line\n", 11) + "line" + ellipsis},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownReason(c.reason), c.shown) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Both, PowerActionsTest, testing::ValuesIn(kSequences),
                         [](const auto& param) {
                             return param.index == 0 ? "Restart" : "PowerOff";
                         });

}  // namespace
}  // namespace tolvane
