// Finding the active document and its editor through the frame's MDI client.
#include "platform/active_document.h"

#include <vector>

#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/frame_state.h"
#include "platform/text.h"

namespace quillet {

HWND CurrentMdiClient() { return GetMdiClient(FindFrame()); }

HWND ActiveDocument() {
    HWND client = CurrentMdiClient();
    return client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

HWND ActiveEditorWindow() { return EditorOfDocument(ActiveDocument()); }

Editor ActiveEditor() { return Editor(ActiveEditorWindow()); }

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

}  // namespace quillet
