// The program under test as a process: start it in its folder, wait for its end and
// exit code, and stop it without leaving modal windows behind.
#include "driver/driver.h"

#include <set>

namespace qdriver {
namespace {

// Answers a dialog of the program so that closing can go on: "No" to a save
// question, Cancel to a file dialog, OK to a message.
void Dismiss(HWND dialog) {
    for (int id : {IDNO, IDCANCEL, IDOK}) {
        if (GetDlgItem(dialog, id)) {
            PressButton(dialog, id);
            return;
        }
    }
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

Program::~Program() {
    if (process_) {
        if (Running()) Stop();
        CloseHandle(process_);
    }
}

bool Program::Start(const std::string &exe, const std::string &folder) {
    if (process_) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    return true;
}

bool Program::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::WaitExit(DWORD ms, DWORD *exitCode) {
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    if (exitCode) *exitCode = code;
    return true;
}

bool Program::Stop(DWORD ms) {
    if (!Running()) return true;
    for (HWND frame : TopWindows(pid_, "QuillFrame")) PostMessageA(frame, WM_CLOSE, 0, 0);
    std::set<HWND> answered;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (WaitForSingleObject(process_, 50) == WAIT_OBJECT_0) return true;
        for (HWND dialog : TopWindows(pid_, "#32770")) {
            if (IsWindowVisible(dialog) && answered.insert(dialog).second) Dismiss(dialog);
        }
    }
    Kill();
    return false;
}

void Program::Kill() {
    if (Running()) {
        TerminateProcess(process_, 255);
        WaitForSingleObject(process_, 5000);
    }
}

}  // namespace qdriver
