// Run, debug and stop of the active script, and forgetting the default debugger. The
// debugger side runs a file: a saved script is sent by its path as last saved, an
// untitled one is first written to the temporary folder.
#include <windows.h>

#include <string>
#include <vector>

#include "core/debugger_link.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "debugger/link_rules.h"
#include "platform/active_document.h"
#include "platform/frame_state.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr UINT kFileErrorStyle = MB_TASKMODAL | MB_ICONEXCLAMATION;

void ShowOpenScriptWindow() {
    platform::ShowMessage(nullptr, text::kOpenScriptWindow, text::kOpenScriptWindowTitle, MB_TASKMODAL);
}

// Writes the editor's text to `path` as raw bytes, cutting a longer old file. False
// (after telling the user) when the file cannot be written completely.
bool WriteScriptFile(const std::string &path, const Editor &editor) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        const std::string bytes = editor.Text();
        size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD written = 0;
            ok = WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) &&
                 written > 0;
            done += written;
        }
        ok = ok && SetEndOfFile(file);
        ok = CloseHandle(file) && ok;
    }
    if (!ok) platform::ShowMessage(nullptr, text::kRunFileError, text::kRunFileErrorTitle, kFileErrorStyle);
    return ok;
}

// The path as the request block can carry it: itself when it fits, else its short
// form when that fits; empty (after telling the user) when neither does. A cut path
// would name another file.
std::string SendablePath(const std::string &path) {
    if (path.size() <= kScriptPathMax) return path;
    std::vector<char> shortPath(32768, '\0');
    const DWORD n = GetShortPathNameA(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (n > 0 && n <= kScriptPathMax) return std::string(shortPath.data(), n);
    platform::ShowMessage(nullptr, text::kScriptPathTooLong, text::kScriptPathTooLongTitle, MB_TASKMODAL);
    return {};
}

// Run (124) and debug (128): the script's file, written first for an untitled script.
void SendScript(HWND frame, unsigned code) {
    HWND document = ActiveDocument();
    if (!document) {
        ShowOpenScriptWindow();
        return;
    }
    const std::string title = WindowTitle(document);
    std::string path = title;
    if (IsUntitledTitle(title)) {
        const SettingsRecord *settings = GetSettings(frame);
        path = UntitledScriptPath(settings ? FieldText(settings->tempFolder) : std::string_view(), title);
        // A failed write would let the debugger run whatever the file held before.
        if (!WriteScriptFile(path, Editor(EditorOfDocument(document)))) return;
    }
    if (!GetDebuggerWindow(frame)) return;
    const std::string sendable = SendablePath(path);
    if (sendable.empty()) return;
    const std::string block = ScriptRequestBlock(sendable);
    SendRequest(frame, code, block.data(), static_cast<DWORD>(block.size()));
}

}  // namespace

void RunScript(HWND frame) { SendScript(frame, kRequestRun); }

void DebugScript(HWND frame) { SendScript(frame, kRequestDebug); }

void StopScript(HWND frame) {
    if (!ActiveDocument())
        ShowOpenScriptWindow();
    else
        SendEmptyRequest(frame, kRequestStop);
}

void ForgetDebugger(HWND frame) {
    SettingsRecord *settings = GetSettings(frame);
    if (!settings || TrimBlanks(FieldText(settings->debuggerPath)).empty()) return;
    WriteSettingText(setting::kDebuggerPath, "");
    PublishSettings(frame, settings);
    SendEmptyRequest(frame, kRequestForgetDebugger);
}

}  // namespace quillet
