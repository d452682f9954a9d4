#include "uptime/uptime.h"

namespace tolvane {
namespace {

// Nearest whole second, halves to the even neighbour; exact over the whole 64-bit range.
std::int64_t RoundToSeconds(std::uint64_t milliseconds) {
    std::uint64_t seconds = milliseconds / 1000;
    const std::uint64_t rest = milliseconds % 1000;
    if (rest > 500 || (rest == 500 && seconds % 2 == 1)) ++seconds;
    return static_cast<std::int64_t>(seconds);  // at most 2^64 / 1000: fits
}

void AppendUnit(std::string& text, std::int64_t count, const char* unit) {
    text += std::to_string(count);
    text += unit;
    if (count > 1) text += 's';
}

}  // namespace

UptimeParts SplitUptime(std::int64_t totalSeconds) {
    const std::int64_t totalDays = totalSeconds / 86400;
    return UptimeParts{
        .weeks = totalDays / 7,
        .days = totalDays % 7,
        .hours = (totalSeconds / 3600) % 24,
        .minutes = (totalSeconds / 60) % 60,
        .seconds = totalSeconds % 60,
    };
}

std::string FormatUptime(std::uint64_t milliseconds) {
    const UptimeParts parts = SplitUptime(RoundToSeconds(milliseconds));
    std::string text;
    text.reserve(48);
    // Once a unit is shown, every smaller one is shown too, zero or not.
    bool shown = false;
    const auto piece = [&](std::int64_t count, const char* unit) {
        shown = shown || count > 0;
        if (!shown) return;
        AppendUnit(text, count, unit);
        text += ' ';
    };
    piece(parts.weeks, " week");
    piece(parts.days, " day");
    piece(parts.hours, " hour");
    piece(parts.minutes, " minute");
    AppendUnit(text, parts.seconds, " second");
    return text;
}

}  // namespace tolvane
