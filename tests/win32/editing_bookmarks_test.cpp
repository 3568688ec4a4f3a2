// Bookmarks through the real frame: Ctrl+F2 / F2 / F3 / Ctrl+F3 as frame commands on a
// script opened from a real file, the slots they keep in the real razuvi.ini, and the
// marks restored when the script is opened again, also from a list edited by hand.
#include "tests/win32/shell_fixture.h"

#include "platform/editor.h"

namespace quillet::testing_shell {
namespace {

using BookmarksTest = ShellFixture;

std::vector<int> MarkedLines(const Editor &editor) {
    std::vector<int> lines;
    for (sptr_t line = editor.Call(SCI_MARKERNEXT, 0, 1); line >= 0; line = editor.Call(SCI_MARKERNEXT, line + 1, 1))
        lines.push_back(static_cast<int>(line));
    return lines;
}

int CaretLine(const Editor &editor) {
    return static_cast<int>(editor.Call(SCI_LINEFROMPOSITION, editor.Call(SCI_GETCURRENTPOS)));
}

TEST_F(BookmarksTest, ToggledVisitedStoredRestoredAndCleared) {
    std::string script;
    for (int i = 0; i < 20; ++i) script += "mov eax, " + std::to_string(i) + "\r\n";
    const std::string path = Path("marks.txt");
    WriteBytes(path, script);
    WriteIni("[Bookmarks]\r\nBMfile1=C:\\other.txt\r\nBM1=1,\r\n");
    CreateFrame();
    openAnswer_ = path;
    Command(kCmdOpen);
    Editor editor = ActiveEditor();
    ASSERT_TRUE(editor.IsOpen());

    // Ctrl+F2 marks lines; the script gets the next free slot, in setting order.
    for (int line : {6, 3, 12}) {
        editor.Call(SCI_GOTOLINE, line);
        EXPECT_EQ(Command(kCmdToggleBookmark), 1);
    }
    EXPECT_EQ(MarkedLines(editor), (std::vector<int>{3, 6, 12}));
    EXPECT_EQ(IniText("Bookmarks", "BMfile2"), path);
    EXPECT_EQ(IniText("Bookmarks", "BM2"), "6,3,12,");

    // F2 and F3 wrap around.
    editor.Call(SCI_GOTOLINE, 13);
    const std::pair<int, int> visits[] = {{kCmdNextBookmark, 3},     {kCmdNextBookmark, 6},
                                          {kCmdPreviousBookmark, 3}, {kCmdPreviousBookmark, 12}};
    for (const auto &[command, line] : visits) {
        Command(command);
        EXPECT_EQ(CaretLine(editor), line) << command;
    }

    // Ctrl+F2 on a marked line takes the mark and its stored item away.
    Command(kCmdToggleBookmark);
    EXPECT_EQ(MarkedLines(editor), (std::vector<int>{3, 6}));
    EXPECT_EQ(IniText("Bookmarks", "BM2"), "6,3,");

    // Opened again, the script gets its stored marks back; a list edited by hand marks
    // only real lines of the script, each once.
    const auto reopen = [&] {
        SendMessageA(ActiveDocument(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(Documents().empty());
        Command(kCmdOpen);
        return ActiveEditor();
    };
    editor = reopen();
    EXPECT_EQ(MarkedLines(editor), (std::vector<int>{3, 6}));
    WritePrivateProfileStringA("Bookmarks", "BM2", "5,x,5,999,-1,2", Ini().c_str());
    editor = reopen();
    EXPECT_EQ(MarkedLines(editor), (std::vector<int>{2, 5}));
    editor.Call(SCI_GOTOLINE, 5);
    Command(kCmdToggleBookmark);
    EXPECT_EQ(MarkedLines(editor), (std::vector<int>{2}));
    EXPECT_EQ(IniText("Bookmarks", "BM2"), "x,999,-1,2,");

    // Ctrl+F3 clears the marks and the script's slot; the other script keeps its own.
    EXPECT_EQ(Command(kCmdDeleteBookmarks), 1);
    EXPECT_TRUE(MarkedLines(editor).empty());
    EXPECT_EQ(IniText("Bookmarks", "BMfile2"), "<missing>");
    EXPECT_EQ(IniText("Bookmarks", "BM2"), "<missing>");
    EXPECT_EQ(IniText("Bookmarks", "BMfile1"), "C:\\other.txt");
    EXPECT_EQ(IniText("Bookmarks", "BM1"), "1,");

    // A new script gets marks but nothing is stored for it.
    const std::string before = ReadBytes(Ini());
    Command(kCmdNew);
    ActiveEditor().Call(SCI_GOTOLINE, 0);
    Command(kCmdToggleBookmark);
    EXPECT_EQ(MarkedLines(ActiveEditor()), (std::vector<int>{0}));
    Command(kCmdToggleBookmark);
    EXPECT_EQ(ReadBytes(Ini()), before);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(BookmarksTest, ABlankStoredListIsReportedAndLeftAlone) {
    const std::string path = Path("blank.txt");
    WriteBytes(path, "a\r\nb\r\nc\r\n");
    WriteIni("[Bookmarks]\r\nBMfile1=" + path + "\r\nBM1=\r\nBMfile2=C:\\x.txt\r\nBM2=0,\r\n");
    CreateFrame();
    openAnswer_ = path;
    Command(kCmdOpen);
    const Editor editor = ActiveEditor();
    editor.Call(SCI_MARKERADD, 1, 0);  // marked, while the stored list is blank
    editor.Call(SCI_GOTOLINE, 1);
    const std::string before = ReadBytes(Ini());
    Command(kCmdToggleBookmark);
    EXPECT_EQ(editor.Call(SCI_MARKERGET, 1) & 1, 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], (ShownMessage{"sorry couldn't do it", "error", MB_OK}));
    EXPECT_EQ(ReadBytes(Ini()), before);
}

}  // namespace
}  // namespace quillet::testing_shell
