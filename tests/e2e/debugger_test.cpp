// End to end with the debugger-side simulator (qolly.exe, installed as "Olly Dbg\OLLYDBG.EXE"
// so its path has a blank): it announces itself and logs every request it receives.
// One run connects it, runs, debugs and stops a saved and an untitled script, closes it,
// starts it alone, with a dropped program and with its last target, and closes Quillet;
// another keeps script breakpoints in the debugger's settings file.
#include <gtest/gtest.h>

#include <algorithm>

#include "Scintilla.h"
#include "driver/session.h"

using namespace qdriver;

namespace {

constexpr int kCmdAddScriptVariables = 1102;

// The simulator copied into the test folder as the user's OllyDbg.
struct Simulator {
    std::string folder, exe, log, ini;
};

// `from`: the simulator program to install, by default the one built beside the tests.
Simulator InstallSimulator(const FreshFolder &folder, const std::string &from = ExeFolder() + "qolly.exe") {
    Simulator sim;
    sim.folder = folder.File("Olly Dbg\\");
    sim.exe = sim.folder + "OLLYDBG.EXE";
    sim.log = sim.folder + "OLLYDBG.log";
    sim.ini = sim.folder + "OLLYDBG.INI";
    CreateDirectoryA(sim.folder.c_str(), nullptr);
    if (!CopyFileA(from.c_str(), sim.exe.c_str(), FALSE)) sim.exe.clear();
    return sim;
}

// Starts the simulator with arguments; the process handle, or null.
HANDLE StartSimulator(const Simulator &sim, const std::string &arguments) {
    std::string commandLine = "\"" + sim.exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, sim.folder.c_str(), &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

std::vector<std::string> LogLines(const std::string &log) {
    std::vector<std::string> lines;
    std::string bytes;
    ReadBytes(log, &bytes);
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

// Waits until the log holds `line` at least `times` times.
bool WaitLog(const std::string &log, const std::string &line, int times = 1) {
    return WaitUntil([&] {
        const std::vector<std::string> lines = LogLines(log);
        return std::count(lines.begin(), lines.end(), line) >= times;
    }, kStepTimeout);
}

std::string Request(int code, const std::string &data = "", int length = 0) {
    return "request code=" + std::to_string(code) + " length=" + std::to_string(length) + " data=\"" + data +
           "\" tail=zero";
}

std::string Joined(const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines) text += line + "\n";
    return text;
}

std::string TempFolder() {
    char path[MAX_PATH + 1] = "";
    GetTempPathA(MAX_PATH, path);
    return path;
}

int CaretLine(HWND editor) {
    return static_cast<int>(Send(editor, SCI_LINEFROMPOSITION, Send(editor, SCI_GETCURRENTPOS)));
}

bool HasBreakpoint(HWND editor, int line) { return (Send(editor, SCI_MARKERGET, line) & 2) != 0; }

}  // namespace

// The whole exchange with a debugger side built from `simulator`.
void ConnectRunAndLaunch(const std::string &simulator) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const Simulator sim = InstallSimulator(folder, simulator);
    ASSERT_FALSE(sim.exe.empty()) << simulator << " not found";
    const std::string script = folder.File("run me.txt");
    ASSERT_TRUE(WriteBytes(script, "msg \"e2e\"\r\n"));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    const std::string announced = "announce path=\"" + sim.exe + "\" frame=found answer=1";

    // The first debugger announced gives its path and is asked to close again.
    Program first;
    ASSERT_TRUE(first.Start(sim.exe, sim.folder));
    HWND box = quillet.WaitDialog("Default debugger is set");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "Your default debugger is set, Quillet will  close the debugger now");
    PressButton(box, IDOK);
    EXPECT_TRUE(first.WaitExit(kStepTimeout));
    EXPECT_EQ(IniRead(folder.Settings(), "OllyDbgPath", "ollypath"), sim.exe);
    // The announcement is answered before the message box holds the editor, so the
    // debugger side never waits on it; the close request follows.
    EXPECT_EQ(LogLines(sim.log), (std::vector<std::string>{"start target=\"\"", announced, Request(130), "exit"}));

    // "Launch Default OllyDbg" starts it from its stored path; it connects without a word.
    ASSERT_EQ(quillet.OpenScript(script), "");
    ASSERT_EQ(quillet.ChooseEditorMenuItem(ui::kLaunchOllyItemIndex), "");
    ASSERT_TRUE(WaitLog(sim.log, announced, 2)) << Joined(LogLines(sim.log));
    // While it is connected, launching another is refused.
    ASSERT_EQ(quillet.ChooseEditorMenuItem(ui::kLaunchOllyItemIndex), "");
    box = quillet.WaitDialog("Debugger not set");
    ASSERT_TRUE(box);
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitGone(box, kStepTimeout));

    // The debugger side reports that it has no target loaded.
    HANDLE sender = StartSimulator(sim, "--send 129");
    ASSERT_TRUE(sender);
    box = quillet.WaitDialog("Warning");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "Please load target into Ollydbg ");
    PressButton(box, IDOK);
    EXPECT_EQ(WaitForSingleObject(sender, kStepTimeout), WAIT_OBJECT_0);
    CloseHandle(sender);

    // F8, F10 and F9 on the saved script: its path in the 257-byte block, then stop.
    HWND editor = quillet.ActiveEditor();
    ASSERT_TRUE(PressKey(editor, VK_F8));
    EXPECT_TRUE(WaitLog(sim.log, Request(124, script, 257))) << Joined(LogLines(sim.log));
    ASSERT_TRUE(PressKey(editor, VK_F10));
    EXPECT_TRUE(WaitLog(sim.log, Request(128, script, 257))) << Joined(LogLines(sim.log));
    ASSERT_TRUE(PressKey(editor, VK_F9));
    EXPECT_TRUE(WaitLog(sim.log, Request(127))) << Joined(LogLines(sim.log));

    // Typed text that "Add Script Window's Variables" then marks unmodified is still
    // saved before F8 runs the file.
    SendCommand(quillet.Frame(), ui::kCmdAutoCompleteSwitch);  // Return ends the line
    TypeText(editor, "var scanned\n");
    ASSERT_TRUE(SyncEditor(editor));
    ASSERT_TRUE(PostCommand(quillet.Frame(), kCmdAddScriptVariables));
    ASSERT_TRUE(WaitUntil([&] { return Send(editor, SCI_GETMODIFY) == 0; }, kStepTimeout)) << "the scan did not end";
    ASSERT_TRUE(PressKey(editor, VK_F8));
    EXPECT_TRUE(WaitLog(sim.log, Request(124, script, 257), 2)) << Joined(LogLines(sim.log));
    std::string saved;
    EXPECT_TRUE(ReadBytes(script, &saved));
    EXPECT_EQ(saved, Text(editor));
    EXPECT_NE(saved.find("var scanned"), std::string::npos);

    // An untitled script runs from the temporary folder, written first.
    ASSERT_EQ(quillet.NewScript(), "");
    HWND untitled = quillet.ActiveEditor();
    TypeText(untitled, "msg 1");
    ASSERT_TRUE(SyncEditor(untitled));
    ASSERT_TRUE(PressKey(untitled, VK_F8));
    const std::string temporary = TempFolder() + "Untitled";
    EXPECT_TRUE(WaitLog(sim.log, Request(124, temporary, 257))) << Joined(LogLines(sim.log));
    std::string written;
    EXPECT_TRUE(ReadBytes(temporary, &written));
    EXPECT_EQ(written, Text(untitled));  // as typed, indented by the editor
    EXPECT_NE(written.find("msg 1"), std::string::npos);

    // "Close OllyDbg" asks it to close; it answers with its closing message.
    ASSERT_EQ(quillet.ChooseEditorMenuItem(ui::kCloseOllyItemIndex), "");
    EXPECT_TRUE(WaitLog(sim.log, "exit", 2)) << Joined(LogLines(sim.log));

    // A program dropped on the frame starts the debugger with it, which keeps it as its
    // last target; "Launch last target" starts the debugger with that one.
    const std::string target = folder.File("my target.exe");
    ASSERT_TRUE(DropFile(quillet.Frame(), target));
    EXPECT_TRUE(WaitLog(sim.log, "start target=\"" + target + "\"")) << Joined(LogLines(sim.log));
    ASSERT_TRUE(WaitLog(sim.log, announced, 3)) << Joined(LogLines(sim.log));
    EXPECT_EQ(IniRead(sim.ini, "History", "Executable[0]"), target);
    ASSERT_EQ(quillet.ChooseEditorMenuItem(ui::kCloseOllyItemIndex), "");
    ASSERT_TRUE(WaitLog(sim.log, "exit", 3)) << Joined(LogLines(sim.log));
    ASSERT_EQ(quillet.ChooseEditorMenuItem(ui::kLaunchLastTargetItemIndex), "");
    EXPECT_TRUE(WaitLog(sim.log, "start target=\"" + target + "\"", 2)) << Joined(LogLines(sim.log));
    ASSERT_TRUE(WaitLog(sim.log, announced, 4)) << Joined(LogLines(sim.log));

    // Quillet's end is announced to the connected debugger.
    EXPECT_TRUE(quillet.Process().Stop(kStepTimeout));
    EXPECT_TRUE(WaitLog(sim.log, Request(125))) << Joined(LogLines(sim.log));
    EXPECT_TRUE(WaitLog(sim.log, "exit", 4)) << Joined(LogLines(sim.log));
}

TEST(Debugger, SimulatorConnectsRunsScriptsAndIsLaunched) { ConnectRunAndLaunch(ExeFolder() + "qolly.exe"); }

// A debugger that answers F8 with "no target loaded" while it still handles the request
// is heard at once: its answer is taken and replied to, the request completes, and the
// status bar does not tell the user that no answer came.
TEST(Debugger, AnAnswerInsideTheRunRequestIsHeardAtOnce) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const Simulator sim = InstallSimulator(folder);
    ASSERT_FALSE(sim.exe.empty());
    const std::string script = folder.File("answered.txt");
    ASSERT_TRUE(WriteBytes(script, "msg 1\r\n"));
    IniWrite(folder.Settings(), "OllyDbgPath", "ollypath", sim.exe);
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HANDLE debugger = StartSimulator(sim, "--answer 129");
    ASSERT_TRUE(debugger);
    ASSERT_TRUE(WaitLog(sim.log, "announce path=\"" + sim.exe + "\" frame=found answer=1")) << Joined(LogLines(sim.log));

    ASSERT_TRUE(PressKey(quillet.ActiveEditor(), VK_F8));
    HWND box = quillet.WaitDialog("Warning");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "Please load target into Ollydbg ");
    EXPECT_TRUE(WaitLog(sim.log, "answer code=129 reply=1")) << Joined(LogLines(sim.log));
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitGone(box, kStepTimeout));
    const std::vector<std::string> lines = LogLines(sim.log);
    const auto request = std::find(lines.begin(), lines.end(), Request(124, script, 257));
    ASSERT_NE(request, lines.end()) << Joined(lines);
    ASSERT_NE(request + 1, lines.end());
    EXPECT_EQ(request[1], "answer code=129 reply=1") << "answered inside the request";
    EXPECT_EQ(StatusPartText(quillet.StatusBar(), 0).find("answer within"), std::string::npos)
        << StatusPartText(quillet.StatusBar(), 0);

    EXPECT_TRUE(quillet.Process().Stop(kStepTimeout));
    EXPECT_EQ(WaitForSingleObject(debugger, kStepTimeout), WAIT_OBJECT_0);
    CloseHandle(debugger);
}

// The link's blocks are laid out alike on both architectures: a 64-bit Quillet works with
// a 32-bit debugger side and the reverse.
TEST(Debugger, SimulatorOfTheOtherArchitectureWorksAlike) {
    const std::string peer = PeerSimulator();
    if (peer.empty()) GTEST_SKIP() << "no simulator of the other architecture (QUILLET_PEER_SIMULATOR)";
    ConnectRunAndLaunch(peer);
}

TEST(Debugger, ScriptBreakpointsAreKeptInTheDebuggersSettings) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const Simulator sim = InstallSimulator(folder);
    IniWrite(folder.Settings(), "OllyDbgPath", "ollypath", sim.exe);
    const std::string script = folder.File("marks.txt");
    std::string text = "// breakpoints\r\n\tmov  eax, 1\r\n";
    for (int line = 2; line < 9; ++line) text += "inc eax ; " + std::to_string(line) + "\r\n";
    text += "   cmp   eax,   10  \r\nret\r\n";
    ASSERT_TRUE(WriteBytes(script, text));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();

    // Alt+F2 sets breakpoints; the list is kept sorted by line.
    for (int line : {4, 1, 9}) {
        Send(editor, SCI_GOTOLINE, line);
        ASSERT_TRUE(PressKey(editor, VK_F2, {VK_MENU}));
        ASSERT_TRUE(WaitUntil([&] { return HasBreakpoint(editor, line); }, kStepTimeout)) << "line " << line;
    }
    const std::map<std::string, std::string> set{{"bp_file", script},
                                                 {"bp_0001", "2, mov eax, 1"},
                                                 {"bp_0002", "5, inc eax ; 4"},
                                                 {"bp_0003", "10, cmp eax, 10"},
                                                 {"bp_0004", ""}};
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini) == set; }, kStepTimeout));

    // F6 and F7 visit them, wrapping around.
    Send(editor, SCI_GOTOLINE, 0);
    const struct {
        WORD key;
        int line;
    } visits[] = {{VK_F6, 1}, {VK_F6, 4}, {VK_F6, 9}, {VK_F6, 1}, {VK_F7, 9}, {VK_F7, 4}};
    for (const auto &visit : visits) {
        ASSERT_TRUE(PressKey(editor, visit.key));
        EXPECT_TRUE(WaitUntil([&] { return CaretLine(editor) == visit.line; }, kStepTimeout))
            << (visit.key == VK_F6 ? "F6" : "F7") << " went to line " << CaretLine(editor) << ", expected "
            << visit.line;
    }

    // Alt+F2 on a marked line removes it; the rest are sorted by text.
    ASSERT_TRUE(PressKey(editor, VK_F2, {VK_MENU}));
    EXPECT_TRUE(WaitUntil([&] { return !HasBreakpoint(editor, 4); }, kStepTimeout));
    const std::map<std::string, std::string> removed{
        {"bp_file", script}, {"bp_0001", "10, cmp eax, 10"}, {"bp_0002", "2, mov eax, 1"}, {"bp_0003", ""}};
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini) == removed; }, kStepTimeout));

    // Opened again, the script shows its breakpoints; Alt+F3 clears them and the list.
    PostMessageA(quillet.ActiveDocument(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return quillet.Documents().empty(); }, kStepTimeout));
    ASSERT_EQ(quillet.OpenScript(script), "");
    editor = quillet.ActiveEditor();
    EXPECT_TRUE(WaitUntil([&] { return HasBreakpoint(editor, 1) && HasBreakpoint(editor, 9); }, kStepTimeout));
    EXPECT_FALSE(HasBreakpoint(editor, 4));
    ASSERT_TRUE(PressKey(editor, VK_F3, {VK_MENU}));
    EXPECT_TRUE(WaitUntil([&] { return !HasBreakpoint(editor, 1) && !HasBreakpoint(editor, 9); }, kStepTimeout));
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini).empty(); }, kStepTimeout));
    EXPECT_TRUE(quillet.Close());
}

namespace {

bool HasBookmark(HWND editor, int line) { return (Send(editor, SCI_MARKERGET, line) & 1) != 0; }

// The lines of a CR LF file.
std::vector<std::string> FileLines(const std::string &path) {
    std::string bytes;
    ReadBytes(path, &bytes);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    lines.push_back(bytes.substr(start));
    return lines;
}

int LineOf(const std::vector<std::string> &lines, const std::string &text) {
    const auto found = std::find(lines.begin(), lines.end(), text);
    return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

FILETIME LastWrite(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameTime(const FILETIME &a, const FILETIME &b) { return CompareFileTime(&a, &b) == 0; }

}  // namespace

// Editing between debugger runs: bookmarks and breakpoints near the end of a corpus
// script, five lines typed at the top, one marked line deleted, an entry that the
// debugger adds meanwhile, a save, and the script opened again.
TEST(Debugger, BookmarksAndBreakpointsFollowTheScriptAcrossASave) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const Simulator sim = InstallSimulator(folder);
    IniWrite(folder.Settings(), "OllyDbgPath", "ollypath", sim.exe);
    const std::string script = folder.File("pelock.txt");
    std::string bytes;  // copied as bytes: the corpus files are read-only
    ASSERT_TRUE(ReadBytes(CorpusFolder() +
                              "dubuqingfeng__ollydbg-script__PE_Lock_NT__PeLock_1.06_OEP_Finder_Stolen_Code_Remove_"
                              "Junk_JMP_s.txt",
                          &bytes));
    ASSERT_TRUE(WriteBytes(script, bytes));
    const std::vector<std::string> original = FileLines(script);
    const int markedLater = LineOf(original, "SearchPush:");
    const int breakLater = LineOf(original, "mov LastPush,[$RESULT]");
    const int deleted = LineOf(original, "cmp LastPush,68");
    const int breakEnd = LineOf(original, "cmt $RESULT,\"<--- Not stolen, false OEP value.\"");
    const int markedEnd = LineOf(original, "msg \"ERROR! Some error ocured! Sorry for that :(\"");
    const int counter = LineOf(original, "var counter");
    ASSERT_TRUE(markedLater > 200 && breakLater > markedLater && deleted > breakLater && breakEnd > deleted &&
                markedEnd > breakEnd && counter == 1);
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();

    // Ctrl+F2 and Alt+F2 near the end; the deleted line carries both kinds.
    const auto mark = [&](int line, WORD modifier) {
        Send(editor, SCI_GOTOLINE, line);
        ASSERT_TRUE(PressKey(editor, VK_F2, {modifier}));
        const auto marked = [&] { return modifier == VK_MENU ? HasBreakpoint(editor, line) : HasBookmark(editor, line); };
        ASSERT_TRUE(WaitUntil(marked, kStepTimeout)) << line;
    };
    for (int line : {markedLater, deleted, markedEnd}) mark(line, VK_CONTROL);
    for (int line : {breakLater, deleted, breakEnd}) mark(line, VK_MENU);
    // The entry of an original line that moved by `shift` lines.
    const auto entry = [&](int line, int shift = 0) {
        return std::to_string(line + 1 + shift) + ", " + original[line];
    };
    ASSERT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini).size() == 5; }, kStepTimeout));
    EXPECT_EQ(BreakpointSection(sim.ini)["bp_0003"], entry(breakEnd));

    // Five lines typed at the top, and one marked line deleted. The text is typed as key
    // input, so it comes after the release of the marks' Alt, still queued perhaps.
    Send(editor, SCI_GOTOPOS, 0);
    ASSERT_TRUE(TypeUnicodeKeys(editor, L"// 1\r// 2\r// 3\r// 4\r// 5\r"));
    ASSERT_TRUE(WaitUntil([&] { return Send(editor, SCI_GETLINECOUNT) == static_cast<LRESULT>(original.size() + 5); },
                          kStepTimeout));
    Send(editor, SCI_GOTOLINE, deleted + 5);
    Send(editor, SCI_LINEDELETE);
    EXPECT_FALSE(HasBookmark(editor, deleted + 5) || HasBreakpoint(editor, deleted + 5));
    EXPECT_FALSE(HasBookmark(editor, deleted + 4) || HasBreakpoint(editor, deleted + 4));

    // Meanwhile the debugger adds an entry of its own to the list.
    IniWrite(sim.ini, "Plugin ODbgScript", "BP_0004", "2, var counter");
    IniWrite(sim.ini, "Plugin ODbgScript", "BP_0005", " ");

    // Saved: both lists name the lines the text moved to; the debugger's entry stays.
    PostCommand(quillet.Frame(), ui::kCmdSave);
    ASSERT_TRUE(WaitUntil([&] { return FileLines(script).size() == original.size() + 4; }, kStepTimeout))
        << TopWindows(quillet.Pid(), "#32770").size() << " message boxes shown";
    const std::map<std::string, std::string> saved{{"bp_file", script},
                                                   {"bp_0001", entry(breakLater, 5)},
                                                   {"bp_0002", entry(breakEnd, 4)},
                                                   {"bp_0003", "2, var counter"},
                                                   {"bp_0004", ""}};
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini) == saved; }, kStepTimeout))
        << BreakpointSection(sim.ini)["bp_0001"] << " / " << BreakpointSection(sim.ini)["bp_0002"];
    const std::string bookmarks = std::to_string(markedLater + 5) + "," + std::to_string(markedEnd + 4) + ",";
    EXPECT_EQ(IniRead(folder.Settings(), "Bookmarks", "BMfile1"), script);
    EXPECT_EQ(IniRead(folder.Settings(), "Bookmarks", "BM1"), bookmarks);

    // Opened again, the marks sit on the same text as before; the debugger's entry is
    // found five lines further down and corrected.
    PostMessageA(quillet.ActiveDocument(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return quillet.Documents().empty(); }, kStepTimeout));
    ASSERT_EQ(quillet.OpenScript(script), "");
    editor = quillet.ActiveEditor();
    const std::vector<std::string> edited = FileLines(script);
    const std::vector<int> marked{LineOf(edited, original[markedLater]), LineOf(edited, original[markedEnd])};
    const std::vector<int> breaks{LineOf(edited, original[breakLater]), LineOf(edited, original[breakEnd]),
                                  LineOf(edited, "var counter")};
    EXPECT_EQ(marked, (std::vector<int>{markedLater + 5, markedEnd + 4}));
    EXPECT_EQ(breaks, (std::vector<int>{breakLater + 5, breakEnd + 4, counter + 5}));
    for (int line = 0; line < static_cast<int>(edited.size()); ++line) {
        const bool bookmark = std::find(marked.begin(), marked.end(), line) != marked.end();
        const bool breakpoint = std::find(breaks.begin(), breaks.end(), line) != breaks.end();
        EXPECT_EQ(HasBookmark(editor, line), bookmark) << "bookmark on line " << line;
        EXPECT_EQ(HasBreakpoint(editor, line), breakpoint) << "breakpoint on line " << line;
    }
    EXPECT_EQ(BreakpointSection(sim.ini)["bp_0003"], "7, var counter");

    // A save that changes nothing writes neither settings file.
    const FILETIME debuggerIni = LastWrite(sim.ini), settings = LastWrite(folder.Settings());
    Sleep(50);
    const FILETIME scriptBefore = LastWrite(script);
    PostCommand(quillet.Frame(), ui::kCmdSave);
    ASSERT_TRUE(WaitUntil([&] { return !SameTime(LastWrite(script), scriptBefore); }, kStepTimeout));
    ASSERT_TRUE(SyncEditor(editor));
    EXPECT_TRUE(SameTime(LastWrite(sim.ini), debuggerIni));
    EXPECT_TRUE(SameTime(LastWrite(folder.Settings()), settings));
    EXPECT_TRUE(quillet.Close());
}

// Breakpoints stored as "10, jmp A" and "15, jmp B", five lines typed at the top and not
// saved: a breakpoint added on line 10, which the list still gives to A, replaces
// nothing; Alt+F2 on A's marker, now on line 15, removes A's entry alone; the save moves
// B's entry, and the list ends with B and the new breakpoint on their lines.
TEST(Debugger, BreakpointsToggledAfterUnsavedEditsChangeTheirOwnEntries) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const Simulator sim = InstallSimulator(folder);
    IniWrite(folder.Settings(), "OllyDbgPath", "ollypath", sim.exe);
    const std::string script = folder.File("moved.txt");
    std::string text;
    for (int line = 1; line <= 20; ++line)
        text += (line == 10 ? std::string("jmp A") : line == 15 ? "jmp B" : "nop ; " + std::to_string(line)) + "\r\n";
    ASSERT_TRUE(WriteBytes(script, text));
    IniWrite(sim.ini, "Plugin ODbgScript", "BP_FILE", script);
    IniWrite(sim.ini, "Plugin ODbgScript", "BP_0001", "10, jmp A");
    IniWrite(sim.ini, "Plugin ODbgScript", "BP_0002", "15, jmp B");
    IniWrite(sim.ini, "Plugin ODbgScript", "BP_0003", " ");
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();
    ASSERT_TRUE(WaitUntil([&] { return HasBreakpoint(editor, 9) && HasBreakpoint(editor, 14); }, kStepTimeout));

    Send(editor, SCI_GOTOPOS, 0);
    TypeText(editor, "// 1\r// 2\r// 3\r// 4\r// 5\r");
    ASSERT_TRUE(SyncEditor(editor));
    ASSERT_EQ(Send(editor, SCI_GETLINECOUNT), 26);
    ASSERT_TRUE(HasBreakpoint(editor, 14) && HasBreakpoint(editor, 19));

    Send(editor, SCI_GOTOLINE, 9);  // "nop ; 5" now
    ASSERT_TRUE(PressKey(editor, VK_F2, {VK_MENU}));
    ASSERT_TRUE(WaitUntil([&] { return HasBreakpoint(editor, 9); }, kStepTimeout));
    const std::map<std::string, std::string> added{{"bp_file", script},
                                                   {"bp_0001", "10, jmp A"},
                                                   {"bp_0002", "10, nop ; 5"},
                                                   {"bp_0003", "15, jmp B"},
                                                   {"bp_0004", ""}};
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini) == added; }, kStepTimeout))
        << Joined({BreakpointSection(sim.ini)["bp_0001"], BreakpointSection(sim.ini)["bp_0002"]});

    Send(editor, SCI_GOTOLINE, 14);  // A's marker
    ASSERT_TRUE(PressKey(editor, VK_F2, {VK_MENU}));
    ASSERT_TRUE(WaitUntil([&] { return !HasBreakpoint(editor, 14); }, kStepTimeout));
    EXPECT_TRUE(HasBreakpoint(editor, 9) && HasBreakpoint(editor, 19));
    const std::map<std::string, std::string> removed{
        {"bp_file", script}, {"bp_0001", "10, nop ; 5"}, {"bp_0002", "15, jmp B"}, {"bp_0003", ""}};
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini) == removed; }, kStepTimeout))
        << Joined({BreakpointSection(sim.ini)["bp_0001"], BreakpointSection(sim.ini)["bp_0002"]});

    PostCommand(quillet.Frame(), ui::kCmdSave);
    ASSERT_TRUE(WaitUntil([&] { return FileLines(script).size() == 26; }, kStepTimeout));
    const std::map<std::string, std::string> saved{
        {"bp_file", script}, {"bp_0001", "10, nop ; 5"}, {"bp_0002", "20, jmp B"}, {"bp_0003", ""}};
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(sim.ini) == saved; }, kStepTimeout))
        << Joined({BreakpointSection(sim.ini)["bp_0001"], BreakpointSection(sim.ini)["bp_0002"]});
    EXPECT_TRUE(quillet.Close());
}

// Sends one WM_COPYDATA block; SendMessageTimeout so a hung receiver cannot hang the test.
static bool SendBlock(HWND frame, HWND sender, ULONG_PTR code, const void *data, DWORD size) {
    COPYDATASTRUCT block{code, size, const_cast<void *>(data)};
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(frame, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                               reinterpret_cast<LPARAM>(&block), SMTO_ABORTIFHUNG, 5000, &answer) != 0;
}

// Malformed blocks from another process, in a loop, and a debugger window that is gone
// while requests go to it: Quillet stays up, answers, shows nothing and stores nothing.
TEST(Debugger, MalformedBlocksAndAVanishedDebuggerChangeNothing) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const Simulator sim = InstallSimulator(folder);
    ASSERT_FALSE(sim.exe.empty());
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    HWND frame = quillet.Frame();
    const std::string caption = Text(frame);

    const std::string noZero(1000, 'A');                // a path without its terminating zero
    const std::vector<char> huge(1u << 20, 'B');        // a megabyte
    const char three[3] = {1, 2, 3};                    // code 127 needs 12 bytes
    for (int round = 0; round < 50; ++round) {
        // Code 126 from something that is not a window is ignored, whatever it holds.
        ASSERT_TRUE(SendBlock(frame, nullptr, 126, noZero.data(), static_cast<DWORD>(noZero.size()))) << round;
        ASSERT_TRUE(SendBlock(frame, nullptr, 126, huge.data(), static_cast<DWORD>(huge.size())));
        ASSERT_TRUE(SendBlock(frame, nullptr, 126, nullptr, 0));
        ASSERT_TRUE(SendBlock(frame, nullptr, 127, three, sizeof three));
        ASSERT_TRUE(SendBlock(frame, nullptr, 127, nullptr, 0));
        ASSERT_TRUE(SendBlock(frame, nullptr, 127, huge.data(), static_cast<DWORD>(huge.size())));
        for (ULONG_PTR unknown : {0ul, 1ul, 125ul, 130ul, 0xFFFFFFFFul})
            ASSERT_TRUE(SendBlock(frame, nullptr, unknown, huge.data(), 64));
    }
    EXPECT_TRUE(quillet.Process().Running());
    EXPECT_TRUE(TopWindows(quillet.Pid(), "#32770").empty()) << "a message box was shown";
    EXPECT_EQ(Text(frame), caption);
    EXPECT_FALSE(IniHasKey(folder.Settings(), "OllyDbgPath", "ollypath"));

    // A connected debugger that vanishes: requests to its gone window cost nothing.
    IniWrite(folder.Settings(), "OllyDbgPath", "ollypath", sim.exe);
    Program debugger;
    ASSERT_TRUE(debugger.Start(sim.exe, sim.folder));
    ASSERT_TRUE(WaitLog(sim.log, "announce path=\"" + sim.exe + "\" frame=found answer=1")) << Joined(LogLines(sim.log));
    debugger.Kill();
    ASSERT_TRUE(debugger.WaitExit(kStepTimeout));
    ASSERT_EQ(quillet.NewScript(), "");
    for (int key : {VK_F8, VK_F10, VK_F9}) ASSERT_TRUE(PressKey(quillet.ActiveEditor(), key));
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    EXPECT_TRUE(TopWindows(quillet.Pid(), "#32770").empty()) << "a message box was shown";
}
