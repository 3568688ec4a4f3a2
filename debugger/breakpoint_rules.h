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
#include <map>
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
// by line number. `shown` holds the entries that the script's markers stand for: those
// stay whatever line they name (a marker moved by edits not yet saved still owns its
// entry), so only an entry of no marker gives way to the new one.
BreakpointAdd AddBreakpoint(const ProfileSection &section, std::string_view title, int lineNumber,
                            std::string_view entry, const std::vector<std::string> &shown = {});

// Removes `entry` (one copy, compared trimmed) from the list of `title`: nothing to write
// (no value) when there is no list, it belongs to another script or lacks the entry.
// The remaining entries are sorted by their text; a list left without entries goes away
// with "BP_FILE".
std::optional<ProfileSection> RemoveBreakpoint(const ProfileSection &section, std::string_view title,
                                               std::string_view entry);

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

// One marker of a script at a save: the entry it stood for as last written (`from`,
// empty when it never was), and the entry of its line now (`to`, empty when its line
// was deleted).
struct BreakpointMove {
    std::string from;
    std::string to;
};
// The list of `title` after a save, from its markers: an entry equal to a move's `from`
// is replaced by its `to` in place (or dropped), each entry used by one move, so the
// order of the list stays; a move whose entry the list lacks (the list was rewritten
// meanwhile, or an undo brought a marked line back after the save that dropped it) is
// added at the end; entries of no marker (the debugger's own) are kept as they are. An
// entry that would name the line of an entry written before it is dropped (two markers
// that ended on one line make one breakpoint). A list left without entries goes with
// its owner; a script's markers start a list when no script owns one. No value when
// another script owns the list or nothing changes.
std::optional<ProfileSection> RewriteBreakpoints(const ProfileSection &section, std::string_view title,
                                                 const std::vector<BreakpointMove> &moves);

// --- The breakpoints of an open script ---

// The editing control of an open script as its breakpoints see it: its lines, and its
// breakpoint markers, each known by a handle that follows its line as text is inserted
// and deleted.
class BreakpointMarkers {
public:
    virtual ~BreakpointMarkers() = default;
    virtual long LineCount() const = 0;
    // The text of a line (0-based), at least its first 255 characters.
    virtual std::string LineText(long line) const = 0;
    // Adds a marker on the line; its handle.
    virtual int AddMarker(long line) = 0;
    virtual void DeleteMarker(int handle) = 0;
    // The line of every breakpoint marker, by handle.
    virtual std::map<int, int> MarkerLines() const = 0;
};

// The markers of one open script and the list entry each stands for. While the script
// is open its markers are the truth: a toggle removes the marker's own entry and a new
// breakpoint replaces no other marker's entry, however far unsaved edits moved the
// lines; a save writes every marker's line and text. Each operation takes the list as
// read and gives what to write (no value: nothing).
class ScriptBreakpoints {
public:
    // After the script was opened: a marker for each entry of its list, on the line that
    // holds the entry's text (see ReanchorBreakpoint); the list with moved entries
    // corrected when any moved.
    std::optional<ProfileSection> Restore(const ProfileSection &section, std::string_view title,
                                          BreakpointMarkers &editor);
    // A breakpoint on an unmarked line.
    BreakpointAdd Add(const ProfileSection &section, std::string_view title, long line, BreakpointMarkers &editor);
    // Alt+F2 on a marked line: the line's markers go with their own entries. An empty
    // list (the debugger's side cleared it) leaves the markers until all are cleared.
    std::optional<ProfileSection> Remove(const ProfileSection &section, std::string_view title, long line,
                                         BreakpointMarkers &editor);
    // Whether a save has anything to write: a marker moved, was deleted with its line or
    // was put back since the list was last written. Without it the list is not read.
    bool SaveChangesList(const BreakpointMarkers &editor) const;
    // After the script was saved: every marker's entry is its line and text now, one
    // marker per line (a second marker that edits put on a line goes).
    std::optional<ProfileSection> Save(const ProfileSection &section, std::string_view title,
                                       BreakpointMarkers &editor);

    // The entry a marker stands for (empty when it is not one of these markers).
    std::string EntryOf(int handle) const;
    // A marker put back where an undo brought its deleted line back: it stands for the
    // entry it stood for before (`previousHandle` is the handle it had then).
    void PutBack(int previousHandle, int handle, const std::string &entry);
    bool Empty() const { return anchors_.empty(); }

private:
    struct Anchor {
        int handle;
        std::string entry;  // as last written to the list, or to be written by the next save
        bool written;       // whether the list was last written with this entry
    };
    std::vector<std::string> LiveEntries(const std::map<int, int> &lines) const;
    std::vector<Anchor> anchors_;
};

}  // namespace quillet
