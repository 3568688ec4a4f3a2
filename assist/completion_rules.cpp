// Window-free rules of the typing aids.
#include "assist/completion_rules.h"

#include <algorithm>
#include <vector>

#include "core/token_styles.h"
#include "platform/text.h"

namespace quillet {

namespace {

unsigned char Upper(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Upper(a[i]), y = Upper(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

// Items between single spaces; double spaces give empty items.
std::vector<std::string_view> SplitAtSpaces(std::string_view text) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = text.find(' ', start);
        if (space == std::string_view::npos) {
            items.push_back(text.substr(start));
            return items;
        }
        items.push_back(text.substr(start, space - start));
        start = space + 1;
    }
}

}  // namespace

bool IsStopStyle(int style) {
    switch (style) {
    case kStyleComment:
    case kStyleNumber:
    case kStyleString:
    case kStyleOpcode:
    case kStyleComment2:
    case kStyleLabel: return true;
    default: return false;
    }
}

bool IsStyledEndSeparator(int ch) {
    return ch == ' ' || ch == ',' || ch == '\n' || ch == '/' || ch == ';' || ch == '\r';
}

bool IsPickUpSeparator(int ch) { return IsStyledEndSeparator(ch) || ch == '*' || ch == '+' || ch == '-'; }

IndentChange IndentForTypedChar(int ch, bool autoIndentOn, bool labelLine) {
    if (!autoIndentOn) return IndentChange::kNone;
    if (ch == ':') return IndentChange::kLabel;
    return labelLine ? IndentChange::kNone : IndentChange::kBody;
}

std::string_view CompletionListText(std::string_view added, std::string_view base) {
    const std::string_view trimmedAdded = TrimBlanks(added);
    return trimmedAdded.empty() ? TrimBlanks(base) : trimmedAdded;
}

std::string SortedItems(std::string_view spaceSeparated) {
    std::vector<std::string_view> items = SplitAtSpaces(spaceSeparated);
    std::stable_sort(items.begin(), items.end(), LessIgnoringCase);
    std::string joined;
    joined.reserve(spaceSeparated.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) joined += ' ';
        joined += items[i];
    }
    return std::string(TrimBlanks(joined));
}

bool ListHasItemStartingWith(std::string_view list, std::string_view prefix) {
    for (std::string_view item : SplitAtSpaces(list))
        if (StartsWithNoCase(item, prefix)) return true;
    return false;
}

bool ListHasItem(std::string_view list, std::string_view name) {
    for (std::string_view item : SplitAtSpaces(list))
        if (EqualsNoCase(item, name)) return true;
    return false;
}

std::string ListWithVariable(std::string_view current, std::string_view name) {
    if (ListHasItem(current, name)) return {};
    std::string grown(current);
    grown += ' ';
    grown += name;
    return SortedItems(grown);
}

std::string ListWithScannedVariables(std::string_view base, std::string_view names) {
    if (TrimBlanks(names).empty()) return {};
    std::string joined(base);
    joined += ' ';
    joined += names;
    return SortedItems(joined);
}

}  // namespace quillet
