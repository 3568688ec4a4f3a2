// The stored bookmark table transforms.
#include "editing/bookmark_rules.h"

#include <algorithm>

#include "core/texts.h"
#include "platform/text.h"

namespace quillet {

namespace {

// The items of a stored list: the texts between commas, up to the first blank one. A
// last item without its comma (a list edited by hand) counts as well.
std::vector<std::string_view> ListItems(std::string_view lines) {
    std::vector<std::string_view> items;
    while (!lines.empty()) {
        const auto comma = lines.find(',');
        const std::string_view item = lines.substr(0, comma);
        if (TrimBlanks(item).empty()) break;
        items.push_back(item);
        if (comma == std::string_view::npos) break;
        lines.remove_prefix(comma + 1);
    }
    return items;
}

// A plain decimal line number (blanks around allowed), or -1.
long ItemLine(std::string_view item) {
    item = TrimBlanks(item);
    if (item.empty() || item.size() > 9) return -1;
    long value = 0;
    for (const char c : item) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsScriptSlot(const BookmarkSlot &slot, std::string_view title) {
    return TrimBlanks(slot.file) == TrimBlanks(title);
}

}  // namespace

int FindBookmarkSlot(const BookmarkTable &table, std::string_view title) {
    const auto found =
        std::find_if(table.begin(), table.end(), [&](const BookmarkSlot &slot) { return IsScriptSlot(slot, title); });
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

BookmarkTable TableAfterAdd(const BookmarkTable &table, std::string_view title, int line) {
    BookmarkTable out = table;
    const std::string item = std::to_string(line) + ",";
    const int slot = FindBookmarkSlot(out, title);
    if (slot >= 0) {
        std::string &lines = out[static_cast<std::size_t>(slot)].lines;
        // A list edited by hand may lack its last comma: the items stay apart.
        const std::string_view listed = TrimBlanks(lines);
        if (!listed.empty() && listed.back() != ',') lines += ',';
        lines += item;
    }
    else
        out.push_back({std::string(TrimBlanks(title)), item});
    return out;
}

BookmarkRemoval TableAfterRemove(const BookmarkTable &table, std::string_view title, int line) {
    BookmarkRemoval result;
    const std::string number = std::to_string(line);
    for (const BookmarkSlot &slot : table) {
        if (!IsScriptSlot(slot, title)) {
            if (!TrimBlanks(slot.lines).empty()) result.table.push_back(slot);
            continue;
        }
        if (TrimBlanks(slot.lines).empty()) return {true, table};
        std::string kept;
        for (const std::string_view item : ListItems(slot.lines)) {
            if (TrimBlanks(item) == number) continue;
            kept.append(item);
            kept += ',';
        }
        if (!kept.empty()) result.table.push_back({slot.file, kept});
    }
    return result;
}

BookmarkTable TableAfterClear(const BookmarkTable &table, std::string_view title) {
    BookmarkTable out;
    std::copy_if(table.begin(), table.end(), std::back_inserter(out),
                 [&](const BookmarkSlot &slot) { return !IsScriptSlot(slot, title); });
    return out;
}

std::optional<BookmarkTable> TableAfterSave(const BookmarkTable &table, std::string_view title,
                                            const std::vector<int> &lines) {
    std::string list;
    for (const int line : lines) list += std::to_string(line) + ",";
    const int slot = FindBookmarkSlot(table, title);
    if (slot < 0) {
        if (list.empty()) return std::nullopt;
        BookmarkTable out = table;
        out.push_back({std::string(TrimBlanks(title)), list});
        return out;
    }
    if (table[static_cast<std::size_t>(slot)].lines == list) return std::nullopt;
    if (list.empty()) return TableAfterClear(table, title);
    BookmarkTable out = table;
    out[static_cast<std::size_t>(slot)].lines = list;
    return out;
}

std::vector<BookmarkWrite> TableWrites(const BookmarkTable &table, std::size_t storedCount) {
    std::vector<BookmarkWrite> writes;
    const std::size_t count = std::max(table.size(), storedCount);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i + 1);
        const bool kept = i < table.size();
        writes.push_back({text::kKeyBookmarkFile + number, kept ? table[i].file : std::string()});
        writes.push_back({text::kKeyBookmarkLines + number, kept ? table[i].lines : std::string()});
    }
    return writes;
}

std::vector<int> LinesToRestore(std::string_view lines, long lineCount) {
    std::vector<int> restored;
    for (const std::string_view item : ListItems(lines)) {
        const long line = ItemLine(item);
        if (line < 0 || line >= lineCount) continue;
        if (std::find(restored.begin(), restored.end(), line) != restored.end()) continue;
        restored.push_back(static_cast<int>(line));
    }
    return restored;
}

}  // namespace quillet
