// Run, debug and stop of the active script, and forgetting the default debugger. The
// debugger side runs a file: a script with a file is saved first (with the open scripts
// it includes), so the debugger runs what the user sees; an untitled one is written to
// the temporary folder.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "assist/script_check_rules.h"
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

// Saves `document` when its text differs from its file, then every open script it
// includes that differs, and theirs in turn (the debugger reads them all). False as
// soon as one save fails; the saver has told the user.
bool SaveWithIncludes(HWND document, DocumentSaver save) {
    HWND client = GetParent(document);
    std::vector<HWND> pending{document};
    std::set<HWND> seen{document};
    while (!pending.empty()) {
        HWND next = pending.back();
        pending.pop_back();
        const Editor editor(EditorOfDocument(next));
        if (!save(next)) return false;
        for (const std::string &file : IncludedFiles(editor.Text(), DocumentPath(next)))
            if (HWND included = FindDocumentByPath(client, file); included && seen.insert(included).second)
                pending.push_back(included);
    }
    return true;
}

// Run (124) and debug (128): the script's file, saved first, or written first for an
// untitled script.
void SendScript(HWND frame, unsigned code, DocumentSaver save) {
    HWND document = ActiveDocumentOf(GetMdiClient(frame));
    if (!document) {
        ShowOpenScriptWindow();
        return;
    }
    std::string path = DocumentPath(document);
    if (path.empty()) {
        const SettingsRecord *settings = GetSettings(frame);
        path = UntitledScriptPath(settings ? std::string_view(settings->tempFolder) : std::string_view());
        // A failed write would let the debugger run whatever the file held before.
        if (!WriteScriptFile(path, Editor(EditorOfDocument(document)))) return;
    } else if (!SaveWithIncludes(document, save)) {
        return;
    }
    if (!GetDebuggerWindow(frame)) return;
    const std::string sendable = SendablePath(path);
    if (sendable.empty()) return;
    const std::string block = ScriptRequestBlock(sendable);
    SendRequest(frame, code, block.data(), static_cast<DWORD>(block.size()));
}

}  // namespace

void RunScript(HWND frame, DocumentSaver save) { SendScript(frame, kRequestRun, save); }

void DebugScript(HWND frame, DocumentSaver save) { SendScript(frame, kRequestDebug, save); }

void StopScript(HWND frame) {
    if (!ActiveDocumentOf(GetMdiClient(frame)))
        ShowOpenScriptWindow();
    else
        SendEmptyRequest(frame, kRequestStop);
}

void ForgetDebugger(HWND frame) {
    SettingsRecord *settings = GetSettings(frame);
    if (!settings || TrimBlanks(std::string_view(settings->debuggerPath)).empty()) return;
    WriteSettingText(setting::kDebuggerPath, "");
    SendEmptyRequest(frame, kRequestForgetDebugger);
}

}  // namespace quillet
