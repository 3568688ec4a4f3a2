// The stored bookmark table: adding, removing and clearing lines, the key writes that
// follow, and the lines restored from lists edited by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/bookmark_rules.h"

namespace quillet {
namespace {

const BookmarkTable kStored{{"C:\\a.txt", "12,40,3,"}, {"C:\\b.txt", "7,"}, {"C:\\c.txt", "1,2,"}};

TEST(AssistBookmarks, AddRemoveAndClearKeepTheOtherScriptsInOrder) {
    struct Case {
        const char *name;
        BookmarkTable table;
        BookmarkTable expected;
    };
    const Case cases[] = {
        {"add to own list", TableAfterAdd(kStored, "C:\\b.txt", 9),
         {{"C:\\a.txt", "12,40,3,"}, {"C:\\b.txt", "7,9,"}, {"C:\\c.txt", "1,2,"}}},
        {"add opens a slot at the end", TableAfterAdd(kStored, " C:\\d.txt ", 0),
         {{"C:\\a.txt", "12,40,3,"}, {"C:\\b.txt", "7,"}, {"C:\\c.txt", "1,2,"}, {"C:\\d.txt", "0,"}}},
        {"paths differing in case get their own slot", TableAfterAdd(kStored, "c:\\A.TXT", 5),
         {{"C:\\a.txt", "12,40,3,"}, {"C:\\b.txt", "7,"}, {"C:\\c.txt", "1,2,"}, {"c:\\A.TXT", "5,"}}},
        {"a list without its last comma keeps its items apart", TableAfterAdd({{"C:\\a.txt", "6,8"}}, "C:\\a.txt", 3),
         {{"C:\\a.txt", "6,8,3,"}}},
        {"add twice lists twice", TableAfterAdd(TableAfterAdd({}, "C:\\a.txt", 4), "C:\\a.txt", 4),
         {{"C:\\a.txt", "4,4,"}}},
        {"remove one line", TableAfterRemove(kStored, "C:\\a.txt", 40).table,
         {{"C:\\a.txt", "12,3,"}, {"C:\\b.txt", "7,"}, {"C:\\c.txt", "1,2,"}}},
        {"last line removed: later slots move down", TableAfterRemove(kStored, "C:\\b.txt", 7).table,
         {{"C:\\a.txt", "12,40,3,"}, {"C:\\c.txt", "1,2,"}}},
        {"every copy of the line goes", TableAfterRemove({{"C:\\a.txt", "5, 5 ,6,5,"}}, "C:\\a.txt", 5).table,
         {{"C:\\a.txt", "6,"}}},
        {"items after a blank one are not kept", TableAfterRemove({{"C:\\a.txt", "1,,2,"}}, "C:\\a.txt", 9).table,
         {{"C:\\a.txt", "1,"}}},
        {"unknown script: nothing of the others changes", TableAfterRemove(kStored, "C:\\z.txt", 1).table, kStored},
        {"clear drops only the script's slot", TableAfterClear(kStored, "C:\\a.txt"),
         {{"C:\\b.txt", "7,"}, {"C:\\c.txt", "1,2,"}}},
    };
    for (const Case &c : cases) EXPECT_EQ(c.table, c.expected) << c.name;

    // A blank stored list is reported and the table stays as it was.
    const BookmarkTable blank{{"C:\\a.txt", "1,"}, {"C:\\b.txt", "  "}};
    const BookmarkRemoval removal = TableAfterRemove(blank, "C:\\b.txt", 1);
    EXPECT_TRUE(removal.blankList);
    EXPECT_EQ(removal.table, blank);
    EXPECT_FALSE(TableAfterRemove(kStored, "C:\\a.txt", 3).blankList);
}

TEST(AssistBookmarks, WritesRenumberAndRemoveTheSlotsLeftOver) {
    const std::vector<BookmarkWrite> writes = TableWrites({{"C:\\a.txt", "1,"}}, 3);
    const std::vector<BookmarkWrite> expected{{"BMfile1", "C:\\a.txt"}, {"BM1", "1,"}, {"BMfile2", ""},
                                              {"BM2", ""},              {"BMfile3", ""}, {"BM3", ""}};
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(TableWrites({{"C:\\a.txt", "1,"}, {"C:\\b.txt", "2,"}}, 1).size(), 4u);
}

TEST(AssistBookmarks, RestoredLinesSkipWhatIsNotALineOfTheScript) {
    struct Case {
        const char *list;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"12,40,3,", {12, 40, 3}},
        {"3, 3 ,7,3,", {3, 7}},              // duplicates marked once
        {"abc,5,-2,1e3,,9,", {5}},           // not numbers skipped; a blank item ends the list
        {"2,99,100,4000000000000,", {2, 99}},  // past the end of a 100-line script
        {"6,8", {6, 8}},                     // last comma missing
        {"", {}},
        {" , 4,", {}},
    };
    for (const Case &c : cases) EXPECT_EQ(LinesToRestore(c.list, 100), c.lines) << c.list;
}

}  // namespace
}  // namespace quillet
