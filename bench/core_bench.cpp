#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "sysinfo/os_release.h"
#include "sysinfo/sysinfo.h"
#include "uptime/uptime.h"

namespace {

// From a few seconds to a year: the text grows from one unit to five.
void BM_FormatUptime(benchmark::State& state) {
    std::uint64_t milliseconds = static_cast<std::uint64_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tolvane::FormatUptime(milliseconds));
        milliseconds += 100;  // as the timer sees it
    }
}
BENCHMARK(BM_FormatUptime)->Arg(1'000)->Arg(90'061'000)->Arg(2'592'000'000)->Arg(31'536'000'000);

void BM_GetOSName(benchmark::State& state) {
    tolvane::OSVersionInfo version{10, 0, 19045, "Service Pack 1", false};
    version.servicePack.resize(128, '\0');
    for (auto _ : state) benchmark::DoNotOptimize(tolvane::GetOSName(version));
}
BENCHMARK(BM_GetOSName);

void BM_HeadingText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tolvane::HeadingText("OFFICE-PC", "Windows 10 "));
}
BENCHMARK(BM_HeadingText);

void BM_OSReleaseName(benchmark::State& state) {
    const std::string text =
        "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
        "VERSION_ID=\"12\"\nVERSION=\"12 (bookworm)\"\nVERSION_CODENAME=bookworm\nID=debian\n"
        "HOME_URL=\"https://www.debian.org/\"\nSUPPORT_URL=\"https://www.debian.org/support\"\n";
    for (auto _ : state) benchmark::DoNotOptimize(tolvane::OSReleaseName(text));
}
BENCHMARK(BM_OSReleaseName);

}  // namespace
