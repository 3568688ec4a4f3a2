// End to end: a script's structure with real keys and clicks: fold all and unfold all,
// a click in the marker margin setting and removing a script breakpoint (kept in the
// debugger's list as Alt+F2 keeps it) and a Ctrl+click there a bookmark, the pointer
// resting on a number showing its meaning, rename with its refusals and one undo step,
// and the references list walked with the keys.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Scintilla.h"
#include "driver/session.h"

using namespace qdriver;

namespace {

constexpr int kFoldAllKey = '0';  // Alt+0; with Shift: unfold all
constexpr int kLineNumberMarginWidth = 50;

bool HasBookmark(HWND editor, int line) { return (Send(editor, SCI_MARKERGET, line) & 1) != 0; }
bool HasBreakpoint(HWND editor, int line) { return (Send(editor, SCI_MARKERGET, line) & 2) != 0; }
bool Visible(HWND editor, int line) { return Send(editor, SCI_GETLINEVISIBLE, line) != 0; }

// The middle of the marker margin beside a line, on the screen.
POINT MarkerMarginPoint(HWND editor, int line) {
    const LRESULT position = Send(editor, SCI_POSITIONFROMLINE, line);
    POINT point{kLineNumberMarginWidth + static_cast<LONG>(Send(editor, SCI_GETMARGINWIDTHN, 1)) / 2,
                static_cast<LONG>(Send(editor, SCI_POINTYFROMPOSITION, 0, position) +
                                  Send(editor, SCI_TEXTHEIGHT, line) / 2)};
    ClientToScreen(editor, &point);
    return point;
}

}  // namespace

TEST(Structure, FoldAllMarginClicksAndNumberHoverWithRealInput) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    // The debugger's settings file lies beside the debugger the settings name.
    const std::string debuggerFolder = folder.File("Olly Dbg\\");
    CreateDirectoryA(debuggerFolder.c_str(), nullptr);
    IniWrite(folder.Settings(), "OllyDbgPath", "ollypath", debuggerFolder + "OLLYDBG.EXE");
    const std::string script = folder.File("structure.txt");
    const std::string text =
        "var x\r\n"          // 0
        "start:\r\n"         // 1
        "mov x, 3E8\r\n"     // 2
        "ifeq x, 1\r\n"      // 3
        "  inc x\r\n"        // 4
        "endif\r\n"          // 5
        "next:\r\n"          // 6
        "exec\r\n"           // 7
        "  push 0\r\n"       // 8
        "ende\r\n"           // 9
        "ret\r\n";           // 10
    ASSERT_TRUE(WriteBytes(script, text));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();
    Send(editor, SCI_GOTOLINE, 4);

    // Alt+0 folds every block: only the lines outside every section stay, and the label
    // lines that head them; the caret leaves the hidden line for one still shown.
    ASSERT_TRUE(PressKey(editor, kFoldAllKey, {VK_MENU}));
    ASSERT_TRUE(WaitUntil([&] { return !Visible(editor, 2); }, kStepTimeout)) << "Alt+0 folded nothing";
    for (int line = 0; line <= 10; ++line)
        EXPECT_EQ(Visible(editor, line), line == 0 || line == 1 || line == 6) << "line " << line;
    EXPECT_EQ(Send(editor, SCI_LINEFROMPOSITION, Send(editor, SCI_GETCURRENTPOS)), 1);
    // Alt+Shift+0 shows them all again; the text never changed.
    ASSERT_TRUE(PressKey(editor, kFoldAllKey, {VK_MENU, VK_SHIFT}));
    ASSERT_TRUE(WaitUntil([&] { return Visible(editor, 2); }, kStepTimeout)) << "Alt+Shift+0 unfolded nothing";
    for (int line = 0; line <= 10; ++line) EXPECT_TRUE(Visible(editor, line)) << "line " << line;
    EXPECT_EQ(Send(editor, SCI_GETMODIFY), 0);

    // A click in the marker margin sets the line's script breakpoint as Alt+F2 does,
    // without moving the caret; a second click removes it; Ctrl+click sets a bookmark.
    Send(editor, SCI_GOTOPOS, 0);
    ASSERT_TRUE(ClickAt(MarkerMarginPoint(editor, 3)));
    ASSERT_TRUE(WaitUntil([&] { return HasBreakpoint(editor, 3); }, kStepTimeout)) << "no breakpoint on line 4";
    const std::map<std::string, std::string> set{
        {"bp_file", script}, {"bp_0001", "4, ifeq x, 1"}, {"bp_0002", ""}};
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(debuggerFolder + "OLLYDBG.INI") == set; }, kStepTimeout));
    EXPECT_EQ(Send(editor, SCI_GETCURRENTPOS), 0);
    EXPECT_FALSE(HasBookmark(editor, 3));

    ASSERT_TRUE(ClickAt(MarkerMarginPoint(editor, 8), false, {VK_CONTROL}));
    ASSERT_TRUE(WaitUntil([&] { return HasBookmark(editor, 8); }, kStepTimeout)) << "Ctrl+click set no bookmark";
    EXPECT_FALSE(HasBreakpoint(editor, 8));

    ASSERT_TRUE(ClickAt(MarkerMarginPoint(editor, 3)));
    ASSERT_TRUE(WaitUntil([&] { return !HasBreakpoint(editor, 3); }, kStepTimeout)) << "second click kept it";
    EXPECT_TRUE(WaitUntil([&] { return BreakpointSection(debuggerFolder + "OLLYDBG.INI").count("bp_0001") == 0 ||
                                       BreakpointSection(debuggerFolder + "OLLYDBG.INI")["bp_0001"].empty(); },
                          kStepTimeout));
    EXPECT_TRUE(HasBookmark(editor, 8));
    EXPECT_EQ(Send(editor, SCI_GETMODIFY), 0);

    // The mouse resting on a command shows no tip, however long it rests (several of the
    // editor's dwell times here); resting on a number shows what the number means in a
    // call tip at the number, under its line, clear of the pointer.
    const size_t command = text.find("mov"), number = text.find("3E8");
    const auto tipShown = [&] { return Send(editor, SCI_CALLTIPACTIVE) != 0; };
    // The caret goes to the empty last line, where no command's tip comes up with it.
    Send(editor, SCI_GOTOPOS, text.size());
    ASSERT_TRUE(WaitUntil([&] { return !tipShown(); }, kStepTimeout)) << "a tip stays with the caret";
    ASSERT_EQ(RestPointerOn(editor, command + 1), "");
    EXPECT_FALSE(WaitUntil(tipShown, static_cast<DWORD>(4 * Send(editor, SCI_GETMOUSEDWELLTIME))))
        << "a tip over the command mov";
    ASSERT_EQ(RestPointerOn(editor, number + 1), "");
    ASSERT_TRUE(WaitUntil(tipShown, kStepTimeout)) << "no tip over 3E8";
    HWND tip = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : TopWindows(quillet.Pid(), "CallTip"))
            if (IsWindowVisible(window)) tip = window;
        return tip != nullptr;
    }, kStepTimeout)) << "no tip window shown";
    const auto screenPoint = [&](size_t position) {
        POINT point{static_cast<LONG>(Send(editor, SCI_POINTXFROMPOSITION, 0, static_cast<LPARAM>(position))),
                    static_cast<LONG>(Send(editor, SCI_POINTYFROMPOSITION, 0, static_cast<LPARAM>(position)))};
        ClientToScreen(editor, &point);
        return point;
    };
    const POINT numberStart = screenPoint(number), numberEnd = screenPoint(number + 3);
    const RECT placed = WindowRect(tip);
    // Scintilla sets the tip's text a few pixels in from its left edge.
    constexpr LONG kTipInset = 8;
    EXPECT_GE(placed.left, numberStart.x - kTipInset);
    EXPECT_LT(placed.left, numberEnd.x);
    EXPECT_GT(placed.top, numberStart.y + static_cast<LONG>(Send(editor, SCI_TEXTHEIGHT, 2)) / 2);
    RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(SaveScreenshot("structure-number-tip.png", quillet.Frame()).empty());
    EXPECT_TRUE(quillet.Close());
}

namespace {

constexpr int kRenameEdit = 1210;

std::string EditorText(HWND editor) {
    const auto length = static_cast<size_t>(Send(editor, SCI_GETLENGTH));
    std::string text(length, '\0');
    for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(Send(editor, SCI_GETCHARAT, i));
    return text;
}

// Ctrl+Shift+R on the editor and the new name typed into the dialog; empty once the
// dialog closed, else what went wrong.
std::string RenameTo(Session &quillet, HWND editor, const std::string &name) {
    if (!PressKey(editor, 'R', {VK_CONTROL, VK_SHIFT})) return "Ctrl+Shift+R not pressed";
    HWND dialog = quillet.WaitDialog("Rename");
    if (!dialog) return "no Rename dialog";
    HWND edit = Child(dialog, kRenameEdit);
    if (!edit || !SetText(edit, name) || !PressButton(dialog, IDOK)) return "the dialog did not take the name";
    return WaitGone(dialog, kStepTimeout) ? "" : "the dialog stayed";
}

// The message box that refuses a name: its text, once it was closed.
std::string Refusal(Session &quillet, HWND) {
    HWND box = quillet.WaitDialog("Rename");
    if (!box) return "no message";
    const std::string text = MessageBoxText(box);
    PressButton(box, IDOK);
    WaitGone(box, kStepTimeout);
    return text;
}

}  // namespace

TEST(Structure, RenameWithRealKeysIsOneUndoStepAndRefusesWithReasons) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string script = folder.File("rename.txt");
    const std::string text =
        "var count\r\nmov count, 0\r\nloop:\r\ninc count ; count up\r\ncmp count, 10.\r\njb loop\r\n"
        "exec\r\n  push {count}\r\nende\r\nlog \"count={count}\"\r\n";
    ASSERT_TRUE(WriteBytes(script, text));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();
    Send(editor, SCI_GOTOPOS, text.find("count, 0") + 2);

    // Names the language would read otherwise, or that are taken, are refused with the reason.
    ASSERT_EQ(RenameTo(quillet, editor, "eax"), "");
    EXPECT_EQ(Refusal(quillet, editor), "The language would read the new name as a register: eax");
    ASSERT_EQ(RenameTo(quillet, editor, "c0de"), "");
    EXPECT_EQ(Refusal(quillet, editor), "The language would read the new name as a hex number (it has only the digits 0-9 "
                                "and A-F): c0de");
    ASSERT_EQ(RenameTo(quillet, editor, "Loop"), "");
    EXPECT_EQ(Refusal(quillet, editor), "The name is already used in this script: Loop");
    EXPECT_EQ(EditorText(editor), text);

    // A good name changes every use of the variable, in the EXEC block and the string too,
    // but not the comment; one Ctrl+Z takes it all back.
    ASSERT_EQ(RenameTo(quillet, editor, "total"), "");
    const std::string renamed =
        "var total\r\nmov total, 0\r\nloop:\r\ninc total ; count up\r\ncmp total, 10.\r\njb loop\r\n"
        "exec\r\n  push {total}\r\nende\r\nlog \"count={total}\"\r\n";
    ASSERT_TRUE(WaitUntil([&] { return EditorText(editor) == renamed; }, kStepTimeout)) << EditorText(editor);
    ASSERT_TRUE(PressKey(editor, 'Z', {VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] { return EditorText(editor) == text; }, kStepTimeout)) << EditorText(editor);
    // The file is untouched until saved.
    std::string bytes;
    ASSERT_TRUE(ReadBytes(script, &bytes));
    EXPECT_EQ(bytes, text);
    Send(editor, SCI_SETSAVEPOINT);
    EXPECT_TRUE(quillet.Close());
}

TEST(Structure, ReferencesListTheScriptAndItsIncludesAndAltLeftComesBack) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string included = folder.File("helpers.txt");
    ASSERT_TRUE(WriteBytes(included, "helper:\r\n  jmp done\r\n"));
    const std::string script = folder.File("main.txt");
    const std::string text = "#inc \"helpers.txt\"\r\ncall helper\r\ndone:\r\n  ret ; done\r\njmp DONE\r\n";
    ASSERT_TRUE(WriteBytes(script, text));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();
    const LRESULT start = static_cast<LRESULT>(text.find("done:") + 1);
    Send(editor, SCI_GOTOPOS, start);
    // Once the caret rests, the word at it is marked wherever it shows (any letter case),
    // and nothing else is.
    constexpr int kWordMark = 10;
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_INDICATORVALUEAT, kWordMark, text.find("DONE")) != 0; },
                          kStepTimeout)) << "the word at the caret is not marked";
    EXPECT_NE(Send(editor, SCI_INDICATORVALUEAT, kWordMark, text.find("done")), 0);
    EXPECT_EQ(Send(editor, SCI_INDICATORVALUEAT, kWordMark, text.find("helper")), 0);

    // Shift+F12 lists the definition and both jumps, the included script's last; the
    // comment is no reference.
    ASSERT_TRUE(PressKey(editor, VK_F12, {VK_SHIFT}));
    HWND dialog = quillet.WaitDialog("References of done");
    ASSERT_TRUE(dialog) << "no references list";
    HWND list = Child(dialog, 1211);
    ASSERT_TRUE(list);
    ASSERT_EQ(Send(list, LB_GETCOUNT), 3);
    // The list is a Unicode window: its items are read as UTF-16 (ASCII here).
    const auto item = [&](int index) {
        wchar_t buffer[512] = L"";
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
        if (length <= 0 || length >= 512) return std::string();
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
        std::string text;
        for (const wchar_t *c = buffer; *c; ++c) text += static_cast<char>(*c);
        return text;
    };
    EXPECT_EQ(item(0), "main.txt (3): done:");
    EXPECT_EQ(item(1), "main.txt (5): jmp DONE");
    EXPECT_EQ(item(2), "helpers.txt (2): jmp done");

    // Walked with the keys: Down twice and Enter open the included script at its jump.
    ASSERT_TRUE(PressKey(list, VK_DOWN));
    ASSERT_TRUE(PressKey(list, VK_DOWN));
    ASSERT_TRUE(WaitUntil([&] { return Send(list, LB_GETCURSEL) == 2; }, kStepTimeout));
    ASSERT_TRUE(PressKey(list, VK_RETURN));
    ASSERT_TRUE(WaitGone(dialog, kStepTimeout));
    ASSERT_TRUE(WaitUntil([&] { return Text(quillet.ActiveDocument()) == included; }, kStepTimeout))
        << "active: " << Text(quillet.ActiveDocument());
    HWND other = quillet.ActiveEditor();
    EXPECT_TRUE(WaitUntil([&] { return Send(other, SCI_GETCURRENTPOS) == 15; }, kStepTimeout))
        << "caret at " << Send(other, SCI_GETCURRENTPOS);

    // Alt+Left comes back to where the list was asked for.
    ASSERT_TRUE(PressKey(other, VK_LEFT, {VK_MENU}));
    ASSERT_TRUE(WaitUntil([&] { return Text(quillet.ActiveDocument()) == script; }, kStepTimeout));
    EXPECT_TRUE(WaitUntil([&] { return Send(quillet.ActiveEditor(), SCI_GETCURRENTPOS) == start; }, kStepTimeout));
    EXPECT_TRUE(quillet.Close());
}
