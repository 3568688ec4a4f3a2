// The script plug-in's breakpoint list, window-free: the section "Plugin ODbgScript" of
// the debugger's settings file as a list of key/value lines, and the changes that add,
// remove and clear breakpoints on it. Each operation takes the section as read once
// and gives the section to write back once, so a list of hundreds of entries costs one
// read and one write.
//
// The list: "BP_FILE" names the owning script; "BP_0001", "BP_0002", ... hold one entry
// each ("<line>, <text>", line 1-based); the next numbered key holds the closing entry,
// a single blank.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct ProfileLine {
    std::string key;
    std::string value;
    bool operator==(const ProfileLine &other) const { return key == other.key && value == other.value; }
};
using ProfileSection = std::vector<ProfileLine>;

// The section as GetPrivateProfileSection gives it ("key=value" texts, each ended by a
// zero, the last by two), and back. A line without "=" keeps its text as key.
ProfileSection ParseProfileSection(std::string_view block);
std::string FormatProfileSection(const ProfileSection &section);

// The entry of a line: its 1-based number, ", " and the line's first 255 characters
// without tabs, CR or LF, trimmed, with runs of blanks reduced to one; at most 255
// characters in all, trimmed.
std::string BreakpointEntry(int lineNumber, std::string_view lineText);

// "BP_" and the number in four digits.
std::string BreakpointKey(int number);

// The number of keys whose names begin with "BP_0" (the entries and the closing entry).
int BreakpointKeyCount(const ProfileSection &section);

// "BP_FILE", trimmed (empty when missing).
std::string BreakpointOwner(const ProfileSection &section);

// The result of adding: the section to write, and whether the list was taken over from
// another script (whose open document then loses its breakpoint markers).
struct BreakpointAdd {
    ProfileSection section;
    std::string previousOwner;  // non-empty when the list belonged to another script
};

// Adds the caret line's entry to the list of `title` (trimmed document title). A new
// list starts when there is none; the list of another script is dropped first; in the
// owner's list an older entry for the same line is replaced and the entries are sorted
// by line number.
BreakpointAdd AddBreakpoint(const ProfileSection &section, std::string_view title, int lineNumber,
                            std::string_view entry);

// Removes the entry of `lineNumber` from the list of `title`: nothing to write (no
// value) when there is no list or it belongs to another script. The remaining entries
// are sorted by their text; a list of one entry goes away with "BP_FILE".
std::optional<ProfileSection> RemoveBreakpoint(const ProfileSection &section, std::string_view title,
                                               int lineNumber);

// Drops the whole list when `title` owns it; otherwise nothing to write.
std::optional<ProfileSection> ClearBreakpoints(const ProfileSection &section, std::string_view title);

// The 0-based lines of the entries of `title`'s list (none when another script owns it).
std::vector<int> BreakpointLines(const ProfileSection &section, std::string_view title);

// --- Following the script as it is edited ---

// How far (in lines, either way) a breakpoint whose line lost its text is looked for.
inline constexpr long kReanchorWindow = 200;

// The text of a script line, by 0-based number (what the editor holds).
using LineTextSource = std::function<std::string(long line)>;

// Where the marker of a stored entry goes when the script is opened: its own line
// (1-based number minus 1) when that line still holds the entry's text; otherwise the
// one line within kReanchorWindow lines either way that holds it. -1 when there is no
// such line or more than one: the breakpoint is then not shown, never guessed.
long ReanchorBreakpoint(std::string_view entry, long lineCount, const LineTextSource &lineText);

// A stored entry and where its marker went when the list of `title` was restored.
struct PlacedBreakpoint {
    long line;          // 0-based
    std::string entry;  // the entry as the list holds it now (corrected when it moved)
};
struct BreakpointRestore {
    std::vector<PlacedBreakpoint> placed;
    // The list with the entries of moved breakpoints corrected; no value when none moved.
    std::optional<ProfileSection> corrected;
};
// The markers of `title`'s list after the file was opened, entries re-anchored as above;
// entries that find no line stay in the list as they are.
BreakpointRestore RestoreBreakpoints(const ProfileSection &section, std::string_view title, long lineCount,
                                     const LineTextSource &lineText);

// One entry of the list as the editor's marker says it is now: `to` is its rewritten
// entry, or empty when the marker's line was deleted (the entry is dropped).
struct BreakpointMove {
    std::string from;
    std::string to;
};
// The list of `title` with each entry equal to a move's `from` replaced by its `to` (or
// dropped), in place, so the order of the list stays; other entries are kept as they
// are. An entry that would name the line of an entry rewritten before it is dropped
// (two markers that ended on one line make one breakpoint). No value when `title` does
// not own the list or nothing changes.
std::optional<ProfileSection> RewriteBreakpoints(const ProfileSection &section, std::string_view title,
                                                 const std::vector<BreakpointMove> &moves);

}  // namespace quillet
