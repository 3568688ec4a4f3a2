// Moving script text between files and documents: the Open command,
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
#include "platform/replaced_file.h"
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
                NoteFileHoldsText(document);
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

void FocusActiveEditor() {
    if (HWND editor = ActiveEditorWindow()) SetFocus(editor);
}

}  // namespace

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

bool SaveDocumentIfChanged(HWND document) {
    return DocumentPath(document).empty() || !TextDiffersFromFile(document) || SaveDocument(document, 0);
}

bool SaveDocument(HWND document, int flag) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return false;
    HWND frame = GetAncestor(document, GA_ROOT);
    // Save As, and Save of a script that has no file yet, ask for a name.
    std::string path = flag == 1 ? std::string() : DocumentPath(document);
    if (path.empty()) {
        path = std::string(TrimBlanks(AskForScriptPath(frame, true)));
        if (path.empty()) {
            platform::ShowMessage(nullptr, text::kNoFileSaved, text::kNoFileSavedTitle, MB_OK);
            return false;
        }
    }
    path = SavePathFor(path);

    DWORD error = 0;
    const std::string bytes = editor.Text();
    if (!platform::WriteFileReplacing(path, bytes, error)) {
        ShowFileError(text::kSaveErrorHead, text::kSaveErrorTail, text::kSaveErrorTitle, error);
        return false;
    }
    SetDocumentPath(document, path);
    if (DocumentRecord *record = GetDocumentRecord(document)) record->fileDigest = TextDigest(bytes);
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
