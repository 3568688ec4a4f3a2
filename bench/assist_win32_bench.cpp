// The typing aids on the real frame and Scintilla control, run under Wine: the
// variable scan of a 50,000-line script (time to the result, time the window thread
// is busy, and the longest wait of a message sent to the frame from another thread
// meanwhile), filling the labels pane from 20,000 labels, and one keystroke's
// notification work with a 1,000-item keyword list.
//
// Usage: wine assist_win32_bench.exe [corpus folder]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/shell.h"
#include "assist/keyword_stores.h"
#include "assist/labels_pane.h"
#include "assist/typing_assist.h"
#include "assist/variable_scan.h"
#include "core/command_ids.h"
#include "platform/active_document.h"
#include "platform/frame_state.h"
#include "platform/paths.h"

using namespace quillet;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Corpus scripts with their line ends made CR LF, repeated up to `lines` lines.
std::string ScriptOfLines(const std::string &corpus, int lines) {
    std::string all;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((corpus + "\\*.txt").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string bytes = ReadFile(corpus + "\\" + found.cFileName) + "\r\n";
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
                if (bytes[i] == '\r' || bytes[i] == '\n') all += "\r\n";
                else all += bytes[i];
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::string text;
    int count = 0;
    std::size_t start = 0;
    while (count < lines && !all.empty()) {
        const std::size_t end = all.find('\n', start);
        if (end == std::string::npos) { start = 0; continue; }
        text.append(all, start, end + 1 - start);
        ++count;
        start = end + 1 >= all.size() ? 0 : end + 1;
    }
    return text;
}

// A keyword file of 1,000 commands, each with a tip.
std::string KeywordFileOf1000() {
    std::string keywords, tips;
    for (int i = 0; i < 1000; ++i) {
        const std::string word = "KW" + std::to_string(1000 + i);
        keywords += word + ",";
        if (i % 10 == 9) keywords += "\r\n";
        tips += ";;\r\n" + word + ": " + word + " a, b\r\nDoes something.\r\n";
    }
    return keywords + "MOV\r\n\r\n" + tips + ";;\r\nCREATED: bench\r\n";
}

// Sends WM_NULL to the frame every millisecond from its own thread and keeps the longest wait.
struct Prober {
    HWND frame;
    std::atomic<bool> stop{false};
    std::atomic<long> worstMicros{0};
    std::atomic<int> answered{0};
    // Only waits sent after countFrom and answered before countUntil are counted.
    std::atomic<long long> countFrom{0};
    std::atomic<long long> countUntil{Clock::time_point::max().time_since_epoch().count()};
    static DWORD WINAPI Run(LPVOID self) {
        auto *p = static_cast<Prober *>(self);
        while (!p->stop) {
            const auto start = Clock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutA(p->frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            (void)result;
            const long micros = static_cast<long>(
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
            // Both bounds are read once the answer is in: they may be set meanwhile.
            const bool inPhase = start.time_since_epoch().count() >= p->countFrom &&
                                 Clock::now().time_since_epoch().count() <= p->countUntil;
            if (inPhase && micros > p->worstMicros) p->worstMicros = micros;
            if (inPhase) ++p->answered;
            Sleep(1);
        }
        return 0;
    }
};

}  // namespace

int main(int argc, char **argv) {
    const std::string corpus = argc > 1 ? argv[1] : std::string("Z:") + QUILLET_CORPUS_DIR;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "quillet-assist-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    {
        std::ofstream out(folder + "qkeywords.txt", std::ios::binary);
        out << KeywordFileOf1000();
    }
    platform::SetExeFolderForTests(folder);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterShellClasses(instance);
    HWND frame = CreateFrameWindow(instance);
    if (!frame || !LoadKeywordFile(frame)) {
        std::printf("no frame or keyword file\n");
        return 1;
    }
    ShowWindow(frame, SW_SHOWNORMAL);
    SendMessageA(frame, WM_COMMAND, kCmdNew, 0);
    Pump();
    const Editor editor = ActiveEditor();

    // 1. The scan of a 50,000-line script.
    const std::string script = ScriptOfLines(corpus, 50000);
    editor.SetText(script);
    Pump();
    Prober prober{frame};
    HANDLE probe = CreateThread(nullptr, 0, Prober::Run, &prober, 0, nullptr);
    Sleep(50);
    const FrameHandles *handles = GetFrameHandles(frame);
    const auto scanStart = Clock::now();
    StartVariableScan(frame);
    const double windowThreadMs = MsSince(scanStart);
    prober.countFrom = Clock::now().time_since_epoch().count();  // the waits while the worker walks
    while (IsWindowVisible(handles->progressBar)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    const double scanMs = MsSince(scanStart);
    prober.countUntil = Clock::now().time_since_epoch().count();
    prober.stop = true;
    WaitForSingleObject(probe, INFINITE);
    CloseHandle(probe);
    std::printf("scan of %d lines: %.1f ms to the result, of which %.1f ms on the window thread "
                "(styling and copying); while the worker ran the frame answered %d messages from another thread, "
                "the slowest in %.2f ms\n",
                static_cast<int>(editor.Call(SCI_GETLINECOUNT)), scanMs, windowThreadMs,
                prober.answered.load(), prober.worstMicros / 1000.0);

    // 2. Filling the labels pane from 20,000 labels.
    std::string labels;
    for (int i = 0; i < 20000; ++i) labels += "label_" + std::to_string(i) + ":\r\n        mov eax, 1\r\n";
    editor.SetText(labels);
    double fillMs = 1e9;
    int count = 0;
    for (int round = 0; round < 10; ++round) {
        const auto start = Clock::now();
        FillLabelsList();
        fillMs = std::min(fillMs, MsSince(start));
        count = static_cast<int>(SendMessageA(handles->labelsList, LB_GETCOUNT, 0, 0));
    }
    std::printf("labels pane: %d items filled in %.1f ms (best of 10)\n", count, fillMs);

    // 3. One keystroke: SCN_CHARADDED (the completion list opens, follows the typed word
    // while it is open, or is not asked for when nothing matches) and SCN_UPDATEUI (a
    // call tip shown, or the shown one closed).
    HWND document = ActiveDocument();
    SCNotification added{};
    added.nmhdr.hwndFrom = editor.Window();
    added.nmhdr.idFrom = kIdEditor;
    added.nmhdr.code = SCN_CHARADDED;
    SCNotification update = added;
    update.nmhdr.code = SCN_UPDATEUI;
    update.updated = SC_UPDATE_SELECTION;  // as after a keystroke
    const auto timeOne = [&](SCNotification &notification, int ch) {
        notification.ch = ch;
        const auto start = Clock::now();
        HandleEditorNotification(document, kIdEditor, reinterpret_cast<LPARAM>(&notification));
        const double ms = MsSince(start);
        Pump();
        return ms;
    };
    const auto placeCaretAfter = [&](const char *text) {
        editor.SetText(text);
        editor.Call(SCI_GOTOPOS, editor.Call(SCI_GETLENGTH));
        Pump();
    };
    const int keystrokes = 100;
    double opening = 0, following = 0, unmatched = 0, tips = 0, showAlone = 0;
    const std::string list = GetKeywordList(frame);
    for (int i = 0; i < keystrokes; ++i) {
        placeCaretAfter("        KW19");
        editor.Call(SCI_AUTOCCANCEL);
        opening += timeOne(added, '9');    // the list was closed: the control shows it
        following += timeOne(added, '9');  // the list is open for the same word
        tips += timeOne(update, 0) + timeOne(update, 0);  // shows the tip, then closes it
        placeCaretAfter("        $myvariab");
        unmatched += timeOne(added, 'b');  // no item starts with $myvariab
        editor.Call(SCI_AUTOCCANCEL);
        const auto start = Clock::now();
        editor.CallText(SCI_AUTOCSHOW, 4, list.c_str());
        showAlone += MsSince(start);
        editor.Call(SCI_AUTOCCANCEL);
        Pump();
    }
    std::printf("keystroke notification work, 1,000-item list (average of %d): list opened %.3f ms "
                "(SCI_AUTOCSHOW alone %.3f ms), list open for the word %.3f ms, no item matches %.3f ms, "
                "update with tip %.3f ms\n",
                keystrokes, opening / keystrokes, showAlone / keystrokes, following / keystrokes,
                unmatched / keystrokes, tips / (2 * keystrokes));

    DestroyWindow(frame);
    Pump();
    return 0;
}
