#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tolvane {

// The parts of Windows' version record that name the system.
struct OSVersionInfo {
    std::uint32_t major = 0, minor = 0,
                  build = 0;  // build: the whole field; the table compares its low 16 bits
    std::string servicePack;  // the raw 128-character field, NULs included
    bool server = false;      // a server edition (product type other than workstation)
};

// The Windows name by the version table, " ", then the service-pack text with spaces
// trimmed at both ends and then NULs dropped from its end only.
std::string GetOSName(const OSVersionInfo& version);

// Whether one line of text fits the heading's width, as the front end measures it.
using LineFits = std::function<bool(const std::string& line)>;

// "\\NAME" CR LF "Running <osName>, has been up for:", both names isolated from the
// words around them (IsolateSystemText). With `fits`, a line that does not fit has its name
// shortened, between two characters, to the longest start that fits with an ellipsis.
std::string HeadingText(std::string_view machineName, std::string_view osName,
                        const LineFits& fits = {});

}  // namespace tolvane
