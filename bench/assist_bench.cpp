// The typing aids' window-free work on large inputs: the variable walk over a
// 50,000-line script styled by the script lexer, collecting 20,000 labels, and the
// per-keystroke rules (list text, typed variable, call tip lookup) with a 1,000-item
// keyword list. Prints milliseconds per run (best of several).
//
// Usage: assist_bench [corpus folder]   (build without sanitizers for figures)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ILexer.h"
#include "assist/call_tip_rules.h"
#include "assist/completion_rules.h"
#include "assist/label_rules.h"
#include "assist/variable_walk.h"
#include "scilexer/script_lexer.h"
#include "tests/native/lexer_document.h"
#include "tests/native/lexer_keywords.h"

namespace {

using quillet::lexertest::LexerDocument;

// Corpus scripts joined and repeated up to `lines` lines.
std::string ScriptOfLines(const std::filesystem::path &corpus, std::size_t lines) {
    std::vector<std::filesystem::path> scripts;
    for (const auto &entry : std::filesystem::directory_iterator(corpus))
        if (entry.path().extension() == ".txt" || entry.path().extension() == ".osc") scripts.push_back(entry.path());
    std::sort(scripts.begin(), scripts.end());
    // Line ends made CR LF, so the count below is the count the control would show.
    std::string all;
    for (const auto &path : scripts) {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) + "\r\n";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
            if (bytes[i] == '\r' || bytes[i] == '\n') all += "\r\n";
            else all += bytes[i];
        }
    }
    std::string text;
    std::size_t count = 0;
    std::size_t start = 0;
    while (count < lines && !all.empty()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos) {
            start = 0;
            continue;
        }
        text.append(all, start, end + 1 - start);
        ++count;
        start = end + 1 >= all.size() ? 0 : end + 1;
    }
    return text;
}

double BestMs(int rounds, const std::function<void()> &work) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char **argv) {
    const std::filesystem::path corpus = argc > 1 ? argv[1] : QUILLET_CORPUS_DIR;

    // 1. The variable walk of a 50,000-line script.
    const std::string script = ScriptOfLines(corpus, 50000);
    LexerDocument document(script);
    Scintilla::ILexer5 *lexer = quillet::CreateScriptLexer();
    lexer->WordListSet(0, quillet::lexertest::kCommandWords);
    lexer->WordListSet(1, quillet::lexertest::kRegisterWords);
    lexer->Lex(0, document.Length(), 0, &document);
    lexer->Release();
    std::string names;
    const double walkMs = BestMs(5, [&] {
        names = quillet::WalkVariables(document.Text(), document.Styles(), quillet::kScanWordChars);
    });
    std::printf("variable walk, %zu lines (%zu bytes): %.2f ms, %zu bytes of names\n",
                quillet::CountLines(script), script.size(), walkMs, names.size());

    // 2. Collecting 20,000 labels (with duplicates every tenth).
    std::string labels;
    for (int i = 0; i < 20000; ++i) {
        labels += "label_" + std::to_string(i % 10 == 9 ? i - 1 : i) + ":\r\n";
        labels += "        mov eax, 1\r\n";
    }
    std::size_t items = 0;
    const double labelMs = BestMs(5, [&] { items = quillet::CollectLabelItems(labels).size(); });
    std::printf("labels, %zu items from %zu lines: %.2f ms\n", items, quillet::CountLines(labels), labelMs);

    // 3. One keystroke's rules with a 1,000-item keyword list.
    std::string base;
    std::vector<quillet::TipRecord> tips;
    for (int i = 0; i < 1000; ++i) {
        const std::string word = "KW" + std::to_string(1000 + i);
        base += (i ? " " : "") + word;
        tips.push_back({word, word + ": " + word + " a, b\nDoes something.\n"});
    }
    const int keystrokes = 1000;
    const auto perKeystroke = [&](const std::function<void()> &work) {
        return BestMs(5, [&] {
            for (int i = 0; i < keystrokes; ++i) work();
        }) / keystrokes;
    };
    volatile bool sink = false;
    const double listMs = perKeystroke([&] {
        sink = quillet::ListHasItemStartingWith(quillet::CompletionListText("", base), "$myvariab");
    });
    const double tipMs = perKeystroke([&] { sink = quillet::CallTipForWord("kw1999", base, tips).has_value(); });
    const double addMs = perKeystroke([&] { sink = !quillet::ListWithVariable(base, "$var").empty(); });
    std::printf("1,000-item list: completion decision (no item matches) %.4f ms, call tip lookup (last record) "
                "%.4f ms, adding a typed variable %.4f ms\n",
                listMs, tipMs, addMs);
    return 0;
}
