// Window-free rules of the labels pane.
#include "assist/label_rules.h"

#include <algorithm>
#include <unordered_map>

#include "assist/script_lines.h"
#include "platform/text.h"

namespace quillet {

std::optional<std::string> LabelOfLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    line.remove_prefix(first);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string label = ToUpperAscii(TrimBlanks(line.substr(0, colon + 1)));
    if (label.size() > kLabelTextMax) label.resize(kLabelTextMax);
    if (label.find(' ') != std::string::npos) return std::nullopt;
    return label;
}

std::vector<LabelItem> CollectLabelItems(std::string_view script) {
    std::vector<LabelItem> items;
    ForEachLine(script, [&](std::size_t index, LineSpan span) {
        std::optional<std::string> label = LabelOfLine(script.substr(span.start, span.end - span.start));
        if (label) items.push_back({std::move(*label), static_cast<int>(index)});
    });
    // Every item jumps to the first line of its text (the views stay valid: the vector
    // no longer grows and is sorted only afterwards).
    {
        std::unordered_map<std::string_view, int> firstLine;
        firstLine.reserve(items.size());
        for (LabelItem &item : items) item.line = firstLine.emplace(item.text, item.line).first->second;
    }
    // The texts are upper case already, so byte order is the order ignoring case.
    std::sort(items.begin(), items.end(), [](const LabelItem &a, const LabelItem &b) {
        return a.text != b.text ? a.text < b.text : a.line < b.line;
    });
    return items;
}

}  // namespace quillet
