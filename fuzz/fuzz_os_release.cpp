// The os-release reader on arbitrary bytes: it must not crash, must read back what it read
// once quoted anew, and must always give a name, PRETTY_NAME first. The same bytes as names
// in the heading, and as a refusal reason, stay within bounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sysinfo/display_text.h"
#include "sysinfo/os_release.h"
#include "sysinfo/sysinfo.h"

namespace {

// An invariant broken: abort, so libFuzzer keeps the input that did it.
void Require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto fields = tolvane::ParseOSRelease(text);
    std::string rewritten;
    for (const auto& [key, value] : fields) {  // in double quotes, what the shell expands escaped
        rewritten += key + "=\"";
        for (const char c : value) {
            if (c == '"' || c == '\\' || c == '$' || c == '`') rewritten += '\\';
            rewritten += c;
        }
        rewritten += "\"\n";
    }
    Require(tolvane::ParseOSRelease(rewritten) == fields, "values survive requoting");

    const std::string name = tolvane::OSReleaseName(text);
    const auto pretty = fields.find("PRETTY_NAME");
    Require(!name.empty(), "a name");
    Require(pretty == fields.end() || pretty->second.empty() || name == pretty->second,
            "PRETTY_NAME first");

    // Room for our words, an ellipsis and an isolate: two whole lines, each within it.
    constexpr std::size_t kWidth = 40;
    const std::string heading = tolvane::HeadingText(
        text, text, [](const std::string& line) { return line.size() <= kWidth; });
    const auto lineBreak = heading.find("\r\n");
    Require(lineBreak <= kWidth && heading.find_first_of("\r\n") == lineBreak &&
                heading.starts_with("\\\\"),
            "the first line");
    const std::string_view second = std::string_view(heading).substr(lineBreak + 2);
    Require(second.size() <= kWidth && second.starts_with("Running ") &&
                second.ends_with(", has been up for:") &&
                second.find_first_of("\r\n") == second.npos,
            "the second line");

    std::size_t characters = 0;
    for (const char c : tolvane::ShownSystemText(text))
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    Require(characters <= 600, "a reason of at most 600 characters");
    return 0;
}
