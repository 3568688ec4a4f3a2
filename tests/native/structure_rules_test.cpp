// The structure aids' window-free rules: what a number means, where a label or
// variable occurs, and which new names rename refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "assist/structure_rules.h"

namespace quillet {
namespace {

TEST(StructureRules, NumberMeaningReadsHexByDefaultAndDecimalWithADot) {
    struct Case {
        const char *token;
        const char *tip;  // null: no tip
    };
    const Case cases[] = {
        {"3E8", "hex 0x3E8\nunsigned 1000\nsigned 1000"},
        {"100.", "hex 0x64\nunsigned 100\nsigned 100"},
        {"10.0", "hex 0xA\nunsigned 10\nsigned 10"},
        {"0", "hex 0x0\nunsigned 0\nsigned 0"},
        {"FFFFFFFF", "hex 0xFFFFFFFF\nunsigned 4294967295\nsigned -1"},
        {"-1", "hex 0xFFFFFFFF\nunsigned 4294967295\nsigned -1"},
        {"80000000", "hex 0x80000000\nunsigned 2147483648\nsigned -2147483648"},
        {"4294967295.", "hex 0xFFFFFFFF\nunsigned 4294967295\nsigned -1"},
        // Four printable bytes, lowest first as they lie in memory.
        {"64636261", "hex 0x64636261\nunsigned 1684234849\nsigned 1684234849\nASCII \"abcd\""},
        {"000000000DEADBEEF", "hex 0xDEADBEEF\nunsigned 3735928559\nsigned -559038737"},
        {"100000000", nullptr},
        {"4294967296.", nullptr},
        {"1.5", nullptr},
        {"1.2.", nullptr},
        {".5", nullptr},
        {"0x10", nullptr},
        {"10h", nullptr},
        {"-", nullptr},
        {"", nullptr},
    };
    for (const Case &c : cases) {
        const auto tip = NumberMeaning(c.token);
        if (c.tip) {
            ASSERT_TRUE(tip) << c.token;
            EXPECT_EQ(*tip, c.tip) << c.token;
        } else {
            EXPECT_FALSE(tip) << c.token << " gave " << tip.value_or("");
        }
    }
}

// The text with each occurrence of the name in brackets.
std::string Marked(std::string_view text, std::string_view name) {
    std::string marked(text);
    const auto spans = NameOccurrences(text, name);
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        marked.insert(it->start + it->length, "]");
        marked.insert(it->start, "[");
    }
    return marked;
}

TEST(StructureRules, NameOccurrencesAreTheCodesNamesAndBracedNamesOnly) {
    EXPECT_EQ(Marked("start:\r\n  jmp Start\r\n  je start ; start\r\n  call START\r\n  bpgoto eip, start\r\n"
                     "  eob start\r\n  eoe start\r\n  log \"start {start}\"\r\nstarts:\r\nstart",
                     "start"),
              "[start]:\r\n  jmp [Start]\r\n  je [start] ; start\r\n  call [START]\r\n  bpgoto eip, [start]\r\n"
              "  eob [start]\r\n  eoe [start]\r\n  log \"start {[start]}\"\r\nstarts:\r\nstart");
    // Comments (line and block), assembler words, directives, byte strings, numbers and
    // longer words are no occurrence; `{x}` in an EXEC block and in a string is.
    EXPECT_EQ(Marked("var x\nmov x, [x+4]\n/* x\nx */ mov eax, x // x\nexec\n mov eax, {x}\n push x\nende\n"
                     "mov xx, x1\nmov $x, 0x\nasm eip, \"mov eax, {x}\"\n#inc \"x.txt\"\nfind eip, #0x#\nx\n"
                     "log \"x, {x\"",
                     "x"),
              "var [x]\nmov [x], [[x]+4]\n/* x\nx */ mov eax, [x] // x\nexec\n mov eax, {[x]}\n push x\nende\n"
              "mov xx, x1\nmov $x, 0x\nasm eip, \"mov eax, {[x]}\"\n#inc \"x.txt\"\nfind eip, #0x#\nx\n"
              "log \"x, {x\"");
    // Names beyond ASCII, as the script's bytes hold them.
    EXPECT_EQ(Marked("var \xD0\xB8\xD0\xBC\xD1\x8F\nmov \xD0\xB8\xD0\xBC\xD1\x8F, 1", "\xD0\xB8\xD0\xBC\xD1\x8F"),
              "var [\xD0\xB8\xD0\xBC\xD1\x8F]\nmov [\xD0\xB8\xD0\xBC\xD1\x8F], 1");

    const std::string script = "var x\nmov x, eax\njmp lbl\nlbl:\ncmp x, cafe";
    const auto at = [&](std::string_view word, std::size_t offset = 0) {
        return NameAt(script, script.find(word) + offset);
    };
    ASSERT_TRUE(at("x, eax", 1));  // just after the name
    EXPECT_EQ(*at("x, eax", 1), (TextSpan{script.find("x, eax"), 1}));
    ASSERT_TRUE(at("lbl:", 2));
    EXPECT_EQ(*at("lbl:", 2), (TextSpan{script.find("lbl:"), 3}));
    EXPECT_FALSE(at("mov"));   // a command
    EXPECT_FALSE(at("eax"));   // a register
    EXPECT_FALSE(at("cafe"));  // a hex number

    // Declared, a word of hex digits is a variable or a label: the plug-in tries those first.
    const std::string declared = "var Cafe\nmov cafe, 1\njmp add\n  add :\nlog CAFE, \"{cafe}\"\ncmp eax, bee";
    for (const std::string_view word : {"cafe,", "add\n", "add :", "CAFE", "cafe}"}) {
        const std::size_t start = declared.find(word);
        const auto span = NameAt(declared, start);
        ASSERT_TRUE(span) << word;
        EXPECT_EQ(span->start, start) << word;
    }
    EXPECT_EQ(NameOccurrences(declared, "cafe").size(), 4u);
    EXPECT_FALSE(NameAt(declared, declared.find("bee")));  // no declaration: a number
}

TEST(StructureRules, RenameRefusesNamesTheLanguageReadsAsSomethingElse) {
    const auto isCommand = [](std::string_view word) {
        std::string lower(word);
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
        return lower == "mov" || lower == "jmp";
    };
    const struct {
        const char *name;
        NameProblem problem;
    } cases[] = {
        {"new_name", NameProblem::kNone},   {"_x1", NameProblem::kNone},
        {"\xD0\xB8\xD0\xBC\xD1\x8F", NameProblem::kNone},  // Cyrillic in UTF-8
        {"\xC3\xFB\xD7\xD6", NameProblem::kNone},             // Chinese in GBK
        {"", NameProblem::kNotAName},        {"1abc", NameProblem::kNotAName},
        {"a-b", NameProblem::kNotAName},     {"two words", NameProblem::kNotAName},
        {"$result", NameProblem::kNotAName}, {"EAX", NameProblem::kRegister},
        {"dl", NameProblem::kRegister},      {"fs", NameProblem::kRegister},
        {"cafe", NameProblem::kHexNumber},   {"FF", NameProblem::kHexNumber},
        {"Mov", NameProblem::kCommand},      {"jmp", NameProblem::kCommand},
    };
    for (const auto &c : cases) EXPECT_EQ(ProblemOfName(c.name, isCommand), c.problem) << c.name;
    EXPECT_EQ(RenameRefusal(NameProblem::kRegister, "EAX"), "The language would read the new name as a register: EAX");
    EXPECT_EQ(RenameRefusalUsed("x", "inc.txt"), "The name is already used in inc.txt: x");
}

}  // namespace
}  // namespace quillet
