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
