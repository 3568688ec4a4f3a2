// The recent-files list transforms.
#include "documents/recent_rules.h"

#include <algorithm>

#include "platform/text.h"

namespace quillet {

namespace {

// A stored entry as it is written: cut at the first CR LF, blank-trimmed.
std::string StoredForm(std::string_view value) {
    const auto crlf = value.find("\r\n");
    if (crlf != std::string_view::npos) value = value.substr(0, crlf);
    return std::string(TrimBlanks(value));
}

std::string_view RightTrimBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

constexpr std::size_t kMenuTextLimit = 300;

}  // namespace

RecentSlots RecentAfterAdd(const RecentSlots &slots, std::string_view path) {
    std::vector<std::string> list(slots.begin(), slots.end());
    const auto same = std::find_if(list.begin(), list.end(),
                                   [&](const std::string &slot) { return EqualsNoCase(slot, path); });
    if (same != list.end()) {
        list.erase(same);
        list.emplace_back();
    }
    list.insert(list.begin(), std::string(path));
    RecentSlots out;
    for (int i = 0; i < kRecentSlots; ++i) out[i] = StoredForm(list[i]);
    return out;
}

std::vector<std::string> RecentAfterRemove(const std::vector<std::string> &values, std::string_view path) {
    std::vector<std::string> kept;
    const std::string_view target = TrimBlanks(path);
    for (const std::string &value : values) {
        if (value.empty()) break;
        if (TrimBlanks(value) == target) continue;
        if (kept.size() == kRecentSlots) break;
        kept.emplace_back(TrimBlanks(value));
    }
    return kept;
}

std::vector<RecentMenuEntry> RecentMenuEntries(const std::vector<std::string> &values,
                                               const std::function<bool(const std::string &)> &exists) {
    std::vector<RecentMenuEntry> entries;
    for (std::size_t i = 0; i < values.size() && i < kRecentSlots; ++i) {
        const std::string &value = values[i];
        if (value.empty() || value.compare(0, 4, "Free") == 0) break;
        if (!exists(value)) continue;
        const int id = static_cast<int>(entries.size()) + 1;
        std::string text = "&" + std::to_string(id) + " " + std::string(RightTrimBlanks(value));
        if (text.size() > kMenuTextLimit) text.resize(kMenuTextLimit);
        entries.push_back({id, std::move(text), std::string(TrimBlanks(value))});
    }
    return entries;
}

std::vector<std::string> RecentAfterChoice(std::string_view chosen, const std::vector<std::string> &values,
                                           const std::function<bool(const std::string &)> &exists) {
    std::vector<std::string> order;
    const std::string first(TrimBlanks(chosen));
    if (exists(first)) order.push_back(first);
    for (std::size_t i = 0; i < values.size() && i < kRecentSlots; ++i) {
        const std::string_view value = TrimBlanks(values[i]);
        if (value.empty() || value == first) continue;
        const std::string entry(value);
        if (exists(entry)) order.push_back(entry);
    }
    return order;
}

}  // namespace quillet
