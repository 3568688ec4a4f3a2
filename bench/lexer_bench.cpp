// Lexing throughput of the script lexer against Lexilla's assembler lexer (a lexer of
// the same StyleContext kind, for a similar language), both run in this program on
// the same text of about 5 MB made of the corpus scripts, and the cost of the script
// lexer's folding on top of its lexing (the goal: lexing and folding within 1.2 times
// lexing alone). Prints MB/s and the ratios.
//
// Usage: lexer_bench [corpus folder] [rounds]   (build without sanitizers for figures)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ILexer.h"
#include "LexerModule.h"
#include "scilexer/script_lexer.h"
#include "tests/native/lexer_document.h"
#include "tests/native/lexer_keywords.h"

extern Lexilla::LexerModule lmAsm;

namespace {

using quillet::lexertest::LexerDocument;

constexpr size_t kTextSize = 5 * 1024 * 1024;

std::string BuildText(const std::filesystem::path &corpus) {
    std::vector<std::filesystem::path> scripts;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        const auto ext = entry.path().extension();
        if (ext == ".txt" || ext == ".osc")
            scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    std::string all;
    for (const auto &path : scripts) {
        std::ifstream in(path, std::ios::binary);
        all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        all += "\r\n";  // each script starts on a line of its own
    }
    if (all.empty())
        return all;
    std::string text;
    while (text.size() < kTextSize)
        text += all;
    return text;
}

// Seconds of one whole-document Lex (and Fold, as the editor runs them) on a fresh
// document.
double TimeOnce(const std::string &text, Scintilla::ILexer5 *lexer, bool fold = false) {
    LexerDocument doc(text);
    const auto start = std::chrono::steady_clock::now();
    lexer->Lex(0, doc.Length(), 0, &doc);
    if (fold)
        lexer->Fold(0, doc.Length(), 0, &doc);
    const auto end = std::chrono::steady_clock::now();
    lexer->Release();
    return std::chrono::duration<double>(end - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
    const std::filesystem::path corpus = argc > 1 ? argv[1] : QUILLET_CORPUS_DIR;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    const std::string text = BuildText(corpus);
    if (text.empty()) {
        std::fprintf(stderr, "no scripts found in %s\n", corpus.string().c_str());
        return 1;
    }

    const auto makeScript = [] {
        Scintilla::ILexer5 *lexer = quillet::CreateScriptLexer();
        lexer->WordListSet(0, quillet::lexertest::kCommandWords);
        lexer->WordListSet(1, quillet::lexertest::kRegisterWords);
        return lexer;
    };
    const auto makeAsm = [] {
        // Instructions and registers, as an assembler author would set them.
        Scintilla::ILexer5 *lexer = lmAsm.Create();
        lexer->WordListSet(0, quillet::lexertest::kCommandWords);
        lexer->WordListSet(2, quillet::lexertest::kRegisterWords);
        return lexer;
    };

    // They take turns, so that all see the same machine conditions.
    std::vector<double> script;
    std::vector<double> scriptFolded;
    std::vector<double> asmLexer;
    for (int i = 0; i < rounds; i++) {
        script.push_back(TimeOnce(text, makeScript()));
        scriptFolded.push_back(TimeOnce(text, makeScript(), true));
        asmLexer.push_back(TimeOnce(text, makeAsm()));
    }
    const double scriptSeconds = Median(script);
    const double foldedSeconds = Median(scriptFolded);
    const double asmSeconds = Median(asmLexer);
    const double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    std::printf("text: %.2f MB of corpus scripts, median of %d runs\n", mb, rounds);
    std::printf("script lexer (98): %8.1f MB/s\n", mb / scriptSeconds);
    std::printf("script lexer+fold: %8.1f MB/s\n", mb / foldedSeconds);
    std::printf("asm lexer:         %8.1f MB/s\n", mb / asmSeconds);
    std::printf("ratio lex+fold/lex:%8.2f (goal at most 1.20)\n", foldedSeconds / scriptSeconds);
    std::printf("ratio script/asm:  %8.2f\n", asmSeconds / scriptSeconds);
    return 0;
}
