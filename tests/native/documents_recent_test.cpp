// The recent-files list transforms: add, remove, the pop-up's entries and the order
// written after a choice.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "documents/recent_rules.h"

namespace quillet {
namespace {

RecentSlots Slots(std::vector<std::string> values) {
    RecentSlots slots;
    for (size_t i = 0; i < values.size() && i < slots.size(); ++i) slots[i] = values[i];
    return slots;
}

TEST(DocumentsRecent, AddMovesOrInsertsAtSlotOne) {
    struct Case {
        const char *name;
        std::vector<std::string> before;
        std::string path;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"into empty list", {}, "C:\\a.txt", {"C:\\a.txt"}},
        {"new on top", {"C:\\a.txt", "C:\\b.txt"}, "C:\\c.txt", {"C:\\c.txt", "C:\\a.txt", "C:\\b.txt"}},
        {"existing moves up", {"C:\\a.txt", "C:\\b.txt", "C:\\c.txt"}, "C:\\c.txt",
         {"C:\\c.txt", "C:\\a.txt", "C:\\b.txt"}},
        {"other case replaces, new spelling kept", {"C:\\a.txt", "C:\\B.TXT", "C:\\c.txt"}, "c:\\b.txt",
         {"c:\\b.txt", "C:\\a.txt", "C:\\c.txt"}},
        {"tenth falls off", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, "new",
         {"new", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"full list, existing last", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, "9",
         {"9", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"gap moves down", {"a", "", "c"}, "new", {"new", "a", "", "c"}},
        {"stored form is cut at CR LF and trimmed", {}, "  x.txt\r\ntail", {"x.txt"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(RecentAfterAdd(Slots(c.before), c.path), Slots(c.after)) << c.name;
    }
}

TEST(DocumentsRecent, RemoveIsExactAndCompacts) {
    struct Case {
        const char *name;
        std::vector<std::string> values;
        std::string path;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        {"removes the match", {"a", "b", "c"}, "b", {"a", "c"}},
        {"case differs: nothing removed", {"C:\\A.txt", "b"}, "c:\\a.txt", {"C:\\A.txt", "b"}},
        {"blanks around do not count", {" a ", "b"}, "a  ", {"b"}},
        {"new script in no list", {"a", "b"}, "Untitled 1", {"a", "b"}},
        {"stops at first empty", {"a", "", "c"}, "x", {"a"}},
        {"at most nine kept", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "x",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9"}},
    };
    for (const Case &c : cases) EXPECT_EQ(RecentAfterRemove(c.values, c.path), c.kept) << c.name;
}

TEST(DocumentsRecent, MenuNumbersOnlyExistingFiles) {
    const std::set<std::string> existing{"C:\\one.txt", "C:\\three.txt", "C:\\four.txt"};
    auto exists = [&](const std::string &path) { return existing.count(path) > 0; };
    const std::vector<std::string> values{"C:\\one.txt", "C:\\gone.txt", "C:\\three.txt", "Free",
                                          "C:\\four.txt"};
    const std::vector<RecentMenuEntry> entries = RecentMenuEntries(values, exists);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, 1);
    EXPECT_EQ(entries[0].text, "&1 C:\\one.txt");
    EXPECT_EQ(entries[1].id, 2);
    EXPECT_EQ(entries[1].text, "&2 C:\\three.txt");
    EXPECT_EQ(entries[1].path, "C:\\three.txt");

    // Reading stops at an empty value too; "Free..." stops even as a prefix.
    EXPECT_EQ(RecentMenuEntries({"C:\\one.txt", "", "C:\\three.txt"}, exists).size(), 1u);
    EXPECT_TRUE(RecentMenuEntries({"Freedom.txt", "C:\\one.txt"}, [](const std::string &) { return true; }).empty());
}

TEST(DocumentsRecent, MenuTextIsCutAt300ButThePathIsWhole) {
    const std::string longPath = "C:\\" + std::string(400, 'p') + ".txt";
    const auto entries = RecentMenuEntries({longPath + "   "}, [](const std::string &) { return true; });
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text.size(), 300u);
    EXPECT_EQ(entries[0].text.substr(0, 6), "&1 C:\\");
    EXPECT_EQ(entries[0].path, longPath);
}

TEST(DocumentsRecent, ChoiceMovesTheEntryFirstAndDropsMissingFiles) {
    const std::set<std::string> existing{"a", "b", "c", "e"};
    auto exists = [&](const std::string &path) { return existing.count(path) > 0; };
    EXPECT_EQ(RecentAfterChoice("c", {"a", "b", "c", "d", "e", "", "", "", ""}, exists),
              (std::vector<std::string>{"c", "a", "b", "e"}));
    // Case-sensitive: a differently spelled copy stays.
    EXPECT_EQ(RecentAfterChoice("a", {"A", "a"}, [](const std::string &) { return true; }),
              (std::vector<std::string>{"a", "A"}));
    // A chosen file that vanished meanwhile is not written back.
    EXPECT_EQ(RecentAfterChoice("gone", {"a", "gone"}, exists), (std::vector<std::string>{"a"}));
}

}  // namespace
}  // namespace quillet
