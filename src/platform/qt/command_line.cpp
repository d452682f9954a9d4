#include "platform/qt/command_line.h"

#include <algorithm>
#include <array>

namespace tolvane::qt {
namespace {

// QGuiApplication's and QApplication's options and their X11 ones: these take the next
// argument as their value...
constexpr std::array<std::string_view, 12> kQtOptionsWithValue = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "display",         "geometry",           "style",         "stylesheet"};
// ...these stand alone, and these carry theirs after '='.
constexpr std::array<std::string_view, 2> kQtFlags = {"reverse", "widgetcount"};
constexpr std::array<std::string_view, 5> kQtOptionsWithEquals = {
    "style=", "stylesheet=", "qmljsdebugger=", "dialogs=", "fontengine="};

bool Among(const auto& names, std::string_view name) {
    return std::ranges::find(names, name) != names.end();
}

}  // namespace

CommandLine ReadCommandLine(std::span<char* const> arguments) {
    CommandLine request = CommandLine::Window;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--version") {
            request = request == CommandLine::Window ? CommandLine::Version : request;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            request = request == CommandLine::Window ? CommandLine::Help : request;
            continue;
        }
        // Qt takes its options with one dash or two.
        std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        if (!argument.starts_with('-') || name.empty()) return CommandLine::Unknown;
        if (Among(kQtOptionsWithValue, name) && i + 1 < arguments.size()) {
            ++i;
        } else if (!Among(kQtFlags, name) &&
                   std::ranges::none_of(kQtOptionsWithEquals, [&](std::string_view with) {
                       return name.starts_with(with);
                   })) {
            return CommandLine::Unknown;
        }
    }
    return request;
}

}  // namespace tolvane::qt
