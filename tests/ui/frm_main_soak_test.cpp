// frmMain's handlers through a million timer ticks, with a clock that jumps between the
// points where a narrower or careless count would break: the text must be right at every
// tick and the heap must not grow.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <iostream>
#include <optional>

#include "fakes/fake_forms.h"
#include "fakes/fake_system.h"
#include "ui/frm_main.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define TOLVANE_OTHER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLVANE_OTHER_ALLOCATOR 1
#endif
#endif

namespace tolvane {
namespace {

// Bytes the C library's allocator has handed out, where it can say so. Elsewhere (Windows,
// or under ASan, whose own leak checker covers that build) there is no figure.
std::optional<std::size_t> HeapInUse() {
#if defined(__GLIBC__) && !defined(TOLVANE_OTHER_ALLOCATOR)
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#else
    return std::nullopt;
#endif
}

struct Point {
    std::uint64_t ms;
    const char* text;
};

constexpr std::uint64_t kWrap32 = 0x1'0000'0000;  // where a 32-bit tick count went back to 0
constexpr std::uint64_t kYear = 365ull * 86'400'000;
constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

constexpr std::array kPoints{
    Point{0, "0 second"},
    Point{kWrap32 - 1, "7 weeks 0 day 17 hours 2 minutes 47 seconds"},
    Point{500, "0 second"},
    Point{kWrap32, "7 weeks 0 day 17 hours 2 minutes 47 seconds"},
    Point{kWrap32 + 1'000'000, "7 weeks 0 day 17 hours 19 minutes 27 seconds"},
    Point{0x8000'0000, "3 weeks 3 days 20 hours 31 minutes 24 seconds"},
    Point{kYear, "52 weeks 1 day 0 hour 0 minute 0 second"},
    Point{1'501, "2 seconds"},
    Point{10 * kYear + 123'456, "521 weeks 3 days 0 hour 2 minutes 3 seconds"},
    Point{kMax / 2 + 1, "15250284452 weeks 3 days 7 hours 12 minutes 56 seconds"},
    Point{kMax, "30500568904 weeks 6 days 14 hours 25 minutes 52 seconds"},
    Point{59'500, "1 minute 0 second"},
};

TEST(FrmMainSoakTest, AMillionTicksOfAJumpingClockKeepTheTextRightAndTheHeapFlat) {
    constexpr std::size_t kTicks = 1'000'000;
    constexpr std::size_t kWarmUp = 10'000;
    constexpr std::size_t kSlackBytes = 4096;

    fakes::FakeForms forms;
    fakes::FakeSystem system;
    FrmMain frm{forms, system};
    frm.Load();

    std::optional<std::size_t> heapAfterWarmUp;
    for (std::size_t tick = 0; tick < kTicks; ++tick) {
        if (tick == kWarmUp) heapAfterWarmUp = HeapInUse();
        const Point& point = kPoints[tick % kPoints.size()];
        system.milliseconds = point.ms;
        frm.Timer();
        if (forms.texts[Control::txtUptime] != point.text) {
            ADD_FAILURE() << "tick " << tick << " at " << point.ms << " ms: \""
                          << forms.texts[Control::txtUptime] << "\", expected \"" << point.text
                          << '"';
            return;
        }
    }
    EXPECT_EQ(forms.textWrites, static_cast<int>(kTicks) + 1);  // the heading, then each tick

    const std::optional<std::size_t> heapAtEnd = HeapInUse();
    if (!heapAfterWarmUp || !heapAtEnd) {
        std::cout << "[   INFO   ] heap use not measurable with this allocator\n";
        return;
    }
    EXPECT_LE(*heapAtEnd, *heapAfterWarmUp + kSlackBytes)
        << "the heap grew from " << *heapAfterWarmUp << " to " << *heapAtEnd << " bytes";
}

}  // namespace
}  // namespace tolvane
