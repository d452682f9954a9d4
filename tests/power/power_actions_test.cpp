#include "power/power_actions.h"

#include <gtest/gtest.h>

#include <memory>

#include "fakes/fake_forms.h"
#include "fakes/fake_system.h"

namespace tolvane {
namespace {

using Journal = std::vector<std::string>;

struct Sequence {
    PowerAction action;
    std::string question, request, failure;  // as the journal shows them
};

const Sequence kSequences[] = {
    {PowerAction::Restart, "box Sure? (36) Are you sure you want to reboot the computer?",
     "request restart", "box Tolvane (48) Tolvane could not restart the computer."},
    {PowerAction::PowerOff, "box Sure? (36) Are you sure you want to shut the computer down?",
     "request power off", "box Tolvane (48) Tolvane could not shut the computer down."},
};

// Only Yes goes on: the privilege, then the request, with the pointer showing the wait
// until the answer; only a request that was not started is reported, whenever it comes.
TEST(PowerActionsTest, OnlyYesRequestsAndOnlyAnUnstartedRequestIsReported) {
    const struct {
        const char* what;
        int answer;
        bool atOnce;
        PowerRequestResult result;
        const char* reported;  // after the failure's words; nullptr: no box
    } cases[] = {
        {"No", msgbox::kNo, true, {false, "x"}, nullptr},
        {"the box closed", 2 /* Cancel */, true, {false, "x"}, nullptr},
        {"answered at once, started", msgbox::kYes, true, {}, nullptr},
        {"answered at once, refused", msgbox::kYes, true, {false, "Denied."}, "\r\nDenied."},
        {"answered later, started or cancelled", msgbox::kYes, false, {}, nullptr},
        {"answered later, refused", msgbox::kYes, false, {false, "No method"}, "\r\nNo method"},
        {"refused without a reason", msgbox::kYes, false, {false, ""}, ""},
    };
    for (const Sequence& sequence : kSequences) {
        for (const auto& c : cases) {
            Journal journal;
            fakes::FakeForms forms{journal};
            fakes::FakeSystem system{&journal};
            forms.answer = c.answer;
            system.answerAtOnce = c.atOnce;
            system.result = c.result;
            PowerActions power{forms, system};
            power.Confirm(sequence.action);

            Journal expected{sequence.question};
            if (c.answer == msgbox::kYes) {
                expected.insert(expected.end(), {"privilege", "waiting", sequence.request});
                if (!c.atOnce) {
                    EXPECT_EQ(journal, expected) << c.what;
                    EXPECT_TRUE(power.Waiting()) << c.what;
                    EXPECT_TRUE(system.Answer()) << c.what;
                }
                expected.push_back("not waiting");
            }
            if (c.reported) expected.push_back(sequence.failure + c.reported);
            EXPECT_EQ(journal, expected) << c.what;
            EXPECT_FALSE(power.Waiting()) << c.what;
        }
    }
}

class WaitingTest : public testing::Test {
  protected:
    void SetUp() override {
        forms.answer = msgbox::kYes;
        system.answerAtOnce = false;
    }
    Journal journal;
    fakes::FakeForms forms{journal};
    fakes::FakeSystem system{&journal};
};

TEST_F(WaitingTest, WhileARequestWaitsConfirmingDoesNothingAndAfterItsAnswerAllAgain) {
    PowerActions power{forms, system};
    power.Confirm(PowerAction::PowerOff);
    power.Confirm(PowerAction::Restart);
    power.Confirm(PowerAction::PowerOff);
    ASSERT_TRUE(system.Answer());
    power.Confirm(PowerAction::Restart);
    EXPECT_EQ(journal, (Journal{kSequences[1].question, "privilege", "waiting", "request power off",
                                "not waiting", kSequences[0].question, "privilege", "waiting",
                                "request restart"}));
}

TEST_F(WaitingTest, AnAnswerThatComesAfterTheWindowIsGoneIsDropped) {
    auto gone = std::make_unique<PowerActions>(forms, system);
    gone->Confirm(PowerAction::Restart);
    gone.reset();
    journal.clear();
    ASSERT_TRUE(system.Answer());
    EXPECT_EQ(journal, Journal{});
}

}  // namespace
}  // namespace tolvane
