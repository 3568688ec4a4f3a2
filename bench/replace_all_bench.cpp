// Replace all in a real Scintilla control under Wine (or Windows): a script of about
// 5 MB made of the corpus scripts with 100,000 occurrences of a word, replaced by a
// text that contains the word, through the program's replace-all. Beside it, in the
// same run, the peer: the same search-and-replace loop without the undo grouping and
// the held drawing. Prints both times, the ratio, and checks that one undo step
// brings the whole text back.
//
// Usage: replace_all_bench.exe [corpus folder]
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/find_replace.h"
#include "platform/editor.h"

namespace {

using quillet::Editor;

constexpr size_t kTextSize = 5 * 1024 * 1024;
constexpr int kMatches = 100000;
constexpr char kFind[] = "needle";
constexpr char kReplace[] = "needle_2";

std::vector<std::string> CorpusLines(const std::string &folder) {
    std::vector<std::string> lines;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*.txt").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::ifstream in(folder + "\\" + found.cFileName, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            size_t start = 0;
            for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
                std::string line = bytes.substr(start, end - start);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                // The corpus must not bring matches of its own.
                if (line.find(kFind) == std::string::npos) lines.push_back(line);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (lines.empty()) lines = {"mov eax, [esp+4]", "cmp eax, 0", "je @done", "// a comment line", "@done:", "ret"};
    return lines;
}

// About 5 MB of script lines, the word placed on every n-th line.
std::string BuildScript(const std::vector<std::string> &lines) {
    size_t total = 0;
    for (const std::string &line : lines) total += line.size() + 2;
    const size_t lineCount = kTextSize / (total / lines.size());
    const size_t every = lineCount > kMatches ? lineCount / kMatches : 1;
    std::string text;
    text.reserve(kTextSize + kMatches * 16);
    int placed = 0;
    for (size_t i = 0; placed < kMatches || text.size() < kTextSize; ++i) {
        text += lines[i % lines.size()];
        if (placed < kMatches && i % every == 0) {
            text += " ; ";
            text += kFind;
            ++placed;
        }
        text += "\r\n";
    }
    return text;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The plain loop: every replacement its own undo step, the control drawing as it goes.
int PeerReplaceAll(const Editor &editor) {
    int count = 0;
    sptr_t start = 0;
    const sptr_t findLength = static_cast<sptr_t>(sizeof kFind - 1);
    do {
        editor.Call(SCI_SETTARGETSTART, start);
        editor.Call(SCI_SETTARGETEND, editor.Call(SCI_GETTEXTLENGTH));
        editor.Call(SCI_SETSEARCHFLAGS, 0);
        const sptr_t found = editor.Call(SCI_SEARCHINTARGET, findLength, reinterpret_cast<sptr_t>(kFind));
        if (found < 0) break;
        editor.Call(SCI_REPLACETARGET, static_cast<uptr_t>(-1), reinterpret_cast<sptr_t>(kReplace));
        ++count;
        start = found + static_cast<sptr_t>(sizeof kReplace - 1);
    } while (start < editor.Call(SCI_GETTEXTLENGTH));
    return count;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

int main(int argc, char **argv) {
    const std::string corpus = argc > 1 ? argv[1] : QUILLET_CORPUS_DIR;
    const std::string script = BuildScript(CorpusLines(corpus));

    HWND frame = CreateWindowExA(0, "STATIC", "replace all", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    quillet::LoadEditingComponent();
    HWND control = CreateWindowExA(0, "Scintilla", "", WS_CHILD | WS_VISIBLE, 0, 0, 880, 660, frame, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    const Editor editor(control);
    if (!editor.IsOpen()) {
        std::fprintf(stderr, "no Scintilla control\n");
        return 1;
    }

    const auto run = [&](const char *name, auto replaceAll) {
        editor.SetText(script);
        editor.Call(SCI_EMPTYUNDOBUFFER);
        editor.Call(SCI_GOTOPOS, 0);
        Pump();
        LARGE_INTEGER from{}, to{};
        QueryPerformanceCounter(&from);
        const int count = replaceAll();
        QueryPerformanceCounter(&to);
        Pump();
        // One undo step must bring the whole text back (the plain loop has one per match).
        editor.Call(SCI_UNDO);
        const bool restored = editor.Text() == script;
        std::printf("%-12s %7.3f s  %d replacements  %s\n", name, Seconds(from, to), count,
                    restored ? "one undo step restores the text" : "one undo step does not restore the text");
        return Seconds(from, to);
    };

    std::printf("script: %.2f MB, %d matches of \"%s\" replaced by \"%s\"\n", script.size() / 1048576.0, kMatches,
                kFind, kReplace);
    const double ours = run("replace all", [&] { return quillet::ReplaceAllMatches(editor, kFind, kReplace, 0); });
    const double peer = run("plain loop", [&] { return PeerReplaceAll(editor); });
    std::printf("ratio (plain loop / replace all): %.2f\n", peer / ours);
    DestroyWindow(frame);
    return 0;
}
