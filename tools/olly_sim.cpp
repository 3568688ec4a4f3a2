// qolly.exe: a stand-in for OllyDbg and the component on its side that talks to
// Quillet, for tests and for trying the integration without the debugger.
//
//   qolly.exe [--log FILE] [--path TEXT | --empty-path] [--answer CODE] [TARGET]
//       Writes TARGET (when given) to "History" / "Executable[0]" of its own settings
//       file (its folder, its base name, ".INI") as OllyDbg does, finds Quillet's frame
//       (class QuillFrame) and announces itself with code 126 and its own path (or TEXT,
//       or an empty path). Then it logs every request it receives; request 130 is
//       answered with code 128 and the simulator ends; so does request 125 (Quillet is
//       closing). With --answer, each run and debug request (124, 128) is answered
//       inside the request, before the simulator returns from it: it sends CODE to
//       Quillet (as --send does, e.g. 129: no target loaded) and logs Quillet's reply.
//   qolly.exe --send CODE [--log FILE]
//       Sends one message to Quillet's frame (129: no target; 127: a position report;
//       128: closing; 126: announces this path) with a running simulator's window as
//       sender, and ends.
//
// The log (default: beside the program, its base name + ".log") gets one line per event:
//   start target="TARGET"
//   announce path="PATH" frame=found|missing answer=1    (once Quillet has handled it)
//   request code=124 length=257 data="PATH" tail=zero
//   send code=129 frame=found|missing
//   answer code=129 reply=1       (reply=0: Quillet did not take it within 10 seconds)
//   exit
// "data" is the block up to its first zero; "tail" tells whether every byte after it is
// zero ("zero") or not ("dirty"); requests without data show length=0 data="".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/debugger_link.h"
#include "core/texts.h"

namespace {

constexpr char kSimulatorClass[] = "QollySimulator";
constexpr UINT kMsgCloseDown = WM_APP + 1;
constexpr DWORD kFrameWaitMs = 15000;

constexpr UINT kAnswerWaitMs = 10000;

std::string g_log;
HWND g_window = nullptr;
HWND g_list = nullptr;
unsigned g_answerCode = 0;  // sent back inside each run and debug request (0: none)

std::string OwnPath() {
    char path[MAX_PATH + 1] = "";
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

// The settings file of a debugger at `path`: folder, base name, ".INI".
std::string IniOf(const std::string &path) {
    const size_t slash = path.find_last_of("\\/");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of('.');
    const size_t baseEnd = dot == std::string::npos || dot < nameStart ? path.size() : dot;
    return path.substr(0, baseEnd) + quillet::kDebuggerIniExtension;
}

std::string DefaultLog() {
    const std::string ini = IniOf(OwnPath());
    return ini.substr(0, ini.size() - 4) + ".log";
}

// Appends one line to the log file (opened per line, so readers see it at once) and
// shows it in the window.
void Log(const std::string &line) {
    HANDLE file = CreateFileA(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const std::string text = line + "\r\n";
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    if (g_list) SendMessageA(g_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

HWND FindQuillet(DWORD waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND frame = FindWindowA(quillet::text::kFrameClass, nullptr)) return frame;
        if (GetTickCount() - start >= waitMs) return nullptr;
        Sleep(50);
    }
}

LRESULT Send(HWND frame, unsigned code, const void *data, DWORD size) {
    COPYDATASTRUCT message{};
    message.dwData = code;
    message.cbData = size;
    message.lpData = const_cast<void *>(data);
    return SendMessageA(frame, WM_COPYDATA, reinterpret_cast<WPARAM>(g_window), reinterpret_cast<LPARAM>(&message));
}

// Sends the --answer code to Quillet while its request is still being handled, as a
// debugger does that asks for a target before it can run the script.
void AnswerInsideRequest(HWND frame) {
    COPYDATASTRUCT message{};
    message.dwData = g_answerCode;
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutA(frame, WM_COPYDATA, reinterpret_cast<WPARAM>(g_window), reinterpret_cast<LPARAM>(&message),
                             SMTO_NORMAL, kAnswerWaitMs, &reply))
        reply = 0;
    char line[64];
    std::snprintf(line, sizeof line, "answer code=%u reply=%lu", g_answerCode, static_cast<unsigned long>(reply));
    Log(line);
}

void LogRequest(const COPYDATASTRUCT *request) {
    const char *bytes = static_cast<const char *>(request->lpData);
    const DWORD size = bytes ? request->cbData : 0;
    DWORD end = 0;
    while (end < size && bytes[end] != '\0') ++end;
    bool zeroTail = true;
    for (DWORD i = end; i < size; ++i) zeroTail = zeroTail && bytes[i] == '\0';
    char head[64];
    std::snprintf(head, sizeof head, "request code=%lu length=%lu data=\"", static_cast<unsigned long>(request->dwData),
                  static_cast<unsigned long>(request->cbData));
    Log(head + std::string(bytes ? bytes : "", end) + "\" tail=" + (zeroTail ? "zero" : "dirty"));
}

LRESULT CALLBACK SimulatorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        g_list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 520,
                                 260, window, nullptr, GetModuleHandleA(nullptr), nullptr);
        return 0;
    case WM_COPYDATA: {
        const auto *request = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
        LogRequest(request);
        if (g_answerCode && (request->dwData == quillet::kRequestRun || request->dwData == quillet::kRequestDebug))
            AnswerInsideRequest(reinterpret_cast<HWND>(wParam));
        // Answered once the sender's call has returned, as a debugger closing would.
        if (request->dwData == quillet::kRequestCloseDebugger || request->dwData == quillet::kRequestEditorClosing)
            PostMessageA(window, kMsgCloseDown, request->dwData, 0);
        return 1;
    }
    case kMsgCloseDown:
        if (wParam == quillet::kRequestCloseDebugger)
            if (HWND frame = FindQuillet(0)) Send(frame, quillet::kDebuggerClosing, nullptr, 0);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        Log("exit");
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void SendOnCommand(unsigned code) {
    HWND running = FindWindowA(kSimulatorClass, nullptr);
    HWND frame = FindQuillet(kFrameWaitMs);
    char line[64];
    std::snprintf(line, sizeof line, "send code=%u frame=%s", code, frame ? "found" : "missing");
    Log(line);
    if (!frame) return;
    // Sent from a window of ours when no simulator runs.
    g_window = running ? running
                       : CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (code == quillet::kDebuggerPosition) {
        const auto target = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(frame));
        const quillet::PositionReport report{target, 10, 20};
        Send(frame, code, &report, sizeof report);
    } else if (code == quillet::kDebuggerStarted) {
        const std::string path = OwnPath();
        Send(frame, code, path.c_str(), static_cast<DWORD>(path.size() + 1));
    } else {
        Send(frame, code, nullptr, 0);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    g_log = DefaultLog();
    std::string announced = OwnPath();
    std::string target;
    int sendCode = 0;
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        const bool hasValue = i + 1 < __argc;
        if (arg == "--log" && hasValue) g_log = __argv[++i];
        else if (arg == "--path" && hasValue) announced = __argv[++i];
        else if (arg == "--empty-path") announced.clear();
        else if (arg == "--send" && hasValue) sendCode = std::atoi(__argv[++i]);
        else if (arg == "--answer" && hasValue) g_answerCode = static_cast<unsigned>(std::atoi(__argv[++i]));
        else target = arg;
    }
    if (sendCode) {
        SendOnCommand(static_cast<unsigned>(sendCode));
        return 0;
    }

    Log("start target=\"" + target + "\"");
    if (!target.empty())
        WritePrivateProfileStringA(quillet::kDebuggerHistorySection, quillet::kDebuggerLastTargetKey, target.c_str(),
                                   IniOf(OwnPath()).c_str());

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SimulatorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kSimulatorClass;
    RegisterClassA(&windowClass);
    g_window = CreateWindowExA(0, kSimulatorClass, "OllyDbg simulator", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 540, 300, nullptr, nullptr, instance, nullptr);
    if (!g_window) return 1;
    ShowWindow(g_window, show);

    // Logged once Quillet has handled it (requests it sends meanwhile come first).
    HWND frame = FindQuillet(kFrameWaitMs);
    LRESULT answer = 0;
    if (frame)
        answer = Send(frame, quillet::kDebuggerStarted, announced.c_str(), static_cast<DWORD>(announced.size() + 1));
    Log("announce path=\"" + announced + "\" frame=" + (frame ? "found" : "missing") + " answer=" +
        std::to_string(answer));

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
