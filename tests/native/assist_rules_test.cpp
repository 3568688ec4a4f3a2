// Tests of the typing aids' window-free rules: the completion list and how variables
// join it, the typed-character decisions, the call tip lookup and text, the label
// lines, and the variable walk with its progress points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assist/call_tip_rules.h"
#include "assist/completion_rules.h"
#include "assist/keyword_file.h"
#include "assist/label_rules.h"
#include "assist/variable_walk.h"
#include "core/token_styles.h"

namespace quillet {
namespace {

TEST(CompletionRules, ListTextAndHowVariablesJoinIt) {
    EXPECT_EQ(CompletionListText("  ", " CMP JMP MOV "), "CMP JMP MOV");
    EXPECT_EQ(CompletionListText(" $a CMP ", "CMP"), "$a CMP");

    struct Case {
        const char *name, *current, *variable, *expected;
    };
    const Case cases[] = {
        {"a new name is sorted in ignoring case", "CMP JMP MOV", "count", "CMP count JMP MOV"},
        {"kept as given, not upper-cased", "CMP", "$Result", "$Result CMP"},
        {"a keyword in another case changes nothing", "CMP JMP MOV", "mov", ""},
        {"an added name in another case changes nothing", "CMP count JMP", "COUNT", ""},
        {"underscore sorts after the upper case letters", "A_B AZ", "ab_", "ab_ AZ A_B"},
        {"equal items keep their order", "x X", "y", "x X y"},
        {"double spaces give empty items that sort first", "B  A", "c", "A B c"},
    };
    for (const Case &c : cases) EXPECT_EQ(ListWithVariable(c.current, c.variable), c.expected) << c.name;

    EXPECT_TRUE(ListHasItemStartingWith("CMP $count MOV", "$CO"));
    EXPECT_TRUE(ListHasItemStartingWith("CMP MOV", "mov"));
    EXPECT_FALSE(ListHasItemStartingWith("CMP MOV", "movz"));
    EXPECT_FALSE(ListHasItemStartingWith("CMP MOV", "OV")) << "items match at their start only";

    EXPECT_EQ(ListWithScannedVariables("CMP MOV", "  "), "") << "blank names leave the list alone";
    EXPECT_EQ(ListWithScannedVariables("CMP MOV", "zeta mov $a"), "$a CMP MOV mov zeta")
        << "a variable named like a keyword is listed twice";
}

TEST(CompletionRules, TypedCharacterDecisions) {
    struct Case {
        int ch;
        bool autoIndent, labelLine;
        IndentChange expected;
    };
    const Case cases[] = {
        {'m', true, false, IndentChange::kBody},   {':', true, false, IndentChange::kLabel},
        {':', true, true, IndentChange::kLabel},   {'x', true, true, IndentChange::kNone},
        {'\n', true, false, IndentChange::kBody},  {'m', false, false, IndentChange::kNone},
        {':', false, false, IndentChange::kNone},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IndentForTypedChar(c.ch, c.autoIndent, c.labelLine), c.expected) << static_cast<char>(c.ch);

    std::vector<int> stops;
    for (int style = 0; style < 40; ++style)
        if (IsStopStyle(style)) stops.push_back(style);
    EXPECT_EQ(stops, (std::vector<int>{1, 2, 4, 7, 14, 17}));

    std::string styledEnd, pickUp;
    for (int ch = 1; ch < 128; ++ch) {
        if (IsStyledEndSeparator(ch)) styledEnd += static_cast<char>(ch);
        if (IsPickUpSeparator(ch)) pickUp += static_cast<char>(ch);
    }
    EXPECT_EQ(styledEnd, "\n\r ,/;");
    EXPECT_EQ(pickUp, "\n\r *+,-/;");
}

std::vector<TipRecord> Tips() {
    const KeywordFile file = ParseKeywordFile(
        "CMP,MOV,MOVZX,\r\nGPA\r\n\r\n;;\r\n"
        "MOV: mov dest, src\r\nCopies src: to dest.\r\n;;\r\n"
        "mov: the second record\r\n;;\r\n"
        "GPA  :gpa name, dll\r\n");
    return file.tips;
}

TEST(CallTipRules, WhichRecordAndHowItShows) {
    const std::vector<TipRecord> tips = Tips();
    const std::string base = "CMP GPA MOV MOVZX";
    struct Case {
        const char *word;
        const char *tip;  // null: no tip
    };
    const Case cases[] = {
        {"m", nullptr},                                              // one letter
        {"MO", nullptr},                                             // in the list, but no record
        {"mov", "MOV mov dest, src\nCopies src: to dest.\n"},        // case ignored, first record wins
        {"  mov ", "MOV mov dest, src\nCopies src: to dest.\n"},     // trimmed
        {"gpa", "GPA  gpa name, dll\n"},                             // keyword trimmed before the colon
        {"MOVZX", nullptr},                                          // a keyword without a record
        {"XOR", nullptr},                                            // not in the list at all
    };
    for (const Case &c : cases) {
        const std::optional<std::string> tip = CallTipForWord(c.word, base, tips);
        if (!c.tip) {
            EXPECT_FALSE(tip) << c.word;
        } else {
            ASSERT_TRUE(tip) << c.word;
            EXPECT_EQ(*tip, c.tip) << c.word;
        }
    }
    EXPECT_EQ(FormatTipText("A: b:c\r\nd: e\r\n   "), "A bc\nd: e\n");
    EXPECT_EQ(FormatTipText("no line feed: at all   "), "no line feed at all");
}

TEST(LabelRules, LabelLinesAndItems) {
    struct Case {
        const char *line;
        const char *label;  // null: no label
    };
    const Case cases[] = {
        {"  start:", "START:"},
        {"start :", nullptr},                    // the blank lies inside the text
        {"msg \"a:b\"", nullptr},                // a command with an argument
        {"mov eax, 1 // note: x", nullptr},
        {"//old:", "//OLD:"},                    // a comment marker directly before the word
        {"\t\tloop\t:", "LOOP\t:"},              // tabs lead and inside
        {"   ", nullptr},
        {"no colon", nullptr},
        {"  end:  jmp start", "END:"},
    };
    for (const Case &c : cases) {
        const std::optional<std::string> label = LabelOfLine(c.line);
        EXPECT_EQ(label.value_or("<none>"), c.label ? c.label : "<none>") << c.line;
    }
    EXPECT_EQ(LabelOfLine(std::string(300, 'a') + ":")->size(), kLabelTextMax);

    const std::vector<LabelItem> items =
        CollectLabelItems("zeta:\r\n  mov a, b\r\nalpha:\rloop:\nAlpha:\r\nmid:");
    std::vector<std::pair<std::string, int>> got;
    for (const LabelItem &item : items) got.emplace_back(item.text, item.line);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                       {"ALPHA:", 2}, {"ALPHA:", 2}, {"LOOP:", 3}, {"MID:", 5}, {"ZETA:", 0}}));
}

// A styled text from pieces of (text, style).
struct Styled {
    std::string text, styles;
    Styled &Add(const std::string &piece, int style) {
        text += piece;
        styles += std::string(piece.size(), static_cast<char>(style));
        return *this;
    }
};

TEST(VariableWalk, FindsVariablesUpToTheFirstStopToken) {
    Styled s;
    s.Add("mov", kStyleKeyword).Add(" ", 0).Add("$Count", kStyleVariable).Add(", ", kStyleOperator)
        .Add("10", kStyleNumber).Add(" ", 0).Add("later", kStyleVariable).Add("\r\n", 0);
    s.Add("add", kStyleKeyword).Add(" ", 0).Add("$COUNT", kStyleVariable).Add(",", kStyleOperator)
        .Add("buf.size", kStyleVariable).Add("\r\n", 0);
    s.Add("x", kStyleVariable).Add(" ", 0).Add("\"s\"", kStyleString).Add(" ", 0).Add("y", kStyleVariable)
        .Add("\n", kStyleComment);
    // The line starts with a blank: the style before it (the comment-styled line end
    // above) ends the line at once.
    s.Add(" ", 0).Add("hidden", kStyleVariable).Add("\r", 0);
    s.Add("start:", kStyleLabel).Add(" ", 0).Add("after", kStyleVariable);
    EXPECT_EQ(WalkVariables(s.text, s.styles, kScanWordChars), "$Count buf.size x");
}

TEST(VariableWalk, ProgressPoints) {
    struct Case {
        std::size_t lines;
        std::vector<std::pair<std::size_t, int>> points;
    };
    const Case cases[] = {
        {4, {{1, 25}, {2, 50}, {3, 75}}},
        {6, {{3, 50}}},
        {100, {{25, 25}, {50, 50}, {75, 75}}},
        {200, {{50, 25}, {100, 50}, {150, 75}, {199, 100}}},
        {1, {}},
    };
    for (const Case &c : cases) {
        std::vector<std::pair<std::size_t, int>> points;
        for (std::size_t i = 0; i < c.lines; ++i)
            if (const auto at = ScanProgressAt(i, c.lines)) points.emplace_back(i, *at);
        EXPECT_EQ(points, c.points) << c.lines << " lines";
    }
}

}  // namespace
}  // namespace quillet
