// The recent-files list transforms, window-free: the list lives in mru.ini as the
// keys File1..File9 of section "LastOpened", most recent first; these functions
// compute what is written back.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

inline constexpr int kRecentSlots = 9;
using RecentSlots = std::array<std::string, kRecentSlots>;

// Add: the slots as read (empty = absent key) with `path` moved or inserted at slot 1.
// A slot equal to `path` ignoring case is removed first; the ninth slot falls off.
// Each returned slot is what to write under its own number ("" = write nothing):
// cut at the first CR LF and blank-trimmed.
RecentSlots RecentAfterAdd(const RecentSlots &slots, std::string_view path);

// Remove: `values` are the entries read from slot 1 up to the first empty one. Returns
// the kept entries, trimmed, in order (at most nine): those whose trimmed text differs
// from the trimmed `path`, compared exactly (letter case counts).
std::vector<std::string> RecentAfterRemove(const std::vector<std::string> &values, std::string_view path);

// One line of the recent-files pop-up: its command id (the running number of shown
// entries), its text ("&n value", at most 300 characters) and the path it opens.
struct RecentMenuEntry {
    int id;
    std::string text;
    std::string path;
};
// The pop-up's entries from the values of File1..File9 as read with the default "Free":
// reading stops at an empty value or one that begins with "Free"; entries whose file
// does not exist are skipped without using a number.
std::vector<RecentMenuEntry> RecentMenuEntries(const std::vector<std::string> &values,
                                               const std::function<bool(const std::string &)> &exists);

// The order written after an entry was chosen: the chosen path first, then every old
// value (File1..File9) whose trimmed text differs from it (case-sensitive), in order;
// values and the chosen path whose files do not exist are left out.
std::vector<std::string> RecentAfterChoice(std::string_view chosen, const std::vector<std::string> &values,
                                           const std::function<bool(const std::string &)> &exists);

}  // namespace quillet
