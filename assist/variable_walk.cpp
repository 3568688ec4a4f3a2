// Window-free walk of the variable scan.
#include "assist/variable_walk.h"

#include "assist/completion_rules.h"
#include "core/token_styles.h"
#include "platform/text.h"

namespace quillet {

void FoundVariables::Add(std::string_view name) {
    if (name.empty() || !seenUpper_.insert(ToUpperAscii(name)).second) return;
    if (!text_.empty()) text_ += ' ';
    text_ += name;
}

WordChars::WordChars(std::string_view chars) {
    for (char c : chars) word_[static_cast<unsigned char>(c)] = true;
}

std::optional<int> ScanProgressAt(std::size_t line, std::size_t lines) {
    if (lines == 0) return std::nullopt;
    if (line * 4 == lines) return 25;
    if (line * 2 == lines) return 50;
    if (line * 4 == lines * 3) return 75;
    if (line * 100 > lines * 99) return 100;
    return std::nullopt;
}

void WalkLine(std::string_view text, std::string_view styles, const WordChars &wordChars, LineSpan line,
              FoundVariables &found) {
    const auto styleAt = [&](std::size_t position) {
        return position < styles.size() ? static_cast<unsigned char>(styles[position]) : 0;
    };
    std::size_t q = line.start;
    while (q < line.end) {
        // The word at q: the line's start and every later q follow a non-word
        // character, so the word starts at q itself.
        std::size_t b = q;
        while (b < text.size() && wordChars.Has(text[b])) ++b;
        const std::size_t a = q;
        q += 1 + (b - a);
        const int style = b > 0 ? styleAt(b - 1) : 0;
        if (IsStopStyle(style)) return;
        if (style == kStyleVariable) found.Add(TrimBlanks(text.substr(a, b - a)));
    }
}

std::string WalkVariables(std::string_view text, std::string_view styles, std::string_view wordChars) {
    const WordChars set(wordChars);
    FoundVariables found;
    ForEachLine(text, [&](std::size_t, LineSpan line) { WalkLine(text, styles, set, line, found); });
    return found.Text();
}

}  // namespace quillet
