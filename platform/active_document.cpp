// Finding the active document and its editor through the frame's MDI client.
#include "platform/active_document.h"

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

DocumentFile *GetDocumentFile(HWND document) {
    return IsDocumentWindow(document) ? reinterpret_cast<DocumentFile *>(GetWindowLongPtrA(document, GWLP_USERDATA))
                                      : nullptr;
}

std::string DocumentPath(HWND document) {
    const DocumentFile *file = GetDocumentFile(document);
    return file ? file->path : std::string();
}

HWND FindDocumentByPath(HWND mdiClient, std::string_view path) {
    if (!mdiClient || path.empty()) return nullptr;
    for (HWND child = GetWindow(mdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const DocumentFile *file = GetDocumentFile(child);
        if (file && EqualsNoCase(file->path, path)) return child;
    }
    return nullptr;
}

}  // namespace quillet
