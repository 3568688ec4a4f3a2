// Find and replace with the real system dialogs over the real frame: F11 / F12 open
// them prefilled, and their buttons, pressed as the user presses them, send the
// registered message that searches and replaces in the real editor.
#include "tests/win32/shell_fixture.h"

#include <dlgs.h>

#include "app/find_replace.h"
#include "platform/editor.h"

namespace quillet::testing_shell {
namespace {

using FindReplaceTest = ShellFixture;

constexpr char kScript[] = "mov eax, 1\r\nadd eax, ebx\r\npush EAX\r\nret\r\n";

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string DialogText(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::pair<sptr_t, sptr_t> Selection(const Editor &editor) {
    return {editor.Call(SCI_GETSELECTIONSTART), editor.Call(SCI_GETSELECTIONEND)};
}

using Range = std::pair<sptr_t, sptr_t>;

TEST_F(FindReplaceTest, FindDownAndUpThenReplaceAndReplaceAll) {
    CreateFrame();
    Command(kCmdNew);
    const Editor editor = ActiveEditor();
    ASSERT_TRUE(editor.IsOpen());
    editor.SetText(kScript);
    editor.Call(SCI_GOTOPOS, 5);

    // F11 opens Find with the word at the caret; F11 again does not open another.
    EXPECT_EQ(Command(kCmdFind), 1);
    HWND find = OpenFindReplaceWindow();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(DialogText(find, edt1), "eax");
    Command(kCmdFind);
    EXPECT_EQ(OpenFindReplaceWindow(), find);

    // Down: the search starts one after the caret, then one after each match; letter
    // case counts only when asked for, and a failed search changes nothing.
    Click(find, IDOK);
    EXPECT_EQ(Selection(editor), Range(16, 19));
    Click(find, IDOK);
    EXPECT_EQ(Selection(editor), Range(31, 34));
    CheckDlgButton(find, chx2, BST_CHECKED);
    Click(find, IDOK);
    EXPECT_EQ(Selection(editor), Range(31, 34));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], (ShownMessage{"No match found   ", " Find", MB_ICONINFORMATION}));

    // Up: matches lying before the caret, back to the start.
    CheckDlgButton(find, chx2, BST_UNCHECKED);
    CheckRadioButton(find, rad1, rad2, rad1);
    Click(find, IDOK);
    EXPECT_EQ(Selection(editor), Range(16, 19));
    Click(find, IDOK);
    EXPECT_EQ(Selection(editor), Range(4, 7));
    Click(find, IDOK);
    EXPECT_EQ(Selection(editor), Range(4, 7));
    EXPECT_EQ(messages_.size(), 2u);
    Click(find, IDCANCEL);
    EXPECT_EQ(OpenFindReplaceWindow(), nullptr);

    // F12: replace all with a replacement that holds the find text ends, in one undo step.
    Command(kCmdReplace);
    HWND replace = OpenFindReplaceWindow();
    ASSERT_NE(replace, nullptr);
    EXPECT_EQ(DialogText(replace, edt1), "eax");
    SetDlgItemTextA(replace, edt2, "[eax]");
    messages_.clear();
    Click(replace, psh2);
    EXPECT_EQ(editor.Text(), "mov [eax], 1\r\nadd [eax], ebx\r\npush [eax]\r\nret\r\n");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], (ShownMessage{"3 replacements  ", " Replace all", MB_ICONINFORMATION}));
    editor.Call(SCI_UNDO);
    EXPECT_EQ(editor.Text(), kScript);

    // Replace: the next match from the caret, then a find next at once.
    SetDlgItemTextA(replace, edt2, "ecx");
    CheckDlgButton(replace, chx2, BST_CHECKED);
    editor.Call(SCI_GOTOPOS, 0);
    messages_.clear();
    Click(replace, psh1);
    EXPECT_EQ(editor.Text(), "mov ecx, 1\r\nadd eax, ebx\r\npush EAX\r\nret\r\n");
    EXPECT_EQ(Selection(editor), Range(16, 19));
    Click(replace, psh1);
    Click(replace, psh1);
    EXPECT_EQ(editor.Text(), "mov ecx, 1\r\nadd ecx, ebx\r\npush EAX\r\nret\r\n");
    const std::vector<ShownMessage> expected{{"No match found   ", " Find", MB_ICONINFORMATION},
                                             {"Match not found   ", " Replace", MB_ICONINFORMATION},
                                             {"No match found   ", " Find", MB_ICONINFORMATION}};
    EXPECT_EQ(messages_, expected);

    // Replace all inside a selection of lines: the range grows with the replacements.
    SetDlgItemTextA(replace, edt1, "e");
    SetDlgItemTextA(replace, edt2, "eee");
    CheckDlgButton(replace, chx2, BST_UNCHECKED);
    editor.Call(SCI_SETSEL, 0, editor.Call(SCI_GETLINEENDPOSITION, 1));
    messages_.clear();
    Click(replace, psh2);
    EXPECT_EQ(editor.Text(), "mov eeecx, 1\r\nadd eeecx, eeebx\r\npush EAX\r\nret\r\n");
    EXPECT_EQ(messages_.at(0).text, "3 replacements  ");

    // An empty find text replaces nothing (the dialog never sends one).
    EXPECT_EQ(ReplaceAllMatches(editor, "", "x", 0), 0);
    Click(replace, IDCANCEL);
}

}  // namespace
}  // namespace quillet::testing_shell
