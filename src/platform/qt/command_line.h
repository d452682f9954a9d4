#pragma once
#include <span>
#include <string_view>

namespace tolvane::qt {

// What the command line asks for. Qt's own options (-platform NAME, -display NAME...) are
// left for QApplication and ask for the window like no option at all.
enum class CommandLine { Window, Version, Help, Unknown };

CommandLine ReadCommandLine(std::span<char* const> arguments);

inline constexpr std::string_view kUsage =
    "Usage: tolvane [--help | --version]\n"
    "Shows how long this computer has been up; restarts it or powers it off.\n"
    "\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME and -display NAME, are passed to Qt.\n";

}  // namespace tolvane::qt
