// The shell's own commands sent to the real frame as WM_COMMAND: switches and their
// check marks and stored keys, languages, fonts, script folder, custom colours, skins,
// the default size and the debugger path.
#include "tests/win32/shell_fixture.h"

#include <set>

#include "app/commands.h"
#include "app/shell.h"
#include "assist/script_checks.h"
#include "platform/settings_store.h"
#include "platform/editor.h"

namespace quillet::testing_shell {
namespace {

using CommandsTest = ShellFixture;

void CollectMenuCommands(HMENU menu, std::set<int> &ids) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            CollectMenuCommands(sub, ids);
        } else if (const UINT id = GetMenuItemID(menu, i); id != 0 && id != static_cast<UINT>(-1)) {
            ids.insert(static_cast<int>(id));
        }
    }
}

// Every command the menus, the tool bar and the keys offer has a handler, so a
// forgotten handler fails.
TEST_F(CommandsTest, EveryOfferedCommandHasAHandler) {
    CreateFrame();
    std::set<int> offered;
    CollectMenuCommands(Menus().bar, offered);
    const int buttons = static_cast<int>(SendMessageA(Handles().toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < buttons; ++i) {
        TBBUTTON button{};
        SendMessageA(Handles().toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (!(button.fsStyle & TBSTYLE_SEP)) offered.insert(button.idCommand);
    }
    HACCEL accelerators = CreateShellAccelerators();
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableA(accelerators, nullptr, 0)));
    CopyAcceleratorTableA(accelerators, keys.data(), static_cast<int>(keys.size()));
    DestroyAcceleratorTable(accelerators);
    for (const ACCEL &key : keys) offered.insert(key.cmd);
    EXPECT_GE(offered.size(), 50u);

    for (int id : offered) {
        const CommandEntry *entry = FindCommand(id);
        ASSERT_NE(entry, nullptr) << id << " is offered but not in the command table";
        EXPECT_NE(entry->handler, nullptr) << id;
    }
    EXPECT_EQ(FindCommand(1100), nullptr);
}

struct Toggle {
    int id;
    const char *section, *key;
    int SettingsRecord::*field;  // where the running program keeps the value
};

class StoredToggles : public ShellFixture, public ::testing::WithParamInterface<Toggle> {};

// Each switch flips the shared settings record, checks its item and stores the value,
// and the second press undoes all three.
TEST_P(StoredToggles, FlipTheFlagCheckTheItemAndStoreTheValue) {
    const Toggle &row = GetParam();
    CreateFrame();
    const SettingsRecord &record = *GetSettings(frame_);
    EXPECT_EQ(record.*row.field, 0);
    EXPECT_EQ(Command(row.id), 1);
    EXPECT_EQ(record.*row.field, 1);
    EXPECT_TRUE(IsChecked(Menus().settings, row.id));
    EXPECT_EQ(IniText(row.section, row.key), "1");
    EXPECT_EQ(Command(row.id), 1);
    EXPECT_EQ(record.*row.field, 0);
    EXPECT_FALSE(IsChecked(Menus().settings, row.id));
    EXPECT_EQ(IniText(row.section, row.key), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredToggles,
    ::testing::Values(Toggle{kCmdNoAutoIndentation, "NoAUTOIdentation", "Off", &SettingsRecord::noAutoIndent},
                      Toggle{kCmdMsdnSearch, "MSDNHELP", "On", &SettingsRecord::documentationLookup},
                      Toggle{kCmdBlockCommentHighlightOff, "Comment", "Off", &SettingsRecord::commentHighlightOff},
                      Toggle{kCmdScriptChecksOff, "ScriptChecks", "Off", &SettingsRecord::scriptChecksOff}));

TEST_F(CommandsTest, BlockCommentItemFollowsTheSettingOnlyOnceToggled) {
    WriteIni("[Comment]\r\nOff= 1\r\n");
    CreateFrame();
    EXPECT_FALSE(IsChecked(Menus().settings, kCmdBlockCommentHighlightOff));
    Command(kCmdBlockCommentHighlightOff);
    EXPECT_FALSE(IsChecked(Menus().settings, kCmdBlockCommentHighlightOff));
    EXPECT_EQ(IniText("Comment", "Off"), "0");
    Command(kCmdBlockCommentHighlightOff);
    EXPECT_TRUE(IsChecked(Menus().settings, kCmdBlockCommentHighlightOff));
}

TEST_F(CommandsTest, ExitOnCloseWritesCloseToExitAndLeavesOtherValuesAlone) {
    // A value other than 0 or 1 (edited by hand before the start) is left as it is.
    WriteIni("[Flags]\r\nClose2exit=2\r\n");
    CreateFrame();
    Command(kCmdExitOnClose);
    EXPECT_EQ(IniText("Flags", "Close2exit"), "2");
    EXPECT_FALSE(IsChecked(Menus().settings, kCmdExitOnClose));
    EXPECT_EQ(GetSettings(frame_)->closeFlag, 2);

    WriteSetting(setting::kCloseToExit, 0);
    Command(kCmdExitOnClose);
    EXPECT_TRUE(IsChecked(Menus().settings, kCmdExitOnClose));
    EXPECT_EQ(IniText("Flags", "Close2exit"), "1");
    Command(kCmdExitOnClose);
    EXPECT_FALSE(IsChecked(Menus().settings, kCmdExitOnClose));
    EXPECT_EQ(IniText("Flags", "Close2exit"), "0");
}

// The language, exit-on-close and script-checks settings live in the record while the
// program runs: a file changed behind its back changes none of them, and each command
// goes on from what the record holds.
TEST_F(CommandsTest, LanguageCloseAndChecksSettingsComeFromTheRecord) {
    WriteIni("[language]\r\nlangflg= 936\r\n[Flags]\r\nClose2exit=0\r\n[ScriptChecks]\r\nOff= 0\r\n");
    CreateFrame();
    WriteIni("[language]\r\nlangflg= 0\r\n[Flags]\r\nClose2exit=2\r\n[ScriptChecks]\r\nOff= 1\r\n");
    Command(kCmdNew);
    EXPECT_EQ(ActiveEditor().Call(SCI_GETCODEPAGE), 936);
    Command(kCmdExitOnClose);
    EXPECT_EQ(IniText("Flags", "Close2exit"), "1");
    EXPECT_EQ(GetSettings(frame_)->closeFlag, 1);
    Command(kCmdScriptChecksOff);
    EXPECT_TRUE(IsChecked(Menus().settings, kCmdScriptChecksOff));
    EXPECT_EQ(IniText("ScriptChecks", "Off"), "1");
    EXPECT_EQ(GetSettings(frame_)->scriptChecksOff, 1);
    EXPECT_FALSE(ScriptChecksOn());
}

TEST_F(CommandsTest, LanguageItemsCheckOneStoreTheCodePageAndSetTheActiveEditor) {
    WriteIni("[language]\r\nlangflg= 936\r\n");
    CreateFrame();
    Command(kCmdNew);
    const Editor first = ActiveEditor();
    ASSERT_TRUE(first.IsOpen());
    EXPECT_EQ(first.Call(SCI_GETCODEPAGE), 936);

    const std::pair<int, int> languages[] = {{1117, 65001}, {1118, 932}, {1119, 936}, {1120, 950},
                                             {1121, 949},   {1122, 1361}, {1123, 0},  {1123, 0}};
    for (const auto &[id, codePage] : languages) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Command(id), 1);
        for (int other = 1117; other <= 1123; ++other)
            EXPECT_EQ(IsChecked(Menus().settings, other), other == id) << other;
        EXPECT_EQ(IniText("language", "langflg"), std::to_string(codePage));
        EXPECT_EQ(first.Call(SCI_GETCODEPAGE), codePage);
    }
    // New documents take the language chosen last, not the one read at start-up.
    Command(kCmdLangBig5);
    EXPECT_EQ(GetSettings(frame_)->codePage, 950);
    Command(kCmdNew);
    EXPECT_EQ(ActiveEditor().Call(SCI_GETCODEPAGE), 950);
}

// Esc (through the frame's accelerators) closes an open completion list or call tip
// and leaves automatic indentation alone; with neither open it switches indentation.
TEST_F(CommandsTest, EscapeClosesAListOrTipBeforeSwitchingIndentation) {
    CreateFrame();
    Command(kCmdNew);
    const Editor editor = ActiveEditor();
    HACCEL keys = CreateShellAccelerators();
    auto pressEscape = [&] {
        MSG key{editor.Window(), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
        return TranslateAcceleratorA(frame_, keys, &key) != 0;
    };
    editor.Call(SCI_AUTOCSHOW, 0, reinterpret_cast<sptr_t>("cmp mov"));
    ASSERT_TRUE(editor.Call(SCI_AUTOCACTIVE));
    EXPECT_TRUE(pressEscape());
    EXPECT_FALSE(editor.Call(SCI_AUTOCACTIVE));
    editor.Call(SCI_CALLTIPSHOW, 0, reinterpret_cast<sptr_t>("MOV: mov dest, src"));
    ASSERT_TRUE(editor.Call(SCI_CALLTIPACTIVE));
    EXPECT_TRUE(pressEscape());
    EXPECT_FALSE(editor.Call(SCI_CALLTIPACTIVE));
    EXPECT_EQ(IniText("NoAUTOIdentation", "Off"), "<missing>");
    EXPECT_EQ(GetSettings(frame_)->noAutoIndent, 0);

    EXPECT_TRUE(pressEscape());
    EXPECT_EQ(GetSettings(frame_)->noAutoIndent, 1);
    EXPECT_TRUE(IsChecked(Menus().settings, kCmdNoAutoIndentation));
    DestroyAcceleratorTable(keys);
}

// A settings file that cannot be written is reported once per run, naming the file and
// the system's reason; the changed settings stay in effect for the run.
TEST_F(CommandsTest, SettingsThatCannotBeWrittenAreReportedOnceAndKept) {
    CreateFrame();
    Command(kCmdNew);
    HANDLE lock = CreateFileA(Ini().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Command(kCmdNoAutoIndentation);
    Command(kCmdMsdnSearch);
    Command(kCmdLangGbk);
    CloseHandle(lock);

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].text.find(Ini()), std::string::npos) << messages_[0].text;
    char reason[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_SHARING_VIOLATION, 0,
                   reason, sizeof reason, nullptr);
    const std::string firstLine(reason, strcspn(reason, "\r\n"));
    EXPECT_NE(messages_[0].text.find(firstLine), std::string::npos) << messages_[0].text;

    const SettingsRecord &s = *GetSettings(frame_);
    EXPECT_EQ(s.noAutoIndent, 1);
    EXPECT_EQ(s.documentationLookup, 1);
    EXPECT_EQ(s.codePage, 936);
    Command(kCmdNew);
    EXPECT_EQ(ActiveEditor().Call(SCI_GETCODEPAGE), 936);

    // The next write that succeeds carries the kept values into the file.
    Command(kCmdBlockCommentHighlightOff);
    EXPECT_EQ(IniText("Comment", "Off"), "1");
    EXPECT_EQ(IniText("NoAUTOIdentation", "Off"), "1");
    EXPECT_EQ(IniText("MSDNHELP", "On"), "1");
    EXPECT_EQ(IniText("language", "langflg"), "936");
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(CommandsTest, ToolBarSwitchesFlipAndChangeTheirButtonImages) {
    CreateFrame();
    HWND toolBar = Handles().toolBar;
    const SettingsRecord &s = *GetSettings(frame_);
    auto image = [toolBar](int command) { return SendMessageA(toolBar, TB_GETBITMAP, command, 0); };
    EXPECT_EQ(image(kCmdCallTipsSwitch), 6);
    EXPECT_EQ(image(kCmdAutoCompleteSwitch), 8);

    Command(kCmdCallTipsSwitch);
    EXPECT_EQ(s.callTipsSwitch, 0);
    EXPECT_EQ(image(kCmdCallTipsSwitch), 7);
    Command(kCmdAutoCompleteSwitch);
    EXPECT_EQ(s.autoCompleteSwitch, 0);
    EXPECT_EQ(image(kCmdAutoCompleteSwitch), 9);
    Command(kCmdCallTipsSwitch);
    Command(kCmdAutoCompleteSwitch);
    EXPECT_EQ(s.callTipsSwitch, 1);
    EXPECT_EQ(s.autoCompleteSwitch, 1);
    EXPECT_EQ(image(kCmdCallTipsSwitch), 6);
    EXPECT_EQ(image(kCmdAutoCompleteSwitch), 8);
    // Neither switch is stored.
    EXPECT_EQ(ReadBytes(Ini()).find("1046"), std::string::npos);
}

TEST_F(CommandsTest, TypedVariablesAndCompletionReset) {
    CreateFrame();
    Command(kCmdAddTypedVariables);
    EXPECT_EQ(GetSettings(frame_)->typedVariablesSwitch, 1);
    EXPECT_TRUE(IsChecked(Menus().varToAuto, kCmdAddTypedVariables));
    Command(kCmdAddTypedVariables);
    EXPECT_EQ(GetSettings(frame_)->typedVariablesSwitch, 0);
    EXPECT_FALSE(IsChecked(Menus().varToAuto, kCmdAddTypedVariables));

    ASSERT_STRNE(GetKeywordAdded(frame_), "");
    Command(kCmdResetAutoComplete);
    ASSERT_NE(GetKeywordAdded(frame_), nullptr);
    EXPECT_STREQ(GetKeywordAdded(frame_), "");
    EXPECT_STREQ(GetKeywordList(frame_), "CMP JMP MOV");
}

TEST_F(CommandsTest, CustomColoursNeedASavedSetFirst) {
    CreateFrame();
    Command(kCmdMyCustomColor);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], (ShownMessage{"Please,set your custom color first", "select color first", MB_OK}));
    EXPECT_FALSE(IsChecked(Menus().settings, kCmdMyCustomColor));

    WritePrivateProfileStringA("Custom Colors", "MyColorset", "1", Ini().c_str());
    Command(kCmdMyCustomColor);
    EXPECT_EQ(IniText("Custom Colors", "MyColorflg"), "1");
    EXPECT_TRUE(IsChecked(Menus().settings, kCmdMyCustomColor));
    Command(kCmdMyCustomColor);
    EXPECT_EQ(IniText("Custom Colors", "MyColorflg"), "0");
    EXPECT_FALSE(IsChecked(Menus().settings, kCmdMyCustomColor));
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(CommandsTest, SetFontStoresTheChoiceAndAppliesItToTheActiveEditorOnly) {
    CreateFrame();
    Command(kCmdNew);
    const Editor other = ActiveEditor();
    Command(kCmdNew);
    const Editor active = ActiveEditor();
    const std::string before = ReadBytes(Ini());

    Command(kCmdSetFont);  // cancelled
    ASSERT_EQ(fontRequests_.size(), 1u);
    EXPECT_STREQ(fontPresets_[0].lfFaceName, "Arial");
    EXPECT_EQ(fontRequests_[0].iPointSize, 140);
    EXPECT_TRUE(fontRequests_[0].Flags & CF_SCREENFONTS);
    EXPECT_EQ(ReadBytes(Ini()), before);

    fontAnswers_.push_back({Font("Courier New", FW_BOLD, false), 120});
    Command(kCmdSetFont);
    EXPECT_EQ(IniText("fonts", "fname"), "Courier New");
    EXPECT_EQ(IniText("fonts", "fsize"), "12");
    EXPECT_EQ(IniText("fonts", "fstyle"), "1");
    const SettingsRecord &s = *GetSettings(frame_);
    EXPECT_EQ(s.editorFontFace, "Courier New");
    EXPECT_EQ(s.editorFontSize, 12);
    EXPECT_EQ(s.editorFontStyle, 1);
    for (int style : {1, 2, 4, 5, 6, 7, 9, 14, 17, 18}) {
        SCOPED_TRACE(style);
        char face[64] = "";
        active.Call(SCI_STYLEGETFONT, style, reinterpret_cast<sptr_t>(face));
        EXPECT_STREQ(face, "Courier New");
        EXPECT_EQ(active.Call(SCI_STYLEGETSIZE, style), 12);
        EXPECT_EQ(active.Call(SCI_STYLEGETBOLD, style), 1);
        EXPECT_EQ(active.Call(SCI_STYLEGETITALIC, style), 0);
        char otherFace[64] = "";
        other.Call(SCI_STYLEGETFONT, style, reinterpret_cast<sptr_t>(otherFace));
        EXPECT_STRNE(otherFace, "Courier New");
    }
    // A size of 0 counts as cancelled.
    fontAnswers_.push_back({Font("Consolas", FW_NORMAL, true), 0});
    Command(kCmdSetFont);
    EXPECT_EQ(IniText("fonts", "fname"), "Courier New");
}

TEST_F(CommandsTest, CommentFontGoesToTheCommentStylesOnly) {
    CreateFrame();
    Command(kCmdNew);
    const Editor editor = ActiveEditor();
    fontAnswers_.push_back({Font("Courier New", FW_NORMAL, true), 100});
    Command(kCmdSetCommentFont);
    EXPECT_EQ(IniText("fonts", "cfname"), "Courier New");
    EXPECT_EQ(IniText("fonts", "cfsize"), "10");
    EXPECT_EQ(IniText("fonts", "cfstyle"), "2");
    EXPECT_EQ(GetSettings(frame_)->commentFontFace, "Courier New");
    for (int style : {1, 14}) {
        EXPECT_EQ(editor.Call(SCI_STYLEGETSIZE, style), 10) << style;
        EXPECT_EQ(editor.Call(SCI_STYLEGETITALIC, style), 1) << style;
    }
    EXPECT_NE(editor.Call(SCI_STYLEGETSIZE, 5), 10);
    EXPECT_EQ(editor.Call(SCI_STYLEGETITALIC, 5), 0);
}

TEST_F(CommandsTest, ScriptFolderIsStoredAndACancelClearsIt) {
    CreateFrame();
    folderAnswer_ = "C:\\my scripts";
    Command(kCmdSetScriptFolder);
    ASSERT_EQ(folderPrompts_.size(), 1u);
    EXPECT_EQ(folderPrompts_[0], "Please, Select your script folder");
    EXPECT_EQ(IniText("ScriptFolder", "path"), "C:\\my scripts");
    EXPECT_EQ(GetSettings(frame_)->scriptFolder, "C:\\my scripts");

    folderAnswer_ = "";
    Command(kCmdSetScriptFolder);
    EXPECT_EQ(IniText("ScriptFolder", "path"), "<missing>");
    EXPECT_EQ(GetSettings(frame_)->scriptFolder, "");
}

// The built-in skins store their paths even when the file is missing; Other asks for a
// file in the skins folder and stores the choice without its blanks, a cancel stores
// nothing.
TEST_F(CommandsTest, SkinCommandsStoreTheChosenSkinsPath) {
    CreateFrame();
    Command(kCmdSkinOthers);  // cancelled
    ASSERT_EQ(openTitles_.size(), 1u);
    EXPECT_EQ(openTitles_[0], "Select skin File");
    EXPECT_EQ(openFolders_[0], folder_ + "skins\\");
    EXPECT_EQ(IniText("Qskin", "skin"), "<missing>");

    const std::pair<int, std::string> skins[] = {
        {1110, folder_ + "skins\\winmp.urf"}, {1111, folder_ + "skins\\Clay.urf"},
        {1112, folder_ + "skins\\onion.urf"}, {1113, folder_ + "skins\\trias.urf"},
        {1115, folder_ + "skins\\Wine.urf"},  {kCmdSkinOthers, "C:\\elsewhere\\mine.urf"}};
    openAnswer_ = "  C:\\elsewhere\\mine.urf ";
    for (const auto &[id, stored] : skins) {
        EXPECT_EQ(Command(id), 1);
        EXPECT_EQ(IniText("Qskin", "skin"), stored) << id;
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(CommandsTest, RestoreToDefaultSizeCentresA1035By530Frame) {
    CreateFrame();
    Command(kCmdRestoreDefaultSize);
    RECT rect{};
    GetWindowRect(frame_, &rect);
    const double x = GetSystemMetrics(SM_CXMAXTRACK) / 2.0 - 517.5;
    const double y = GetSystemMetrics(SM_CYMAXTRACK) / 2.0 - 265.0;
    EXPECT_NEAR(rect.left, x, 0.5);
    EXPECT_NEAR(rect.top, y, 0.5);
    EXPECT_EQ(rect.right - rect.left, 1035);
    EXPECT_EQ(rect.bottom - rect.top, 530);
}

// A stand-in for the debugger-side window: records the WM_COPYDATA requests it gets.
class DebuggerWindow {
public:
    DebuggerWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ShellTestDebugger";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        Requests().clear();
    }
    ~DebuggerWindow() {
        DestroyWindow(window_);
        UnregisterClassA("ShellTestDebugger", GetModuleHandleA(nullptr));
    }
    HWND Handle() const { return window_; }
    static std::vector<std::pair<ULONG_PTR, DWORD>> &Requests() {
        static std::vector<std::pair<ULONG_PTR, DWORD>> requests;
        return requests;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA) {
            const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
            Requests().emplace_back(data->dwData, data->cbData);
            return 1;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND window_;
};

TEST_F(CommandsTest, ClearDefaultOllydbgForgetsThePathAndTellsTheDebugger) {
    WriteIni("[OllyDbgPath]\r\nollypath=C:\\odbg\\ollydbg.exe\r\n");
    CreateFrame();
    DebuggerWindow debugger;
    PublishDebuggerWindow(frame_, debugger.Handle());
    Command(kCmdClearDefaultOlly);
    EXPECT_EQ(GetSettings(frame_)->debuggerPath, "");
    EXPECT_EQ(IniText("OllyDbgPath", "ollypath"), "<missing>");
    ASSERT_EQ(DebuggerWindow::Requests().size(), 1u);
    EXPECT_EQ(DebuggerWindow::Requests()[0], (std::pair<ULONG_PTR, DWORD>{129, 0}));

    Command(kCmdClearDefaultOlly);  // nothing left to forget
    EXPECT_EQ(DebuggerWindow::Requests().size(), 1u);

    // Closing the editor is announced too.
    DestroyFrame();
    ASSERT_EQ(DebuggerWindow::Requests().size(), 2u);
    EXPECT_EQ(DebuggerWindow::Requests()[1].first, 125u);
}

TEST_F(CommandsTest, ScriptRequestsNeedAnOpenDocument) {
    CreateFrame();
    DebuggerWindow debugger;
    PublishDebuggerWindow(frame_, debugger.Handle());
    for (int id : {kCmdRunScript, kCmdStopScript, kCmdDebugScript}) EXPECT_EQ(Command(id), 1);
    const ShownMessage expected{"Open script window please", "Warning", MB_TASKMODAL};
    EXPECT_EQ(messages_, std::vector<ShownMessage>(3, expected));
    EXPECT_TRUE(DebuggerWindow::Requests().empty());

    Command(kCmdNew);
    Command(kCmdStopScript);
    EXPECT_EQ(messages_.size(), 3u);
    ASSERT_EQ(DebuggerWindow::Requests().size(), 1u);
    EXPECT_EQ(DebuggerWindow::Requests()[0], (std::pair<ULONG_PTR, DWORD>{127, 0}));
}

}  // namespace
}  // namespace quillet::testing_shell

namespace quillet::testing_shell {
namespace {

HWND seenColourDialogOwner = nullptr;

// Runs inside the colour dialog's modal loop: notes its owner and presses CLOSE.
void CALLBACK CloseColourDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA(nullptr, text::kColourDialogCaption);
    if (!dialog) return;
    KillTimer(nullptr, timer);
    seenColourDialogOwner = GetWindow(dialog, GW_OWNER);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kCdClose, BN_CLICKED), 0);
}

TEST_F(CommandsTest, SetCustomColorOpensTheColourDialogOverTheFrame) {
    CreateFrame();
    seenColourDialogOwner = nullptr;
    SetTimer(nullptr, 0, 10, CloseColourDialog);
    EXPECT_EQ(Command(kCmdSetCustomColors), 1);
    EXPECT_EQ(seenColourDialogOwner, frame_);
}

}  // namespace
}  // namespace quillet::testing_shell
