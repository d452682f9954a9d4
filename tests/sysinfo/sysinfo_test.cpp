#include "sysinfo/sysinfo.h"

#include <gtest/gtest.h>

#include <string>

#include "sysinfo/display_text.h"
#include "sysinfo/os_release.h"

namespace tolvane {
namespace {

using namespace std::string_literals;

TEST(GetOSNameTest, NamesEveryRowOfTheTable) {
    const struct {
        std::uint32_t major, minor, build;
        bool server;
        std::string servicePack, name;
    } cases[] = {
        // Only the low 16 bits of the build count: 999, then 2000.
        {4, 0, 0x040003E7, false, "", "Windows 95 "},
        {4, 0, 1000, false, "", "Windows 4 "},
        {4, 0, 1001, false, "", "Windows NT4 "},
        {4, 10, 0x040A07D0, false, "", "Windows 98 "},
        {4, 10, 2001, false, "", "Windows 98SE "},
        {4, 90, 3000, false, "", "Windows Me "},
        {4, 3, 0, false, "", "Windows 4 "},
        {4, 0, 950, true, "", "Windows 95 "},  // majors 4 and 5 ignore the server flag
        {5, 0, 2195, false, "", "Windows 2000 "},
        {5, 1, 2600, false, "Service Pack 2", "Windows XP Service Pack 2"},
        {5, 2, 3790, false, "", "Windows Server 2003 "},
        {5, 3, 0, false, "", "Windows 5 "},
        {6, 0, 6002, false, "", "Windows Vista "},
        // The service pack: spaces trimmed at both ends, then NULs dropped from the end only.
        {6, 1, 7601, false, "  Update", "Windows 7 Update"},
        {6, 1, 7601, false, "   ", "Windows 7 "},
        {6, 1, 7601, false, "a \0b"s, "Windows 7 a \0b"s},
        {6, 1, 7601, false, "\0\0 x "s, "Windows 7 \0\0 x "s},  // the trim saw NULs, not spaces
        {6, 2, 9200, false, "", "Windows 8 "},
        {6, 3, 9600, false, "", "Windows 8.1 "},
        {6, 4, 9841, false, "", "Windows 6 "},
        {6, 0, 6003, true, "", "Windows Server 2008 "},
        {6, 1, 7601, true, "", "Windows Server 2008 R2 "},
        {6, 2, 9200, true, "", "Windows Server 2012 "},
        {6, 3, 9600, true, "", "Windows Server 2012 R2 "},
        {10, 0, 21999, false, "", "Windows 10 "},
        {10, 0, 22000, false, "", "Windows 11 "},
        {10, 0, 17762, true, "", "Windows Server 2016 "},
        {10, 0, 17763, true, "", "Windows Server 2019 "},
        {10, 0, 20347, true, "", "Windows Server 2019 "},
        {10, 0, 20348, true, "", "Windows Server 2022 "},
        {10, 0, 26099, true, "", "Windows Server 2022 "},
        {10, 0, 26100, true, "", "Windows Server 2025 "},
        {0, 0, 0, false, "", "Windows "},  // a failed query leaves the record zero
        {11, 0, 30000, false, "", "Windows "},
    };
    for (const auto& c : cases) {
        // The service-pack field as Windows hands it over: 128 characters, NUL-padded.
        OSVersionInfo version{c.major, c.minor, c.build, c.servicePack, c.server};
        version.servicePack.resize(128, '\0');
        EXPECT_EQ(GetOSName(version), c.name)
            << c.major << '.' << c.minor << '.' << c.build << (c.server ? " server" : "");
    }
}

#define FSI "\xE2\x81\xA8"
#define PDI "\xE2\x81\xA9"
#define ELLIPSIS "\xE2\x80\xA6"
#define HEBREW "\xD7\x9E\xD7\x97\xD7\xA9\xD7\x91"          // a word of four letters
#define ARABIC "\xD8\xAD\xD8\xA7\xD8\xB3\xD9\x88\xD8\xA8"  // a word of five letters

TEST(HeadingTextTest, TwoLinesWithTheSystemsNamesKeptFromReorderingOurWords) {
    const struct {
        const char* what;
        std::string machine, os, heading;
    } cases[] = {
        {"no name", "", "Debian GNU/Linux 12 (bookworm) ",
         "\\\\\r\nRunning Debian GNU/Linux 12 (bookworm) , has been up for:"},
        {"left to right, not isolated", "\xE6\x9D\xB1\xE4\xBA\xAC", "Windows 7 ",
         "\\\\\xE6\x9D\xB1\xE4\xBA\xAC\r\nRunning Windows 7 , has been up for:"},
        {"Hebrew is isolated", HEBREW, "Linux ",
         "\\\\" FSI HEBREW PDI "\r\nRunning Linux , has been up for:"},
        {"Arabic with digits, isolated and its marks dropped", "PC", ARABIC "\xE2\x80\x8F 12 ",
         "\\\\PC\r\nRunning " FSI ARABIC " 12 " PDI ", has been up for:"},
        {"isolates of its own cannot close ours", "\xE2\x81\xA9" HEBREW "\xE2\x81\xA6", "L ",
         "\\\\" FSI HEBREW PDI "\r\nRunning L , has been up for:"},
        {"control characters and broken UTF-8", "a\r\nb\t\xFF", "L\x1B ",
         "\\\\ab\xEF\xBF\xBD\r\nRunning L , has been up for:"},
    };
    for (const auto& c : cases) EXPECT_EQ(HeadingText(c.machine, c.os), c.heading) << c.what;
}

TEST(HeadingTextTest, ALineThatDoesNotFitHasItsNameShortenedBetweenCharacters) {
    const std::string redHat = "Red Hat Enterprise Linux CoreOS 414.92.202402130420-0 (Plow) ";
    const std::string decomposed = "e\xCC\x81";  // e and a combining acute accent
    const std::string narrowSecondLine = "\r\nRunning " ELLIPSIS ", has been up for:";
    const struct {
        const char* what;
        std::string machine, os;
        std::size_t width;  // bytes per line
        std::string heading;
    } cases[] = {
        {"a 64-character name", std::string(64, 'a'), "L ", 40,
         "\\\\" + std::string(35, 'a') + ELLIPSIS "\r\nRunning L , has been up for:"},
        {"a long system name, never our words", "PC", redHat, 60,
         "\\\\PC\r\nRunning Red Hat Enterprise Linux CoreOS" ELLIPSIS ", has been up for:"},
        {"not between a letter and its accent", decomposed + decomposed + decomposed, "L ", 9,
         "\\\\" + decomposed + ELLIPSIS + narrowSecondLine},
        {"not inside a character", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "L ", 8,
         "\\\\\xC3\xA9" ELLIPSIS + narrowSecondLine},
        {"isolated while shortened", HEBREW HEBREW, "L ", 20,
         "\\\\" FSI HEBREW ELLIPSIS PDI + narrowSecondLine},
        {"nothing fits: the ellipsis alone", "PC1", "Linux ", 1,
         "\\\\" ELLIPSIS "\r\nRunning " ELLIPSIS ", has been up for:"},
    };
    for (const auto& c : cases) {
        const auto fits = [&](const std::string& line) { return line.size() <= c.width; };
        EXPECT_EQ(HeadingText(c.machine, c.os, fits), c.heading) << c.what;
    }
}

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

// Any program's words (a refusal's reason, an inhibitor's name, a machine's name) end in
// a box or tooltip that must stay on the screen and read in our order.
TEST(ShownSystemTextTest, CleanedEveryLineBreakCountedAndCutAfterAWordWithin600Characters) {
    const struct {
        const char* what;
        std::string text, shown;
    } cases[] = {
        {"600 characters, some of two bytes", Repeat("w\xC3\xB6rd ", 120),
         Repeat("w\xC3\xB6rd ", 120)},
        {"10 KB of words", Repeat("word ", 2000), Repeat("word ", 119) + "word" ELLIPSIS},
        {"one long word of two-byte characters", Repeat("\xC3\xA9", 1000),
         Repeat("\xC3\xA9", 599) + ELLIPSIS},
        {"accents stay with their letters", Repeat("e\xCC\x81", 400),
         Repeat("e\xCC\x81", 299) + ELLIPSIS},
        {"every kind of line break is one CR LF, and counts",
         Repeat("a\rb\nc\r\nd\ve\ff\xC2\x85g\xE2\x80\xA8h\xE2\x80\xA9", 2),
         "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\na\r\nb\r\nc\r\nd" ELLIPSIS},
        {"overrides, controls and broken UTF-8 dropped; a tab is a space",
         "\xE2\x80\xAE"
         "abc\x1B\x07\x7F\tx\xC2\x9B\xFF",
         "abc x\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownSystemText(c.text), c.shown) << c.what;
}

TEST(OSReleaseNameTest, RealAndUnusualFiles) {
    const struct {
        const char* what;
        std::string text;
        const char* name;
    } cases[] = {
        {"Ubuntu, unquoted keys and a comment",
         "# Ubuntu\nNAME=\"Ubuntu\"\nVERSION=\"24.04 LTS (Noble Numbat)\"\nID=ubuntu\n"
         "PRETTY_NAME=\"Ubuntu 24.04 LTS\"\n",
         "Ubuntu 24.04 LTS"},
        {"escapes in double quotes",
         R"(PRETTY_NAME="Say \"hi\" \\ \$HOME \`x\` \n")"
         "\n",
         R"(Say "hi" \ $HOME `x` \n)"},
        {"single quotes keep backslashes", R"(PRETTY_NAME='a\"b')", R"(a\"b)"},
        {"adjacent quoted runs", R"(PRETTY_NAME="My "'Linux'\ 1)", "My Linux 1"},
        {"indented, blank lines, CR LF", "\n\n   PRETTY_NAME=\"Edited\"\r\n\t\r\n", "Edited"},
        {"the last assignment wins, without a final newline", "PRETTY_NAME=One\nPRETTY_NAME=Two",
         "Two"},
        {"no PRETTY_NAME: NAME and VERSION",
         "NAME=\"Ubuntu\"\nVERSION=\"24.04 LTS (Noble Numbat)\"\n",
         "Ubuntu 24.04 LTS (Noble Numbat)"},
        {"NAME alone", "NAME=Gentoo\n", "Gentoo"},
        {"VERSION alone", "VERSION=7\n", "Linux 7"},
        {"empty PRETTY_NAME", "PRETTY_NAME=\"\"\nNAME=Void\n", "Void"},
        {"empty file", "", "Linux"},
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
