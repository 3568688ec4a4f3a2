// The script breakpoint list as changes to one read of its settings section.
#include "debugger/breakpoint_rules.h"

#include <algorithm>
#include <cstdio>

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
    std::vector<std::string> entries;
    for (int n = 1; n <= count; ++n) entries.emplace_back(TrimBlanks(ValueOf(section, BreakpointKey(n))));
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
void AppendEntries(ProfileSection &section, const std::vector<std::string> &entries) {
    int n = 0;
    for (const std::string &entry : entries) SetValue(section, BreakpointKey(++n), Cut(entry));
    SetValue(section, BreakpointKey(n + 1), text::kBreakpointClosingEntry);
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
                            std::string_view entry) {
    const std::string owner = BreakpointOwner(section);
    const int count = BreakpointKeyCount(section);
    if (owner.empty() || count == 0) return {NewList(section, title, entry), {}};
    if (owner != title) return {NewList(WithoutList(section, count, true), title, entry), owner};

    // The owner's list: an older entry for this line gives way to the new one.
    const std::string number = std::to_string(lineNumber);
    std::vector<Record> records;
    for (const std::string &kept : NumberedEntries(section, count)) {
        const std::string_view field = FirstField(kept);
        if (!kept.empty() && TrimBlanks(field) != number) records.push_back({LeadingNumber(field), kept});
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
                                               int lineNumber) {
    const int count = BreakpointKeyCount(section);
    if (count == 0 || BreakpointOwner(section) != title) return std::nullopt;
    const std::vector<std::string> entries = NumberedEntries(section, count);
    // One entry and the closing entry: the whole list goes.
    if (count == 2 && std::any_of(entries.begin(), entries.end(), [](const std::string &e) { return !e.empty(); }))
        return WithoutList(section, count, true);
    std::vector<std::string> kept;
    for (const std::string &entry : entries)
        if (!entry.empty() && LeadingNumber(FirstField(entry)) != lineNumber) kept.push_back(entry);
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

}  // namespace quillet
