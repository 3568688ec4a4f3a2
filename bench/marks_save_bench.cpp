// What keeping bookmarks and script breakpoints in step with the text adds to a save,
// on the real frame, documents and Scintilla controls under Wine: a script of 5,000
// lines with 500 breakpoints and 500 bookmarks is saved after a line was inserted or
// removed at its top (so both stored lists are rewritten), beside the same script
// without marks saved after the same edit. Prints the median saves, and the median of
// the marks' own work (the lists read afresh, compared and rewritten) after such an
// edit and when nothing moved; the goal is under 20 ms.
//
// Usage (under Wine): marks_save_bench [rounds]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/shell.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "debugger/breakpoint_rules.h"
#include "debugger/debugger.h"
#include "editing/bookmarks.h"
#include "documents/documents.h"
#include "platform/active_document.h"
#include "platform/paths.h"

using namespace quillet;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLines = 5000;
constexpr int kMarks = 500;
constexpr char kEdit[] = "// edited\r\n";

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string LineText(int line) { return "    mov eax, dword ptr [esi+" + std::to_string(line) + "]"; }

void WriteScript(const std::string &path) {
    std::ofstream out(path, std::ios::binary);
    for (int line = 0; line < kLines; ++line) out << LineText(line) << "\r\n";
}

// The breakpoint list and the bookmark slot of `script`: every tenth line from line 5 on.
void WriteMarks(const std::string &folder, const std::string &script) {
    ProfileSection section{{text::kKeyBreakpointFile, script}};
    std::string bookmarks;
    for (int n = 0; n < kMarks; ++n) {
        const int line = 5 + n * 10;
        section.push_back({BreakpointKey(n + 1), BreakpointEntry(line + 1, LineText(line))});
        bookmarks += std::to_string(line + 2) + ",";
    }
    section.push_back({BreakpointKey(kMarks + 1), " "});
    WriteBreakpointSection(folder + "OLLYDBG.INI", section);
    const std::string settings = folder + "razuvi.ini";
    WritePrivateProfileStringA(text::kSecOllyPath, text::kKeyOllyPath, (folder + "OLLYDBG.EXE").c_str(),
                               settings.c_str());
    WritePrivateProfileStringA(text::kSecBookmarks, "BMfile1", script.c_str(), settings.c_str());
    WritePrivateProfileStringA(text::kSecBookmarks, "BM1", bookmarks.c_str(), settings.c_str());
}

HWND OpenDocument(const std::string &path) {
    OpenScriptPath(path.c_str());
    Pump();
    return ActiveDocument();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Inserts a line at the top of the document's text, or takes it away again, so every
// mark moves by one line.
void EditTop(HWND document, int round) {
    const Editor editor(EditorOfDocument(document));
    if (round % 2 == 0)
        editor.CallText(SCI_INSERTTEXT, 0, kEdit);
    else
        editor.Call(SCI_DELETERANGE, 0, sizeof kEdit - 1);
}

void Activate(HWND document) {
    SendMessageA(CurrentMdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
    Pump();
}

template <typename Work>
double Time(Work work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char **argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "quillet-marks-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string marked = folder + "marked.txt", plain = folder + "plain.txt";
    DeleteFileA((folder + "razuvi.ini").c_str());
    WriteScript(marked);
    WriteScript(plain);
    WriteMarks(folder, marked);
    platform::SetExeFolderForTests(folder);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterShellClasses(instance);
    HWND frame = CreateFrameWindow(instance);
    if (!frame) {
        std::printf("no frame\n");
        return 1;
    }
    ShowWindow(frame, SW_SHOWNORMAL);
    HWND markedDocument = OpenDocument(marked);
    HWND plainDocument = OpenDocument(plain);
    const Editor editor(EditorOfDocument(markedDocument));
    int breakpoints = 0, bookmarks = 0;
    for (int line = 0; line < kLines; ++line) {
        const sptr_t markers = editor.Call(SCI_MARKERGET, static_cast<uptr_t>(line));
        breakpoints += (markers & 2) ? 1 : 0;
        bookmarks += (markers & 1) ? 1 : 0;
    }
    if (breakpoints != kMarks || bookmarks != kMarks) {
        std::printf("restored %d breakpoints and %d bookmarks, expected %d each\n", breakpoints, bookmarks, kMarks);
        return 1;
    }

    // Rounds interleave the two documents, so both meet the same load of the machine.
    // The whole save includes writing and flushing the script file, whose time varies
    // far more than the work of the marks; that work is also timed on its own, as the
    // save calls it after the file is written.
    std::vector<double> plainSaves, markedSaves, marksWork, unchangedWork;
    for (int round = 0; round < rounds; ++round) {
        Activate(plainDocument);
        EditTop(plainDocument, round);
        plainSaves.push_back(Time([] { SaveScript(0); }));
        Activate(markedDocument);
        EditTop(markedDocument, round);
        markedSaves.push_back(Time([] { SaveScript(0); }));
        EditTop(markedDocument, round + 1);
        marksWork.push_back(Time([&] {
            StoreBookmarksOnSave(markedDocument, marked);
            StoreBreakpointsOnSave(markedDocument, marked);
        }));
        unchangedWork.push_back(Time([&] {
            StoreBookmarksOnSave(markedDocument, marked);
            StoreBreakpointsOnSave(markedDocument, marked);
        }));
        EditTop(markedDocument, round);  // back as saved
        SaveScript(0);
    }
    std::printf("save of %d lines, median of %d: without marks %.2f ms, with %d breakpoints and %d bookmarks that "
                "moved %.2f ms; the marks' own work %.2f ms (goal under 20 ms), %.2f ms when nothing moved\n",
                kLines, rounds, Median(plainSaves), kMarks, kMarks, Median(markedSaves), Median(marksWork),
                Median(unchangedWork));
    DestroyWindow(frame);
    return 0;
}
