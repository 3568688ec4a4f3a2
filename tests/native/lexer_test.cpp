// Tests of the script language lexer (lexer number 98): one table per styling rule,
// golden files of real scripts, restartable styling over every corpus script, and
// hostile input (random bytes, megabyte lines, unterminated strings and comments).
//
// Expected styles are written in Lexilla's `.styled` form: `{N}` before each run of
// style N. Golden files live in tests/data/lexer; a missing or different one is written
// beside it as NAME.styled.new for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ILexer.h"
#include "scilexer/script_lexer.h"
#include "tests/native/lexer_document.h"
#include "tests/native/lexer_keywords.h"

namespace quillet {
namespace {

using lexertest::LexerDocument;
using lexertest::MarkStyles;

struct ReleaseLexer {
    void operator()(Scintilla::ILexer5 *lexer) const { lexer->Release(); }
};
using LexerPtr = std::unique_ptr<Scintilla::ILexer5, ReleaseLexer>;

LexerPtr MakeLexer() {
    LexerPtr lexer(CreateScriptLexer());
    lexer->WordListSet(0, lexertest::kCommandWords);
    lexer->WordListSet(1, lexertest::kRegisterWords);
    return lexer;
}

// Styles the whole text in one pass and returns the styles.
std::string LexOnePass(std::string_view text, int codePage = 0) {
    LexerDocument doc(text, codePage);
    MakeLexer()->Lex(0, doc.Length(), 0, &doc);
    return doc.Styles();
}

// The text styled in one pass, in the marked form.
std::string Lexed(std::string_view text) { return MarkStyles(text, LexOnePass(text)); }

std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::filesystem::path> CorpusScripts() {
    std::vector<std::filesystem::path> scripts;
    for (const auto &entry : std::filesystem::directory_iterator(QUILLET_CORPUS_DIR)) {
        const auto ext = entry.path().extension();
        if (ext == ".txt" || ext == ".osc")
            scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

struct Case {
    const char *text;
    const char *styled;
};

void ExpectStyled(const char *rule, const std::vector<Case> &cases) {
    for (const Case &c : cases)
        EXPECT_EQ(Lexed(c.text), c.styled) << rule << ", text: " << c.text;
}

TEST(ScriptLexer, AnswersItsNumberAndTakesTwoWordLists) {
    LexerPtr lexer(CreateScriptLexer());
    EXPECT_EQ(lexer->GetIdentifier(), kScriptLexerNumber);
    EXPECT_STREQ(lexer->PropertyGet("anything"), "");
    EXPECT_EQ(lexer->WordListSet(0, "mov"), 0);   // changed: restyle from the start
    EXPECT_EQ(lexer->WordListSet(0, "mov"), -1);  // unchanged
    EXPECT_EQ(lexer->WordListSet(1, "eax"), 0);
    EXPECT_EQ(lexer->WordListSet(2, "x"), -1);    // no third list
}

// Given word lists match in any case; reserved variables stay variables even when the
// command list names them.
TEST(ScriptLexer, WordListsMatchInAnyCaseButNotReservedVariables) {
    const struct {
        const char *commands, *registers, *text, *styled;
    } cases[] = {
        {"MOV Log", "eax !zf", "mov EAX, !ZF\nLOG x", "{5}mov{0} {9}EAX{6},{0} {9}!ZF{0}\n{5}LOG{0} {18}x"},
        {"cmp #inc $result $result_1 $version", nullptr, "cmp $RESULT, $result_1\n#inc $VERSION",
         "{5}cmp{0} {18}$RESULT{6},{0} {18}$result_1{0}\n{5}#inc{0} {18}$VERSION"},
    };
    for (const auto &c : cases) {
        LexerPtr lexer(CreateScriptLexer());
        lexer->WordListSet(0, c.commands);
        if (c.registers) lexer->WordListSet(1, c.registers);
        LexerDocument doc(c.text);
        lexer->Lex(0, doc.Length(), 0, &doc);
        EXPECT_EQ(MarkStyles(doc.Text(), doc.Styles()), c.styled) << c.text;
    }
}

// Each styling rule as a table of one-line texts and their styles.
TEST(ScriptLexer, StylingRules) {
    ExpectStyled("line comments", {
        {"mov x, 1 ; note", "{5}mov{0} {18}x{6},{0} {2}1{0} {1}; note"},
        {"; whole line", "{1}; whole line"},
        {"// whole line", "{1}// whole line"},
        {"log \"a;b\" ; c", "{5}log{0} {4}\"a;b\"{0} {1}; c"},
        {"log \"http://x\" // c", "{5}log{0} {4}\"http://x\"{0} {1}// c"},
        {"a / b", "{18}a{0} {6}/{0} {18}b"},
        {"; c /* no block\nmov", "{1}; c /* no block{0}\n{5}mov"},
        {"// c\r\nrun", "{1}// c{0}\r\n{5}run"},
        {"x;y", "{18}x{1};y"},
    });
    ExpectStyled("block comments", {
        {"a /* b */ c", "{18}a{0} {14}/* b */{0} {18}c"},
        {"/* a\nb ; c */ run", "{14}/* a\nb ; c */{0} {5}run"},
        {"/* a\r\n\r\nb */", "{14}/* a\r\n\r\nb */"},
        {"/*/ x\n*/", "{14}/*/ x\n*/"},
        {"/* a /* b */ c */", "{14}/* a /* b */{0} {18}c{0} {6}*/"},  // no nesting
        {"*/ x", "{6}*/{0} {18}x"},
        {"/**/run", "{14}/**/{5}run"},
        {"\"/*\" x", "{4}\"/*\"{0} {18}x"},
        {"/* never closed\nmov x", "{14}/* never closed\nmov x"},
    });
    ExpectStyled("strings", {
        {"msg \"Hello, world\"", "{5}msg{0} {4}\"Hello, world\""},
        {"msg \"open\nmov x", "{5}msg{0} {4}\"open{0}\n{5}mov{0} {18}x"},
        {"\"a\"b", "{4}\"a\"{18}b"},
        {"\"c:\\dump.bin\"", "{4}\"c:\\dump.bin\""},
        {"add s, \"x\" + y", "{5}add{0} {18}s{6},{0} {4}\"x\"{0} {6}+{0} {18}y"},
        {"\"\"", "{4}\"\""},
    });
    ExpectStyled("byte strings and directives", {
        {"find eip, #6A00E8#", "{5}find{0} {9}eip{6},{0} {7}#6A00E8#"},
        {"find x, #6A??E8#", "{5}find{0} {18}x{6},{0} {7}#6A??E8#"},
        {"#6A 00 e8#", "{7}#6A 00 e8#"},
        {"mov b, ##+\"123\"", "{5}mov{0} {18}b{6},{0} {7}##{6}+{4}\"123\""},
        {"#inc \"lib.osc\"", "{5}#inc{0} {4}\"lib.osc\""},
        {"  #LOG", "{0}  {5}#LOG"},
        {"#include", "{6}#{18}include"},
        {"mov x, #inc", "{5}mov{0} {18}x{6},{0} {6}#{5}inc"},
        {"#", "{6}#"},
        {"#xyz#", "{6}#{18}xyz{6}#"},
        {"#6A00", "{6}#{2}6A00"},
        {"#6A\n00#", "{6}#{2}6A{0}\n{2}00{6}#"},
    });
    ExpectStyled("numbers", {
        {"10.", "{2}10."},
        {"10", "{2}10"},
        {"ABC", "{18}ABC"},
        {"0ABC", "{2}0ABC"},
        {"5.0", "{2}5.0"},
        {"0x401000", "{0}0x401000"},  // no number in this language
        {"10h", "{0}10h"},
        {"0FF.", "{0}0FF."},
        {"1.2.3", "{2}1.2{6}.{2}3"},
        {"itoa n, 10.", "{5}itoa{0} {18}n{6},{0} {2}10."},
        {"mov x, -5", "{5}mov{0} {18}x{6},{0} {6}-{2}5"},
        {"[eax+10]", "{6}[{9}eax{6}+{2}10{6}]"},
        {"[[esp]+4]", "{6}[[{9}esp{6}]+{2}4{6}]"},
    });
    ExpectStyled("labels", {
        {"@loop:", "{17}@loop:"},
        {"a: b", "{18}a{6}:{0} {18}b"},
        {"start: ; entry", "{17}start:{0} {1}; entry"},
        {"  lbl.x:  ", "{0}  {17}lbl.x:{0}  "},
        {"Only Win2K/XP:", "{17}Only Win2K/XP:"},
        {"; note:", "{1}; note:"},
        {"jmp @loop", "{5}jmp{0} {18}@loop"},
        {"a: /* c */", "{17}a:{0} {14}/* c */"},
        {"x /* c */ y:", "{17}x {14}/* c */{17} y:"},
        {"msg \"a:\"", "{5}msg{0} {4}\"a:\""},
        {"msg \"a\":", "{17}msg \"a\":"},
        {"/* open\n*/ start:", "{14}/* open\n*/{0} {17}start:"},
        {"l1:\r\nl2:", "{17}l1:{0}\r\n{17}l2:"},
    });
    ExpectStyled("keywords, registers and variables", {
        {"MOV EAX, eax", "{5}MOV{0} {9}EAX{6},{0} {9}eax"},
        {"Mov Al, !ZF", "{5}Mov{0} {9}Al{6},{0} {9}!ZF"},
        {"mov !zf, 1", "{5}mov{0} {9}!zf{6},{0} {2}1"},
        {"!x !", "{6}!{18}x{0} {6}!"},
        {"$RESULT $RESULT_1 $VERSION", "{18}$RESULT{0} {18}$RESULT_1{0} {18}$VERSION"},
        {"_a @b tama\xc3\xb1o_real", "{18}_a{0} {18}@b{0} {18}tama\xc3\xb1o_real"},
        {"movx", "{18}movx"},
        {"st(0)", "{18}st{6}({2}0{6})"},
        {"gmi eip, CODEBASE", "{5}gmi{0} {9}eip{6},{0} {18}CODEBASE"},
        {"cmp x,y", "{5}cmp{0} {18}x{6},{18}y"},
    });
    ExpectStyled("EXEC blocks hold assembler", {
        {"exec\nmov eax, {x}\npush 0 ; c\nende\nmov eax, 1",
         "{5}exec{0}\n{7}mov{0} {7}eax,{0} {18}{x}{0}\n{7}push{0} {7}0{0} {1}; c{0}\n{5}ende{0}\n"
         "{5}mov{0} {9}eax{6},{0} {2}1"},
        {"EXEC ; run\r\n  MOV DWORD PTR DS:[EAX],1\r\n  Ende\r\nret",
         "{5}EXEC{0} {1}; run{0}\r\n  {7}MOV{0} {7}DWORD{0} {7}PTR{0} {7}DS:[EAX],1{0}\r\n  {5}Ende{0}\r\n{5}ret"},
        {"exec\nlbl:\n/* c */ call {fn}\nende", "{5}exec{0}\n{7}lbl:{0}\n{14}/* c */{0} {7}call{0} {18}{fn}{0}\n{5}ende"},
        {"exec\n{x\nende", "{5}exec{0}\n{7}{x{0}\n{5}ende"},
        {"exec\nmov {a}{b}\nende", "{5}exec{0}\n{7}mov{0} {18}{a}{b}{0}\n{5}ende"},
        {"exec\nnop\nnop", "{5}exec{0}\n{7}nop{0}\n{7}nop"},  // unterminated: assembler to the end
        {"execute\nmov x, 1", "{18}execute{0}\n{5}mov{0} {18}x{6},{0} {2}1"},
        {"exec:\nmov x, 1", "{17}exec:{0}\n{5}mov{0} {18}x{6},{0} {2}1"},
        {"/* a\n*/ exec\nnop\nende", "{14}/* a\n*/{0} {5}exec{0}\n{7}nop{0}\n{5}ende"},
    });
    ExpectStyled("byte order mark and lone carriage returns", {
        {"\xEF\xBB\xBF#log\nstart:", "{0}\xEF\xBB\xBF{5}#log{0}\n{17}start:"},
        {"\xEF\xBB\xBF" "a:", "{0}\xEF\xBB\xBF{17}a:"},
        {"x \xEF\xBB\xBF", "{18}x{0} {18}\xEF\xBB\xBF"},  // only at the start of the text
        // CR CR LF: the editor sees an empty line between, as does the styling.
        {"a:\r\r\nmsg \"x\r\r\n/*\r\r\n*/", "{17}a:{0}\r\r\n{5}msg{0} {4}\"x{0}\r\r\n{14}/*\r\r\n*/"},
    });
    ExpectStyled("operators and other characters", {
        {"a+b-c*d&e|f^g<h>i=j", "{18}a{6}+{18}b{6}-{18}c{6}*{18}d{6}&{18}e{6}|{18}f{6}^{18}g{6}<{18}h{6}>{18}i{6}={18}j"},
        {"a\tb", "{18}a{0}\t{18}b"},
        {"'x' ? ~", "{6}'{18}x{6}'{0} {6}?{0} {6}~"},
        {"\x01\x7f", "{0}\x01\x7f"},
    });
}

// Golden files: whole corpus scripts, reviewed once by eye and kept.
TEST(ScriptLexer, GoldenFilesOfCorpusScripts) {
    const std::filesystem::path goldenDir = std::filesystem::path(QUILLET_SOURCE_DIR) / "tests/data/lexer";
    const char *const scripts[] = {
        "BKHONEL__OllyDBG-Script__EPack__EPack_1.4_OEP_Finder.txt",
        "BKHONEL__OllyDBG-Script__RLPack__RLPack1.9_pre_Heavy_Weapon.txt",
        "BKHONEL__OllyDBG-Script__ExeCryptor__ExeCryptor_2.24_-_2.25_IAT_Rebuilder.txt",
        "Mojtaba-Gh__Odbg-Scripts__GDS.asm.txt",
        "dubuqingfeng__ollydbg-script__Obsidium__Obsidium_1.3.0.x_OEP_Finder_Find_Stolen_Code_Fix_IAT_.txt",
        "dubuqingfeng__ollydbg-script__Themida__themida.txt",
    };
    for (const char *name : scripts) {
        const std::string text = ReadFile(std::filesystem::path(QUILLET_CORPUS_DIR) / name);
        ASSERT_FALSE(text.empty()) << name;
        const std::string styled = Lexed(text);
        const auto golden = goldenDir / (std::string(name) + ".styled");
        if (ReadFile(golden) != styled) {
            std::ofstream(golden.string() + ".new", std::ios::binary) << styled;
            ADD_FAILURE() << name << " differs from its golden file; see " << golden << ".new";
        }
    }
}

// Styles the document in pieces, each starting at a line start, the way the editor
// styles lazily; `nextEnd` picks where each piece ends.
template <typename NextEnd>
std::string LexInPieces(std::string_view text, int codePage, NextEnd nextEnd) {
    LexerDocument doc(text, codePage);
    LexerPtr lexer = MakeLexer();
    Sci_Position styledTo = 0;
    while (styledTo < doc.Length()) {
        // The editor resumes at the start of the line that holds the end of the styling.
        const Sci_Position start = doc.LineStart(doc.LineFromPosition(styledTo));
        const Sci_Position end = std::clamp<Sci_Position>(nextEnd(doc, start), styledTo + 1, doc.Length());
        lexer->Lex(static_cast<Sci_PositionU>(start), end - start, doc.StyleAt(start - 1), &doc);
        styledTo = end;
    }
    return doc.Styles();
}

// The line of the first difference, styled both ways, for a readable failure.
std::string FirstDifference(std::string_view text, const std::string &a, const std::string &b) {
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const size_t pos = static_cast<size_t>(mismatch.first - a.begin());
    if (pos >= a.size() || pos >= b.size())
        return "lengths differ";
    const size_t lineStart = text.find_last_of("\r\n", pos) == std::string_view::npos
                                 ? 0
                                 : text.find_last_of("\r\n", pos) + 1;
    const size_t lineEnd = std::min(text.find_first_of("\r\n", pos), text.size());
    const auto line = [&](const std::string &styles) {
        return MarkStyles(text.substr(lineStart, lineEnd - lineStart),
                          std::string_view(styles).substr(lineStart, lineEnd - lineStart));
    };
    return "at byte " + std::to_string(pos) + ":\n  " + line(a) + "\n  " + line(b);
}

// Restarting at any line start gives the styles of one pass: every line styled on its
// own after the whole text was styled, lines styled one by one, and random pieces.
void ExpectRestartable(std::string_view text, int codePage, unsigned seed) {
    const std::string once = LexOnePass(text, codePage);

    {
        LexerDocument doc(text, codePage);
        LexerPtr lexer = MakeLexer();
        lexer->Lex(0, doc.Length(), 0, &doc);
        for (Sci_Position line = 0; line < doc.LineCount(); line++) {
            const Sci_Position start = doc.LineStart(line);
            const Sci_Position end = doc.LineStart(line + 1);
            if (end > start)
                lexer->Lex(static_cast<Sci_PositionU>(start), end - start, doc.StyleAt(start - 1), &doc);
        }
        EXPECT_TRUE(doc.Styles() == once) << "restyling each line: " << FirstDifference(text, doc.Styles(), once);
    }

    const std::string lineByLine = LexInPieces(text, codePage, [](const LexerDocument &doc, Sci_Position start) {
        return doc.LineStart(doc.LineFromPosition(start) + 1);
    });
    EXPECT_TRUE(lineByLine == once) << "line by line: " << FirstDifference(text, lineByLine, once);

    std::mt19937 random(seed);
    const std::string chunks = LexInPieces(text, codePage, [&](const LexerDocument &, Sci_Position start) {
        // Pieces of up to 400 bytes ending anywhere, even inside a line.
        return start + 1 + static_cast<Sci_Position>(random() % 400);
    });
    EXPECT_TRUE(chunks == once) << "random pieces: " << FirstDifference(text, chunks, once);
}

TEST(ScriptLexer, RestartingAtAnyLineStartGivesTheSameStylesOverTheCorpus) {
    const auto scripts = CorpusScripts();
    ASSERT_GE(scripts.size(), 50u);
    unsigned seed = 1;
    for (const auto &path : scripts) {
        SCOPED_TRACE(path.filename().string());
        const std::string text = ReadFile(path);
        ExpectRestartable(text, 0, seed++);
    }
    // A script with non-ASCII text, also in the UTF-8 and GBK code pages.
    const std::string text = ReadFile(std::filesystem::path(QUILLET_CORPUS_DIR) /
                                      "dubuqingfeng__ollydbg-script__Themida__themida.txt");
    SCOPED_TRACE("themida.txt in code pages 65001 and 936");
    ExpectRestartable(text, 65001, 7);
    ExpectRestartable(text, 936, 8);
}

bool OnlyKnownStyles(const std::string &styles) {
    static const std::set<int> known = {0, 1, 2, 4, 5, 6, 7, 9, 14, 17, 18};
    return std::all_of(styles.begin(), styles.end(),
                       [](char s) { return known.count(static_cast<unsigned char>(s)) != 0; });
}

TEST(ScriptLexer, RandomBytesGiveKnownStylesAndRestartCleanly) {
    std::mt19937 random(12345);
    // Bytes weighted towards the characters the lexer cares about.
    const std::string interesting = "#/*;\"!:{}\r\n \t0123456789abcdefABCDEFxyz$@_.?execndEXECNDE";
    for (int round = 0; round < 6; round++) {
        std::string text(20000, '\0');
        for (char &c : text)
            c = (random() % 3 == 0) ? static_cast<char>(random() % 256)
                                    : interesting[random() % interesting.size()];
        for (int codePage : {0, 65001, 936}) {
            SCOPED_TRACE("round " + std::to_string(round) + ", code page " + std::to_string(codePage));
            const std::string styles = LexOnePass(text, codePage);
            EXPECT_EQ(styles.size(), text.size());
            EXPECT_TRUE(OnlyKnownStyles(styles));
            ExpectRestartable(text, codePage, static_cast<unsigned>(round));
        }
    }
}

// Megabyte lines and tokens left open to the end keep their style to the last byte.
TEST(ScriptLexer, MegabyteLinesAndUnterminatedTokens) {
    const size_t mb = 1 << 20;
    struct Long {
        std::string text;
        int style;  // style of the last byte
    };
    const std::vector<Long> cases = {
        {std::string(mb, 'a'), 18},                             // one huge name
        {"mov x, \"" + std::string(mb, 'q'), 4},                // string never closed
        {"/*" + std::string(mb, '*'), 14},                      // block comment never closed
        {"; " + std::string(mb, '/'), 1},
        {"#" + std::string(mb, '0'), 2},                        // byte string never closed
        {std::string(mb, '#'), 7},                              // `##` pairs
        {"exec\n" + std::string(mb, '{'), 7},
        {"exec\n{" + std::string(mb, 'n'), 7},
        {std::string(mb, '!'), 6},
        {std::string(mb, ' ') + "x:", 17},
        {std::string(mb / 2, '"') + "\n" + std::string(mb / 2, '9') + ".", 2},
    };
    for (const Long &c : cases) {
        const std::string styles = LexOnePass(c.text);
        ASSERT_EQ(styles.size(), c.text.size());
        EXPECT_EQ(static_cast<unsigned char>(styles.back()), c.style) << c.text.substr(0, 12);
        EXPECT_TRUE(OnlyKnownStyles(styles));
    }
}

TEST(ScriptLexer, EmptyAndTinyDocuments) {
    for (const char *text : {"", "\n", "\r", "\r\n", "x", ":", "\"", "/", "/*", "#"}) {
        const std::string styles = LexOnePass(text);
        EXPECT_EQ(styles.size(), std::string_view(text).size());
    }
}

}  // namespace
}  // namespace quillet
