// The typing aids in the real frame with real documents and Scintilla controls:
// a realistic typing sequence (indentation, completion opening or not, typed variables
// picked up once, call tips), the background variable scan against the control's own
// word positions and racing a document close, and the labels pane with its jump.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assist/completion_rules.h"
#include "assist/variable_scan.h"
#include "core/token_styles.h"
#include "documents/document_parts.h"
#include "platform/active_document.h"
#include "platform/editor.h"
#include "platform/text.h"
#include "tests/win32/shell_fixture.h"

namespace quillet::testing_shell {
namespace {

const char kAssistKeywords[] =
    "mov,cmp,jmp,#inc,\r\nadd\r\n\r\n;;\r\nMOV: mov dest, src\r\nCopies src to dest.\r\n;;\r\n"
    "CMP: cmp a, b\r\n;;\r\nCREATED: 2026-01-02 test set\r\n";

// The corpus folder beside the source tree.
std::string CorpusFolder() {
    char exe[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe, length < MAX_PATH ? length : 0);
    for (;;) {
        const size_t slash = dir.find_last_of("\\/");
        if (slash == std::string::npos) return std::string();
        dir.resize(slash);
        if (Exists(dir + "\\tests\\data\\lexer")) return dir + "\\..\\shared\\corpus\\";
    }
}

class AssistTest : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        WriteKeywords(kAssistKeywords);
        ASSERT_TRUE(CreateFrame(false));
        ASSERT_TRUE(LoadKeywordFile(frame_));
        ShowWindow(frame_, SW_SHOWNORMAL);
        SettingsRecord *settings = GetSettings(frame_);
        settings->autoCompleteSwitch = 1;
        settings->callTipsSwitch = 1;
        settings->typedVariablesSwitch = 1;
        settings->noAutoIndent = 0;
    }

    HWND NewDocument() {
        Command(kCmdNew);
        Pump();
        return ActiveDocument();
    }

    Editor Active() const { return ActiveEditor(); }

    // Lets the control style, paint and report SCN_UPDATEUI.
    void Settle() {
        for (int i = 0; i < 3; ++i) {
            Pump();
            if (HWND editor = ActiveEditorWindow()) UpdateWindow(editor);
        }
    }

    void Type(const std::string &text) {
        HWND editor = ActiveEditorWindow();
        for (char c : text) {
            if (c == '\n') {
                SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
                SendMessageA(editor, WM_KEYUP, VK_RETURN, 0);
            } else {
                SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(c), 0);
            }
            Settle();
        }
    }

    int Indentation(int line) const { return static_cast<int>(Active().Call(SCI_GETLINEINDENTATION, line)); }
    bool ListOpen() const { return Active().Call(SCI_AUTOCACTIVE) != 0; }
    bool TipOpen() const { return Active().Call(SCI_CALLTIPACTIVE) != 0; }
    void CloseList() { Active().Call(SCI_AUTOCCANCEL); }
    std::string Added() const {
        const char *added = GetKeywordAdded(frame_);
        return added ? added : "";
    }
    std::string Base() const { return GetKeywordList(frame_); }

    // Waits until every started scan has reported back.
    bool WaitForScans(DWORD ms = 20000) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            Pump();
            if (!IsWindowVisible(Handles().progressBar)) return true;
            Sleep(5);
        }
        return false;
    }
};

TEST_F(AssistTest, TypingIndentsCompletesPicksUpVariablesAndShowsTips) {
    ASSERT_TRUE(NewDocument());
    // A label line: indented at its first letter, back to column 0 at the colon.
    Type("s");
    EXPECT_EQ(Indentation(0), 8);
    EXPECT_TRUE(ListOpen() == false) << "no keyword starts with s";
    Type("tart:");
    EXPECT_EQ(Indentation(0), 0);
    EXPECT_EQ(Active().TextRange(0, 6), "start:");

    // The new line stays at column 0 until its first character, then goes to 8.
    Type("\n");
    EXPECT_EQ(Indentation(1), 0);
    Type("m");
    EXPECT_EQ(Indentation(1), 8);
    EXPECT_TRUE(ListOpen()) << "the first letter of a command opens the list";
    CloseList();
    Type("ov");
    CloseList();
    Settle();
    EXPECT_TRUE(TipOpen()) << "the caret at the end of mov shows its tip";
    EXPECT_EQ(Active().Call(SCI_CALLTIPPOSSTART), Active().Call(SCI_GETCURRENTPOS)) << "shown after the v";
    // Squiggles and the word highlight change indicators behind the user's back: the
    // control reports an update, and the tip stays.
    Active().Call(SCI_SETINDICATORCURRENT, 9);
    Active().Call(SCI_INDICATORFILLRANGE, 0, 5);
    Settle();
    EXPECT_TRUE(TipOpen()) << "an indicator change closed the tip";

    // The next keystroke closes the tip; a blank opens no list.
    Type(" ");
    EXPECT_FALSE(TipOpen());
    EXPECT_FALSE(ListOpen());

    // A variable is picked up once, when a separator follows it, in its first spelling.
    const std::string before = Added();
    Type("$val,");
    CloseList();
    EXPECT_EQ(Added(), ListWithVariable(before, "$val"));
    const std::string withVal = Added();
    Type(" $VAL ");
    CloseList();
    EXPECT_EQ(Added(), withVal) << "the same name in another case is not added again";
    Type("cmp ");  // a keyword is not a variable
    CloseList();
    EXPECT_EQ(Added(), withVal);

    // No list right after a comment, nor for "#" past column 9; "#" at column 9 opens it.
    Type("\n// c");
    EXPECT_FALSE(ListOpen()) << "typing in a comment";
    Type("\n#");
    EXPECT_EQ(Active().Call(SCI_GETCOLUMN, Active().Call(SCI_GETCURRENTPOS)), 9);
    EXPECT_TRUE(ListOpen()) << "# at column 9 offers #INC";
    CloseList();
    Type(" #");
    EXPECT_FALSE(ListOpen()) << "# past column 9";

    // The switches: completion off opens nothing; no automatic indentation keeps column 0.
    GetSettings(frame_)->autoCompleteSwitch = 0;
    GetSettings(frame_)->noAutoIndent = 1;
    Type("\nm");
    const int line = static_cast<int>(Active().Call(SCI_LINEFROMPOSITION, Active().Call(SCI_GETCURRENTPOS)));
    EXPECT_EQ(Indentation(line), 0);
    EXPECT_FALSE(ListOpen());
}

// The variables of a script as the unchanged algorithm finds them: word positions
// asked of the control itself, on the window thread.
std::string VariablesByControl(const Editor &editor) {
    editor.CallText(SCI_SETWORDCHARS, 0, kScanWordChars);
    editor.Call(SCI_COLOURISE, 0, -1);
    std::string found;
    std::vector<std::string> seen;
    const sptr_t lines = editor.Call(SCI_GETLINECOUNT);
    for (sptr_t i = 0; i < lines; ++i) {
        sptr_t q = editor.Call(SCI_POSITIONFROMLINE, i);
        const sptr_t end = editor.Call(SCI_GETLINEENDPOSITION, i);
        while (q < end) {
            const sptr_t a = editor.Call(SCI_WORDSTARTPOSITION, q, 1);
            const sptr_t b = editor.Call(SCI_WORDENDPOSITION, q, 1);
            q += 1 + (b - a);
            const int style = static_cast<int>(editor.Call(SCI_GETSTYLEAT, b - 1));
            if (IsStopStyle(style)) break;
            if (style != kStyleVariable) continue;
            const std::string name = editor.TextRange(a, b);
            bool known = false;
            for (const std::string &s : seen) known = known || EqualsNoCase(s, name);
            if (name.empty() || known) continue;
            seen.push_back(name);
            found += (found.empty() ? "" : " ") + name;
        }
    }
    return found;
}

TEST_F(AssistTest, ScanOfACorpusScriptMatchesTheControlsWordPositions) {
    const std::string script =
        ReadBytes(CorpusFolder() + "BKHONEL__OllyDBG-Script__RLPack__RLPack1.9_pre_Heavy_Weapon.txt");
    ASSERT_FALSE(script.empty());
    ASSERT_TRUE(NewDocument());
    Active().SetText(script);
    const std::string expected = VariablesByControl(Active());
    ASSERT_FALSE(expected.empty());
    Active().CallText(SCI_SETWORDCHARS, 0, kCompletionWordChars);
    ASSERT_TRUE(Active().Call(SCI_GETMODIFY));
    GetSettings(frame_)->typedVariablesSwitch = 1;
    CheckMenuItem(Menus().varToAuto, kCmdAddTypedVariables, MF_BYCOMMAND | MF_CHECKED);

    Command(kCmdAddScriptVariables);
    EXPECT_EQ(GetSettings(frame_)->typedVariablesSwitch, 0);
    EXPECT_FALSE(IsChecked(Menus().varToAuto, kCmdAddTypedVariables));
    ASSERT_TRUE(WaitForScans());
    EXPECT_EQ(Added(), ListWithScannedVariables(Base(), expected));
    EXPECT_EQ(WindowText(Handles().statusBar), GetStatusNote(frame_));
    EXPECT_FALSE(Active().Call(SCI_GETMODIFY)) << "the scan marks the script unmodified";
    char chars[128] = "";
    Active().CallText(SCI_GETWORDCHARS, 0, chars);
    std::string restored = chars, expectedChars = kRestoreWordChars;
    std::sort(restored.begin(), restored.end());
    std::sort(expectedChars.begin(), expectedChars.end());
    EXPECT_EQ(restored, expectedChars);

    Command(kCmdResetAutoComplete);
    EXPECT_EQ(Added(), "");
}

TEST_F(AssistTest, ScanRacingCloseAndASecondScanLosesNothing) {
    const std::string script =
        ReadBytes(CorpusFolder() + "dubuqingfeng__ollydbg-script__Themida__themida.txt");
    ASSERT_FALSE(script.empty());
    std::string big;
    for (int i = 0; i < 40; ++i) big += script + "\r\n";

    // Closed while the worker walks: the result still arrives; no message box but the
    // close question, nothing touches the gone control.
    ASSERT_TRUE(NewDocument());
    Active().SetText(big + "\r\nonlyhere_a = 1\r\n");
    EXPECT_TRUE(StartVariableScan(frame_));
    HWND first = ActiveDocument();
    SendMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    ASSERT_TRUE(WaitForScans());
    EXPECT_NE(Added().find("onlyhere_a"), std::string::npos);

    // Two scans in a row: the one started last wins.
    ASSERT_TRUE(NewDocument());
    Active().SetText(big + "\r\nfirst_only = 1\r\n");
    EXPECT_TRUE(StartVariableScan(frame_));
    ASSERT_TRUE(NewDocument());
    Active().SetText("second_only = 2\r\n");
    EXPECT_TRUE(StartVariableScan(frame_));
    ASSERT_TRUE(WaitForScans());
    for (int i = 0; i < 50; ++i) {  // let the first scan report too
        Sleep(20);
        Pump();
    }
    EXPECT_NE(Added().find("second_only"), std::string::npos);
    EXPECT_EQ(Added().find("first_only"), std::string::npos);

    // The frame goes away while a scan runs.
    Active().SetText(big);
    EXPECT_TRUE(StartVariableScan(frame_));
    DestroyFrame();
    Sleep(500);
    Pump();
    for (const ShownMessage &shown : messages_) EXPECT_NE(shown.text, text::kPleaseOpenScript);
}

// A thousand scans, each started and its document closed at once: every worker ends,
// nothing touches a gone control, and the last script's variable arrives.
TEST_F(AssistTest, AThousandScansWithTheirDocumentsClosedAtOnce) {
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(NewDocument()) << i;
        Active().SetText("var v" + std::to_string(i) + "\r\nmov v" + std::to_string(i) + ", 1\r\n");
        EXPECT_TRUE(StartVariableScan(frame_)) << i;
        SendMessageA(ActiveDocument(), WM_CLOSE, 0, 0);
        if (i % 50 == 0) Pump();
    }
    ASSERT_TRUE(WaitForScans());
    EXPECT_NE(Added().find("v999"), std::string::npos) << Added().substr(0, 200);
    EXPECT_TRUE(IsWindow(frame_));
}

TEST_F(AssistTest, LabelsPaneListsSortedLabelsAndJumps) {
    ASSERT_TRUE(NewDocument());
    Active().SetText("zeta:\r\n  mov a, b\r\nalpha:\r\n  jmp zeta\r\nAlpha:\r\nmid:\r\n");
    Command(kCmdShowLabels);
    Pump();
    HWND pane = Handles().labelsPane;
    HWND list = Handles().labelsList;
    ASSERT_TRUE(IsWindowVisible(pane));
    EXPECT_EQ(GetFocus(), list);
    std::vector<std::pair<std::string, LRESULT>> items;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char item[300] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
        items.emplace_back(item, SendMessageA(list, LB_GETITEMDATA, i, 0));
    }
    EXPECT_EQ(items, (std::vector<std::pair<std::string, LRESULT>>{
                         {"ALPHA:", 2}, {"ALPHA:", 2}, {"MID:", 5}, {"ZETA:", 0}}));

    // Double click on MID: jumps to its line; the focus goes to the document and the pane hides.
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    SendMessageA(pane, WM_COMMAND, MAKEWPARAM(kIdLabelsList, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    Pump();
    EXPECT_EQ(Active().Call(SCI_LINEFROMPOSITION, Active().Call(SCI_GETCURRENTPOS)), 5);
    EXPECT_FALSE(IsWindowVisible(pane));

    // The upper half of the right border brings the pane in; the lower half does not.
    RECT frame{};
    GetWindowRect(frame_, &frame);
    const LPARAM lower = MAKELPARAM(frame.right - 2, frame.bottom - (frame.bottom - frame.top) / 4);
    const LPARAM upper = MAKELPARAM(frame.right - 2, frame.top + (frame.bottom - frame.top) / 4);
    EXPECT_EQ(SendMessageA(frame_, WM_NCHITTEST, 0, lower), HTCLIENT);
    EXPECT_FALSE(IsWindowVisible(pane));
    EXPECT_EQ(SendMessageA(frame_, WM_NCHITTEST, 0, upper), HTCLIENT);
    EXPECT_TRUE(IsWindowVisible(pane));

    // Labels of a script in another encoding than the system's show as its characters:
    // Windows-1251 and UTF-8 bytes of the same Cyrillic label.
    SetFocus(ActiveEditorWindow());
    Pump();
    for (const auto &[encoding, bytes] : {std::pair{EncodingId::kWindows1251, std::string("\xCC\xE8\xF0:")},
                                          std::pair{EncodingId::kUtf8, std::string("\xD0\x9C\xD0\xB8\xD1\x80:")}}) {
        ApplyEncodingLook(Active(), encoding);
        Active().SetText(bytes + "\r\n");
        Command(kCmdShowLabels);
        wchar_t label[16] = L"";
        SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(label));
        EXPECT_STREQ(label, L"\u041c\u0438\u0440:") << static_cast<int>(encoding);
        SetFocus(ActiveEditorWindow());
        Pump();
    }

    // A script without labels opens nothing.
    EXPECT_FALSE(IsWindowVisible(pane));
    Active().SetText("mov a, b\r\n");
    Command(kCmdShowLabels);
    EXPECT_FALSE(IsWindowVisible(pane));
}

}  // namespace
}  // namespace quillet::testing_shell
