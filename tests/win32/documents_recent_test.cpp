// The recent-files list in a real mru.ini: what opening and saving write, removal from
// the editor menu, the pop-up's entries and the reordering after a choice.
#include "tests/win32/documents_fixture.h"

#include "platform/profile.h"

namespace quillet::testing_documents {
namespace {

class RecentFiles : public DocumentsFixture {
protected:
    std::string Mru() const { return Path(text::kRecentFile); }
    std::string Slot(int n, const char *prefix = "File") const {
        return platform::ReadProfileText("LastOpened", (prefix + std::to_string(n)).c_str(), "", Mru(), 4096);
    }
    void WriteSlot(int n, const std::string &value) const {
        platform::WriteProfileText("LastOpened", ("File" + std::to_string(n)).c_str(), value, Mru());
    }
    std::string Script(const std::string &name) {
        const std::string path = Path(name);
        WriteBytes(path, name);
        return path;
    }
};

TEST_F(RecentFiles, TenOpensKeepTheLastNineNewestFirst) {
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i) {
        paths.push_back(Script("s" + std::to_string(i) + ".txt"));
        OpenScriptPath(paths.back().c_str());
    }
    for (int slot = 1; slot <= 9; ++slot) EXPECT_EQ(Slot(slot), paths[10 - slot]) << slot;
    EXPECT_EQ(Slot(10), "");
}

TEST_F(RecentFiles, ReopeningWithOtherLetterCaseMovesToSlotOne) {
    const std::string a = Script("a.txt"), b = Script("b.txt");
    OpenScriptPath(a.c_str());
    OpenScriptPath(b.c_str());
    CloseAll();
    const std::string upper = ToUpperAscii(a);
    OpenScriptPath(upper.c_str());
    EXPECT_EQ(Slot(1), upper);
    EXPECT_EQ(Slot(2), b);
    EXPECT_EQ(Slot(3), "");
}

TEST_F(RecentFiles, SavingAddsTheNewPath) {
    NewDocument();
    saveNames_.push_back(Path("saved"));
    ASSERT_TRUE(SaveScript(1));
    EXPECT_EQ(Slot(1), Path("saved.txt"));
}

TEST_F(RecentFiles, RemoveFromTheEditorMenuIsCaseSensitive) {
    const std::string a = Script("a.txt"), b = Script("b.txt");
    OpenScriptPath(b.c_str());
    OpenScriptPath(a.c_str());
    // The stored spelling differs from the document's title only in letter case.
    WriteSlot(1, ToUpperAscii(a));
    menuChoices_.push_back(kEdRemoveFromMru);
    SendMessageA(ActiveDocument(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
    EXPECT_EQ(Slot(1), ToUpperAscii(a));
    EXPECT_EQ(Slot(2), b);

    WriteSlot(1, a);
    menuChoices_.push_back(kEdRemoveFromMru);
    SendMessageA(ActiveDocument(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ActiveEditorWindow()), -1);
    EXPECT_EQ(Slot(1, "file"), b);
    EXPECT_EQ(Slot(2), "");
}

TEST_F(RecentFiles, PopupSkipsMissingFilesAndChoosingReorders) {
    const std::string one = Script("one.txt"), three = Script("three.txt"), four = Script("four.txt");
    WriteSlot(1, one);
    WriteSlot(2, Path("deleted.txt"));
    WriteSlot(3, three);
    WriteSlot(4, four);
    menuChoices_.push_back(2);
    ShowRecentFilesMenu(frame_);

    ASSERT_EQ(menus_.size(), 1u);
    ASSERT_EQ(menus_[0].size(), 3u);
    EXPECT_EQ(menus_[0][0].id, 1u);
    EXPECT_EQ(menus_[0][0].text, "&1 " + one);
    EXPECT_EQ(menus_[0][1].id, 2u);
    EXPECT_EQ(menus_[0][1].text, "&2 " + three);
    EXPECT_EQ(menus_[0][2].id, 3u);
    EXPECT_EQ(menuOwners_[0], frame_);

    // The chosen entry comes first, the others keep their order, the missing one is gone.
    EXPECT_EQ(Slot(1), three);
    EXPECT_EQ(Slot(2), one);
    EXPECT_EQ(Slot(3), four);
    EXPECT_EQ(Slot(4), "");
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Title(ActiveDocument()), three);
    EXPECT_EQ(ActiveEditor().Text(), "three.txt");
}

TEST_F(RecentFiles, PopupWithNothingChosenChangesNothing) {
    const std::string one = Script("one.txt");
    WriteSlot(1, one);
    WriteSlot(2, Path("deleted.txt"));
    ShowRecentFilesMenu(frame_);
    ASSERT_EQ(menus_.size(), 1u);
    EXPECT_EQ(menus_[0].size(), 1u);
    EXPECT_EQ(Slot(2), Path("deleted.txt"));
    EXPECT_TRUE(Documents().empty());
}

TEST_F(RecentFiles, ClearDeletesTheFile) {
    OpenScriptPath(Script("a.txt").c_str());
    ASSERT_TRUE(Exists(Mru()));
    ClearRecentFiles();
    EXPECT_FALSE(Exists(Mru()));
    ClearRecentFiles();  // a missing file is no error
}

}  // namespace
}  // namespace quillet::testing_documents
