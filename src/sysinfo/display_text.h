#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // U+2026

// Text from the system, made safe to show inside our own words: invalid UTF-8 becomes
// U+FFFD; control characters and the marks that change the direction of the text around
// them are dropped; what is left, when it holds right-to-left letters, sits in an isolate
// (U+2068 ... U+2069), so it keeps its own order without reordering the words around it.
std::string IsolateSystemText(std::string_view text);

// The same without the isolate, for cutting before isolating.
std::string CleanSystemText(std::string_view text);

// The byte offsets, in valid UTF-8 text, where it may be cut without splitting a character:
// not before a combining mark, a joiner or a variation selector, nor after a joiner. The end
// of the text is the last entry; 0 is not listed.
std::vector<std::size_t> CutPoints(std::string_view text);

// text whole when it has at most maxCharacters code points; else its start, cut after a
// word where one ends in the second half, shortened further so that it and the ellipsis
// that ends it have at most maxCharacters. Also cut after at most maxLines lines.
std::string ShortenAtWord(std::string_view text, std::size_t maxCharacters, std::size_t maxLines);

// Words from outside the program (a system's reason, a name any program may set) as a box or
// a tooltip shows them: cleaned as above, except that every kind of line break (CR LF, CR, LF,
// VT, FF, NEL, U+2028, U+2029) becomes CR LF and a tab a space; then at most 600 characters
// in 12 lines (ShortenAtWord), so that what shows them stays on the screen.
std::string ShownSystemText(std::string_view text);

}  // namespace tolvane
