// The script breakpoint list as changes to one read of its settings section.
#include "debugger/breakpoint_rules.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "core/texts.h"
#include "platform/text.h"

namespace quillet {

namespace {

constexpr std::size_t kEntryMax = 255;

struct Record {
    long line;
    std::string entry;
};

// The leading decimal number of a text (blanks skipped, optional sign); 0 when none.
long LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > 100000000) break;  // far beyond any line count
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

// The text of an entry before its first comma.
std::string_view FirstField(std::string_view entry) { return entry.substr(0, entry.find(',')); }

std::string Cut(std::string_view entry) { return std::string(TrimBlanks(entry.substr(0, kEntryMax))); }

const ProfileLine *Find(const ProfileSection &section, std::string_view key) {
    for (const ProfileLine &line : section)
        if (EqualsNoCase(line.key, key)) return &line;
    return nullptr;
}

std::string ValueOf(const ProfileSection &section, std::string_view key) {
    const ProfileLine *line = Find(section, key);
    return line ? line->value : std::string();
}

// The values of "BP_0001" to "BP_<count>", trimmed (a missing key reads as empty).
std::vector<std::string> NumberedEntries(const ProfileSection &section, int count) {
    // The first line of each numbered key, by its name in capitals: one pass, not one
    // search per key.
    std::unordered_map<std::string, const std::string *> values;
    for (const ProfileLine &line : section)
        if (StartsWithNoCase(line.key, text::kKeyBreakpointPrefix)) values.emplace(ToUpperAscii(line.key), &line.value);
    std::vector<std::string> entries;
    for (int n = 1; n <= count; ++n) {
        const auto found = values.find(BreakpointKey(n));
        entries.emplace_back(found == values.end() ? std::string_view() : TrimBlanks(*found->second));
    }
    return entries;
}

// The section without "BP_0001" to "BP_<count>", and without "BP_FILE" when asked.
ProfileSection WithoutList(const ProfileSection &section, int count, bool dropOwner) {
    ProfileSection rest;
    for (const ProfileLine &line : section) {
        bool numbered = false;
        if (StartsWithNoCase(line.key, text::kKeyBreakpointPrefix) && line.key.size() == 7) {
            const long n = LeadingNumber(std::string_view(line.key).substr(3));
            numbered = n >= 1 && n <= count && EqualsNoCase(line.key, BreakpointKey(static_cast<int>(n)));
        }
        const bool owner = dropOwner && EqualsNoCase(line.key, text::kKeyBreakpointFile);
        if (!numbered && !owner) rest.push_back(line);
    }
    return rest;
}

void SetValue(ProfileSection &section, const std::string &key, const std::string &value) {
    for (ProfileLine &line : section) {
        if (EqualsNoCase(line.key, key)) {
            line.value = value;
            return;
        }
    }
    section.push_back({key, value});
}

// Writes the entries to "BP_0001", ... and the closing entry to the next key.
// Numbered keys left in the section (a list edited elsewhere may hold keys beyond its
// count) are given their new value in place; the index keeps a long list linear.
void AppendEntries(ProfileSection &section, const std::vector<std::string> &entries) {
    std::unordered_map<std::string, std::size_t> numbered;
    for (std::size_t i = 0; i < section.size(); ++i)
        if (StartsWithNoCase(section[i].key, text::kKeyBreakpointPrefix))
            numbered.emplace(ToUpperAscii(section[i].key), i);
    const auto set = [&](const std::string &key, std::string value) {
        const auto found = numbered.find(key);
        if (found != numbered.end())
            section[found->second].value = std::move(value);
        else
            section.push_back({key, std::move(value)});
    };
    int n = 0;
    for (const std::string &entry : entries) set(BreakpointKey(++n), Cut(entry));
    set(BreakpointKey(n + 1), text::kBreakpointClosingEntry);
}

// The line text of an entry: what follows its first comma, trimmed.
std::string_view EntryText(std::string_view entry) {
    const auto comma = entry.find(',');
    return comma == std::string_view::npos ? std::string_view() : TrimBlanks(entry.substr(comma + 1));
}

// Whether a stored entry and the entry of a line now name the same text. An entry at
// its length limit was cut after a number of another width, so there the shorter text
// only has to begin the longer one.
bool SameLineText(std::string_view stored, std::string_view current) {
    const std::string_view a = EntryText(stored), b = EntryText(current);
    if (a == b) return true;
    const bool cut = stored.size() + 1 >= kEntryMax || current.size() + 1 >= kEntryMax;
    const std::size_t shorter = std::min(a.size(), b.size());
    return cut && shorter > 0 && a.substr(0, shorter) == b.substr(0, shorter);
}

ProfileSection NewList(ProfileSection section, std::string_view title, std::string_view entry) {
    SetValue(section, text::kKeyBreakpointFile, std::string(title));
    AppendEntries(section, {std::string(entry)});
    return section;
}

}  // namespace

ProfileSection ParseProfileSection(std::string_view block) {
    ProfileSection section;
    std::size_t start = 0;
    while (start < block.size() && block[start] != '\0') {
        std::size_t end = block.find('\0', start);
        if (end == std::string_view::npos) end = block.size();
        const std::string_view line = block.substr(start, end - start);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            section.push_back({std::string(line), {}});
        else
            section.push_back({std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))});
        start = end + 1;
    }
    return section;
}

std::string FormatProfileSection(const ProfileSection &section) {
    std::string block;
    for (const ProfileLine &line : section) {
        block += line.key;
        block += '=';
        block += line.value;
        block += '\0';
    }
    block += '\0';
    return block;
}

std::string BreakpointEntry(int lineNumber, std::string_view lineText) {
    const std::string_view head = lineText.substr(0, kEntryMax);
    std::string noTabs;
    for (char c : head)
        if (c != '\t') noTabs += c;
    std::string single;
    for (char c : TrimBlanks(noTabs))
        if (c != ' ' || single.empty() || single.back() != ' ') single += c;
    std::string cleaned;
    for (char c : single)
        if (c != '\r' && c != '\n') cleaned += c;
    return Cut(std::to_string(lineNumber) + ", " + cleaned);
}

std::string BreakpointKey(int number) {
    char key[16];
    std::snprintf(key, sizeof key, "BP_%04d", number);
    return key;
}

int BreakpointKeyCount(const ProfileSection &section) {
    return static_cast<int>(std::count_if(section.begin(), section.end(), [](const ProfileLine &line) {
        return StartsWithNoCase(line.key, text::kKeyBreakpointNumbered);
    }));
}

std::string BreakpointOwner(const ProfileSection &section) {
    return std::string(TrimBlanks(ValueOf(section, text::kKeyBreakpointFile)));
}

BreakpointAdd AddBreakpoint(const ProfileSection &section, std::string_view title, int lineNumber,
                            std::string_view entry, const std::vector<std::string> &shown) {
    const std::string owner = BreakpointOwner(section);
    const int count = BreakpointKeyCount(section);
    if (owner.empty() || count == 0) return {NewList(section, title, entry), {}};
    if (owner != title) return {NewList(WithoutList(section, count, true), title, entry), owner};

    // The owner's list: an older entry for this line gives way to the new one, unless a
    // marker stands for it (each marker claims one copy of its entry).
    std::unordered_map<std::string, int> claimed;
    for (const std::string &kept : shown) ++claimed[std::string(TrimBlanks(kept))];
    const std::string number = std::to_string(lineNumber);
    std::vector<Record> records;
    for (const std::string &kept : NumberedEntries(section, count)) {
        if (kept.empty()) continue;
        const std::string_view field = FirstField(kept);
        const auto claim = claimed.find(kept);
        const bool ofMarker = claim != claimed.end() && claim->second > 0;
        if (ofMarker) --claim->second;
        if (ofMarker || TrimBlanks(field) != number) records.push_back({LeadingNumber(field), kept});
    }
    records.push_back({lineNumber, std::string(TrimBlanks(entry))});
    std::stable_sort(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.line < b.line; });
    std::vector<std::string> entries;
    for (const Record &record : records) entries.push_back(record.entry);
    ProfileSection result = WithoutList(section, count, false);
    AppendEntries(result, entries);
    return {result, {}};
}

std::optional<ProfileSection> RemoveBreakpoint(const ProfileSection &section, std::string_view title,
                                               std::string_view entry) {
    const int count = BreakpointKeyCount(section);
    if (count == 0 || BreakpointOwner(section) != title) return std::nullopt;
    const std::string_view removed = TrimBlanks(entry);
    std::vector<std::string> kept;
    bool found = false;
    for (std::string &listed : NumberedEntries(section, count)) {
        if (listed.empty()) continue;
        if (!found && listed == removed)
            found = true;
        else
            kept.push_back(std::move(listed));
    }
    if (!found) return std::nullopt;
    if (kept.empty()) return WithoutList(section, count, true);
    // Byte order of the texts, so the entry of line 10 comes before the one of line 9.
    std::sort(kept.begin(), kept.end());
    ProfileSection result = WithoutList(section, count, false);
    AppendEntries(result, kept);
    return result;
}

std::optional<ProfileSection> ClearBreakpoints(const ProfileSection &section, std::string_view title) {
    const int count = BreakpointKeyCount(section);
    if (count == 0 || BreakpointOwner(section) != title) return std::nullopt;
    return WithoutList(section, count, true);
}

std::vector<int> BreakpointLines(const ProfileSection &section, std::string_view title) {
    std::vector<int> lines;
    if (BreakpointOwner(section) != title) return lines;
    for (const std::string &entry : NumberedEntries(section, BreakpointKeyCount(section))) {
        const long line = LeadingNumber(FirstField(entry)) - 1;
        if (!entry.empty() && line >= 0) lines.push_back(static_cast<int>(line));
    }
    return lines;
}

long ReanchorBreakpoint(std::string_view entry, long lineCount, const LineTextSource &lineText) {
    const long stored = LeadingNumber(FirstField(entry)) - 1;
    const auto holdsText = [&](long line) {
        return SameLineText(entry, BreakpointEntry(static_cast<int>(line + 1), lineText(line)));
    };
    if (stored >= 0 && stored < lineCount && holdsText(stored)) return stored;
    const long first = std::max(0L, stored - kReanchorWindow);
    const long last = std::min(lineCount - 1, stored + kReanchorWindow);
    long found = -1;
    for (long line = first; line <= last; ++line) {
        if (line == stored || !holdsText(line)) continue;
        if (found >= 0) return -1;  // two candidates: no guessing
        found = line;
    }
    return found;
}

BreakpointRestore RestoreBreakpoints(const ProfileSection &section, std::string_view title, long lineCount,
                                     const LineTextSource &lineText) {
    BreakpointRestore restore;
    if (BreakpointOwner(section) != title) return restore;
    std::vector<BreakpointMove> moves;
    for (const std::string &entry : NumberedEntries(section, BreakpointKeyCount(section))) {
        if (entry.empty()) continue;
        const long line = ReanchorBreakpoint(entry, lineCount, lineText);
        if (line < 0) continue;
        if (line == LeadingNumber(FirstField(entry)) - 1) {
            restore.placed.push_back({line, entry});
            continue;
        }
        std::string corrected = BreakpointEntry(static_cast<int>(line + 1), lineText(line));
        moves.push_back({entry, corrected});
        restore.placed.push_back({line, std::move(corrected)});
    }
    if (!moves.empty()) restore.corrected = RewriteBreakpoints(section, title, moves);
    return restore;
}

std::optional<ProfileSection> RewriteBreakpoints(const ProfileSection &section, std::string_view title,
                                                 const std::vector<BreakpointMove> &moves) {
    const int count = BreakpointKeyCount(section);
    const std::string owner = BreakpointOwner(section);
    const bool listed = count > 0 && !owner.empty();
    if (listed && owner != title) return std::nullopt;
    // The moves by the entry they start from, each used once, in their order.
    std::unordered_map<std::string_view, std::vector<std::size_t>> movesFrom;
    for (std::size_t m = moves.size(); m-- > 0;)
        if (!TrimBlanks(moves[m].from).empty()) movesFrom[TrimBlanks(moves[m].from)].push_back(m);
    std::vector<bool> used(moves.size(), false);
    std::unordered_set<long> writtenLines;
    std::vector<std::string> entries;
    bool changed = false;
    // A marker's entry, unless its line was deleted or already has one.
    const auto write = [&](std::string_view to) {
        if (to.empty() || !writtenLines.insert(LeadingNumber(FirstField(to))).second) return false;
        entries.emplace_back(to);
        return true;
    };
    const std::vector<std::string> current = listed ? NumberedEntries(section, count) : std::vector<std::string>();
    for (const std::string &entry : current) {
        if (entry.empty()) continue;
        const auto found = movesFrom.find(entry);
        if (found == movesFrom.end() || found->second.empty()) {
            entries.push_back(entry);
            continue;
        }
        const std::size_t m = found->second.back();
        found->second.pop_back();
        used[m] = true;
        const std::string_view to = TrimBlanks(moves[m].to);
        if (!write(to) || to != entry) changed = true;
    }
    for (std::size_t m = 0; m < moves.size(); ++m)
        if (!used[m] && write(TrimBlanks(moves[m].to))) changed = true;
    if (!changed) return std::nullopt;
    // A list left without entries goes with its owner, as when its last one is removed.
    if (entries.empty()) return WithoutList(section, count, true);
    ProfileSection result = WithoutList(section, count, !listed);
    if (!listed) SetValue(result, text::kKeyBreakpointFile, std::string(title));
    AppendEntries(result, entries);
    return result;
}

// --- ScriptBreakpoints ---

std::vector<std::string> ScriptBreakpoints::LiveEntries(const std::map<int, int> &lines) const {
    std::vector<std::string> entries;
    for (const Anchor &anchor : anchors_)
        if (lines.count(anchor.handle)) entries.push_back(anchor.entry);
    return entries;
}

std::optional<ProfileSection> ScriptBreakpoints::Restore(const ProfileSection &section, std::string_view title,
                                                         BreakpointMarkers &editor) {
    const BreakpointRestore restore = RestoreBreakpoints(section, title, editor.LineCount(),
                                                         [&](long line) { return editor.LineText(line); });
    anchors_.clear();
    for (const PlacedBreakpoint &placed : restore.placed)
        anchors_.push_back({editor.AddMarker(placed.line), placed.entry, true});
    return restore.corrected;
}

BreakpointAdd ScriptBreakpoints::Add(const ProfileSection &section, std::string_view title, long line,
                                     BreakpointMarkers &editor) {
    const std::string entry = BreakpointEntry(static_cast<int>(line + 1), editor.LineText(line));
    BreakpointAdd added = AddBreakpoint(section, title, static_cast<int>(line + 1), entry,
                                        LiveEntries(editor.MarkerLines()));
    anchors_.push_back({editor.AddMarker(line), entry, true});
    return added;
}

std::optional<ProfileSection> ScriptBreakpoints::Remove(const ProfileSection &section, std::string_view title,
                                                        long line, BreakpointMarkers &editor) {
    if (BreakpointKeyCount(section) == 0) return std::nullopt;
    std::optional<ProfileSection> result;
    for (const auto &marker : editor.MarkerLines()) {
        if (marker.second != line) continue;
        const auto anchor = std::find_if(anchors_.begin(), anchors_.end(),
                                         [&](const Anchor &a) { return a.handle == marker.first; });
        if (anchor != anchors_.end()) {
            if (auto removed = RemoveBreakpoint(result ? *result : section, title, anchor->entry))
                result = std::move(removed);
            anchors_.erase(anchor);
        }
        editor.DeleteMarker(marker.first);
    }
    return result;
}

bool ScriptBreakpoints::SaveChangesList(const BreakpointMarkers &editor) const {
    const std::map<int, int> lines = editor.MarkerLines();
    for (const Anchor &anchor : anchors_) {
        const auto marker = lines.find(anchor.handle);
        if (!anchor.written || marker == lines.end() ||
            BreakpointEntry(marker->second + 1, editor.LineText(marker->second)) != anchor.entry)
            return true;
    }
    return false;
}

std::optional<ProfileSection> ScriptBreakpoints::Save(const ProfileSection &section, std::string_view title,
                                                      BreakpointMarkers &editor) {
    const std::map<int, int> lines = editor.MarkerLines();
    std::vector<BreakpointMove> moves;
    std::vector<Anchor> kept;
    std::unordered_set<int> markedLines;
    for (const Anchor &anchor : anchors_) {
        const std::string from = anchor.written ? anchor.entry : std::string();
        const auto marker = lines.find(anchor.handle);
        if (marker == lines.end()) {  // its line was deleted
            moves.push_back({from, std::string()});
            continue;
        }
        if (!markedLines.insert(marker->second).second) {  // a second marker on one line
            editor.DeleteMarker(anchor.handle);
            moves.push_back({from, std::string()});
            continue;
        }
        std::string entry = BreakpointEntry(marker->second + 1, editor.LineText(marker->second));
        moves.push_back({from, entry});
        kept.push_back({anchor.handle, std::move(entry), true});
    }
    anchors_ = std::move(kept);
    return RewriteBreakpoints(section, title, moves);
}

std::string ScriptBreakpoints::EntryOf(int handle) const {
    for (const Anchor &anchor : anchors_)
        if (anchor.handle == handle) return anchor.entry;
    return {};
}

void ScriptBreakpoints::PutBack(int previousHandle, int handle, const std::string &entry) {
    for (Anchor &anchor : anchors_) {
        if (anchor.handle != previousHandle) continue;
        anchor.handle = handle;  // no save since its line went: the list still has its entry
        return;
    }
    anchors_.push_back({handle, entry, false});
}

}  // namespace quillet
