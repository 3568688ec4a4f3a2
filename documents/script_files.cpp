// Moving script text between files and documents: open-or-activate, the Open command,
// opening a known path, and Save / Save As. Files are raw bytes both ways; a save
// writes a complete temporary file beside the target and then replaces the target,
// so a failure never destroys the old file.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "editing/bookmarks.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "documents/document_parts.h"
#include "documents/documents.h"
#include "documents/script_names.h"
#include "platform/frame_state.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

// Buffer of the file dialogs: long enough for any path the dialogs return.
constexpr DWORD kDialogPathSize = 32768;
constexpr UINT kErrorStyle = MB_TASKMODAL | MB_ICONEXCLAMATION;

std::string ScriptFilter() {
    std::string filter(text::kScriptFilterName);
    filter += '\0';
    filter += text::kScriptFilterPattern;
    filter += '\0';
    filter += '\0';
    return filter;
}

std::string ScriptFolder(HWND frame) {
    const SettingsRecord *settings = GetSettings(frame);
    return settings ? settings->scriptFolder : std::string();
}

// Shows the Open or Save As file dialog for scripts; the chosen path (untrimmed),
// or an empty text when cancelled.
std::string AskForScriptPath(HWND frame, bool save) {
    std::vector<char> path(kDialogPathSize, '\0');
    if (save) CopyBounded(path.data(), path.size(), text::kSaveInitialName);
    const std::string filter = ScriptFilter();
    const std::string folder = ScriptFolder(frame);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = frame;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = path.data();
    request.nMaxFile = kDialogPathSize;
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrTitle = text::kSelectScriptFile;
    request.Flags = OFN_EXPLORER;
    const bool chosen = (save ? platform::SaveFileDialog(&request) : platform::OpenFileDialog(&request)) != 0;
    path.back() = '\0';
    return chosen ? std::string(path.data()) : std::string();
}

void ShowFileError(const char *head, const char *tail, const char *title, DWORD systemError) {
    const FileError error = FileErrorFromSystem(systemError);
    platform::ShowMessage(nullptr, FileErrorMessage(head, error.code, tail).c_str(), title, kErrorStyle);
}

// Opens a script for reading: read-write without sharing, else read-only, creating an
// empty file when there is none.
HANDLE OpenScriptHandle(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file;
}

// Largest script the editor can hold.
constexpr LONGLONG kLargestScript = 0x7FFFFFF0;
// Bytes handed to the editor per call while a file is read into it.
constexpr DWORD kReadBlockSize = 128 * 1024;

// Streams a file into an empty editor block by block, so that no second copy of the
// whole text exists while it loads. The load leaves no undo step behind: undo right
// after opening must not empty the document. The editor is not redrawn until the whole
// text is in (each block would otherwise redraw its scroll bars). False with the system
// error on failure.
bool LoadIntoEditor(const Editor &editor, HANDLE file, LONGLONG size, DWORD &error) {
    SendMessageA(editor.Window(), WM_SETREDRAW, FALSE, 0);
    editor.Call(SCI_SETUNDOCOLLECTION, 0);
    // Room for the whole file at once (and a little more, in case it grows meanwhile).
    editor.Call(SCI_ALLOCATE, static_cast<uptr_t>(size) + kReadBlockSize);
    std::vector<char> block(kReadBlockSize);
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, block.data(), kReadBlockSize, &got, nullptr)) {
            error = GetLastError();
            ok = false;
            break;
        }
        if (got == 0) break;
        editor.Call(SCI_APPENDTEXT, got, reinterpret_cast<sptr_t>(block.data()));
        if (editor.Call(SCI_GETLENGTH) > kLargestScript) {
            error = ERROR_NOT_ENOUGH_MEMORY;
            ok = false;
            break;
        }
    }
    editor.Call(SCI_EMPTYUNDOBUFFER);
    editor.Call(SCI_SETUNDOCOLLECTION, 1);
    SendMessageA(editor.Window(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(editor.Window(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
    return ok;
}

// A new, empty document for the script at `path` (empty: untitled).
HWND CreateScriptDocument(HWND client, const std::string &path) {
    return CreateDocumentWindow(client, path, WS_MAXIMIZE);
}

// The last step of creating a document for a file, once its text is in: it keeps the
// given path (creation numbers titles that look untitled), the path joins the recent
// files, and the script's bookmarks and breakpoint markers come back.
void FinishScriptDocument(HWND document, const std::string &path) {
    SetDocumentPath(document, path);
    AddRecentFile(path);
    RestoreBookmarks(document);
    RestoreBreakpointMarkers(document);
}

// Reads a script into a new document (or brings its open document forward). The file is
// opened first, so that a file that cannot be read leaves everything as it was.
void ReadScript(const std::string &path) {
    DWORD error = 0;
    LARGE_INTEGER size{};
    HANDLE file = OpenScriptHandle(path);
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size))
        error = GetLastError();
    else if (size.QuadPart > kLargestScript)
        error = ERROR_NOT_ENOUGH_MEMORY;
    HWND client = error ? nullptr : CurrentMdiClient();
    if (client) {
        if (HWND open = FindDocumentByPath(client, path)) {
            // An open document keeps its text and its modified state.
            SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(open), 0);
        } else if (HWND document = CreateScriptDocument(client, path)) {
            const Editor editor(EditorOfDocument(document));
            const bool loaded = !editor.IsOpen() || LoadIntoEditor(editor, file, size.QuadPart, error);
            if (editor.IsOpen()) editor.Call(SCI_SETSAVEPOINT);
            if (loaded) {
                RecogniseDocumentEncoding(document, path);
                FinishScriptDocument(document, path);
            } else {  // a file that fails while being read leaves no half document behind
                SendMessageA(document, WM_CLOSE, 0, 0);
            }
        }
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (error) ShowFileError(text::kOpenErrorHead, text::kOpenErrorTail, text::kOpenErrorTitle, error);
}

// Writes `bytes` to a new file beside `path` and puts it in the place of `path`.
bool WriteReplacing(const std::string &path, const std::string &bytes, DWORD &error) {
    // A name the program could not open again (and Windows would refuse anyway) is
    // refused here too, whatever the file system would allow.
    if (path.size() >= MAX_PATH) {
        error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    // Windows refuses to replace a read-only file; some systems (Wine) would not.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = ERROR_ACCESS_DENIED;
        return false;
    }
    // The new file keeps the hidden and system marks of the one it replaces.
    const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES
                           ? FILE_ATTRIBUTE_NORMAL
                           : (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    // A short name in the target's folder, so a long target path still leaves room.
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~q%lx%02x.tmp", GetCurrentProcessId() & 0xFFFFFul, attempt);
        temp = folder + name;
        file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, kept ? kept : FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        }
    }
    if (file == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written > 0;
        if (!ok) error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        done += written;
    }
    if (ok && !FlushFileBuffers(file)) {
        error = GetLastError();
        ok = false;
    }
    if (!CloseHandle(file) && ok) {
        error = GetLastError();
        ok = false;
    }
    if (ok && !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        ok = false;
    }
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}

void FocusActiveEditor() {
    if (HWND editor = ActiveEditorWindow()) SetFocus(editor);
}

}  // namespace

HWND OpenOrActivate(const std::string &title, std::string_view text, bool *created) {
    if (created) *created = false;
    HWND client = CurrentMdiClient();
    if (!client) return nullptr;
    if (HWND open = FindDocumentByPath(client, title)) {
        SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(open), 0);
        return open;
    }
    HWND document = CreateScriptDocument(client, title);
    if (!document) return nullptr;
    Editor(EditorOfDocument(document)).SetText(text);
    RecogniseDocumentEncoding(document, title);
    FinishScriptDocument(document, title);
    if (created) *created = true;
    return document;
}

void OpenScriptCommand(HWND frame) {
    const std::string chosen = AskForScriptPath(frame, false);
    if (chosen.empty()) return;
    if (HasOpenableExtension(chosen))
        ReadScript(chosen);
    else
        platform::ShowMessage(nullptr, text::kOpenNotSupported, text::kOpenNotSupportedTitle, MB_TASKMODAL);
    FocusActiveEditor();
}

void OpenScriptPath(const char *path) {
    const std::string trimmed(TrimBlanks(path ? path : ""));
    if (!trimmed.empty()) ReadScript(trimmed);
    FocusActiveEditor();
}

bool SaveScript(int flag) { return SaveDocument(ActiveDocument(), flag); }

bool SaveDocumentToItsFile(HWND document) { return SaveDocument(document, 0); }

bool SaveDocument(HWND document, int flag) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return false;
    HWND frame = GetAncestor(document, GA_ROOT);
    std::string path;
    if (flag == 1) {
        path = std::string(TrimBlanks(AskForScriptPath(frame, true)));
        if (path.empty()) {
            platform::ShowMessage(nullptr, text::kNoFileSaved, text::kNoFileSavedTitle, MB_OK);
            return false;
        }
    } else {
        path = DocumentPath(document);
        if (path.empty()) path = DocumentUntitledName(document);
    }
    path = SavePathFor(path);

    DWORD error = 0;
    if (!WriteReplacing(path, editor.Text(), error)) {
        ShowFileError(text::kSaveErrorHead, text::kSaveErrorTail, text::kSaveErrorTitle, error);
        return false;
    }
    SetDocumentPath(document, path);
    editor.Call(SCI_SETSAVEPOINT);
    AddRecentFile(path);
    // The stored bookmarks and breakpoints follow the lines their markers moved to.
    if (const DocumentRecord *record = GetDocumentRecord(document)) {
        StoreBookmarksOnSave(document, record->path);
        StoreBreakpointsOnSave(document, record->path);
    }
    return true;
}

}  // namespace quillet
