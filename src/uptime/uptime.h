#pragma once
#include <cstdint>
#include <string>

namespace tolvane {

struct UptimeParts {
    std::int64_t weeks, days, hours, minutes, seconds;
};

// Breaks whole seconds into weeks (uncapped), days, hours, minutes and seconds.
UptimeParts SplitUptime(std::int64_t totalSeconds);

// "2 days 3 hours 0 minute 12 seconds": milliseconds rounded to the nearest second
// (halves to even), leading zero units left out, singular for 0 and 1.
std::string FormatUptime(std::uint64_t milliseconds);

}  // namespace tolvane
