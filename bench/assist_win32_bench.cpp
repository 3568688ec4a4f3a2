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

std::string ScriptOfLines(const std::string &corpus, int lines) {
    std::string all;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((corpus + "\\*.txt").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do all += ReadFile(corpus + "\\" + found.cFileName) + "\r\n";
        while (FindNextFileA(search, &found));
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

// Sends WM_NULL to the frame every 5 ms from its own thread and keeps the longest wait.
struct Prober {
    HWND frame;
    std::atomic<bool> stop{false};
    std::atomic<long> worstMicros{0};
    static DWORD WINAPI Run(LPVOID self) {
        auto *p = static_cast<Prober *>(self);
        while (!p->stop) {
            const auto start = Clock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutA(p->frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            const long micros = static_cast<long>(
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
            if (micros > p->worstMicros) p->worstMicros = micros;
            Sleep(5);
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
    prober.worstMicros = 0;  // the wait while the worker walks
    while (IsWindowVisible(handles->progressBar)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    const double scanMs = MsSince(scanStart);
    prober.stop = true;
    WaitForSingleObject(probe, INFINITE);
    CloseHandle(probe);
    std::printf("scan of %d lines: %.1f ms to the result, of which %.1f ms on the window thread "
                "(styling and copying); longest wait of the frame's messages while the worker ran: %.2f ms\n",
                static_cast<int>(editor.Call(SCI_GETLINECOUNT)), scanMs, windowThreadMs,
                prober.worstMicros / 1000.0);

    // 2. Filling the labels pane from 20,000 labels.
    std::string labels;
    for (int i = 0; i < 20000; ++i) labels += "label_" + std::to_string(i) + ":\r\n        mov eax, 1\r\n";
    editor.SetText(labels);
    double fillMs = 1e9;
    int count = 0;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        FillLabelsList();
        fillMs = std::min(fillMs, MsSince(start));
        count = static_cast<int>(SendMessageA(handles->labelsList, LB_GETCOUNT, 0, 0));
    }
    std::printf("labels pane: %d items filled in %.1f ms\n", count, fillMs);

    // 3. One keystroke: SCN_CHARADDED (completion list) and SCN_UPDATEUI (call tip).
    editor.SetText("        KW19");
    editor.Call(SCI_GOTOPOS, editor.Call(SCI_GETLENGTH));
    Pump();
    SCNotification added{};
    added.nmhdr.hwndFrom = editor.Window();
    added.nmhdr.idFrom = kIdEditor;
    added.nmhdr.code = SCN_CHARADDED;
    added.ch = '9';
    SCNotification update = added;
    update.nmhdr.code = SCN_UPDATEUI;
    HWND document = ActiveDocument();
    const int keystrokes = 200;
    double total = 0, worst = 0;
    for (int i = 0; i < keystrokes; ++i) {
        const auto start = Clock::now();
        HandleEditorNotification(document, kIdEditor, reinterpret_cast<LPARAM>(&added));
        HandleEditorNotification(document, kIdEditor, reinterpret_cast<LPARAM>(&update));
        const double ms = MsSince(start);
        total += ms;
        worst = std::max(worst, ms);
        Pump();
    }
    std::printf("keystroke notification work (list shown, tip shown or closed), 1,000-item list: "
                "%.3f ms average, %.3f ms worst; list open at the end: %s\n",
                total / keystrokes, worst, editor.Call(SCI_AUTOCACTIVE) ? "yes" : "no");

    DestroyWindow(frame);
    Pump();
    return 0;
}
