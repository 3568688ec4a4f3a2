// The stored bookmark table, window-free: razuvi.ini's section "Bookmarks" holds one
// slot per script, "BMfile<n>" (the script's path) and "BM<n>" (its bookmarked lines,
// 0-based, each followed by a comma, in the order they were set). These functions
// compute what is written back when a bookmark is set, removed or all are cleared,
// and which lines come back when a script is opened.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct BookmarkSlot {
    std::string file;
    std::string lines;
    bool operator==(const BookmarkSlot &other) const { return file == other.file && lines == other.lines; }
};
// Slots 1..N as read, up to (not including) the first slot with a blank file.
using BookmarkTable = std::vector<BookmarkSlot>;

// The index of the script's slot (file equal to the blank-trimmed title, exact case),
// or -1.
int FindBookmarkSlot(const BookmarkTable &table, std::string_view title);

// The table after `line` was bookmarked: appended to the script's list (after a comma
// of its own when a list edited by hand lacks its last one), or a new slot at the end.
// Lines already listed are listed again.
BookmarkTable TableAfterAdd(const BookmarkTable &table, std::string_view title, int line);

// The table after the bookmark of `line` was removed: every item equal to the line is
// dropped from the script's list, and every slot whose list is then blank (the
// script's, when that was its last line) disappears, the rest keeping their order.
// `blankList` is set, and the table left as it was, when the script's stored list is
// blank: that is reported to the user and nothing is written.
struct BookmarkRemoval {
    bool blankList = false;
    BookmarkTable table;
};
BookmarkRemoval TableAfterRemove(const BookmarkTable &table, std::string_view title, int line);

// The table without the script's slot (all its bookmarks cleared).
BookmarkTable TableAfterClear(const BookmarkTable &table, std::string_view title);

// The table after the script was saved with bookmarks on `lines` (0-based, in the
// order they were set): its slot lists exactly these lines, a new slot is added at the
// end when it had none, and its slot goes when no line is left. No value when the slot
// already lists them (nothing is written then).
std::optional<BookmarkTable> TableAfterSave(const BookmarkTable &table, std::string_view title,
                                            const std::vector<int> &lines);

// The key writes that turn a stored table of `storedCount` slots into `table`: slots
// 1..k with their file and list, then empty values (which remove the keys) for slots
// k+1..storedCount.
struct BookmarkWrite {
    std::string key;
    std::string value;
    bool operator==(const BookmarkWrite &other) const { return key == other.key && value == other.value; }
};
std::vector<BookmarkWrite> TableWrites(const BookmarkTable &table, std::size_t storedCount);

// The lines to mark again from a stored list, in order: items up to the first blank
// one; an item that is not a plain number, a line at or past `lineCount` and a line
// listed before are skipped, so a list edited by hand never marks a wrong line.
std::vector<int> LinesToRestore(std::string_view lines, long lineCount);

}  // namespace quillet
