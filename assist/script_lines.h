// Window-free: the lines of a script as the editing control counts them. A line ends
// at CR LF, CR or LF; the text after the last line end is one more line (possibly
// empty), so "a\r\n" has two lines.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillet {

struct LineSpan {
    std::size_t start;  // first character
    std::size_t end;    // the line end characters start here
};

// Calls visit(lineIndex, span) for every line in order.
template <typename Visit>
void ForEachLine(std::string_view text, Visit &&visit) {
    std::size_t start = 0, index = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        visit(index++, LineSpan{start, i});
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    visit(index, LineSpan{start, text.size()});
}

// The number of lines ForEachLine visits.
inline std::size_t CountLines(std::string_view text) {
    std::size_t lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))) ++lines;
    }
    return lines;
}

}  // namespace quillet
