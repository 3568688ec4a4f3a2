// The script checks in a real editor under Windows (or Wine): the window-thread work
// of a keystroke with the checks on against the same keystroke with no checks, typed
// at the end of a 50,000-line script, and what checking that script costs the window
// thread: the time from the end of the pause to the squiggles being shown and the
// longest single message handled meanwhile (the check itself runs on a worker thread).
//
// Usage: script_checks_keys_bench [corpus folder] [keyword file]   (run from bin/)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/corpus_script.h"
#include "assist/keyword_file.h"
#include "assist/script_checks.h"
#include "core/texts.h"
#include "platform/editor.h"
#include "platform/frame_state.h"

namespace {

using quillet::Editor;

constexpr std::size_t kLines = 50000;
constexpr int kKeystrokes = 2000;
bool checksHooked = false;

using quillet::bench::ReadFile;

double Now();
double inHook = 0;
int hookCalls = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && checksHooked) {
        const double start = Now();
        quillet::OnScriptCheckNotification(window, *reinterpret_cast<const SCNotification *>(lParam), nullptr);
        inHook += Now() - start;
        ++hookCalls;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

sptr_t lastLineStart = 0;

// Milliseconds per keystroke of typing `count` letters on a new last line "mvo ..."
// (a fresh line each time, so every round types into a line of the same length).
double TypeAtEnd(const Editor &editor, int count) {
    lastLineStart = editor.Call(SCI_GETLENGTH) + 2;
    editor.CallText(SCI_APPENDTEXT, 6, "\r\nmvo ");
    editor.Call(SCI_DOCUMENTEND);
    const double start = Now();
    for (int i = 0; i < count; ++i) SendMessageA(editor.Window(), WM_CHAR, 'a', 0);
    return (Now() - start) / count;
}

}  // namespace

int main(int argc, char **argv) {
    const std::filesystem::path corpus = argc > 1 ? argv[1] : "../../../../shared/corpus";
    const std::filesystem::path keywords = argc > 2 ? argv[2] : "../../../data/qkeywords.txt";
    const std::string script = quillet::bench::CorpusScript(corpus, kLines);
    const quillet::KeywordFile keywordFile = quillet::ParseKeywordFile(ReadFile(keywords));
    if (script.empty() || !keywordFile.ok()) {
        std::fprintf(stderr, "need the corpus folder and the keyword file\n");
        return 1;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = quillet::text::kFrameClass;  // the keyword list is found on the frame
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(0, quillet::text::kFrameClass, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    quillet::PublishKeywordList(host, keywordFile.keyword_list.c_str());
    quillet::LoadEditingComponent();
    HWND control = CreateWindowExA(0, "Scintilla", "", WS_CHILD | WS_VISIBLE, 0, 0, 780, 560, host,
                                   reinterpret_cast<HMENU>(1029), windowClass.hInstance, nullptr);
    const Editor editor(control);
    editor.SetText(script);

    // Alternating rounds, the best of each.
    double plain = 1e9, checked = 1e9;
    for (int round = 0; round < 5; ++round) {
        checksHooked = false;
        plain = std::min(plain, TypeAtEnd(editor, kKeystrokes));
        checksHooked = true;
        checked = std::min(checked, TypeAtEnd(editor, kKeystrokes));
    }

    // The pause runs out, the worker checks, the result comes back to this thread.
    const sptr_t typed = lastLineStart;  // "mvo"
    const double pauseEnd = Now() + quillet::kCheckPauseMs;
    double longest = 0;
    MSG message;
    while (!editor.Call(SCI_INDICATORVALUEAT, quillet::kProblemIndicator, typed) && Now() < pauseEnd + 10000) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Wait as a message loop waits: a message sent by the worker (a block of the
            // text it asks for) wakes the thread at once, where Sleep would hold it back.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            continue;
        }
        const double start = Now();
        TranslateMessage(&message);
        DispatchMessageA(&message);
        longest = std::max(longest, Now() - start);
    }
    const double shown = Now() - pauseEnd;

    std::printf("script: %d lines, %zu bytes; rounds of %d keystrokes typed at its end\n", static_cast<int>(kLines),
                script.size(), kKeystrokes);
    std::printf("keystroke, no checks:    %7.4f ms\n", plain);
    std::printf("keystroke, checks on:    %7.4f ms (ratio %.2f)\n", checked, checked / plain);
    std::printf("in the checks' handler:  %7.4f ms per keystroke (%d notifications)\n",
                inHook / (5.0 * kKeystrokes), hookCalls);
    std::printf("pause end to squiggles:  %7.1f ms (%d problems)\n", shown, quillet::ProblemCount(control));
    std::printf("longest message meanwhile: %5.1f ms\n", longest);
    DestroyWindow(host);
    return 0;
}
