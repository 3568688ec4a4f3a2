// Fold levels of the script lexer: a table of small scripts with the level of each
// line, and folding restarted in pieces as the editor does it giving the levels of one
// pass over every corpus script.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "ILexer.h"
#include "Scintilla.h"
#include "scilexer/script_lexer.h"
#include "tests/native/lexer_document.h"
#include "tests/native/lexer_keywords.h"

namespace quillet {
namespace {

using lexertest::LexerDocument;

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

// Each line's depth below the base level, with `+` when the line starts a fold.
std::string Levels(const LexerDocument &doc) {
    std::string levels;
    for (Sci_Position line = 0; line < doc.LineCount(); line++) {
        const int level = doc.GetLevel(line);
        if (!levels.empty())
            levels += ' ';
        levels += std::to_string((level & SC_FOLDLEVELNUMBERMASK) - SC_FOLDLEVELBASE);
        if (level & SC_FOLDLEVELHEADERFLAG)
            levels += '+';
    }
    return levels;
}

std::string FoldedOnce(std::string_view text) {
    LexerDocument doc(text);
    LexerPtr lexer = MakeLexer();
    lexer->Lex(0, doc.Length(), 0, &doc);
    lexer->Fold(0, doc.Length(), 0, &doc);
    return Levels(doc);
}

TEST(ScriptLexerFolding, LevelsOfBlocksAndSections) {
    struct Case {
        const char *text;
        const char *levels;
    };
    const Case cases[] = {
        // Each label's section is the outermost fold; IFxx/ELSE/ENDIF nest inside it.
        {"start:\nmov eax, 1\nIFEQ eax, 1\n inc eax\nELSE\n dec eax\nENDIF\nnext:\nret",
         "0+ 1 1+ 2 1+ 2 2 0+ 1"},
        // Before the first label the blocks stand at the base level; the empty line after a
        // final line end stays in the section above it.
        {"var x\nifneq x, 0\nmov x, 1\nendif\nlbl:\n", "0 0+ 1 1 0+ 1"},
        {"ifeq a, 1\n ifa b, 2\n  x\n endif\nendif\ny", "0+ 1+ 2 2 1 0"},
        {"a:\nexec\n mov eax, 1\n push 0\nende\nret", "0+ 1+ 2 2 2 1"},
        // A block comment of several lines folds; one on a single line does not.
        {"/* one\ntwo\n*/\nx:\n/* y */ mov a, 1", "0+ 1 1 0+ 1"},
        {"a: /* starts here\n still */\nb:", "0+ 2 0+"},
        // Words that only look like block commands: in comments, strings, longer words,
        // assembler lines; letter case does not matter.
        {"; ifeq a, b\nmov s, \"ifeq\"\nifeqx a\nexec\nifeq\nelse\nende\nIfNeQ a, b\nEnDiF",
         "0 0 0 0+ 1 1 1 0+ 1"},
        // A closing word without its block goes no shallower than its section; a label
        // inside an open block starts a new section all the same.
        {"a:\nendif\nende\nmov x, 1", "0+ 1 1 1"},
        {"ifeq a, 1\nl:\nendif\nret", "0+ 0+ 1 1"},
        {"else\nx", "0 0"},
        {"", "0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FoldedOnce(c.text), c.levels) << "text: " << c.text;
}

// "fold" 0 leaves the levels as they are; switching it asks for a restyle from the start.
TEST(ScriptLexerFolding, FoldPropertyZeroLeavesLevelsAlone) {
    LexerPtr lexer = MakeLexer();
    EXPECT_STREQ(lexer->PropertyGet("fold"), "1");
    EXPECT_EQ(lexer->PropertySet("fold", "0"), 0);
    EXPECT_EQ(lexer->PropertySet("fold", "0"), -1);
    EXPECT_STREQ(lexer->PropertyGet("fold"), "0");
    LexerDocument doc("start:\r\nIFEQ eax, 1\r\nmov eax, 2\r\nENDIF\r\n");
    lexer->Lex(0, doc.Length(), 0, &doc);
    lexer->Fold(0, doc.Length(), 0, &doc);
    EXPECT_EQ(Levels(doc), "0 0 0 0 0");
    EXPECT_EQ(lexer->PropertySet("fold", "1"), 0);
    lexer->Fold(0, doc.Length(), 0, &doc);
    EXPECT_EQ(Levels(doc), "0+ 1+ 2 2 1");
}

std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lexing and folding in random pieces, each starting at a line start as the editor
// resumes, gives every line the level of one pass.
TEST(ScriptLexerFolding, FoldingInPiecesGivesTheLevelsOfOnePassOverTheCorpus) {
    std::vector<std::filesystem::path> scripts;
    for (const auto &entry : std::filesystem::directory_iterator(QUILLET_CORPUS_DIR))
        if (entry.path().extension() == ".txt" || entry.path().extension() == ".osc")
            scripts.push_back(entry.path());
    std::sort(scripts.begin(), scripts.end());
    ASSERT_GE(scripts.size(), 50u);
    std::mt19937 random(26);
    int withFolds = 0;
    for (const auto &path : scripts) {
        SCOPED_TRACE(path.filename().string());
        const std::string text = ReadFile(path);
        const std::string once = FoldedOnce(text);
        withFolds += once.find('+') != std::string::npos;
        LexerDocument doc(text);
        LexerPtr lexer = MakeLexer();
        Sci_Position done = 0;
        while (done < doc.Length()) {
            const Sci_Position start = doc.LineStart(doc.LineFromPosition(done));
            const Sci_Position end =
                std::min<Sci_Position>(doc.Length(), done + 1 + static_cast<Sci_Position>(random() % 700));
            lexer->Lex(static_cast<Sci_PositionU>(start), end - start, doc.StyleAt(start - 1), &doc);
            lexer->Fold(static_cast<Sci_PositionU>(start), end - start, doc.StyleAt(start - 1), &doc);
            done = end;
        }
        EXPECT_EQ(Levels(doc), once);
    }
    // Nearly every real script has labels or blocks to fold.
    EXPECT_GE(withFolds * 10, static_cast<int>(scripts.size()) * 9);
}

}  // namespace
}  // namespace quillet
