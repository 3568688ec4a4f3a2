// End to end: keys pressed on the keyboard (SendInput to the foreground window, so Ctrl
// and Alt count): the editor's own Ctrl keys, the bookmark accelerators with their
// markers, their wrap-around and what razuvi.ini keeps of them, and the keys of the
// modeless Find dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "Scintilla.h"
#include "driver/session.h"

using namespace qdriver;

namespace {

// The find text box of the system Find and Replace dialogs (edt1).
constexpr int kFindTextBox = 0x480;

// A corpus script with enough lines, copied into the folder (its path is the title).
std::string CopyOfScript(const FreshFolder &folder, const char *name) {
    std::string bytes;
    for (const std::string &file : ListFiles(CorpusFolder(), "*.txt")) {
        if (ReadBytes(CorpusFolder() + file, &bytes) && std::count(bytes.begin(), bytes.end(), '\n') > 20) break;
    }
    std::string path = folder.File(name);
    return WriteBytes(path, bytes) ? path : "";
}

bool Marked(HWND editor, int line) { return (Send(editor, SCI_MARKERGET, line) & 1) != 0; }

int CaretLine(HWND editor) {
    return static_cast<int>(Send(editor, SCI_LINEFROMPOSITION, Send(editor, SCI_GETCURRENTPOS)));
}

}  // namespace

TEST(Keys, CtrlKeysFromTheKeyboardReachTheEditor) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string script = CopyOfScript(folder, "keys.txt");
    ASSERT_FALSE(script.empty());
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();
    const LRESULT length = Send(editor, SCI_GETLENGTH);
    ASSERT_GT(length, 0);
    ASSERT_TRUE(PressKey(editor, 'A', {VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] {
        return Send(editor, SCI_GETSELECTIONSTART) == 0 && Send(editor, SCI_GETSELECTIONEND) == length;
    }, kStepTimeout)) << "Ctrl+A did not select the whole script";
    EXPECT_TRUE(quillet.Close());
}

TEST(Keys, BookmarksAreSetVisitedKeptAndCleared) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string script = CopyOfScript(folder, "marks.txt");
    ASSERT_FALSE(script.empty());
    const std::string settings = folder.Settings();
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();

    // Ctrl+F2 marks the caret's line and stores the line (0-based) for the file.
    for (int line : {6, 3}) {
        Send(editor, SCI_GOTOLINE, line);
        ASSERT_TRUE(PressKey(editor, VK_F2, {VK_CONTROL}));
        ASSERT_TRUE(WaitUntil([&] { return Marked(editor, line); }, kStepTimeout))
            << "Ctrl+F2 did not bookmark line " << line;
    }
    EXPECT_TRUE(WaitUntil([&] { return Trim(IniRawValue(settings, "Bookmarks", "BM1")) == "6,3,"; },
                          kStepTimeout))
        << "stored lines: \"" << IniRawValue(settings, "Bookmarks", "BM1") << "\"";
    EXPECT_EQ(IniRead(settings, "Bookmarks", "BMfile1"), script);

    // F2 goes forward and F3 backward, both wrapping around.
    Send(editor, SCI_GOTOLINE, 1);
    const struct {
        WORD key;
        int line;
    } visits[] = {{VK_F2, 3}, {VK_F2, 6}, {VK_F2, 3}, {VK_F3, 6}, {VK_F3, 3}};
    for (const auto &visit : visits) {
        ASSERT_TRUE(PressKey(editor, visit.key));
        EXPECT_TRUE(WaitUntil([&] { return CaretLine(editor) == visit.line; }, kStepTimeout))
            << (visit.key == VK_F2 ? "F2" : "F3") << " went to line " << CaretLine(editor) << ", expected "
            << visit.line;
    }

    // The bookmarks come back when the script is opened again.
    PostMessageA(quillet.ActiveDocument(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return quillet.Documents().empty(); }, kStepTimeout));
    ASSERT_EQ(quillet.OpenScript(script), "");
    editor = quillet.ActiveEditor();
    EXPECT_TRUE(WaitUntil([&] { return Marked(editor, 3) && Marked(editor, 6); }, kStepTimeout))
        << "bookmarks not restored";

    // Ctrl+F2 on a marked line takes its bookmark away; Ctrl+F3 clears the rest.
    Send(editor, SCI_GOTOLINE, 6);
    ASSERT_TRUE(PressKey(editor, VK_F2, {VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] { return !Marked(editor, 6); }, kStepTimeout));
    EXPECT_TRUE(Marked(editor, 3));
    EXPECT_TRUE(WaitUntil([&] { return Trim(IniRawValue(settings, "Bookmarks", "BM1")) == "3,"; }, kStepTimeout))
        << "stored lines: \"" << IniRawValue(settings, "Bookmarks", "BM1") << "\"";
    ASSERT_TRUE(PressKey(editor, VK_F3, {VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] { return !Marked(editor, 3); }, kStepTimeout));
    EXPECT_TRUE(WaitUntil([&] { return !IniHasKey(settings, "Bookmarks", "BMfile1"); }, kStepTimeout))
        << "the script's bookmarks stayed in the settings";
    EXPECT_TRUE(quillet.Close());
}

// F11 opens Find; in it Enter finds the next match and Esc closes it, and neither key
// reaches the frame's accelerators (Esc there would switch automatic indentation).
TEST(Keys, FindDialogTakesEnterAndEscape) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string script = folder.File("find.txt");
    ASSERT_TRUE(WriteBytes(script, "mov eax, 1\r\nadd eax, ebx\r\nret\r\n"));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();
    Send(editor, SCI_GOTOLINE, 0);

    ASSERT_TRUE(PressKey(editor, VK_F11));
    HWND find = quillet.WaitDialog("Find");
    ASSERT_NE(find, nullptr) << "F11 did not open the Find dialog";
    HWND findText = Child(find, kFindTextBox);
    ASSERT_TRUE(SetText(findText, "ebx"));
    ASSERT_TRUE(PressKey(findText, VK_RETURN));
    EXPECT_TRUE(WaitUntil([&] {
        return Send(editor, SCI_GETSELECTIONSTART) == 21 && Send(editor, SCI_GETSELECTIONEND) == 24;
    }, kStepTimeout)) << "Enter did not find the next match";

    ASSERT_TRUE(PressKey(findText, VK_ESCAPE));
    EXPECT_TRUE(WaitGone(find, kStepTimeout)) << "Esc did not close the Find dialog";
    EXPECT_FALSE(IniHasKey(folder.Settings(), "NoAUTOIdentation", "Off"));
    EXPECT_TRUE(quillet.Close());
}

// Ctrl+F12 on a jump's label goes to the label's definition and Alt+Left comes back;
// the MDI client, which takes Ctrl+F6 for its own, is not in its way.
TEST(Keys, GoToLabelKeyReachesTheProgram) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string text = "var n\r\nmov n, 0\r\nagain:\r\ninc n\r\ncmp n, 3\r\njb again\r\nret\r\n";
    const std::string script = folder.File("labels.txt");
    ASSERT_TRUE(WriteBytes(script, text));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();
    const LRESULT jump = static_cast<LRESULT>(text.find("jb again") + 4);
    Send(editor, SCI_GOTOPOS, jump);

    ASSERT_TRUE(PressKey(editor, VK_F12, {VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] { return CaretLine(editor) == 2; }, kStepTimeout))
        << "Ctrl+F12 left the caret on line " << CaretLine(editor);
    ASSERT_TRUE(PressKey(editor, VK_LEFT, {VK_MENU}));
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_GETCURRENTPOS) == jump; }, kStepTimeout))
        << "Alt+Left did not come back";
    EXPECT_TRUE(quillet.Close());
}
