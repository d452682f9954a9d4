#include "power/power_actions.h"

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

struct Sequence {
    const char* what;
    void (*confirm)(Forms&, System&);
    const char* question;
    const char* request;
    const char* failure;
};

const Sequence kSequences[] = {
    {"restart", ConfirmRestart, "Are you sure you want to reboot the computer?", "request restart",
     "Tolvane could not restart the computer."},
    {"power off", ConfirmPowerOff, "Are you sure you want to shut the computer down?",
     "request power off", "Tolvane could not shut the computer down."},
};

class PowerActionsTest : public testing::TestWithParam<Sequence> {
  protected:
    std::vector<std::string> journal;
    FakeForms forms{&journal};
    FakeSystem system{&journal};
};

TEST_P(PowerActionsTest, YesAsksThenEnablesThePrivilegeThenRequests) {
    forms.answer = [](const ShownBox&) { return msgbox::kYes; };
    GetParam().confirm(forms, system);
    EXPECT_THAT(forms.boxes, ElementsAre(ShownBox{GetParam().question, 36, "Sure?"}));
    EXPECT_THAT(journal, ElementsAre("box Sure?", "privilege", GetParam().request));
}

TEST_P(PowerActionsTest, AnyOtherAnswerDoesNothing) {
    for (const int answer : {msgbox::kNo, msgbox::kOk, 2 /* Cancel, the box closed */, 0}) {
        journal.clear();
        forms.answer = [answer](const ShownBox&) { return answer; };
        GetParam().confirm(forms, system);
        EXPECT_THAT(journal, ElementsAre("box Sure?")) << answer;
    }
}

TEST_P(PowerActionsTest, ConfirmingAgainAfterARefusalRepeatsTheWholeSequence) {
    forms.answer = [](const ShownBox&) { return msgbox::kYes; };
    GetParam().confirm(forms, system);  // started, then refused by an application: silent
    GetParam().confirm(forms, system);
    EXPECT_THAT(journal, ElementsAre("box Sure?", "privilege", GetParam().request, "box Sure?",
                                     "privilege", GetParam().request));
}

TEST_P(PowerActionsTest, ARequestThatCouldNotStartIsReportedOnce) {
    system.results = {{false, "Access denied."}, {false, ""}};
    forms.answer = [](const ShownBox&) { return msgbox::kYes; };
    GetParam().confirm(forms, system);
    GetParam().confirm(forms, system);
    const std::string failure = GetParam().failure;
    EXPECT_THAT(forms.boxes, ElementsAre(ShownBox{GetParam().question, 36, "Sure?"},
                                         ShownBox{failure + "\r\nAccess denied.", 48, "Tolvane"},
                                         ShownBox{GetParam().question, 36, "Sure?"},
                                         ShownBox{failure, 48, "Tolvane"}));
}

INSTANTIATE_TEST_SUITE_P(Both, PowerActionsTest, testing::ValuesIn(kSequences),
                         [](const auto& param) {
                             return param.index == 0 ? "Restart" : "PowerOff";
                         });

}  // namespace
}  // namespace tolvane
