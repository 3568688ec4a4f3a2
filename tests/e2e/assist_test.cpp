// End to end: the typing aids while typing into the running program: the line indented
// and the completion list open at a command's first letter, the call tip under a
// complete command, and the labels pane brought in with the Pause key. Screenshots of
// the list, the tip and the pane land in the screens folder.
#include <gtest/gtest.h>

#include "Scintilla.h"
#include "driver/session.h"

using namespace qdriver;

namespace {


// Types, waits until the editor has taken every character and closes an open list,
// so that a following Return starts a new line instead of choosing an entry.
void Type(HWND editor, const std::string &text, bool closeList = true) {
    TypeText(editor, text);
    SyncEditor(editor);
    if (closeList) Send(editor, SCI_AUTOCCANCEL);
}

}  // namespace

TEST(Assist, CompletionCallTipAndLabelsPaneWhileTyping) {
    FreshFolder folder;
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    ASSERT_EQ(quillet.NewScript(), "");
    HWND frame = quillet.Frame();
    HWND editor = quillet.ActiveEditor();

    Type(editor, "start:\n");
    Type(editor, "m", false);
    EXPECT_EQ(Send(editor, SCI_GETLINEINDENTATION, 0), 0) << "a label line stays at column 0";
    EXPECT_EQ(Send(editor, SCI_GETLINEINDENTATION, 1), 8);
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_AUTOCACTIVE) != 0; }, kStepTimeout))
        << "the first letter of a command opens the list";
    Sleep(300);  // let the list paint
    SaveScreenshot("assist-completion-list.png", frame);

    Type(editor, "o");
    Type(editor, "v");
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_CALLTIPACTIVE) != 0; }, kStepTimeout))
        << "mov shows its call tip";
    Sleep(300);
    SaveScreenshot("assist-call-tip.png", frame);
    Type(editor, " eax, 1\n");
    EXPECT_EQ(Send(editor, SCI_CALLTIPACTIVE), 0) << "the next keystroke closes the tip";
    Type(editor, "jmp start\n");

    HWND list = Descendant(frame, ui::kLabelsList);
    ASSERT_TRUE(list);
    HWND pane = GetParent(list);
    EXPECT_FALSE(IsWindowVisible(pane));
    ASSERT_TRUE(PressKey(editor, VK_PAUSE));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pane) != FALSE; }, kStepTimeout)) << "Pause opens the pane";
    EXPECT_EQ(Send(list, LB_GETCOUNT), 1);
    EXPECT_EQ(Send(list, LB_GETTEXTLEN, 0), 6) << "START:";
    Sleep(300);
    SaveScreenshot("assist-labels-pane.png", frame);

    Send(editor, SCI_SETSAVEPOINT);
    EXPECT_TRUE(quillet.Close());
}
