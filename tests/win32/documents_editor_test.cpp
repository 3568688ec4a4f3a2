// The editor control of a document: its set-up from the settings record and the real
// razuvi.ini (fonts, bold/italic, case, colours, lexer word lists), the right-button
// menu, go-to-line through the real modal dialog, and the help word at the caret.
#include "tests/win32/documents_fixture.h"

#include <array>

#include "colours/colour_set.h"
#include "documents/document_parts.h"
#include "platform/profile.h"

namespace quillet::testing_documents {
namespace {

constexpr std::array<int, 10> kTokenStyles{1, 2, 4, 5, 6, 7, 9, 14, 17, 18};

class EditorSetUp : public DocumentsFixture {
protected:
    std::string Ini() const { return Path(text::kSettingsFile); }
    std::string Font(const Editor &editor, int style) const {
        char face[128] = "";
        editor.Call(SCI_STYLEGETFONT, style, reinterpret_cast<sptr_t>(face));
        return face;
    }
};

TEST_F(EditorSetUp, WithoutSettingsEverythingIsArial14AndBuiltInColours) {
    NewDocument();
    const Editor editor = ActiveEditor();
    for (int style : kTokenStyles) {
        EXPECT_EQ(Font(editor, style), "Arial") << style;
        EXPECT_EQ(editor.Call(SCI_STYLEGETSIZE, style), 14) << style;
        EXPECT_FALSE(editor.Call(SCI_STYLEGETBOLD, style)) << style;
        EXPECT_FALSE(editor.Call(SCI_STYLEGETITALIC, style)) << style;
    }
    EXPECT_EQ(Font(editor, STYLE_DEFAULT), "arial");
    EXPECT_EQ(editor.Call(SCI_STYLEGETFORE, kStyleKeyword), 0xFF0000);
    EXPECT_EQ(editor.Call(SCI_STYLEGETFORE, kStyleLabel), 0x0000FF);
    EXPECT_EQ(editor.Call(SCI_STYLEGETFORE, kStyleVariable), 0x000000);
    EXPECT_EQ(editor.Call(SCI_STYLEGETFORE, kStyleComment), 0x61DB9E);
    EXPECT_EQ(editor.Call(SCI_STYLEGETFORE, kStyleComment2), 0x61DB9E);
    for (int style : {5, 7, 9, 17}) EXPECT_EQ(editor.Call(SCI_STYLEGETCASE, style), SC_CASE_UPPER) << style;
    for (int style : {1, 2, 4, 6, 14, 18}) EXPECT_EQ(editor.Call(SCI_STYLEGETCASE, style), SC_CASE_MIXED) << style;
    EXPECT_EQ(editor.Call(SCI_GETMARGINWIDTHN, 0), 50);
    EXPECT_EQ(editor.Call(SCI_STYLEGETSIZE, STYLE_CALLTIP), 9);
    EXPECT_TRUE(editor.Call(SCI_GETUSETABS));
    EXPECT_TRUE(editor.Call(SCI_GETBACKSPACEUNINDENTS));
    EXPECT_EQ(editor.Call(SCI_GETLEXER), 98);
}

TEST_F(EditorSetUp, CustomColoursApplyOnlyWhileSwitchedOn) {
    // The switch is read from the settings record, which the loader and the menu item keep.
    struct Case { int flag; ColourRef keyword; ColourRef string; };
    const Case cases[] = {{1, 0x123456, 0x9BE664}, {0, 0xFF0000, 0x9BE664}};
    for (const Case &c : cases) {
        settings_.customColorFlag = c.flag;
        platform::WriteProfileText("Custom Colors", "keyword", std::to_string(0x123456), Ini());
        NewDocument();
        const Editor editor = ActiveEditor();
        EXPECT_EQ(static_cast<ColourRef>(editor.Call(SCI_STYLEGETFORE, kStyleKeyword)), c.keyword) << c.flag;
        EXPECT_EQ(static_cast<ColourRef>(editor.Call(SCI_STYLEGETFORE, kStyleString)), c.string) << c.flag;
    }
}

TEST_F(EditorSetUp, EveryClassTakesItsOwnCustomColour) {
    settings_.customColorFlag = 1;
    for (size_t i = 0; i < kTokenClasses.size(); ++i)
        platform::WriteProfileText("Custom Colors", kTokenClasses[i].key, std::to_string(0x010101 * (i + 1)), Ini());
    NewDocument();
    const Editor editor = ActiveEditor();
    for (const StyleColour &entry : kStyleColourOrder)
        EXPECT_EQ(static_cast<ColourRef>(editor.Call(SCI_STYLEGETFORE, entry.style)),
                  0x010101u * (static_cast<unsigned>(entry.tokenClass) + 1))
            << entry.style;
}

TEST_F(EditorSetUp, FontsAndStyleCodesFromTheSettings) {
    struct Case {
        const char *face; int size; int style;
        const char *commentFace; int commentSize; int commentStyle;
        const char *wantFace; int wantSize; bool bold; bool italic;
        const char *wantCommentFace; int wantCommentSize; bool commentBold; bool commentItalic;
    };
    const Case cases[] = {
        {"Courier New", 11, 1, "Tahoma", 9, 2, "Courier New", 11, true, false, "Tahoma", 9, false, true},
        {"Courier New", 11, 3, "Tahoma", 0, 2, "Courier New", 11, true, true, "Courier New", 11, true, true},
        {"Courier New", 0, 1, "Tahoma", 12, 7, "Arial", 14, false, false, "Tahoma", 12, false, false},
        {"   ", 11, 2, "", 10, 1, "Arial", 14, false, false, "Arial", 14, false, false},
        {"Verdana", 10, 2, "  ", 10, 1, "Verdana", 10, false, true, "Verdana", 10, false, true},
    };
    for (const Case &c : cases) {
        settings_ = SettingsRecord{};
        settings_.editorFontFace = c.face;
        settings_.editorFontSize = c.size;
        settings_.editorFontStyle = c.style;
        settings_.commentFontFace = c.commentFace;
        settings_.commentFontSize = c.commentSize;
        settings_.commentFontStyle = c.commentStyle;
        NewDocument();
        const Editor editor = ActiveEditor();
        for (int style : {2, 4, 5, 6, 7, 9, 17, 18}) {
            EXPECT_EQ(Font(editor, style), c.wantFace) << c.face << " style " << style;
            EXPECT_EQ(editor.Call(SCI_STYLEGETSIZE, style), c.wantSize) << c.face << " style " << style;
            EXPECT_EQ(editor.Call(SCI_STYLEGETBOLD, style) != 0, c.bold) << c.face << " style " << style;
            EXPECT_EQ(editor.Call(SCI_STYLEGETITALIC, style) != 0, c.italic) << c.face << " style " << style;
        }
        for (int style : {1, 14}) {
            EXPECT_EQ(Font(editor, style), c.wantCommentFace) << c.face << " style " << style;
            EXPECT_EQ(editor.Call(SCI_STYLEGETSIZE, style), c.wantCommentSize) << c.face << " style " << style;
            EXPECT_EQ(editor.Call(SCI_STYLEGETBOLD, style) != 0, c.commentBold) << c.face << " style " << style;
            EXPECT_EQ(editor.Call(SCI_STYLEGETITALIC, style) != 0, c.commentItalic) << c.face << " style " << style;
        }
        EXPECT_EQ(Font(editor, STYLE_LINENUMBER), c.wantFace);
    }
}

TEST_F(EditorSetUp, KeywordsAndRegistersReachTheLexer) {
    NewDocument();
    const Editor editor = ActiveEditor();
    editor.SetText("mov eax, 1\r\n");
    editor.Call(SCI_COLOURISE, 0, -1);
    EXPECT_EQ(editor.Call(SCI_GETSTYLEAT, 0), kStyleKeyword);  // "MOV" given in upper case
    EXPECT_EQ(editor.Call(SCI_GETSTYLEAT, 4), kStyleRegister);
}

using EditorMenu = DocumentsFixture;

TEST_F(EditorMenu, EntriesInOrderAndNothingChosenDoesNothing) {
    NewDocument();
    ActiveEditor().CallText(SCI_APPENDTEXT, 4, "text");
    for (int click = 0; click < 2; ++click)
        SendMessageA(ActiveDocument(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
    ASSERT_EQ(menus_.size(), 2u);
    const std::vector<std::pair<UINT, std::string>> expected{
        {1, "Undo"}, {0, ""}, {3, "Cut"}, {4, "Copy"}, {5, "Paste"}, {0, ""}, {7, "Clear"}, {0, ""},
        {9, "Save AS"}, {0, ""}, {10, "PtrnPaste"}, {0, ""}, {11, "RemoveThisFileFrmMru"}, {0, ""},
        {12, "Launch Default OllyDbg"}, {0, ""}, {13, "Launch last target opened in  OllyDbg"}, {0, ""},
        {14, "Close OllyDbg"}, {0, ""}, {1092, "Block Comment (F4)"}, {1093, "Block UComment (F5)"}, {0, ""},
        {1098, "Find (F11)"}, {1099, "Replace (F12)"}, {1142, "GoToLine"}, {0, ""}, {1146, "GETLables"},
        {0, ""}, {1200, "Fold All\tAlt+0"}, {1201, "Unfold All\tAlt+Shift+0"},
        {1202, "Find References\tShift+F12"}, {1203, "Rename Label or Variable\tCtrl+Shift+R"},
    };
    for (const auto &menu : menus_) {
        ASSERT_EQ(menu.size(), expected.size() + 2);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(menu[i].id, expected[i].first) << i;
            EXPECT_EQ(menu[i].text, expected[i].second) << i;
        }
        EXPECT_EQ(menu[expected.size()].id, 0u);
        EXPECT_EQ(menu.back().text, "Reopen As");
    }
    EXPECT_EQ(menuOwners_[0], ActiveDocument());
    EXPECT_EQ(ActiveEditor().Text(), "text");
    EXPECT_TRUE(FrameCommands().empty());
}

TEST_F(EditorMenu, EditingEntriesAndForwardedCommands) {
    NewDocument();
    const Editor editor = ActiveEditor();
    editor.SetText("alpha beta");
    editor.Call(SCI_SETSEL, 0, 6);
    auto choose = [&](UINT id) {
        menuChoices_.push_back(id);
        SendMessageA(ActiveDocument(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
    };
    choose(kEdClear);
    EXPECT_EQ(editor.Text(), "beta");
    choose(kEdUndo);
    EXPECT_EQ(editor.Text(), "alpha beta");
    editor.Call(SCI_SETSEL, 6, 10);
    choose(kEdCut);
    EXPECT_EQ(editor.Text(), "alpha ");
    editor.Call(SCI_SETSEL, 0, 0);
    choose(kEdPaste);
    EXPECT_EQ(editor.Text(), "betaalpha ");

    for (UINT id : {1092u, 1093u, 1098u, 1099u}) choose(id);
    const std::vector<std::pair<WPARAM, LPARAM>> forwarded{{1092, 1092}, {1093, 1093}, {1098, 1098}, {1099, 1099}};
    EXPECT_EQ(FrameCommands(), forwarded);

    // Entries carried out by later work do nothing yet.
    for (UINT id : {10u, 1146u}) choose(id);
    EXPECT_EQ(editor.Text(), "betaalpha ");
    EXPECT_TRUE(messages_.empty());

    // The debugger entries: no debugger path is set, so nothing starts; closing asks
    // no debugger when none is connected.
    for (UINT id : {12u, 13u, 14u}) choose(id);
    const ShownMessage notSet{"Please set Your default OllyDbg by launching it while Quillet is running",
                              "Debugger not set", MB_OK};
    EXPECT_EQ(messages_, (std::vector<ShownMessage>{notSet, notSet}));
}

TEST_F(EditorMenu, SaveAsFromTheMenuRenamesTheDocumentAndItsTab) {
    NewDocument();
    ActiveEditor().CallText(SCI_APPENDTEXT, 2, "hi");
    saveNames_.push_back(Path("menu"));
    menuChoices_.push_back(kEdSaveAs);
    SendMessageA(ActiveDocument(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
    EXPECT_EQ(ReadBytes(Path("menu.txt")), "hi");
    EXPECT_EQ(Title(ActiveDocument()), Path("menu.txt"));
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"menu.txt"}));
    EXPECT_FALSE(ActiveEditor().Call(SCI_GETMODIFY));

    // Cancelled: nothing is saved and the text stays modified.
    ActiveEditor().CallText(SCI_APPENDTEXT, 1, "!");
    saveNames_.push_back("");
    menuChoices_.push_back(kEdSaveAs);
    SendMessageA(ActiveDocument(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
    EXPECT_TRUE(ActiveEditor().Call(SCI_GETMODIFY));
    EXPECT_EQ(ReadBytes(Path("menu.txt")), "hi");
}

// The go-to-line dialog is found and driven from a thread timer, which its modal
// loop dispatches.
struct GoToLineScript {
    std::string typed;
    bool clickOk = true;
    bool sawDialog = false;
    int misplaced = 0;
    std::vector<std::pair<int, std::string>> controls;
};
GoToLineScript *g_goToLine = nullptr;

void CALLBACK DriveGoToLine(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "GoToLine");
    if (!dialog || !g_goToLine) return;
    KillTimer(nullptr, timer);
    g_goToLine->sawDialog = true;
    // Each control with its text, and its place (x, y, width, height in dialog units).
    const struct { int id; RECT units; } layout[] = {
        {kIdGoToLineEdit, {14, 21, 134, 12}}, {IDOK, {44, 38, 40, 14}}, {IDCANCEL, {90, 38, 40, 14}}};
    for (const auto &control : layout) {
        char label[64] = "";
        GetDlgItemTextA(dialog, control.id, label, sizeof label);
        g_goToLine->controls.emplace_back(GetDlgItem(dialog, control.id) ? control.id : -1, label);
        RECT expected = control.units, placed{};
        MapDialogRect(dialog, &expected);
        GetWindowRect(GetDlgItem(dialog, control.id), &placed);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&placed), 2);
        const RECT size{placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top};
        g_goToLine->misplaced += !EqualRect(&expected, &size);
    }
    SetDlgItemTextA(dialog, kIdGoToLineEdit, g_goToLine->typed.c_str());
    const int button = g_goToLine->clickOk ? IDOK : IDCANCEL;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    if (IsWindow(dialog) && IsWindowVisible(dialog)) EndDialog(dialog, 0);
}

TEST_F(EditorMenu, GoToLineMovesTheCaretToTheTypedLine) {
    NewDocument();
    const Editor editor = ActiveEditor();
    std::string text;
    for (int i = 1; i <= 20; ++i) text += "line " + std::to_string(i) + "\r\n";
    editor.SetText(text);
    struct Case { const char *typed; bool ok; int line; };
    const Case cases[] = {{"10", true, 9}, {" 3abc", true, 2}, {"junk", true, 0}, {"15", false, 0}, {"99", true, 20}};
    for (const Case &c : cases) {
        GoToLineScript script;
        script.typed = c.typed;
        script.clickOk = c.ok;
        g_goToLine = &script;
        SetTimer(nullptr, 0, 20, DriveGoToLine);
        menuChoices_.push_back(kEdGoToLine);
        SendMessageA(ActiveDocument(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
        g_goToLine = nullptr;
        EXPECT_TRUE(script.sawDialog) << c.typed;
        EXPECT_EQ(editor.Call(SCI_LINEFROMPOSITION, editor.Call(SCI_GETCURRENTPOS)), c.line) << c.typed;
        const std::vector<std::pair<int, std::string>> controls{
            {kIdGoToLineEdit, ""}, {IDOK, "&OK"}, {IDCANCEL, "&Cancel"}};
        EXPECT_EQ(script.controls, controls);
        EXPECT_EQ(script.misplaced, 0);
    }
}

TEST_F(EditorMenu, HelpWordAtTheCaret) {
    NewDocument();
    const Editor editor = ActiveEditor();
    editor.SetText("var $result\r\nmov [esp+4], eax,\r\nGetProcAddress Get_Proc  x  #tag");
    struct Case { const char *find; int offset; const char *word; };
    const Case cases[] = {
        {"$result", 3, "result"}, {"esp", 1, "esp"}, {"eax,", 1, "eax"}, {"GetProcAddress", 5, "GetProcAddress"},
        {"Get_Proc", 6, "Get"}, {"  x", 1, ""}, {"#tag", 2, "tag"}, {"var", 0, "var"},
    };
    const std::string all = editor.Text();
    for (const Case &c : cases) {
        const size_t at = all.find(c.find);
        ASSERT_NE(at, std::string::npos) << c.find;
        editor.Call(SCI_GOTOPOS, at + c.offset);
        EXPECT_EQ(HelpWordAtCaret(editor), c.word) << c.find;
    }
}

}  // namespace
}  // namespace quillet::testing_documents

namespace quillet::testing_documents {
namespace {

// "Reopen As" from the editor menu: the sub-menu lists the encodings with the present
// one checked; a choice shows the same bytes through the new code page or character
// set, for this document only.
TEST_F(EditorMenu, ReopenAsShowsTheSameBytesInTheChosenEncoding) {
    NewDocument();
    HWND first = ActiveDocument();
    const std::string bytes = "// \xCF\xF0\xE8\xE2\xE5\xF2\r\n";  // "Привет" in Windows-1251
    ActiveEditor().SetText(bytes);
    NewDocument();
    HWND second = ActiveDocument();
    SendMessageA(handles_.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first), 0);

    std::vector<std::string> checked;
    platform::Hooks().trackMenu = [&](HMENU menu, HWND) -> UINT {
        HMENU encodings = GetSubMenu(menu, GetMenuItemCount(menu) - 1);
        for (int i = 0; i < GetMenuItemCount(encodings); ++i) {
            char name[64] = "";
            GetMenuStringA(encodings, i, name, sizeof name, MF_BYPOSITION);
            if (GetMenuState(encodings, i, MF_BYPOSITION) & MF_CHECKED) checked.push_back(name);
            if (std::string(name) == "Windows-1251") return GetMenuItemID(encodings, i);
        }
        return 0;
    };
    SendMessageA(first, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
    EXPECT_EQ(checked, std::vector<std::string>{"ANSI"});

    const Editor editor = ActiveEditor();
    EXPECT_EQ(editor.Call(SCI_GETCODEPAGE), 0);
    EXPECT_EQ(editor.Call(SCI_STYLEGETCHARACTERSET, 1), RUSSIAN_CHARSET);
    EXPECT_EQ(editor.Call(SCI_STYLEGETCHARACTERSET, STYLE_DEFAULT), RUSSIAN_CHARSET);
    EXPECT_EQ(editor.Text(), bytes);
    wchar_t characters[32] = L"";
    SendMessageW(editor.Window(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(characters));
    EXPECT_STREQ(characters, L"// \u041f\u0440\u0438\u0432\u0435\u0442\r\n");
    EXPECT_EQ(GetDocumentRecord(first)->encoding, EncodingId::kWindows1251);
    EXPECT_EQ(GetDocumentRecord(second)->encoding, EncodingId::kAnsi);
    EXPECT_EQ(Editor(EditorOfDocument(second)).Call(SCI_STYLEGETCHARACTERSET, 1), DEFAULT_CHARSET);
}

}  // namespace
}  // namespace quillet::testing_documents
