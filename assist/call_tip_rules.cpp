// Window-free rules of the call tips.
#include "assist/call_tip_rules.h"

#include <algorithm>

#include "platform/text.h"

namespace quillet {

namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [&](char a, char b) { return upper(a) == upper(b); });
    return found != text.end();
}

}  // namespace

std::optional<std::string> CallTipForWord(std::string_view word, std::string_view baseList,
                                          const std::vector<TipRecord> &tips) {
    const std::string_view trimmed = TrimBlanks(word);
    if (trimmed.size() < 2 || !ContainsIgnoringCase(baseList, trimmed)) return std::nullopt;
    for (const TipRecord &tip : tips) {
        const std::string_view keyword = std::string_view(tip.keyword).substr(0, tip.keyword.find(':'));
        if (EqualsNoCase(TrimBlanks(keyword), trimmed)) return FormatTipText(tip.text);
    }
    return std::nullopt;
}

std::string FormatTipText(std::string_view recordText) {
    const std::size_t firstLineEnd = recordText.find('\n');
    const std::size_t split = firstLineEnd == std::string_view::npos ? recordText.size() : firstLineEnd + 1;
    std::string shown;
    shown.reserve(recordText.size());
    for (std::size_t i = 0; i < recordText.size(); ++i) {
        const char c = recordText[i];
        if (c == '\r' || (c == ':' && i < split)) continue;
        shown += c;
    }
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    return shown;
}

}  // namespace quillet
