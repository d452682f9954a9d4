#include "sysinfo/sysinfo.h"

#include <algorithm>

#include "sysinfo/display_text.h"

namespace tolvane {
namespace {

std::string_view WindowsName(const OSVersionInfo& v) {
    const std::uint32_t build = v.build & 0xFFFFu;
    switch (v.major) {
        case 4:
            switch (v.minor) {
                case 0:
                    if (build < 1000) return "Windows 95";
                    return build > 1000 ? "Windows NT4" : "Windows 4";
                case 10:
                    return build > 2000 ? "Windows 98SE" : "Windows 98";
                case 90:
                    return "Windows Me";
                default:
                    return "Windows 4";
            }
        case 5:
            switch (v.minor) {
                case 0:
                    return "Windows 2000";
                case 1:
                    return "Windows XP";
                case 2:
                    return "Windows Server 2003";
                default:
                    return "Windows 5";
            }
        case 6:
            switch (v.minor) {
                case 0:
                    return v.server ? "Windows Server 2008" : "Windows Vista";
                case 1:
                    return v.server ? "Windows Server 2008 R2" : "Windows 7";
                case 2:
                    return v.server ? "Windows Server 2012" : "Windows 8";
                case 3:
                    return v.server ? "Windows Server 2012 R2" : "Windows 8.1";
                default:
                    return "Windows 6";
            }
        case 10:
            if (!v.server) return build >= 22000 ? "Windows 11" : "Windows 10";
            if (build >= 26100) return "Windows Server 2025";
            if (build >= 20348) return "Windows Server 2022";
            if (build >= 17763) return "Windows Server 2019";
            return "Windows Server 2016";
        default:
            return "Windows";
    }
}

std::string StripTrailingNulls(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // Spaces just before the NULs stay: the trim above saw NULs, not spaces, at the end.
    const auto last = text.find_last_not_of('\0');
    return last == std::string_view::npos ? std::string{} : std::string(text.substr(0, last + 1));
}

}  // namespace

std::string GetOSName(const OSVersionInfo& version) {
    std::string name(WindowsName(version));
    name += ' ';
    name += StripTrailingNulls(version.servicePack);
    return name;
}

namespace {

// The line made around `name`, its name shortened if it does not fit.
std::string FittedLine(std::string_view name, std::string_view before, std::string_view after,
                       const LineFits& fits) {
    const std::string clean = CleanSystemText(name);
    const auto line = [&](const std::string& shown) {
        return std::string(before) + IsolateSystemText(shown) + std::string(after);
    };
    std::string whole = line(clean);
    if (!fits || fits(whole)) return whole;
    // The longest start that fits; fitting shrinks with length, so search by halves.
    const auto shortened = [&](std::size_t cut) {
        std::string start = clean.substr(0, cut);
        while (!start.empty() && start.back() == ' ') start.pop_back();
        return line(start + std::string(kEllipsis));
    };
    const std::vector<std::size_t> cuts = CutPoints(clean);
    std::size_t low = 0, high = cuts.size();  // cuts[0, low) fit; cuts[high, ...) do not
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (fits(shortened(cuts[middle]))) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return shortened(low == 0 ? 0 : cuts[low - 1]);
}

}  // namespace

std::string HeadingText(std::string_view machineName, std::string_view osName,
                        const LineFits& fits) {
    return FittedLine(machineName, "\\\\", "", fits) + "\r\n" +
           FittedLine(osName, "Running ", ", has been up for:", fits);
}

}  // namespace tolvane
