#include "ui/key_gate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane::ui {
namespace {

// One step: a key event, or (key 0) a box opening. `passes` is whether the event is let
// through as the user's own.
struct Step {
    std::uint32_t key;
    KeyEdge edge;
    std::uint64_t time;
    bool autoRepeat;
    bool passes;
};
constexpr std::uint32_t kEnter = 36, kSpace = 65;
constexpr Step Press(std::uint32_t key, std::uint64_t time, bool passes, bool flagged = false) {
    return {key, KeyEdge::Press, time, flagged, passes};
}
constexpr Step Release(std::uint32_t key, std::uint64_t time, bool passes) {
    return {key, KeyEdge::Release, time, false, passes};
}
constexpr Step kBoxOpens{0, KeyEdge::Press, 0, false, false};

TEST(KeyGateTest, OnlyPressesBegunAfterABoxOpenedAndTheirReleasesPass) {
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"X11 repeats: release and press pairs sharing a timestamp, not flagged",
         {Press(kEnter, 10, true), Release(kEnter, 500, true), Press(kEnter, 500, false),
          Release(kEnter, 530, true), Press(kEnter, 530, false), Release(kEnter, 900, true)}},
        {"repeats neither flagged nor released: the key is still down",
         {Press(kSpace, 10, true), Press(kSpace, 500, false), Release(kSpace, 900, true)}},
        {"a flagged press of a key not down", {Press(kEnter, 10, false, true)}},
        {"the key that opened a box, held with X11 repeats, then pressed afresh",
         {Press(kEnter, 10, true), kBoxOpens, Release(kEnter, 500, false),
          Press(kEnter, 500, false), Release(kEnter, 530, false), Press(kEnter, 530, false),
          Release(kEnter, 3000, false), Press(kEnter, 3400, true), Release(kEnter, 3480, true)}},
        {"a box opening between the halves of a repeat",
         {Press(kEnter, 10, true), Release(kEnter, 500, true), kBoxOpens, Press(kEnter, 500, false),
          Release(kEnter, 530, false), Press(kEnter, 600, true)}},
        {"a key released before the box opened is free",
         {Press(kEnter, 10, true), Release(kEnter, 90, true), kBoxOpens, Press(kEnter, 400, true),
          Release(kEnter, 480, true)}},
        {"another key pressed while one is held",
         {Press(kEnter, 10, true), kBoxOpens, Press(kSpace, 300, true), Release(kSpace, 380, true),
          Press(kEnter, 500, false, true)}},
        {"a release whose press was never seen", {Release(kEnter, 10, false)}},
    };
    for (const auto& c : cases) {
        KeyGate gate;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            if (step.key == 0) {
                gate.BoxOpened();
                continue;
            }
            EXPECT_EQ(gate.Deliberate({step.key, step.edge, step.time, step.autoRepeat}),
                      step.passes)
                << c.what << ", step " << i;
        }
    }
}

}  // namespace
}  // namespace tolvane::ui
