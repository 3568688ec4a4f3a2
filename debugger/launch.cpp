// Starting OllyDbg: alone, with its last target, or with a program dropped on the frame;
// and asking the connected one to close. Each start runs on a launcher thread of its
// own that waits for the debugger to end, so the window thread never waits for it.
#include <windows.h>

#include <string>

#include "core/debugger_link.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "debugger/link_rules.h"
#include "platform/frame_state.h"
#include "platform/profile.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr SIZE_T kWorkerStack = 1 << 20;

// Runs one command line and waits for its process to end. A command line that cannot
// be started ends the thread quietly.
void RunCommandLine(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

DWORD WINAPI LauncherThread(LPVOID parameter) {
    std::string *commandLine = static_cast<std::string *>(parameter);
    RunCommandLine(*commandLine);
    delete commandLine;
    return 0;
}

// Starts a detached worker that owns its parameter.
void StartWorker(LPTHREAD_START_ROUTINE routine, std::string *parameter) {
    HANDLE thread = CreateThread(nullptr, kWorkerStack, routine, parameter, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        delete parameter;
}

// The stored debugger path when a launch may go ahead: a path is set and no debugger
// is connected. Otherwise the user is told how to set one, and the result is empty.
std::string LaunchablePath(HWND frame) {
    const SettingsRecord *settings = GetSettings(frame);
    const std::string path(settings ? TrimBlanks(std::string_view(settings->debuggerPath)) : std::string_view());
    if (!path.empty() && !GetDebuggerWindow(frame)) return path;
    platform::ShowMessage(nullptr, text::kDebuggerNotSet, text::kDebuggerNotSetTitle, MB_OK);
    return {};
}

}  // namespace

void LaunchDebugger(HWND frame) {
    const std::string path = LaunchablePath(frame);
    if (!path.empty()) StartWorker(LauncherThread, new std::string(DebuggerCommandLine(path)));
}

// The debugger's last target comes from its own settings file, read here on the window
// thread (the profile functions keep state of their own); the worker only starts it.
void LaunchDebuggerWithLastTarget(HWND frame) {
    const std::string path = LaunchablePath(frame);
    if (path.empty()) return;
    const std::string target(TrimBlanks(
        platform::ReadProfileText(kDebuggerHistorySection, kDebuggerLastTargetKey, "", DebuggerIniName(path))));
    if (target.empty())
        platform::ShowMessage(nullptr, text::kNoLastTarget, text::kNoLastTargetTitle, MB_OK);
    else
        StartWorker(LauncherThread, new std::string(DebuggerCommandLine(path, target)));
}

void CloseDebugger(HWND frame) { SendEmptyRequest(frame, kRequestCloseDebugger); }

void LaunchDebuggerWithProgram(const std::string &program) {
    const std::string path(TrimBlanks(ReadSettingText(setting::kDebuggerPath)));
    if (path.empty()) {
        platform::ShowMessage(nullptr, text::kOllyPathNotFound, text::kOllyPathNotFoundTitle, MB_OK);
        return;
    }
    StartWorker(LauncherThread, new std::string(DebuggerCommandLine(path, program)));
}

}  // namespace quillet
