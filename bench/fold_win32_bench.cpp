// The cost of folding in the editor, run under Wine: a document of the real frame, whose
// Scintilla control the program set up (lexer 98 through SciLexer.dll, its word lists,
// the fold margin and automatic folding), styles a whole 5 MB script (SCI_SETTEXT, then
// SCI_COLOURISE 0..-1) with the lexer's "fold" property 0 and with folding on as the
// program leaves it; the two take turns over the rounds and their medians are compared
// (the goal: within 1.2 times lexing alone, as natively in lexer_bench).
//
// To tell the lexer's own fold pass from the control's bookkeeping of new levels, it also
// times styling the same text again at once (styles, line states and levels are then
// already in place, so only the lexer's passes run), and the first styling with the
// change notifications to the document window switched off.
//
// Usage: wine fold_win32_bench.exe [script] [rounds] [keyword file]
//   script: the 5 MB text bench/run.sh writes (build/bench/bench-5mb.osc); without it the
//   same text is built here from the corpus scripts.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/shell.h"
#include "assist/keyword_stores.h"
#include "bench/corpus_script.h"
#include "core/command_ids.h"
#include "platform/active_document.h"
#include "platform/paths.h"

using namespace quillet;

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kTextSize = 5 * 1024 * 1024;

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One way of styling: the lexer's fold property and whether the document window hears
// of each change.
struct Way {
    const char *fold;
    bool notifications;
    std::vector<double> firstMs;  // the fresh text styled
    std::vector<double> againMs;  // styled again at once: nothing changes any more
};

double TimeColourise(const Editor &editor) {
    const auto start = Clock::now();
    editor.Call(SCI_COLOURISE, 0, -1);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Puts the text in and styles it twice. No messages are handled in between, so no paint
// styles a part of it first and no timer of the program runs meanwhile.
bool StyleOnce(const Editor &editor, const std::string &text, Way &way) {
    // The lines start at the base level, as in a document just opened (inserted lines
    // take the level of the line they are inserted at).
    editor.Call(SCI_CLEARALL);
    editor.Call(SCI_SETFOLDLEVEL, 0, SC_FOLDLEVELBASE);
    editor.Call(SCI_APPENDTEXT, text.size(), reinterpret_cast<sptr_t>(text.data()));
    editor.CallText(SCI_SETPROPERTY, reinterpret_cast<uptr_t>("fold"), way.fold);
    if (editor.Call(SCI_GETENDSTYLED) != 0) return false;
    const sptr_t mask = editor.Call(SCI_GETMODEVENTMASK);
    if (!way.notifications) editor.Call(SCI_SETMODEVENTMASK, SC_MOD_NONE);
    way.firstMs.push_back(TimeColourise(editor));
    way.againMs.push_back(TimeColourise(editor));
    editor.Call(SCI_SETMODEVENTMASK, static_cast<uptr_t>(mask));
    return true;
}

void PrintSpeed(const char *what, double mb, const std::vector<double> &ms) {
    std::printf("%-44s %8.1f MB/s (%.1f ms)\n", what, mb / (Median(ms) / 1000.0), Median(ms));
}

}  // namespace

int main(int argc, char **argv) {
    const std::string source = std::string("Z:") + QUILLET_SOURCE_DIR;
    const std::string scriptPath = argc > 1 ? argv[1] : "";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    const std::string keywordPath = argc > 3 ? argv[3] : source + "\\data\\qkeywords.txt";
    const std::string text = scriptPath.empty() ? bench::CorpusScriptOfBytes(source + "\\..\\shared\\corpus", kTextSize)
                                                   : bench::ReadFile(scriptPath);
    if (text.empty()) {
        std::fprintf(stderr, "no script text: pass the 5 MB script bench/run.sh writes\n");
        return 1;
    }

    // The program's keyword file beside a stand-in program folder, so the editor gets
    // the keyword list it has in use.
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "quillet-fold-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA(keywordPath.c_str(), (folder + "qkeywords.txt").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy the keyword file %s\n", keywordPath.c_str());
        return 1;
    }
    platform::SetExeFolderForTests(folder);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterShellClasses(instance);
    HWND frame = CreateFrameWindow(instance);
    if (!frame || !LoadKeywordFile(frame)) {
        std::fprintf(stderr, "no frame or keyword file\n");
        return 1;
    }
    ShowWindow(frame, SW_SHOWNORMAL);
    SendMessageA(frame, WM_COMMAND, kCmdNew, 0);
    Pump();
    const Editor editor = ActiveEditor();
    if (!editor.IsOpen()) {
        std::fprintf(stderr, "no editor\n");
        return 1;
    }
    // Five megabytes put in and taken out each round would pile up in the undo history.
    editor.Call(SCI_SETUNDOCOLLECTION, 0);

    Way lexing{"0", true, {}, {}}, folding{"1", true, {}, {}};
    Way lexingQuiet{"0", false, {}, {}}, foldingQuiet{"1", false, {}, {}};
    Way *const ways[] = {&lexing, &folding, &lexingQuiet, &foldingQuiet};
    // One uncounted round first, then the ways take turns so all see the same machine.
    for (int round = 0; round <= rounds; ++round) {
        for (Way *way : ways) {
            Way scratch = *way;
            if (!StyleOnce(editor, text, round == 0 ? scratch : *way)) {
                std::fprintf(stderr, "the text was styled before it was timed\n");
                return 1;
            }
        }
    }
    const sptr_t lines = editor.Call(SCI_GETLINECOUNT);
    int headers = 0;
    for (sptr_t line = 0; line < lines; ++line)
        if (editor.Call(SCI_GETFOLDLEVEL, static_cast<uptr_t>(line)) & SC_FOLDLEVELHEADERFLAG) ++headers;

    const double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    const auto ratio = [](const Way &a, const Way &b, bool again) {
        return again ? Median(a.againMs) / Median(b.againMs) : Median(a.firstMs) / Median(b.firstMs);
    };
    std::printf("text: %.2f MB, %ld lines, %d fold headers, median of %d rounds, in the editor\n", mb,
                static_cast<long>(lines), headers, rounds);
    PrintSpeed("editor lexing:", mb, lexing.firstMs);
    PrintSpeed("editor lexing+fold:", mb, folding.firstMs);
    std::printf("ratio lex+fold/lex in the editor: %.2f (goal at most 1.20)\n", ratio(folding, lexing, false));
    std::printf("where the folding's time goes:\n");
    PrintSpeed("  styled again, lexing:", mb, lexing.againMs);
    PrintSpeed("  styled again, lexing+fold:", mb, folding.againMs);
    std::printf("  ratio styled again (the lexer's own passes): %.2f\n", ratio(folding, lexing, true));
    PrintSpeed("  no change notifications, lexing:", mb, lexingQuiet.firstMs);
    PrintSpeed("  no change notifications, lexing+fold:", mb, foldingQuiet.firstMs);
    std::printf("  ratio without change notifications: %.2f\n", ratio(foldingQuiet, lexingQuiet, false));

    DestroyWindow(frame);
    Pump();
    return 0;
}
