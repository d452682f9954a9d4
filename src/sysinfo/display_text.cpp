#include "sysinfo/display_text.h"

#include <algorithm>
#include <cstdint>

namespace tolvane {
namespace {

struct CodePoint {
    char32_t value;
    std::size_t length;  // bytes it took in the text
};

// Lenient: a byte that does not start a valid sequence is one U+FFFD.
CodePoint Decode(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t value = 0, minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return {0xFFFD, 1};
    }
    if (at + length > text.size()) return {0xFFFD, 1};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {0xFFFD, 1};
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {0xFFFD, 1};
    return {value, length};
}

void Encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsDirectionalControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

// Joined to the character before it: cutting in front of it would change that character.
bool Extends(char32_t c) {
    static constexpr std::pair<char32_t, char32_t> kRanges[] = {
        {0x0300, 0x036F},   {0x0483, 0x0489}, {0x0591, 0x05C7},   {0x0610, 0x061A},
        {0x064B, 0x065F},   {0x0670, 0x0670}, {0x06D6, 0x06ED},   {0x0900, 0x0903},
        {0x093A, 0x094F},   {0x0E31, 0x0E3A}, {0x0E47, 0x0E4E},   {0x1AB0, 0x1AFF},
        {0x1DC0, 0x1DFF},   {0x200C, 0x200D}, {0x20D0, 0x20FF},   {0x3099, 0x309A},
        {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F}, {0x1F3FB, 0x1F3FF}, {0xE0020, 0xE007F},
        {0xE0100, 0xE01EF},
    };
    return std::any_of(std::begin(kRanges), std::end(kRanges),
                       [c](const auto& range) { return c >= range.first && c <= range.second; });
}

// Scripts written right to left, by their blocks.
bool IsRightToLeft(char32_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
           (c >= 0x1E800 && c <= 0x1EFFF);
}

bool IsSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0xA0 || c == 0x3000;
}

bool IsLineBreak(char32_t c) {
    return (c >= '\n' && c <= '\r') || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// CleanSystemText, with line breaks kept as CR LF when `lines`.
std::string Clean(std::string_view text, bool lines) {
    std::string clean;
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint c = Decode(text, at);
        at += c.length;
        if (lines && IsLineBreak(c.value)) {
            // CR LF is one break, not two.
            if (c.value == '\r' && at < text.size() && text[at] == '\n') ++at;
            clean += "\r\n";
        } else if (lines && c.value == '\t') {
            clean += ' ';
        } else if (!IsDirectionalControl(c.value) && !IsControl(c.value)) {
            Encode(c.value, clean);
        }
    }
    return clean;
}

}  // namespace

std::string CleanSystemText(std::string_view text) {
    return Clean(text, false);
}

std::string ShownSystemText(std::string_view text) {
    return ShortenAtWord(Clean(text, true), 600, 12);
}

std::string IsolateSystemText(std::string_view text) {
    std::string clean = CleanSystemText(text);
    // Left-to-right text can no longer move anything; older systems may draw the marks.
    bool rightToLeft = false;
    for (std::size_t at = 0; at < clean.size() && !rightToLeft;) {
        const CodePoint c = Decode(clean, at);
        rightToLeft = IsRightToLeft(c.value);
        at += c.length;
    }
    if (!rightToLeft) return clean;
    return "\xE2\x81\xA8" + clean + "\xE2\x81\xA9";  // U+2068 ... U+2069
}

std::vector<std::size_t> CutPoints(std::string_view text) {
    std::vector<std::size_t> cuts;
    char32_t previous = 0;
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint c = Decode(text, at);
        if (at > 0 && !Extends(c.value) && previous != 0x200D) cuts.push_back(at);
        previous = c.value;
        at += c.length;
    }
    if (!text.empty()) cuts.push_back(text.size());
    return cuts;
}

std::string ShortenAtWord(std::string_view text, std::size_t maxCharacters, std::size_t maxLines) {
    // Where each character starts, and where the lines allowed end.
    std::vector<std::size_t> starts;
    std::size_t lines = 1, end = text.size();
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint c = Decode(text, at);
        if (c.value == '\n' && ++lines > maxLines) {
            end = at;
            break;
        }
        starts.push_back(at);
        at += c.length;
    }
    if (end == text.size() && starts.size() <= maxCharacters) return std::string(text);

    // Room for the ellipsis. Cut at the last line allowed when the characters do not run out
    // first; else after the last whole word, unless that would drop more than half of what
    // is kept; else between two characters.
    const std::size_t keep = std::min(starts.size(), maxCharacters > 0 ? maxCharacters - 1 : 0);
    std::size_t cut = end;
    if (keep < starts.size()) {
        cut = starts[keep];
        bool atWord = false;
        for (std::size_t i = keep; i > keep / 2 && !atWord; --i) {
            atWord = IsSpace(Decode(text, starts[i]).value);
            if (atWord) cut = starts[i];
        }
        if (!atWord) {
            const auto cuts = CutPoints(text.substr(0, end));
            const auto after = std::upper_bound(cuts.begin(), cuts.end(), cut);
            cut = after == cuts.begin() ? 0 : *std::prev(after);
        }
    }
    std::string shortened(text.substr(0, cut));
    while (!shortened.empty() && IsSpace(static_cast<unsigned char>(shortened.back())))
        shortened.pop_back();
    return shortened + std::string(kEllipsis);
}

}  // namespace tolvane
