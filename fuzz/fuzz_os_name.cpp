// StripTrailingNulls and GetOSName on arbitrary version records.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "sysinfo/sysinfo.h"

namespace {

// The names each major version may be given; anything else is "Windows".
const std::set<std::string_view>& NamesFor(std::uint32_t major) {
    static const std::set<std::string_view> four{"Windows 95", "Windows NT4",  "Windows 4",
                                                 "Windows 98", "Windows 98SE", "Windows Me"};
    static const std::set<std::string_view> five{"Windows 2000", "Windows XP",
                                                 "Windows Server 2003", "Windows 5"};
    static const std::set<std::string_view> six{"Windows Vista",
                                                "Windows 7",
                                                "Windows 8",
                                                "Windows 8.1",
                                                "Windows 6",
                                                "Windows Server 2008",
                                                "Windows Server 2008 R2",
                                                "Windows Server 2012",
                                                "Windows Server 2012 R2"};
    static const std::set<std::string_view> ten{"Windows 10",          "Windows 11",
                                                "Windows Server 2016", "Windows Server 2019",
                                                "Windows Server 2022", "Windows Server 2025"};
    static const std::set<std::string_view> other{"Windows"};
    switch (major) {
        case 4:
            return four;
        case 5:
            return five;
        case 6:
            return six;
        case 10:
            return ten;
        default:
            return other;
    }
}

// The text is (spaces)(kept)(NULs)(spaces): only the outer spaces and the NULs before
// the trailing spaces may go, and a space right before those NULs stays.
void CheckStrip(std::string_view text) {
    const std::string kept = tolvane::StripTrailingNulls(text);
    const auto lead = std::min(text.find_first_not_of(' '), text.size());
    FUZZ_CHECK(text.substr(lead, kept.size()) == kept);
    const std::string_view rest = text.substr(lead + kept.size());
    const auto nuls = std::min(rest.find_first_not_of('\0'), rest.size());
    FUZZ_CHECK(rest.substr(nuls).find_first_not_of(' ') == std::string_view::npos);
    if (kept.empty()) return;
    FUZZ_CHECK(kept.front() != ' ');
    FUZZ_CHECK(kept.back() != '\0');
    if (nuls == 0) FUZZ_CHECK(kept.back() != ' ');  // no NULs: the trim took every space
}

std::uint32_t Word(const std::uint8_t* data) {
    std::uint32_t word;
    std::memcpy(&word, data, sizeof word);
    return word;
}

}  // namespace

// Input: major, minor and build (4 bytes each), a server flag byte, then the field.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 13;
    if (size < kHeader) {
        CheckStrip({reinterpret_cast<const char*>(data), size});
        return 0;
    }
    tolvane::OsVersionInfo version;
    version.major = Word(data);
    version.minor = Word(data + 4);
    version.build = Word(data + 8);
    version.server = (data[12] & 1) != 0;
    version.servicePack.assign(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
    CheckStrip(version.servicePack);

    const std::string name = tolvane::GetOSName(version);
    const std::string servicePack = tolvane::StripTrailingNulls(version.servicePack);
    FUZZ_CHECK(name.size() > servicePack.size());
    const std::string_view windows(name.data(), name.size() - servicePack.size() - 1);
    FUZZ_CHECK(name.substr(windows.size()) == ' ' + servicePack);
    FUZZ_CHECK(NamesFor(version.major).contains(windows));

    // Only the low 16 bits of the build count, and before Vista the server flag did not
    // exist.
    tolvane::OsVersionInfo twin = version;
    twin.build ^= 0xFFFF0000u;
    if (version.major < 6) twin.server = !twin.server;
    FUZZ_CHECK(tolvane::GetOSName(twin) == name);
    return 0;
}
