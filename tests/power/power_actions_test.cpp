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
            fakes::FakeSystem system{journal};
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
                    EXPECT_TRUE(system.Answer()) << c.what;
                }
                expected.push_back("not waiting");
            }
            if (c.reported) expected.push_back(sequence.failure + c.reported);
            EXPECT_EQ(journal, expected) << c.what;
            EXPECT_FALSE(power.Busy()) << c.what;
        }
    }
}

// One at a time: while "Sure?" or the refusal box is open, or a request waits, another
// confirmation (a screen reader's press arrives inside the box's loop) does nothing. An
// answer that comes after the window is gone finds nothing to tell.
TEST(PowerActionsTest, WhileABoxIsOpenOrARequestWaitsConfirmingDoesNothing) {
    Journal journal;
    fakes::FakeForms forms{journal};
    fakes::FakeSystem system{journal};
    const Journal all{kSequences[1].question, "privilege",   "waiting",
                      "request power off",    "not waiting", kSequences[1].failure};
    const struct {
        int answer;
        bool refused;
        int shown;  // of all; 4: the request waits
    } cases[] = {{msgbox::kNo, false, 1}, {msgbox::kYes, false, 4}, {msgbox::kYes, true, 6}};
    for (const auto& c : cases) {
        journal.clear();
        auto power = std::make_unique<PowerActions>(forms, system);
        forms.answer = c.answer;
        system.result = {!c.refused, ""};
        system.answerAtOnce = c.refused;
        // A few times at most: without the rule each would open a box of its own.
        forms.whileBoxOpen = [&, presses = 0]() mutable {
            if (++presses < 4) power->Confirm(PowerAction::Restart);
        };
        power->Confirm(PowerAction::PowerOff);
        if (c.shown == 4) power->Confirm(PowerAction::Restart);
        power.reset();
        EXPECT_EQ(system.Answer(), c.shown == 4);
        EXPECT_EQ(journal, Journal(all.begin(), all.begin() + c.shown)) << c.shown;
    }
}

}  // namespace
}  // namespace tolvane
