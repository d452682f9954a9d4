#include "uptime/uptime.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tolvane {
namespace {

struct UptimeCase {
    std::uint64_t milliseconds;
    const char* text;
};

class FormatUptimeTest : public testing::TestWithParam<UptimeCase> {};

TEST_P(FormatUptimeTest, Words) {
    EXPECT_EQ(FormatUptime(GetParam().milliseconds), GetParam().text) << GetParam().milliseconds;
}

constexpr std::uint64_t kSecond = 1000, kMinute = 60 * kSecond, kHour = 60 * kMinute,
                        kDay = 24 * kHour, kWeek = 7 * kDay;

INSTANTIATE_TEST_SUITE_P(
    Table, FormatUptimeTest,
    testing::Values(
        // Rounding: nearest second, halves to the even neighbour.
        UptimeCase{0, "0 second"}, UptimeCase{499, "0 second"}, UptimeCase{500, "0 second"},
        UptimeCase{501, "1 second"}, UptimeCase{1499, "1 second"}, UptimeCase{1500, "2 seconds"},
        UptimeCase{2500, "2 seconds"}, UptimeCase{3500, "4 seconds"},
        UptimeCase{59'499, "59 seconds"}, UptimeCase{59'500, "1 minute 0 second"},
        // Every unit at its boundary: zero leading units hidden, smaller ones always shown.
        UptimeCase{61'000, "1 minute 1 second"},
        UptimeCase{kHour - kSecond, "59 minutes 59 seconds"},
        UptimeCase{kHour, "1 hour 0 minute 0 second"},
        UptimeCase{kDay - kSecond, "23 hours 59 minutes 59 seconds"},
        UptimeCase{kDay, "1 day 0 hour 0 minute 0 second"},
        UptimeCase{90'061'000, "1 day 1 hour 1 minute 1 second"},
        UptimeCase{90'061'400, "1 day 1 hour 1 minute 1 second"},
        UptimeCase{2 * kDay + 3 * kHour + 12 * kSecond, "2 days 3 hours 0 minute 12 seconds"},
        UptimeCase{kWeek - kSecond, "6 days 23 hours 59 minutes 59 seconds"},
        UptimeCase{kWeek, "1 week 0 day 0 hour 0 minute 0 second"},
        UptimeCase{691'205'000, "1 week 1 day 0 hour 0 minute 5 seconds"},
        UptimeCase{kWeek + kMinute, "1 week 0 day 0 hour 1 minute 0 second"},
        UptimeCase{2'147'483'648, "3 weeks 3 days 20 hours 31 minutes 24 seconds"},
        // The old 32-bit wrap point and past it: no wrap any more.
        UptimeCase{4'294'967'295, "7 weeks 0 day 17 hours 2 minutes 47 seconds"},
        UptimeCase{4'294'967'296, "7 weeks 0 day 17 hours 2 minutes 47 seconds"},
        UptimeCase{4'294'968'295, "7 weeks 0 day 17 hours 2 minutes 48 seconds"},
        UptimeCase{365 * kDay, "52 weeks 1 day 0 hour 0 minute 0 second"},
        // The top of the 64-bit range, where a double would no longer round exactly.
        UptimeCase{UINT64_MAX, "30500568904 weeks 6 days 14 hours 25 minutes 52 seconds"},
        UptimeCase{UINT64_MAX - 115, "30500568904 weeks 6 days 14 hours 25 minutes 52 seconds"},
        UptimeCase{UINT64_MAX - 1115, "30500568904 weeks 6 days 14 hours 25 minutes 50 seconds"}));

struct SplitCase {
    std::int64_t seconds;
    UptimeParts parts;
};

TEST(SplitUptimeTest, BreaksSecondsIntoUnits) {
    const SplitCase cases[] = {
        {0, {0, 0, 0, 0, 0}},           {59, {0, 0, 0, 0, 59}},         {60, {0, 0, 0, 1, 0}},
        {3599, {0, 0, 0, 59, 59}},      {86'399, {0, 0, 23, 59, 59}},   {86'400, {0, 1, 0, 0, 0}},
        {90'061, {0, 1, 1, 1, 1}},      {604'799, {0, 6, 23, 59, 59}},  {604'800, {1, 0, 0, 0, 0}},
        {4'294'967, {7, 0, 17, 2, 47}}, {31'536'000, {52, 1, 0, 0, 0}},
    };
    for (const auto& [seconds, want] : cases) {
        const UptimeParts got = SplitUptime(seconds);
        EXPECT_EQ(got.weeks, want.weeks) << seconds;
        EXPECT_EQ(got.days, want.days) << seconds;
        EXPECT_EQ(got.hours, want.hours) << seconds;
        EXPECT_EQ(got.minutes, want.minutes) << seconds;
        EXPECT_EQ(got.seconds, want.seconds) << seconds;
    }
}

}  // namespace
}  // namespace tolvane
