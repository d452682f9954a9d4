#include "sysinfo/os_release.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using namespace std::string_literals;

TEST(OSReleaseNameTest, RealAndUnusualFiles) {
    const struct {
        const char* what;
        std::string text;
        const char* name;
    } cases[] = {
        {"Debian 12", "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"Fedora, unquoted keys and a comment",
         "# Fedora\nNAME=\"Fedora Linux\"\nVERSION=\"40 (Workstation Edition)\"\nID=fedora\n"
         "PRETTY_NAME=\"Fedora Linux 40 (Workstation Edition)\"\n",
         "Fedora Linux 40 (Workstation Edition)"},
        {"Arch, single quotes", "NAME='Arch Linux'\nPRETTY_NAME='Arch Linux'\nID=arch\n",
         "Arch Linux"},
        {"escapes in double quotes",
         R"(PRETTY_NAME="Say \"hi\" \\ \$HOME \`x\` \n")"
         "\n",
         R"(Say "hi" \ $HOME `x` \n)"},
        {"single quotes keep backslashes", R"(PRETTY_NAME='a\"b')", R"(a\"b)"},
        {"adjacent quoted runs", R"(PRETTY_NAME="My "'Linux'\ 1)", "My Linux 1"},
        {"CR LF line ends", "PRETTY_NAME=\"Windows-edited\"\r\nID=x\r\n", "Windows-edited"},
        {"indented and blank lines", "\n\n   PRETTY_NAME=\"Indented\"\n\t\n", "Indented"},
        {"last assignment wins", "PRETTY_NAME=One\nPRETTY_NAME=Two\n", "Two"},
        {"no PRETTY_NAME: NAME and VERSION",
         "NAME=\"Ubuntu\"\nVERSION=\"24.04 LTS (Noble Numbat)\"\n",
         "Ubuntu 24.04 LTS (Noble Numbat)"},
        {"NAME alone", "NAME=Gentoo\n", "Gentoo"},
        {"VERSION alone", "VERSION=7\n", "Linux 7"},
        {"empty PRETTY_NAME", "PRETTY_NAME=\"\"\nNAME=Void\n", "Void"},
        {"empty file", "", "Linux"},
        {"an unterminated PRETTY_NAME is skipped", "PRETTY_NAME=\"broken\nNAME=Fallback\n",
         "Fallback"},
        {"no final newline", "PRETTY_NAME=\"Last line\"", "Last line"},
        {"UTF-8 kept", "PRETTY_NAME=\"Lin\xC3\xBCx\"\n", "Lin\xC3\xBCx"},
    };
    for (const auto& c : cases) EXPECT_EQ(OSReleaseName(c.text), c.name) << c.what;
}

TEST(ParseOSReleaseTest, SkipsMalformedLinesAndKeepsTheRest) {
    const auto fields = ParseOSRelease(
        "PRETTY_NAME=\"unterminated\n"  // no closing quote: skipped
        "NAME='also unterminated\n"
        "no equals sign here\n"
        "=value without key\n"
        "1ID=starts with a digit\n"
        "BAD KEY=space in key\n"
        "#PRETTY_NAME=\"commented out\"\n"
        "ID=ok\n"
        "EMPTY=\n"
        "NUL=a\0b\n"s
        "TRAILING=spaces   \n");
    const std::map<std::string, std::string, std::less<>> want{
        {"ID", "ok"}, {"EMPTY", ""}, {"NUL", "a\0b"s}, {"TRAILING", "spaces"}};
    EXPECT_EQ(fields, want);
}

}  // namespace
}  // namespace tolvane
