// Tests of the keyword-and-tips file parser and of the shipped data/qkeywords.txt.
#include "assist/keyword_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace quillet {
namespace {

std::string Note(std::string_view remark) { return std::string(kStatusNotePrefix) + std::string(remark); }

std::vector<std::string> SplitAtBlanks(const std::string &list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = list.find(' ', start);
        items.push_back(list.substr(start, blank - start));
        if (blank == std::string::npos) return items;
        start = blank + 1;
    }
}

struct KeywordCase {
    const char *name;
    std::string input;
    std::string keyword_list;
    bool fails = false;  // the keyword section is empty: nothing is read at all
};

// How the keyword section's lines become the sorted list, and when the section is empty.
TEST(KeywordFile, KeywordSection) {
    const KeywordCase cases[] = {
        {"lines joined without separator", "CMDA,CMDB,CMDC\r\nCMDD,CMDE\r\n", "CMDA CMDB CMDCCMDD CMDE"},
        {"continued with a trailing comma, upper-cased", "cmdb,cmda,\r\ncmdc", "CMDA CMDB CMDC"},
        {"trailing comma gives an empty first item", "B,A,", " A B"},
        {"space kept in the item", "cmda, cmdb", " CMDB CMDA"},
        {"empty item before a spaced one", ",cmda, cmdb", "  CMDB CMDA"},
        {"sorted by byte value, ASCII upper-casing only", "b,_,a,1,\xE9,~", "1 A B _ ~ \xE9"},
        {"tab-only line is not blank", "A,\r\n\t\r\n,B", "\t A B"},
        {"spaces-only line ends the section", "A,B\r\n   \r\nC,D", "A B"},
        {"LF-only file is one line", "A,B\nC,D\n\nX: y\n", "A B\nC D\n\nX: Y\n"},
        {"LF after CR ends the line, a second LF is text", "A,\r\n\nB", "\nB A"},
        {"lone CR ends a line", "A,\rB", "A B"},
        {"CR CR LF is a line end and a blank line", "B,\r\r\nA", " B"},
        {"Ctrl-Z ends the text", "A,B\x1A,C\r\n", "A B"},
        {"NUL is an ordinary byte", std::string("A\0B,C", 5), std::string("A\0B C", 5)},
        {"empty file", "", "", true}, {"blank first line", "\r\n", "", true},
        {"spaces-only first line", "   \r\nA,B\r\n", "", true}, {"Ctrl-Z first", "\x1A" "A,B", "", true},
        {"tips without keywords", "\r\n;;\r\nA: a\r\nCREATED: x\r\n", "", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const KeywordFile file = ParseKeywordFile(c.input);
        EXPECT_EQ(file.keyword_list, c.keyword_list);
        if (!c.fails) {
            EXPECT_TRUE(file.ok());
            continue;
        }
        EXPECT_EQ(file.error, KeywordFileError::kEmptyKeywordSection);
        EXPECT_FALSE(file.ok());
        EXPECT_TRUE(file.tips.empty());
        EXPECT_TRUE(file.status_note.empty());
    }
}

using Tips = std::vector<std::pair<std::string, std::string>>;  // keyword, text

Tips TipsOf(const KeywordFile &file) {
    Tips tips;
    for (const auto &tip : file.tips) tips.emplace_back(tip.keyword, tip.text);
    return tips;
}

struct TipCase {
    const char *name;
    std::string input;
    Tips tips;
};

// How the text after the blank line splits into tip blocks, each under its keyword.
TEST(KeywordFile, TipBlocks) {
    const TipCase cases[] = {
        {"well-formed layout",
         "CMDA,CMDB,CMDC,\r\nCMDD,CMDE\r\n\r\n;;\r\nCMDA: cmda dest, src\r\nCopies src to dest.\r\n;;\r\n"
         "CMDB: cmdb dest, src\r\n;;;\r\nCREATED: 2009-12-01\r\n",
         {{"\n", "\n"},
          {"CMDA", "CMDA: cmda dest, src\nCopies src to dest.\n"},
          {"CMDB", "CMDB: cmdb dest, src\n"},
          {"CREATED", "CREATED: 2009-12-01\n"}}},
        {"two separators in a row, ';;' in mid-line",
         "K\r\n\r\n;;\r\n;;\r\nA: a\r\nsee x ;; y\r\nB: b\r\n",
         {{"\n", "\n"}, {"A", "A: a\n"}, {"B", "B: b\n"}}},
        {"no separator after the blank line", "K\r\n\r\nB: b\r\n", {{"\nB", "\nB: b\n"}}},
        {"keyword kept as written, block without colon",
         "K\r\n \r\n;;\r\n  mov : x\r\n;;\r\nABC\r\nDEF\r\n;;",
         {{" \n", " \n"}, {"  mov ", "  mov : x\n"}, {"ABC\nDEF\n", "ABC\nDEF\n"}}},
        {"blank and tab lines stay in a block", "K\r\n\r\n;;\r\nA: a\r\n\r\n\t\r\nend",
         {{"\n", "\n"}, {"A", "A: a\n\n\t\nend\n"}}},
        {"no blank line: only keywords", "A,B\r\nC: c\r\n;;\r\nD: d", {}},
        {"LF-only file: no tips", "A\n\n;;\nB: b\n", {}},
        {"Ctrl-Z ends the last block", "K\r\n\r\n;;\r\nA: a\x1A;;\r\nB: b\r\n", {{"\n", "\n"}, {"A", "A: a\n"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const KeywordFile file = ParseKeywordFile(c.input);
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(TipsOf(file), c.tips);
    }
}

TEST(KeywordFile, Cuts) {
    const std::string long_keyword(40, 'K');
    const std::string long_line(2000, 'x');
    const std::string input = "K\r\n\r\n;;\r\n" + long_keyword + ": y\r\n;;\r\n" + std::string(30, 'A') +
                              ":\r\n;;\r\nS: s\r\n" + long_line + "\r\n;;\r\nCREATED: " + std::string(300, 'r') + "\r\n";
    const KeywordFile file = ParseKeywordFile(input);
    ASSERT_EQ(file.tips.size(), 5u);
    EXPECT_EQ(file.tips[1].keyword, std::string(30, 'K'));
    EXPECT_EQ(file.tips[1].text, long_keyword + ": y\n");
    EXPECT_EQ(file.tips[2].keyword, std::string(30, 'A'));
    EXPECT_EQ(file.tips[3].keyword, "S");
    EXPECT_EQ(file.tips[3].text, ("S: s\n" + long_line).substr(0, kTipTextWidth));
    ASSERT_EQ(file.status_note.size(), kStatusNoteMax);
    EXPECT_EQ(file.status_note, Note(std::string(kStatusNoteMax - kStatusNotePrefix.size(), 'r')));
}

struct CreationCase {
    const char *name;
    std::string input;
    std::string note;
};

// Which line gives the status note, and what of it the note shows.
TEST(KeywordFile, CreationLine) {
    const std::string tips = "K\r\n\r\n;;\r\nA: a\r\n;;\r\n";  // N = 3 with the creation block
    const CreationCase cases[] = {
        {"case ignored, remark trimmed", tips + "  cReAtEd:   2009-12-01, note  \r\n", Note("2009-12-01, note")},
        {"space before the colon", tips + "CREATED : 2009\r\n", ""},
        {"tab is not trimmed", tips + "\tCREATED: 2009\r\n", ""},
        {"longer word", tips + "CREATEDX: 2009\r\n", ""},
        {"no colon: whole line compared, empty remark", tips + "Created\r\n", Note("")},
        {"first of two wins", tips + "CREATED: one\r\n;;\r\nCREATED: two\r\n", Note("one")},
        {"colons after the first stay in the remark", tips + "CREATED: 10:30\r\n", Note("10:30")},
        {"line before N is not searched", "CREATED: k1\r\nK\r\n\r\n;;\r\nT: t\r\n", ""},
        {"line N is searched, even in the keyword section", "K\r\nCREATED: k2\r\n\r\n;;\r\nT: t\r\n", Note("k2")},
        {"no tips: search from line 1", "CREATED: x\r\nA,B", Note("x")},
        {"LF-only file starting with one", "created: today\nA,B\n", Note("today\nA,B\n")},
        {"no creation line", tips + "B: b\r\n", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const KeywordFile file = ParseKeywordFile(c.input);
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(file.status_note, c.note);
    }
}

TEST(KeywordFile, HugeLines) {
    const std::string mb(1 << 20, 'w');
    {
        const KeywordFile file = ParseKeywordFile(mb + "\r\n\r\n;;\r\n" + mb + "\r\nCREATED: " + mb);
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(file.keyword_list, std::string(1 << 20, 'W'));
        ASSERT_EQ(file.tips.size(), 2u);
        EXPECT_EQ(file.tips[1].keyword, mb.substr(0, kTipKeywordWidth));
        EXPECT_EQ(file.tips[1].text, mb.substr(0, kTipTextWidth));
        EXPECT_EQ(file.status_note.size(), kStatusNoteMax);
    }
    {
        const KeywordFile file = ParseKeywordFile(std::string(1 << 20, ','));
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(file.keyword_list, std::string(1 << 20, ' '));  // (2^20 + 1) empty items
    }
}

TEST(KeywordFile, HundredThousandLines) {
    std::string input;
    for (int i = 100000; i > 0; --i) input += "K" + std::to_string(i) + ",\r\n";
    input += "\r\n;;\r\n";
    for (int i = 0; i < 50000; ++i) input += "T" + std::to_string(i) + ": t\r\n;;\r\n";
    input += "CREATED: end\r\n";
    const KeywordFile file = ParseKeywordFile(input);
    ASSERT_TRUE(file.ok());
    const auto items = SplitAtBlanks(file.keyword_list);
    ASSERT_EQ(items.size(), 100001u);
    EXPECT_EQ(items[0], "");
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));
    ASSERT_EQ(file.tips.size(), 50002u);  // "\n" block first, creation line last
    EXPECT_EQ(file.tips[50000].keyword, "T49999");
    EXPECT_EQ(file.status_note, Note("end"));
}

TEST(KeywordFile, RandomBytesStayWithinLimits) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 50; ++round) {
        std::string input(1 + rng() % 20000, '\0');
        // Mostly line ends, separators and colons, so blocks and creation lines occur.
        const char alphabet[] = "\r\n;:, CREATEDcreated\x1A\t\x00\xFF";
        for (auto &ch : input) ch = (rng() % 4) ? alphabet[rng() % (sizeof alphabet - 1)] : static_cast<char>(rng());
        const KeywordFile file = ParseKeywordFile(input);
        if (!file.ok()) {
            EXPECT_TRUE(file.tips.empty());
            continue;
        }
        for (const auto &tip : file.tips) {
            EXPECT_LE(tip.keyword.size(), kTipKeywordWidth);
            EXPECT_LE(tip.text.size(), kTipTextWidth);
            EXPECT_FALSE(tip.text.empty());
        }
        EXPECT_LE(file.status_note.size(), kStatusNoteMax);
        if (!file.status_note.empty()) {
            EXPECT_EQ(file.status_note.compare(0, kStatusNotePrefix.size(), kStatusNotePrefix), 0);
        }
    }
}

// Every command of the script language (185 names, aliases included).
const char *const kCommands[] = {
    "ADD", "AI", "ALLOC", "AN", "ANA", "AND", "AO", "ASK", "ASM", "ASMTXT", "ATOI", "BACKUP", "BC", "BD",
    "BEGINSEARCH", "BP", "BPCND", "BPD", "BPGOTO", "BPHWC", "BPHWCALL", "BPHWS", "BPL", "BPLCND", "BPMC",
    "BPRM", "BPWM", "BPX", "BUF", "CALL", "CLOSE", "CMP", "CMT", "COB", "COE", "CRET", "DBH", "DBS", "DEC",
    "DIV", "DM", "DMA", "DPE", "ELSE", "ENDE", "ENDIF", "ENDSEARCH", "EOB", "EOE", "ERUN", "ESTEP", "ESTI",
    "ESTO", "EVAL", "EXEC", "FILL", "FIND", "FINDCALLS", "FINDCMD", "FINDCMDS", "FINDMEM", "FINDOP",
    "FINDOPREV", "FREE", "GAPI", "GBPM", "GBPR", "GCI", "GCMT", "GFO", "GLBL", "GMA", "GMEMI", "GMEXP", "GMI",
    "GMIMP", "GN", "GO", "GOPI", "GOTO", "GPA", "GPI", "GPP", "GREF", "GRO", "GSL", "GSTR", "GSTRW", "HANDLE",
    "HISTORY", "IFA", "IFAE", "IFB", "IFBE", "IFE", "IFEQ", "IFG", "IFGE", "IFL", "IFLE", "IFNE", "IFNEQ",
    "INC", "INIR", "INIW", "ITOA", "JA", "JAE", "JB", "JBE", "JE", "JG", "JGE", "JL", "JLE", "JMP", "JNE",
    "JNZ", "JZ", "KEY", "LBL", "LC", "LCLR", "LEN", "LM", "LOADLIB", "LOG", "LOGBUF", "MEMCPY", "MOV", "MSG",
    "MSGYN", "MUL", "NAMES", "NEG", "NOT", "OLLY", "OPCODE", "OPENDUMP", "OPENTRACE", "OR", "PAUSE", "POP",
    "POPA", "PREOP", "PUSH", "PUSHA", "RBP", "READSTR", "REF", "REFRESH", "REPL", "RESET", "RET", "REV",
    "ROL", "ROR", "RTR", "RTU", "RUN", "SBP", "SCMP", "SCMPI", "SETOPTION", "SHL", "SHR", "STEP", "STI",
    "STO", "STR", "SUB", "TC", "TEST", "TI", "TICK", "TICND", "TO", "TOCND", "UBP", "UNICODE", "VAR", "WRT",
    "WRTA", "XCHG", "XOR",
};
// Directives and reserved variables, offered for completion with a tip each.
const char *const kOtherWords[] = {"#INC", "#LOG", "$RESULT", "$RESULT_1", "$RESULT_2", "$RESULT_3", "$RESULT_4", "$VERSION"};

TEST(KeywordFile, ShippedDataFile) {
    static_assert(std::size(kCommands) == 185, "the language has 185 command names");
    std::ifstream in(QUILLET_SOURCE_DIR "/data/qkeywords.txt", std::ios::binary);
    ASSERT_TRUE(in) << "data/qkeywords.txt not found";
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    // CR LF everywhere: a lone LF would glue lines, a lone CR would split one.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at " << i;
        }
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
        }
    }

    const KeywordFile file = ParseKeywordFile(bytes);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.status_note.rfind(Note(""), 0), 0u);
    EXPECT_GT(file.status_note.size(), kStatusNotePrefix.size());

    const auto items = SplitAtBlanks(file.keyword_list);
    const std::set<std::string> keywords(items.begin(), items.end());
    EXPECT_EQ(keywords.size(), items.size()) << "a keyword is listed twice or an item is empty";
    EXPECT_EQ(keywords.count(""), 0u);

    // The separator right after the blank line leaves the unmatched "\n" block first;
    // the creation line forms the last block.
    ASSERT_GE(file.tips.size(), 2u);
    EXPECT_EQ(file.tips.front().text, "\n");
    EXPECT_EQ(file.tips.back().keyword, "CREATED");

    std::set<std::string> tip_keywords;
    for (const auto &tip : file.tips) {
        SCOPED_TRACE(tip.keyword);
        EXPECT_LT(tip.keyword.size(), kTipKeywordWidth);
        EXPECT_LT(tip.text.size(), kTipTextWidth);  // nothing was cut
        EXPECT_TRUE(tip_keywords.insert(tip.keyword).second) << "two tips for one keyword";
    }
    std::vector<std::string> words(std::begin(kCommands), std::end(kCommands));
    words.insert(words.end(), std::begin(kOtherWords), std::end(kOtherWords));
    for (const std::string &word : words) {
        SCOPED_TRACE(word);
        EXPECT_EQ(keywords.count(word), 1u) << "missing from the keyword section";
        const auto tip = std::find_if(file.tips.begin(), file.tips.end(), [&](const TipRecord &t) { return t.keyword == word; });
        ASSERT_NE(tip, file.tips.end()) << "no tip";
        EXPECT_EQ(tip->text.rfind(word + ": ", 0), 0u);
        EXPECT_GT(std::count(tip->text.begin(), tip->text.end(), '\n'), 1) << "no explanation under the syntax line";
    }
    EXPECT_EQ(keywords.size(), words.size()) << "the keyword section holds an unknown word";
}

}  // namespace
}  // namespace quillet
