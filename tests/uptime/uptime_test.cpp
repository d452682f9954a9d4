#include "uptime/uptime.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tolvane {
namespace {

TEST(FormatUptimeTest, Words) {
    constexpr std::uint64_t kSecond = 1000, kMinute = 60 * kSecond, kHour = 60 * kMinute,
                            kDay = 24 * kHour, kWeek = 7 * kDay;
    const struct {
        std::uint64_t milliseconds;
        const char* text;
    } cases[] = {
        // Rounding: nearest second, halves to the even neighbour; singular for 0 and 1.
        {0, "0 second"},
        {500, "0 second"},
        {501, "1 second"},
        {1500, "2 seconds"},
        {2500, "2 seconds"},
        {59'500, "1 minute 0 second"},
        // Zero leading units hidden, smaller ones always shown; each unit's boundary.
        {kHour, "1 hour 0 minute 0 second"},
        {kDay, "1 day 0 hour 0 minute 0 second"},
        {2 * kDay + 3 * kHour + 12 * kSecond, "2 days 3 hours 0 minute 12 seconds"},
        {kWeek - kSecond, "6 days 23 hours 59 minutes 59 seconds"},
        {kWeek, "1 week 0 day 0 hour 0 minute 0 second"},
        {365 * kDay, "52 weeks 1 day 0 hour 0 minute 0 second"},
        // Past the old 32-bit wrap point, and at the top of the 64-bit range, where a double
        // would no longer round exactly.
        {4'294'968'295, "7 weeks 0 day 17 hours 2 minutes 48 seconds"},
        {UINT64_MAX - 115, "30500568904 weeks 6 days 14 hours 25 minutes 52 seconds"},
        {UINT64_MAX - 1115, "30500568904 weeks 6 days 14 hours 25 minutes 50 seconds"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatUptime(c.milliseconds), c.text) << c.milliseconds;
}

}  // namespace
}  // namespace tolvane
