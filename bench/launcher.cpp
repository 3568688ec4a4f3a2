// The timing launcher of the editor benchmarks, run inside Wine so that no Linux-side
// process start or pipe enters the figures. Each round it starts every program of the
// suite in turn and measures, with QueryPerformanceCounter taken before CreateProcess:
//  - start-up: until the program's main window is visible and has answered a message
//    round trip (so it is back in its message loop after showing and painting);
//  - opening a file: until the file's bytes are all in the editor control and fully
//    styled (SCI_COLOURISE(0, -1), then SCI_GETENDSTYLED equals SCI_GETLENGTH).
//    SciTE gets the file on its command line; Quillet takes no command line, so once
//    its frame is painted the file is dropped on it: a DROPFILES block written into
//    its memory and WM_DROPFILES sent to the frame, as the shell does.
//  - Quillet's script checks: after the open, until the first check of the script has
//    finished (the status bar shows the problem count). The same open is measured once
//    more with the checks turned off in the settings file beside the program.
// After each measurement (and half a second more) it reads the process's peak working set
// and ends the process.
//
// Usage: launcher OUT ROUNDS FILE SMALL_FILE FLOOR_EXE PARTS_FLOOR_EXE SCITE_EXE QUILLET_EXE [CASES]
// FLOOR_EXE only opens a window; PARTS_FLOOR_EXE shows the parts of Quillet's first paint.
// CASES, comma-separated, picks and orders the measurements of a round (default: all).
// Appends to OUT one line per measurement: case, round, milliseconds, milliseconds of
// the part after the drop (Quillet's open only, else 0), peak working set in bytes,
// milliseconds from the drop until the check's count shows (Quillet's checked open
// only, else 0).
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "core/texts.h"

namespace {

constexpr DWORD kMessageTimeoutMs = 120000;
constexpr double kWaitLimitMs = 120000;
constexpr int kQuilletEditorId = 1029;
constexpr DWORD kSettleMs = 500;
constexpr char kFloorClass[] = "QuilletBenchFloor";
constexpr char kPartsFloorClass[] = "QuilletBenchFloorParts";
constexpr char kSciteClass[] = "SciTEWindow";
constexpr char kQuilletClass[] = "QuillFrame";
constexpr char kStatusBarClass[] = "msctls_statusbar32";

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A message to another process's window that gives up after the timeout.
bool SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kMessageTimeoutMs,
                               result ? result : &ignored) != 0;
}

sptr_t Ask(HWND editor, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    return SendTo(editor, message, wParam, lParam, &result) ? static_cast<sptr_t>(result) : -1;
}

// Polls `done` (with a millisecond's sleep between tries) until it holds; false after
// the wait limit.
template <class Condition>
bool WaitUntil(Condition done) {
    const double start = Now();
    while (!done()) {
        if (Now() - start > kWaitLimitMs) return false;
        Sleep(1);
    }
    return true;
}

struct WindowSearch {
    DWORD process;
    const char *className;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<WindowSearch *>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)) return TRUE;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible top-level window of that class belonging to the process, or null.
HWND VisibleWindowOf(DWORD process, const char *className) {
    WindowSearch search{process, className, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct EditorSearch {
    sptr_t length;
    HWND found;
};

BOOL CALLBACK MatchEditor(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<EditorSearch *>(data);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Scintilla") != 0) return TRUE;
    if (Ask(window, SCI_GETLENGTH) != search->length) return TRUE;
    search->found = window;
    return FALSE;
}

// SciTE's editing control once it holds `length` bytes (its output pane is also a
// Scintilla control, so the length tells them apart).
HWND SciteEditorHolding(HWND main, sptr_t length) {
    EditorSearch search{length, nullptr};
    EnumChildWindows(main, MatchEditor, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Quillet's editing control of the active document, once it holds `length` bytes.
HWND QuilletEditorHolding(HWND frame, sptr_t length) {
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    if (!client) return nullptr;
    DWORD_PTR active = 0;
    if (!SendTo(client, WM_MDIGETACTIVE, 0, 0, &active) || !active) return nullptr;
    HWND editor = GetDlgItem(reinterpret_cast<HWND>(active), kQuilletEditorId);
    return editor && Ask(editor, SCI_GETLENGTH) == length ? editor : nullptr;
}

// Styles the whole text and tells whether the styled end reached the text's end.
bool StyleFully(HWND editor) {
    Ask(editor, SCI_COLOURISE, 0, -1);
    const sptr_t length = Ask(editor, SCI_GETLENGTH);
    return length >= 0 && Ask(editor, SCI_GETENDSTYLED) == length;
}

// Hands `path` to the frame as the shell hands a dropped file: a DROPFILES block
// followed by the name, in the receiver's memory.
bool DropFile(HANDLE process, HWND frame, const std::string &path) {
    std::vector<char> block(sizeof(DROPFILES) + path.size() + 2, '\0');
    auto *header = reinterpret_cast<DROPFILES *>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    path.copy(block.data() + sizeof(DROPFILES), path.size());
    void *remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    if (!WriteProcessMemory(process, remote, block.data(), block.size(), &written) || written != block.size())
        return false;
    return SendTo(frame, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0, nullptr);
}

struct Started {
    PROCESS_INFORMATION info{};
    double start = 0;
};

bool Start(const std::string &commandLine, Started &started) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    started.start = Now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started.info)) {
        std::fprintf(stderr, "launcher: cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
        return false;
    }
    return true;
}

SIZE_T PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

// The peak working set once the program has had a moment to finish what it does after
// the measured point (loading resources, idle work), so that the figures with and
// without a file are read in the same state.
SIZE_T SettledPeakWorkingSet(HANDLE process) {
    Sleep(kSettleMs);
    return PeakWorkingSet(process);
}

void Finish(Started &started) {
    TerminateProcess(started.info.hProcess, 0);
    WaitForSingleObject(started.info.hProcess, 10000);
    CloseHandle(started.info.hThread);
    CloseHandle(started.info.hProcess);
    Sleep(300);  // let Wine's helpers settle before the next start
}

// The visible, message-answering main window of a started program, or null.
HWND WaitForMainWindow(const Started &started, const char *className) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = VisibleWindowOf(started.info.dwProcessId, className)) != nullptr; });
    return window && SendTo(window, WM_NULL, 0, 0, nullptr) ? window : nullptr;
}

struct Figures {
    double ms = -1;
    double afterDropMs = 0;
    SIZE_T peak = 0;
    double checkedMs = 0;
};

Figures TimeStartUp(const std::string &commandLine, const char *className) {
    Figures figures;
    Started started;
    if (!Start(commandLine, started)) return figures;
    if (WaitForMainWindow(started, className)) {
        figures.ms = Now() - started.start;
        figures.peak = SettledPeakWorkingSet(started.info.hProcess);
    }
    Finish(started);
    return figures;
}

Figures TimeSciteOpen(const std::string &commandLine, sptr_t fileSize) {
    Figures figures;
    Started started;
    if (!Start(commandLine, started)) return figures;
    HWND main = WaitForMainWindow(started, kSciteClass);
    HWND editor = nullptr;
    if (main && WaitUntil([&] { return (editor = SciteEditorHolding(main, fileSize)) != nullptr; }) &&
        StyleFully(editor)) {
        figures.ms = Now() - started.start;
        figures.peak = SettledPeakWorkingSet(started.info.hProcess);
        // The lexer SciTE chose, for the log (34 is Lexilla's assembler lexer).
        std::fprintf(stderr, "launcher: SciTE styled the file with lexer %ld\n",
                     static_cast<long>(Ask(editor, SCI_GETLEXER)));
    }
    Finish(started);
    return figures;
}

// Whether the status bar's first part tells the count of a finished script check. The
// status bar answers WM_GETTEXT with that part, which Wine copies across processes.
bool ShowsProblemCount(HWND statusBar) {
    char status[128] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(statusBar, WM_GETTEXT, sizeof status, reinterpret_cast<LPARAM>(status), SMTO_NORMAL,
                             kMessageTimeoutMs, &length))
        return false;
    const std::string text(status, std::min<std::size_t>(length, sizeof status - 1));
    const std::string counted = quillet::text::kStatusProblems;
    return text == quillet::text::kStatusNoProblems ||
           (text.size() > counted.size() && text.compare(text.size() - counted.size(), counted.size(), counted) == 0);
}

// With `waitForCheck`, the peak is read once the script's first check has finished.
Figures TimeQuilletOpen(const std::string &commandLine, const std::string &path, sptr_t fileSize,
                        bool waitForCheck) {
    Figures figures;
    Started started;
    if (!Start(commandLine, started)) return figures;
    HWND frame = WaitForMainWindow(started, kQuilletClass);
    HWND statusBar = frame ? FindWindowExA(frame, nullptr, kStatusBarClass, nullptr) : nullptr;
    const double dropped = Now();
    HWND editor = nullptr;
    if (frame && DropFile(started.info.hProcess, frame, path) &&
        WaitUntil([&] { return (editor = QuilletEditorHolding(frame, fileSize)) != nullptr; }) &&
        StyleFully(editor)) {
        const double done = Now();
        if (!waitForCheck || (statusBar && WaitUntil([&] { return ShowsProblemCount(statusBar); }))) {
            figures.ms = done - started.start;
            figures.afterDropMs = done - dropped;
            if (waitForCheck) figures.checkedMs = Now() - dropped;
            figures.peak = SettledPeakWorkingSet(started.info.hProcess);
        }
    }
    Finish(started);
    return figures;
}

// Turns Quillet's script checks on or off in the settings file beside the program.
void SetQuilletChecks(const std::string &quilletExe, bool on) {
    std::string ini = quilletExe.substr(0, quilletExe.find_last_of("\\/") + 1) + quillet::text::kSettingsFile;
    WritePrivateProfileStringA(quillet::text::kSecScriptChecks, quillet::text::kKeyOff, on ? "0" : "1", ini.c_str());
}

std::string Quoted(const std::string &text) { return "\"" + text + "\""; }

// Every measurement of a round, in the order they run. The small script tells the
// cost of a document itself from the cost of the large script's text.
constexpr char kAllCases[] =
    "floor-start,parts-start,scite-start,quillet-start,scite-open,quillet-open,quillet-open-unchecked,scite-open-small,"
    "quillet-open-small";

struct Script {
    std::string path;
    sptr_t size = -1;
};

// The full path and size of a script file; size -1 when it cannot be read.
Script ScriptAt(const char *path) {
    Script script;
    char fullPath[MAX_PATH] = "";
    GetFullPathNameA(path, MAX_PATH, fullPath, nullptr);
    script.path = fullPath;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExA(fullPath, GetFileExInfoStandard, &attributes))
        script.size = static_cast<sptr_t>(attributes.nFileSizeLow);
    else
        std::fprintf(stderr, "launcher: cannot read %s\n", fullPath);
    return script;
}

std::vector<std::string> CaseList(const std::string &text) {
    std::vector<std::string> cases;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start) cases.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return cases;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 9 && argc != 10) {
        std::fprintf(stderr,
                     "usage: launcher OUT ROUNDS FILE SMALL_FILE FLOOR_EXE PARTS_FLOOR_EXE SCITE_EXE QUILLET_EXE "
                     "[CASES]\n");
        return 2;
    }
    const std::string out = argv[1];
    const int rounds = std::atoi(argv[2]);
    const Script large = ScriptAt(argv[3]), small = ScriptAt(argv[4]);
    if (large.size < 0 || small.size < 0) return 1;
    const std::string floor = Quoted(argv[5]), partsFloor = Quoted(argv[6]);
    const std::string scite = Quoted(argv[7]), quillet = Quoted(argv[8]);
    const std::string quilletExe = argv[8];
    const std::vector<std::string> cases = CaseList(argc > 9 ? argv[9] : kAllCases);

    // A hidden window of our own keeps Wine's desktop process alive between the runs,
    // so that no run pays for starting it again.
    CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);

    // SciTE lexes the file with its assembler lexer, whichever extension the file has.
    const auto sciteWith = [&](const Script &script) {
        return scite + " \"-file.patterns.asm=*.asm;*.osc;*.txt\" " + Quoted(script.path);
    };

    FILE *results = std::fopen(out.c_str(), "a");
    if (!results) {
        std::fprintf(stderr, "launcher: cannot write %s\n", out.c_str());
        return 1;
    }
    int failures = 0;
    auto record = [&](const std::string &name, int round, const Figures &figures) {
        if (figures.ms < 0) {
            std::fprintf(stderr, "launcher: %s failed in round %d\n", name.c_str(), round);
            ++failures;
            return;
        }
        std::fprintf(results, "%s\t%d\t%.2f\t%.2f\t%lu\t%.2f\n", name.c_str(), round, figures.ms,
                     figures.afterDropMs, static_cast<unsigned long>(figures.peak), figures.checkedMs);
        std::fflush(results);
    };
    // Round 0 warms the file cache and the programs' first-start work; it is not counted.
    SetQuilletChecks(quilletExe, true);
    for (int round = 0; round <= rounds; ++round) {
        for (const std::string &name : cases) {
            if (name == "floor-start") record(name, round, TimeStartUp(floor, kFloorClass));
            else if (name == "parts-start") record(name, round, TimeStartUp(partsFloor, kPartsFloorClass));
            else if (name == "scite-start") record(name, round, TimeStartUp(scite, kSciteClass));
            else if (name == "quillet-start") record(name, round, TimeStartUp(quillet, kQuilletClass));
            else if (name == "scite-open") record(name, round, TimeSciteOpen(sciteWith(large), large.size));
            else if (name == "quillet-open")
                record(name, round, TimeQuilletOpen(quillet, large.path, large.size, true));
            else if (name == "quillet-open-unchecked") {
                SetQuilletChecks(quilletExe, false);
                record(name, round, TimeQuilletOpen(quillet, large.path, large.size, false));
                SetQuilletChecks(quilletExe, true);
            }
            else if (name == "scite-open-small") record(name, round, TimeSciteOpen(sciteWith(small), small.size));
            else if (name == "quillet-open-small")
                record(name, round, TimeQuilletOpen(quillet, small.path, small.size, true));
        }
    }
    std::fclose(results);
    return failures == 0 ? 0 : 1;
}
