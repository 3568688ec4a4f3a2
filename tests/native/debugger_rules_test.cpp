// The window-free rules of working with the debugger: what the link accepts, the
// debugger's settings file name, command lines, dropped files, and the script
// breakpoint list as it is kept in the debugger's settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/debugger_link.h"
#include "debugger/breakpoint_rules.h"
#include "debugger/link_rules.h"

namespace quillet {
namespace {

// What each message from the debugger is taken for, whatever its code, size and data.
TEST(DebuggerLink, MessagesAreCheckedBeforeUse) {
    const std::string path = "C:\\odbg\\OLLYDBG.EXE";
    const std::string noZero(300, 'A');
    const std::string withJunk = std::string("C:\\o.exe\0junk", 13);
    const char report[12] = {};
    const struct {
        const char *name;
        std::uintptr_t code;
        const void *data;
        std::size_t size;
        DebuggerNotice::Kind kind;
        std::string path;
    } cases[] = {
        {"announce", 126, path.c_str(), path.size() + 1, DebuggerNotice::kStarted, path},
        {"announce, empty path", 126, "", 1, DebuggerNotice::kStarted, ""},
        {"announce, no data", 126, nullptr, 0, DebuggerNotice::kStarted, ""},
        {"announce without zero: cut at 259", 126, noZero.data(), noZero.size(), DebuggerNotice::kStarted,
         std::string(259, 'A')},
        {"announce without zero within cbData", 126, path.data(), 5, DebuggerNotice::kStarted, "C:\\od"},
        {"announce stops at the first zero", 126, withJunk.data(), withJunk.size(), DebuggerNotice::kStarted,
         "C:\\o.exe"},
        {"null data with a length", 126, nullptr, 20, DebuggerNotice::kIgnored, ""},
        {"position report", 127, report, 12, DebuggerNotice::kPosition, ""},
        {"short position report", 127, report, 11, DebuggerNotice::kIgnored, ""},
        {"closing", 128, nullptr, 0, DebuggerNotice::kClosing, ""},
        {"no target", 129, nullptr, 0, DebuggerNotice::kNoTarget, ""},
        {"unknown code", 131, path.c_str(), path.size(), DebuggerNotice::kIgnored, ""},
        {"our own request code", 124, path.c_str(), path.size(), DebuggerNotice::kIgnored, ""},
    };
    for (const auto &c : cases) {
        const DebuggerNotice notice = DecodeDebuggerNotice(c.code, c.data, c.size);
        EXPECT_EQ(notice.kind, c.kind) << c.name;
        EXPECT_EQ(notice.path, c.path) << c.name;
    }
}

TEST(DebuggerLink, RequestBlockIsThePathAndZerosUpTo257Bytes) {
    const std::string block = ScriptRequestBlock("C:\\s\\a.txt");
    ASSERT_EQ(block.size(), 257u);
    EXPECT_EQ(block.substr(0, 11), std::string("C:\\s\\a.txt\0", 11));
    EXPECT_EQ(block.find_first_not_of('\0', 10), std::string::npos);
    EXPECT_EQ(ScriptRequestBlock(std::string(255, 'p')).substr(0, 256), std::string(255, 'p') + '\0');
    EXPECT_EQ(ScriptRequestBlock(std::string(256, 'p')), std::string(257, '\0'));  // never cut
}

// Paths at launch: the debugger's settings file, its quoted command line, dropped files by extension.
TEST(DebuggerLaunch, SettingsFileCommandLineAndDroppedFiles) {
    const struct {
        const char *path, *ini;
    } names[] = {
        {"C:\\Tools\\OLLYDBG.EXE", "C:\\Tools\\OLLYDBG.INI"},
        {"C:\\Program Files\\Olly 1.10\\ollydbg.exe", "C:\\Program Files\\Olly 1.10\\ollydbg.INI"},
        {"C:\\v1.2\\olly", "C:\\v1.2\\olly.INI"},  // the dot of a folder is no extension
        {"D:\\a.b.exe", "D:\\a.b.INI"},
        {"", ""},
    };
    for (const auto &n : names) EXPECT_EQ(DebuggerIniName(n.path), n.ini) << n.path;

    EXPECT_EQ(DebuggerCommandLine("C:\\Program Files\\Olly\\ollydbg.exe"), "\"C:\\Program Files\\Olly\\ollydbg.exe\"");
    EXPECT_EQ(DebuggerCommandLine("C:\\Program Files\\Olly\\ollydbg.exe", "D:\\my targets\\t.exe"),
              "\"C:\\Program Files\\Olly\\ollydbg.exe\" \"D:\\my targets\\t.exe\"");

    const struct {
        const char *path;
        DroppedKind kind;
    } drops[] = {
        {"C:\\x\\TEST.EXE", DroppedKind::kProgram}, {"C:\\x\\a.LnK", DroppedKind::kProgram},
        {"C:\\x\\notes.TXT", DroppedKind::kScript}, {"C:\\x\\s.osc", DroppedKind::kScript},
        {"C:\\x\\archive.zip", DroppedKind::kUnsupported}, {"C:\\x\\README", DroppedKind::kUnsupported},
        {"C:\\x.exe\\README", DroppedKind::kUnsupported},  // the folder's dot does not count
        {"C:\\x\\b.exe ", DroppedKind::kProgram}, {"", DroppedKind::kUnsupported},
    };
    for (const auto &d : drops) EXPECT_EQ(ClassifyDroppedFile(d.path), d.kind) << d.path;
}

// --- the breakpoint list ---

ProfileSection Section(std::vector<ProfileLine> lines) { return lines; }

// The list as the settings file holds it: cleaned lines under numbered keys, blocks read back as written.
TEST(Breakpoints, EntriesKeysAndSectionBlocks) {
    const struct {
        int line;
        std::string text, entry;
    } cases[] = {
        {12, "\tmov  eax, 1\r\n", "12, mov eax, 1"},
        {5, "   cmp   eax,   0   \n", "5, cmp eax, 0"},
        {7, "jmp\tlabel", "7, jmplabel"},  // tabs are removed, not replaced
        {3, "", "3,"},
        {1, "a \r\n", "1, a"},
        {9, std::string(300, 'x'), "9, " + std::string(252, 'x')},  // 255 in all
    };
    for (const auto &c : cases) EXPECT_EQ(BreakpointEntry(c.line, c.text), c.entry) << c.text;
    EXPECT_EQ(BreakpointKey(1), "BP_0001");
    EXPECT_EQ(BreakpointKey(42), "BP_0042");

    const char raw[] = "BP_FILE=C:\\s\\a.txt\0BP_0001=5, mov\0BP_0002=\0Other=1\0bp_0009=x\0";
    const std::string block(raw, sizeof raw);  // ends with two zeros
    const ProfileSection section = ParseProfileSection(block);
    ASSERT_EQ(section.size(), 5u);
    EXPECT_EQ(section[1], (ProfileLine{"BP_0001", "5, mov"}));
    EXPECT_EQ(FormatProfileSection(section), block);
    EXPECT_EQ(BreakpointKeyCount(section), 3);  // names beginning with "BP_0", in any case
    EXPECT_EQ(BreakpointOwner(section), "C:\\s\\a.txt");
    EXPECT_TRUE(ParseProfileSection(std::string(1, '\0')).empty());
}

// One realistic sequence: a first breakpoint, another sorted by line, one replaced,
// removals sorted by text, the last one removing the list, ownership moving.
TEST(Breakpoints, AddRemoveAndOwnership) {
    const std::string a = "C:\\s\\a.txt", b = "C:\\t\\b.txt";
    ProfileSection section = Section({{"Keep", "me"}});

    BreakpointAdd added = AddBreakpoint(section, a, 5, "5, msg");
    EXPECT_EQ(added.section, Section({{"Keep", "me"}, {"BP_FILE", a}, {"BP_0001", "5, msg"}, {"BP_0002", " "}}));
    EXPECT_EQ(added.previousOwner, "");

    added = AddBreakpoint(added.section, a, 3, "3, mov");
    EXPECT_EQ(added.section, Section({{"Keep", "me"}, {"BP_FILE", a}, {"BP_0001", "3, mov"}, {"BP_0002", "5, msg"},
                                      {"BP_0003", " "}}));
    added = AddBreakpoint(added.section, a, 10, "10, ret");
    added = AddBreakpoint(added.section, a, 9, "9, nop");
    // Numbers compare as numbers when adding; an entry for the same line is replaced.
    added = AddBreakpoint(added.section, a, 5, "5, msg changed");
    EXPECT_EQ(added.section, Section({{"Keep", "me"}, {"BP_FILE", a}, {"BP_0001", "3, mov"},
                                      {"BP_0002", "5, msg changed"}, {"BP_0003", "9, nop"}, {"BP_0004", "10, ret"},
                                      {"BP_0005", " "}}));
    EXPECT_EQ(BreakpointLines(added.section, a), (std::vector<int>{2, 4, 8, 9}));
    EXPECT_TRUE(BreakpointLines(added.section, b).empty());

    // Removing takes out the marker's own entry and sorts by text: "10, ..." comes before
    // "9, ...".
    auto removed = RemoveBreakpoint(added.section, a, "3, mov");
    ASSERT_TRUE(removed);
    EXPECT_EQ(*removed, Section({{"Keep", "me"}, {"BP_FILE", a}, {"BP_0001", "10, ret"}, {"BP_0002", "5, msg changed"},
                                 {"BP_0003", "9, nop"}, {"BP_0004", " "}}));
    EXPECT_FALSE(RemoveBreakpoint(*removed, b, "9, nop"));  // another script's list is not touched
    EXPECT_FALSE(RemoveBreakpoint(*removed, a, "9, mov"));  // an entry the list lacks: nothing to write
    removed = RemoveBreakpoint(*removed, a, "10, ret");
    removed = RemoveBreakpoint(*removed, a, "9, nop");
    EXPECT_EQ(*removed, Section({{"Keep", "me"}, {"BP_FILE", a}, {"BP_0001", "5, msg changed"}, {"BP_0002", " "}}));
    removed = RemoveBreakpoint(*removed, a, "5, msg changed");
    EXPECT_EQ(*removed, Section({{"Keep", "me"}}));
    EXPECT_FALSE(RemoveBreakpoint(*removed, a, "5, msg changed"));  // no list left

    // A new breakpoint replaces an entry of its line only when no marker stands for it.
    const ProfileSection moved = Section({{"BP_FILE", a}, {"BP_0001", "10, jmp A"}, {"BP_0002", "15, jmp B"},
                                          {"BP_0003", " "}});
    EXPECT_EQ(AddBreakpoint(moved, a, 15, "15, nop", {"10, jmp A", "15, jmp B"}).section,
              Section({{"BP_FILE", a}, {"BP_0001", "10, jmp A"}, {"BP_0002", "15, jmp B"}, {"BP_0003", "15, nop"},
                       {"BP_0004", " "}}));
    EXPECT_EQ(AddBreakpoint(moved, a, 15, "15, nop", {"10, jmp A"}).section,
              Section({{"BP_FILE", a}, {"BP_0001", "10, jmp A"}, {"BP_0002", "15, nop"}, {"BP_0003", " "}}));

    // A breakpoint in b.txt takes the list over from a.txt.
    added = AddBreakpoint(AddBreakpoint(section, a, 5, "5, msg").section, b, 2, "2, jmp");
    EXPECT_EQ(added.previousOwner, a);
    EXPECT_EQ(added.section, Section({{"Keep", "me"}, {"BP_FILE", b}, {"BP_0001", "2, jmp"}, {"BP_0002", " "}}));

    // Clearing drops the owner's list only.
    EXPECT_FALSE(ClearBreakpoints(added.section, a));
    EXPECT_EQ(ClearBreakpoints(added.section, b), Section({{"Keep", "me"}}));
}

// Lists as others left them: keys in another case, blank values read back, an empty
// numbered entry, an owner without numbered keys, several hundred entries.
TEST(Breakpoints, ListsWrittenByOthers) {
    const std::string a = "C:\\s\\a.txt";
    ProfileSection odd = Section({{"bp_file", " " + a + " "}, {"bp_0001", " 4, x"}, {"BP_0002", ""},
                                  {"BP_0003", "8, y"}, {"BP_0004", ""}});
    EXPECT_EQ(BreakpointLines(odd, a), (std::vector<int>{3, 7}));
    EXPECT_EQ(AddBreakpoint(odd, a, 6, "6, z").section,
              Section({{"bp_file", " " + a + " "}, {"BP_0001", "4, x"}, {"BP_0002", "6, z"}, {"BP_0003", "8, y"},
                       {"BP_0004", " "}}));

    const ProfileSection ownerOnly = Section({{"BP_FILE", "C:\\old.txt"}});
    const BreakpointAdd fresh = AddBreakpoint(ownerOnly, a, 1, "1, go");
    EXPECT_EQ(fresh.previousOwner, "");  // no list to take over
    EXPECT_EQ(fresh.section, Section({{"BP_FILE", a}, {"BP_0001", "1, go"}, {"BP_0002", " "}}));

    ProfileSection big = Section({{"BP_FILE", a}});
    for (int n = 1; n <= 600; ++n) big.push_back({BreakpointKey(n), std::to_string(n * 2) + ", line"});
    big.push_back({BreakpointKey(601), " "});
    const ProfileSection grown = AddBreakpoint(big, a, 3, "3, new").section;
    EXPECT_EQ(BreakpointKeyCount(grown), 602);
    EXPECT_EQ(grown[2], (ProfileLine{"BP_0002", "3, new"}));
    EXPECT_EQ(grown.back(), (ProfileLine{"BP_0602", " "}));
}

// Opening a script edited elsewhere: a breakpoint whose line lost its text follows the
// text when exactly one line within 200 either way holds it, and is otherwise left out
// of the markers with its entry untouched.
TEST(Breakpoints, ReanchoringFollowsTheTextOnlyWhenItIsUnique) {
    const std::string longLine = "msg \"" + std::string(300, 'q') + "\"";
    std::vector<std::string> script;
    for (int n = 0; n < 700; ++n) script.push_back("inc eax ; " + std::to_string(n) + "\r\n");
    const auto with = [&](std::vector<std::pair<long, std::string>> changes) {
        std::vector<std::string> lines = script;
        for (const auto &change : changes) {
            if (change.first >= static_cast<long>(lines.size())) lines.resize(change.first + 1, "\r\n");
            lines[change.first] = change.second;
        }
        return lines;
    };
    const std::string target = "\tmov  eax,  [esi]\r\n";
    const struct {
        const char *name;
        std::string entry;
        std::vector<std::string> lines;
        long expected;
    } cases[] = {
        {"still on its line", "301, mov eax, [esi]", with({{300, target}, {310, target}}), 300},
        {"moved down", "301, mov eax, [esi]", with({{305, target}}), 305},
        {"moved up", "301, mov eax, [esi]", with({{297, target}}), 297},
        {"moved to the window's edge", "301, mov eax, [esi]", with({{500, target}}), 500},
        {"beyond the window: left alone", "301, mov eax, [esi]", with({{501, target}}), -1},
        {"duplicated nearby: left alone", "301, mov eax, [esi]", with({{280, target}, {320, target}}), -1},
        {"one copy near, one far", "301, mov eax, [esi]", with({{280, target}, {600, target}}), 280},
        {"deleted: left alone", "301, mov eax, [esi]", script, -1},
        {"stored past the end of the file", "900, mov eax, [esi]", with({{699, target}}), 699},
        {"blank line, many candidates", "12,", with({{40, "\r\n"}, {41, "  \t\r\n"}}), -1},
        {"a long line cut for a shorter number", BreakpointEntry(1000, longLine), with({{950, longLine}}), 950},
    };
    for (const auto &c : cases) {
        const LineTextSource text = [&](long line) { return c.lines[static_cast<std::size_t>(line)]; };
        EXPECT_EQ(ReanchorBreakpoint(c.entry, static_cast<long>(c.lines.size()), text), c.expected) << c.name;
    }

    // Opened, the list keeps its order: the moved entry is corrected in its place and the
    // lost one stays as it was; another script's list is not looked at.
    const std::string a = "C:\\s\\a.txt";
    const std::vector<std::string> lines = with({{2, "ret\r\n"}, {15, "jmp start\r\n"}});
    const LineTextSource text = [&](long line) { return lines[static_cast<std::size_t>(line)]; };
    const ProfileSection section = Section({{"BP_FILE", a}, {"BP_0001", "3, ret"}, {"BP_0002", "10, jmp start"},
                                            {"BP_0003", "20, gone"}, {"BP_0004", " "}});
    const BreakpointRestore restore = RestoreBreakpoints(section, a, static_cast<long>(lines.size()), text);
    ASSERT_EQ(restore.placed.size(), 2u);
    EXPECT_EQ(restore.placed[0].line, 2);
    EXPECT_EQ(restore.placed[1].line, 15);
    EXPECT_EQ(restore.placed[1].entry, "16, jmp start");
    EXPECT_EQ(restore.corrected, Section({{"BP_FILE", a}, {"BP_0001", "3, ret"}, {"BP_0002", "16, jmp start"},
                                          {"BP_0003", "20, gone"}, {"BP_0004", " "}}));
    EXPECT_TRUE(RestoreBreakpoints(section, "C:\\s\\b.txt", 700, text).placed.empty());

    // Saving: two markers that ended on one line make one entry; a list whose every
    // marker's line was deleted goes with its owner.
    EXPECT_EQ(RewriteBreakpoints(section, a, {{"3, ret", "2, ret"}, {"10, jmp start", "2, ret"}}),
              Section({{"BP_FILE", a}, {"BP_0001", "2, ret"}, {"BP_0002", "20, gone"}, {"BP_0003", " "}}));
    EXPECT_EQ(RewriteBreakpoints(section, a, {{"3, ret", ""}, {"10, jmp start", ""}, {"20, gone", ""}}),
              Section({}));
    EXPECT_FALSE(RewriteBreakpoints(section, a, {{"3, ret", "3, ret"}}));  // nothing changes
    EXPECT_FALSE(RewriteBreakpoints(section, "C:\\s\\b.txt", {{"3, ret", "4, ret"}}));
}

// A script in an editing control as its breakpoints see it: lines, each with the handles
// of its markers. A handle follows its line; deleting a whole line takes its markers
// with it (as the documents arrange before a deletion), and joining a line to the one
// above moves its markers there (as the control does).
class ModelEditor final : public BreakpointMarkers {
public:
    explicit ModelEditor(std::vector<std::string> text) : lines(std::move(text)), marks(lines.size()) {}

    long LineCount() const override { return static_cast<long>(lines.size()); }
    std::string LineText(long line) const override { return lines.at(static_cast<std::size_t>(line)) + "\r\n"; }
    int AddMarker(long line) override {
        marks.at(static_cast<std::size_t>(line)).push_back(nextHandle);
        return nextHandle++;
    }
    void DeleteMarker(int handle) override {
        for (auto &onLine : marks) onLine.erase(std::remove(onLine.begin(), onLine.end(), handle), onLine.end());
    }
    std::map<int, int> MarkerLines() const override {
        std::map<int, int> lines;
        for (std::size_t line = 0; line < marks.size(); ++line)
            for (int handle : marks[line]) lines[handle] = static_cast<int>(line);
        return lines;
    }

    void Insert(std::size_t line, std::string text) {
        lines.insert(lines.begin() + static_cast<long>(line), std::move(text));
        marks.insert(marks.begin() + static_cast<long>(line), std::vector<int>());
    }
    void Delete(std::size_t line) {
        lines.erase(lines.begin() + static_cast<long>(line));
        marks.erase(marks.begin() + static_cast<long>(line));
    }
    void JoinWithNext(std::size_t line) {
        lines[line] += lines[line + 1];
        marks[line].insert(marks[line].end(), marks[line + 1].begin(), marks[line + 1].end());
        lines.erase(lines.begin() + static_cast<long>(line) + 1);
        marks.erase(marks.begin() + static_cast<long>(line) + 1);
    }

    std::vector<std::string> lines;
    std::vector<std::vector<int>> marks;
    int nextHandle = 1;
};

std::multiset<std::string> ListedEntries(const ProfileSection &section) {
    std::multiset<std::string> entries;
    for (const ProfileLine &line : section)
        if (line.key.rfind("BP_0", 0) == 0 && !line.value.empty() && line.value != " ") entries.insert(line.value);
    return entries;
}

int EntryLine(const std::string &entry) { return std::stoi(entry.substr(0, entry.find(','))) - 1; }

// A long seeded sequence of typing (lines inserted, deleted, joined and rewritten),
// Alt+F2 on random lines, saves and reopenings, against a simple model of the list: a
// breakpoint added puts its entry in (replacing an entry of its line that no marker
// stands for), one removed takes out the entry its marker stands for, whatever line the
// list says, and a save makes the list the marked lines with their texts. Reopening
// (after saving, as the user is asked to) shows exactly the saved markers.
TEST(Breakpoints, MarkersStayTheTruthThroughARandomSequence) {
    const std::string title = "C:\\\xd0\xb6\xd1\x83\xd0\xba\\s.txt";
    const std::vector<std::string> texts = {"jmp A", "jmp B", "nop", "", "\tmov  eax, 1",
                                            "; \xd0\x96\xd1\x83\xd0\xba", "cmp eax, 10", "jmp A"};
    std::mt19937 random(20261209);
    const auto pick = [&](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };

    std::vector<std::string> file;
    for (int n = 0; n < 12; ++n) file.push_back(texts[pick(texts.size())]);
    ModelEditor editor(file);
    ScriptBreakpoints breakpoints;
    ProfileSection section = Section({{"Other", "kept"}});
    std::multiset<std::string> expected;  // the model of the list
    std::map<int, std::string> standsFor;  // the entry each marker stands for
    bool modified = false;

    const auto liveEntries = [&] {
        std::multiset<std::string> live;
        for (const auto &marker : editor.MarkerLines()) live.insert(standsFor[marker.first]);
        return live;
    };
    const auto write = [&](const std::optional<ProfileSection> &changed) {
        if (changed) section = *changed;
    };
    const auto save = [&] {
        file = editor.lines;
        modified = false;
        if (breakpoints.SaveChangesList(editor)) write(breakpoints.Save(section, title, editor));
        expected.clear();
        for (std::size_t line = 0; line < editor.marks.size(); ++line) {
            if (editor.marks[line].empty()) continue;
            const std::string entry = BreakpointEntry(static_cast<int>(line + 1), editor.LineText(static_cast<long>(line)));
            expected.insert(entry);
            for (int handle : editor.marks[line]) standsFor[handle] = entry;
        }
    };

    int adds = 0, removes = 0, saves = 0, reopens = 0, movedRemoves = 0;
    for (int step = 0; step < 6000; ++step) {
        const std::size_t lineCount = editor.lines.size();
        int action = static_cast<int>(pick(100));
        // The script stays between 8 and 40 lines.
        if (action < 18 && lineCount >= 40) action = 18;
        if (action >= 18 && action < 34 && lineCount <= 8) action = 0;
        std::string what;
        if (action < 18) {
            what = "insert";
            editor.Insert(pick(lineCount + 1), texts[pick(texts.size())]);
            modified = true;
        } else if (action < 30) {
            what = "delete";
            editor.Delete(pick(lineCount));
            modified = true;
        } else if (action < 34) {
            what = "join";
            editor.JoinWithNext(pick(lineCount - 1));
            modified = true;
        } else if (action < 44) {
            what = "rewrite";
            editor.lines[pick(lineCount)] = texts[pick(texts.size())];
            modified = true;
        } else if (action < 80) {
            const long line = static_cast<long>(pick(lineCount));
            std::vector<int> onLine = editor.marks[static_cast<std::size_t>(line)];
            if (onLine.empty()) {
                what = "add";
                ++adds;
                const std::string entry = BreakpointEntry(static_cast<int>(line + 1), editor.LineText(line));
                // An entry of this line stays for each marker that stands for it.
                std::multiset<std::string> live = liveEntries(), kept;
                for (const std::string &listed : expected) {
                    const auto claim = live.find(listed);
                    const bool ofMarker = claim != live.end();
                    if (ofMarker) live.erase(claim);
                    if (ofMarker || EntryLine(listed) != line) kept.insert(listed);
                }
                expected = kept;
                expected.insert(entry);
                const BreakpointAdd added = breakpoints.Add(section, title, line, editor);
                EXPECT_EQ(added.previousOwner, "");
                section = added.section;
                ASSERT_EQ(editor.marks[static_cast<std::size_t>(line)].size(), 1u);
                standsFor[editor.marks[static_cast<std::size_t>(line)][0]] = entry;
            } else {
                what = "remove";
                ++removes;
                // An empty list (cleared on the debugger's side) leaves the markers.
                const bool listEmpty = expected.empty();
                for (int handle : listEmpty ? std::vector<int>() : onLine) {
                    const auto listed = expected.find(standsFor[handle]);
                    if (listed != expected.end()) expected.erase(listed);
                    if (EntryLine(standsFor[handle]) != line) ++movedRemoves;
                }
                write(breakpoints.Remove(section, title, line, editor));
                EXPECT_EQ(editor.marks[static_cast<std::size_t>(line)].empty(), !listEmpty) << "step " << step;
            }
        } else if (action < 94) {
            what = "save";
            ++saves;
            save();
            EXPECT_FALSE(breakpoints.SaveChangesList(editor)) << "step " << step;
            std::set<int> marked;
            for (std::size_t line = 0; line < editor.marks.size(); ++line) {
                EXPECT_LE(editor.marks[line].size(), 1u) << "step " << step << ": one marker per line";
                if (!editor.marks[line].empty()) marked.insert(static_cast<int>(line));
            }
            EXPECT_EQ(marked.size(), expected.size()) << "step " << step;
        } else {
            what = "reopen";
            ++reopens;
            if (modified) save();
            editor = ModelEditor(file);
            breakpoints = ScriptBreakpoints();
            write(breakpoints.Restore(section, title, editor));
            std::multiset<int> shown, listed;
            for (const auto &marker : editor.MarkerLines()) {
                shown.insert(marker.second);
                standsFor[marker.first] = BreakpointEntry(marker.second + 1, editor.LineText(marker.second));
            }
            for (const std::string &entry : expected) listed.insert(EntryLine(entry));
            EXPECT_EQ(shown, listed) << "step " << step << ": markers after reopening";
        }
        ASSERT_EQ(ListedEntries(section), expected) << "step " << step << " (" << what << ")";
        if (expected.empty()) {
            ASSERT_EQ(BreakpointKeyCount(section), 0) << "step " << step;
            ASSERT_EQ(BreakpointOwner(section), "") << "step " << step;
        } else {
            ASSERT_EQ(BreakpointOwner(section), title) << "step " << step;
            ASSERT_EQ(BreakpointKeyCount(section), static_cast<int>(expected.size()) + 1) << "step " << step;
        }
        ASSERT_EQ(section.front(), (ProfileLine{"Other", "kept"}));
    }
    // The sequence reached the cases it is about.
    EXPECT_GT(movedRemoves, 100) << adds << " adds, " << removes << " removes, " << saves << " saves, " << reopens
                                 << " reopenings";
    EXPECT_GT(reopens, 200);
}

}  // namespace
}  // namespace quillet
