// The os-release reader on arbitrary bytes: whatever a file holds, the reader must not
// crash, must read back what it read once quoted anew, and must always give the heading a
// name. The same bytes as a name in the heading, and as a system's refusal reason, stay
// within bounds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "power/power_actions.h"
#include "sysinfo/os_release.h"
#include "sysinfo/sysinfo.h"

// An invariant broken: report it and abort, so libFuzzer keeps the input that did it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace {

// Writes a value back in double quotes, escaping what the shell would expand.
std::string Quoted(std::string_view value) {
    std::string out = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\' || c == '$' || c == '`') out += '\\';
        out += c;
    }
    return out + '"';
}

std::size_t CodePoints(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Two lines of at most `width` bytes, our words whole around the name.
void CheckHeading(std::string_view name) {
    constexpr std::size_t width = 40;  // room for our words, an ellipsis and an isolate
    const auto fits = [](const std::string& line) { return line.size() <= width; };
    const std::string heading = tolvane::HeadingText(name, name, fits);
    const auto lineBreak = heading.find("\r\n");
    FUZZ_CHECK(lineBreak != std::string::npos);
    const std::string_view first(heading.data(), lineBreak);
    const std::string_view second = std::string_view(heading).substr(lineBreak + 2);
    FUZZ_CHECK(first.size() <= width && second.size() <= width);
    FUZZ_CHECK(first.starts_with("\\\\") && first.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(second.starts_with("Running ") && second.ends_with(", has been up for:"));
    FUZZ_CHECK(second.find_first_of("\r\n") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto fields = tolvane::ParseOSRelease(text);

    std::string rewritten;
    for (const auto& [key, value] : fields) rewritten += key + '=' + Quoted(value) + '\n';
    // Every value survives being written back in the canonical quoting, on one line.
    FUZZ_CHECK(tolvane::ParseOSRelease(rewritten) == fields);

    const std::string name = tolvane::OSReleaseName(text);
    FUZZ_CHECK(!name.empty());
    const auto pretty = fields.find("PRETTY_NAME");
    if (pretty != fields.end() && !pretty->second.empty()) FUZZ_CHECK(name == pretty->second);

    CheckHeading(text);
    const std::string reason = tolvane::ShownReason(text);
    FUZZ_CHECK(CodePoints(reason) <= 600);
    return 0;
}
