// Block comments through the real frame (F4 / F5 as frame commands) on a real editor:
// the lines they change, the selection they leave, the highlight switch and undo.
#include "tests/win32/shell_fixture.h"

#include "platform/editor.h"

namespace quillet::testing_shell {
namespace {

using CommentsTest = ShellFixture;

constexpr char kScript[] = "mov eax, 1\r\n  cmp eax, 2\r\n//jmp done\r\nret\r\n";

void SelectLines(const Editor &editor, int first, int last, int lastColumn) {
    editor.Call(SCI_SETSEL, editor.Call(SCI_POSITIONFROMLINE, first), editor.Call(SCI_POSITIONFROMLINE, last) + lastColumn);
}

TEST_F(CommentsTest, CommentAndUncommentSelectedLinesStepByStep) {
    CreateFrame();
    Command(kCmdNew);
    const Editor editor = ActiveEditor();
    ASSERT_TRUE(editor.IsOpen());
    editor.SetText(kScript);
    editor.Call(SCI_EMPTYUNDOBUFFER);

    // Without a selection nothing happens.
    editor.Call(SCI_GOTOPOS, 3);
    EXPECT_EQ(Command(kCmdBlockComment), 1);
    EXPECT_EQ(Command(kCmdBlockUncomment), 1);
    EXPECT_EQ(editor.Text(), kScript);

    // Lines 0 to 2, the last touched only at its column 0; the block stays selected.
    SelectLines(editor, 0, 2, 0);
    Command(kCmdBlockComment);
    EXPECT_EQ(editor.Text(), "//mov eax, 1\r\n//  cmp eax, 2\r\n////jmp done\r\nret\r\n");
    EXPECT_EQ(editor.Call(SCI_GETSELECTIONSTART), 0);
    EXPECT_EQ(editor.Call(SCI_GETSELECTIONEND), editor.Call(SCI_GETLINEENDPOSITION, 2));

    // Each insertion is an undo step of its own.
    editor.Call(SCI_UNDO);
    EXPECT_EQ(editor.Text(), "//mov eax, 1\r\n//  cmp eax, 2\r\n//jmp done\r\nret\r\n");
    editor.Call(SCI_REDO);

    // A block whose first line begins with "/" is not commented again.
    SelectLines(editor, 1, 3, 1);
    Command(kCmdBlockComment);
    EXPECT_EQ(editor.Text(), "//mov eax, 1\r\n//  cmp eax, 2\r\n////jmp done\r\nret\r\n");

    // Uncomment takes one "//" from each line that starts with it.
    SelectLines(editor, 0, 3, 2);
    Command(kCmdBlockUncomment);
    EXPECT_EQ(editor.Text(), "mov eax, 1\r\n  cmp eax, 2\r\n//jmp done\r\nret\r\n");
    EXPECT_EQ(editor.Call(SCI_GETSELECTIONEND), editor.Call(SCI_GETLINEENDPOSITION, 3));
    editor.Call(SCI_UNDO);
    EXPECT_EQ(editor.Text(), "mov eax, 1\r\n  cmp eax, 2\r\n////jmp done\r\nret\r\n");
    editor.Call(SCI_REDO);

    // An indented marker stays; with the highlight switch on the selection is left as
    // the last edit put it.
    editor.SetText("  //indented\r\nnop\r\n");
    Command(kCmdBlockCommentHighlightOff);
    SelectLines(editor, 0, 1, 3);
    Command(kCmdBlockUncomment);
    EXPECT_EQ(editor.Text(), "  //indented\r\nnop\r\n");
    Command(kCmdBlockComment);
    EXPECT_EQ(editor.Text(), "//  //indented\r\n//nop\r\n");
    EXPECT_EQ(editor.Call(SCI_GETSELECTIONEND), editor.Call(SCI_POSITIONFROMLINE, 1) + 5);
    for (int step = 0; step < 2; ++step) editor.Call(SCI_UNDO);
    EXPECT_EQ(editor.Text(), "  //indented\r\nnop\r\n");
}

}  // namespace
}  // namespace quillet::testing_shell
