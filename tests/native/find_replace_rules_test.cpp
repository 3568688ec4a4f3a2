// Find and replace rules: the text a dialog opens with, and where find next searches.
#include <gtest/gtest.h>

#include <string>

#include "app/find_replace_rules.h"

namespace quillet {
namespace {

TEST(FindReplaceRules, DialogOpensWithSelectionOrCaretWord) {
    using namespace std::string_literals;
    struct Case {
        const char *name;
        std::string previous, selection, word, expected;
    };
    const Case cases[] = {
        {"selection", "old", "mov eax", "mov", "mov eax"},
        {"multi-line selection keeps the old text", "old", "a\r\nb", "a", "old"},
        {"no selection: word at caret", "old", "", "eax", "eax"},
        {"blank selection: word at caret", "old", "   ", "esp", "esp"},
        {"blank selection, no word: the blanks", "old", "   ", "", "   "},
        {"word cut at a zero byte", "old", "", "ab\0cd"s, "ab"},
        {"word of a zero byte only", "old", "", "\0x"s, "old"},
        {"long selection cut to 255", "", std::string(300, 'x'), "", std::string(255, 'x')},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PrefilledFindText(c.previous, c.selection, c.word), c.expected) << c.name;
}

TEST(FindReplaceRules, FindNextStartsAfterTheAnchorAndFollowsTheCaret) {
    struct Case {
        const char *name;
        long anchor, caret;
        bool down;
        FindNextTarget expected;
    };
    const Case cases[] = {
        {"first search at 0", 0, 0, true, {0, 0, 100, true}},
        {"caret elsewhere: one after it", 0, 10, true, {10, 11, 100, true}},
        {"up with the anchor after the caret", 50, 20, false, {20, 19, 0, true}},
        {"up with the anchor at 0", 0, 30, false, {30, 29, 0, true}},
        {"up from 0 finds nothing", 0, 0, false, {0, -1, 0, false}},
        {"anchor past the text", 500, 500, true, {500, 100, 100, true}},
    };
    for (const Case &c : cases) {
        const FindNextTarget got = FindNextTargetFor(c.anchor, c.caret, 100, c.down);
        EXPECT_EQ(got.anchor, c.expected.anchor) << c.name;
        EXPECT_EQ(got.start, c.expected.start) << c.name;
        EXPECT_EQ(got.end, c.expected.end) << c.name;
        EXPECT_EQ(got.searchable, c.expected.searchable) << c.name;
    }
}

}  // namespace
}  // namespace quillet
