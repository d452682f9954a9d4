#pragma once
#include <map>
#include <string>
#include <string_view>

namespace tolvane {

// KEY=VALUE assignments of an os-release file: double or single quotes, backslash
// escapes, comments and blank lines; malformed lines are skipped.
std::map<std::string, std::string, std::less<>> ParseOSRelease(std::string_view text);

// PRETTY_NAME; else NAME and VERSION; else "Linux".
std::string OSReleaseName(std::string_view text);

}  // namespace tolvane
