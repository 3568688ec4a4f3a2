// Finding the active document and its editor through the frame's MDI client.
#include "platform/active_document.h"

#include <vector>

#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/frame_state.h"
#include "platform/text.h"

namespace quillet {

HWND CurrentMdiClient() { return GetMdiClient(ProgramFrame()); }

HWND ActiveDocument() { return ActiveDocumentOf(CurrentMdiClient()); }

HWND ActiveDocumentOf(HWND mdiClient) {
    return mdiClient ? reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

HWND ActiveEditorWindow() { return EditorOfDocument(ActiveDocument()); }

Editor ActiveEditor() { return Editor(ActiveEditorWindow()); }

HWND FrameOf(HWND window) { return window ? GetAncestor(window, GA_ROOT) : nullptr; }

HWND EditorOfDocument(HWND document) { return document ? GetDlgItem(document, kIdEditor) : nullptr; }

bool IsDocumentWindow(HWND window) {
    char name[64] = "";
    return window && GetClassNameA(window, name, sizeof name) > 0 && EqualsNoCase(FieldText(name), text::kDocumentClass);
}

std::string WindowTitle(HWND window) {
    if (!window) return {};
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int n = GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

DocumentRecord *GetDocumentRecord(HWND document) {
    return IsDocumentWindow(document) ? reinterpret_cast<DocumentRecord *>(GetWindowLongPtrA(document, GWLP_USERDATA))
                                      : nullptr;
}

std::string DocumentPath(HWND document) {
    const DocumentRecord *record = GetDocumentRecord(document);
    return record ? record->path : std::string();
}

std::string DocumentUntitledName(HWND document) {
    const DocumentRecord *record = GetDocumentRecord(document);
    if (!record || !record->path.empty()) return {};
    return std::string(text::kUntitled) + " " + std::to_string(record->untitledNumber);
}

std::string DocumentName(HWND document) {
    const std::string path = DocumentPath(document);
    return path.empty() ? DocumentUntitledName(document) : path;
}

HWND FindDocumentByPath(HWND mdiClient, std::string_view path) {
    if (!mdiClient || path.empty()) return nullptr;
    for (HWND child = GetWindow(mdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const DocumentRecord *record = GetDocumentRecord(child);
        if (record && EqualsNoCase(record->path, path)) return child;
    }
    return nullptr;
}

}  // namespace quillet
