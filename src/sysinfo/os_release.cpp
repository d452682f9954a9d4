#include "sysinfo/os_release.h"

#include <optional>

namespace tolvane {
namespace {

bool IsKey(std::string_view key) {
    if (key.empty()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A shell-style value: quoted and unquoted runs may follow one another ("a"'b'c).
std::optional<std::string> ParseValue(std::string_view raw) {
    std::string value;
    std::size_t trailingBlanks = 0;  // unquoted blanks at the end are not part of the value
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            for (++i;; ++i) {
                if (i >= raw.size()) return std::nullopt;
                if (raw[i] == '"') break;
                const bool escape =
                    raw[i] == '\\' && i + 1 < raw.size() &&
                    std::string_view("\"\\$`").find(raw[i + 1]) != std::string_view::npos;
                if (escape) ++i;
                value += raw[i];
            }
            trailingBlanks = 0;
        } else if (c == '\'') {
            const auto end = raw.find('\'', i + 1);
            if (end == std::string_view::npos) return std::nullopt;
            value += raw.substr(i + 1, end - i - 1);
            i = end;
            trailingBlanks = 0;
        } else if (c == '\\') {
            if (++i < raw.size()) value += raw[i];
            trailingBlanks = 0;
        } else {
            value += c;
            trailingBlanks = IsBlank(c) ? trailingBlanks + 1 : 0;
        }
    }
    value.resize(value.size() - trailingBlanks);
    return value;
}

}  // namespace

std::map<std::string, std::string, std::less<>> ParseOSRelease(std::string_view text) {
    std::map<std::string, std::string, std::less<>> fields;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);

        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
        if (line.empty() || line.front() == '#') continue;

        const auto equals = line.find('=');
        if (equals == std::string_view::npos || !IsKey(line.substr(0, equals))) continue;
        if (auto value = ParseValue(line.substr(equals + 1)))
            fields.insert_or_assign(std::string(line.substr(0, equals)), std::move(*value));
    }
    return fields;
}

std::string OSReleaseName(std::string_view text) {
    const auto fields = ParseOSRelease(text);
    const auto get = [&](std::string_view key) -> std::string {
        const auto it = fields.find(key);
        return it == fields.end() ? std::string{} : it->second;
    };
    if (auto pretty = get("PRETTY_NAME"); !pretty.empty()) return pretty;
    std::string name = get("NAME");
    const std::string version = get("VERSION");
    if (name.empty()) name = "Linux";
    if (!version.empty()) name += ' ' + version;
    return name;
}

}  // namespace tolvane
