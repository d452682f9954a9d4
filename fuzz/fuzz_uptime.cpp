// FormatUptime on arbitrary 64-bit millisecond counts, against a deliberately plain
// second opinion: rounding by half-seconds, units by subtraction, words joined at the end.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "uptime/uptime.h"

namespace {

std::uint64_t RoundedSeconds(std::uint64_t ms) {
    const std::uint64_t halves = ms / 500;
    const bool exactHalf = ms % 500 == 0;
    if (halves % 2 == 0) return halves / 2;   // below the half: down
    if (!exactHalf) return (halves + 1) / 2;  // past the half: up
    const std::uint64_t below = (halves - 1) / 2;
    return below % 2 == 0 ? below : below + 1;  // exactly half: the even one
}

std::string Oracle(std::uint64_t ms) {
    std::uint64_t rest = RoundedSeconds(ms);
    struct Unit {
        std::uint64_t size;
        const char* name;
        std::uint64_t count = 0;
    };
    std::array<Unit, 5> units{
        {{604800, "week"}, {86400, "day"}, {3600, "hour"}, {60, "minute"}, {1, "second"}}};
    for (Unit& unit : units) {
        unit.count = rest / unit.size;
        rest -= unit.count * unit.size;
    }
    std::size_t first = 0;
    while (first + 1 < units.size() && units[first].count == 0) ++first;

    std::ostringstream words;
    for (std::size_t i = first; i < units.size(); ++i) {
        if (i != first) words << ' ';
        words << units[i].count << ' ' << units[i].name << (units[i].count >= 2 ? "s" : "");
    }
    return words.str();
}

}  // namespace

// Each 8 bytes of the input are one count; a short tail is padded with zeros.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at == 0 || at < size; at += 8) {
        std::uint64_t ms = 0;
        if (size > at) std::memcpy(&ms, data + at, std::min<std::size_t>(8, size - at));
        const std::string text = tolvane::FormatUptime(ms);
        if (text != Oracle(ms)) {
            std::fprintf(stderr, "FormatUptime(%llu) = \"%s\", expected \"%s\"\n",
                         static_cast<unsigned long long>(ms), text.c_str(), Oracle(ms).c_str());
            std::abort();
        }
    }
    return 0;
}
