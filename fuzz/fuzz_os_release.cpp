// The os-release reader on arbitrary bytes: whatever a file holds, the reader must not
// crash, must return only valid keys, and must always give the heading a name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "sysinfo/os_release.h"

namespace {

bool IsIdentifier(std::string_view key) {
    if (key.empty()) return false;
    const auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (!letter(key.front())) return false;
    for (const char c : key)
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

// Writes a value back in double quotes, escaping what the shell would expand.
std::string Quoted(std::string_view value) {
    std::string out = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\' || c == '$' || c == '`') out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto fields = tolvane::ParseOsRelease(text);

    std::string rewritten;
    for (const auto& [key, value] : fields) {
        FUZZ_CHECK(IsIdentifier(key));
        FUZZ_CHECK(value.find('\n') == std::string::npos);  // one line, one assignment
        rewritten += key + '=' + Quoted(value) + '\n';
    }
    // Every value survives being written back in the canonical quoting.
    FUZZ_CHECK(tolvane::ParseOsRelease(rewritten) == fields);

    const std::string name = tolvane::OsReleaseName(text);
    FUZZ_CHECK(!name.empty());
    const auto pretty = fields.find("PRETTY_NAME");
    if (pretty != fields.end() && !pretty->second.empty()) FUZZ_CHECK(name == pretty->second);
    return 0;
}
