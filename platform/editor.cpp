// Direct access to a Scintilla control.
#include "platform/editor.h"

#include <atomic>
#include <map>
#include <vector>

#include "core/texts.h"

namespace quillet {

namespace {

HMODULE editingComponent = nullptr;
// SciLexer.dll's Scintilla_DirectFunction, looked up once the library is in the process
// (it must be, for a "Scintilla" window to exist). It is not imported, so that the
// program starts without loading the library.
std::atomic<Editor::DirectFunction> directFunction{nullptr};

Editor::DirectFunction TheDirectFunction() {
    if (!directFunction.load()) {
        if (HMODULE library = GetModuleHandleA(text::kSciLexerDll))
            directFunction = reinterpret_cast<Editor::DirectFunction>(
                reinterpret_cast<void *>(GetProcAddress(library, "Scintilla_DirectFunction")));
    }
    return directFunction.load();
}

}  // namespace

HMODULE LoadEditingComponent() {
    if (!editingComponent) editingComponent = LoadLibraryA(text::kSciLexerDll);
    return editingComponent;
}

void ReleaseEditingComponent() {
    if (editingComponent) FreeLibrary(editingComponent);
    editingComponent = nullptr;
    directFunction = nullptr;  // a later load may place the library elsewhere
}

Editor::Editor(HWND control) : window_(control) {
    if (!control) return;
    direct_ = TheDirectFunction();
    if (direct_) pointer_ = static_cast<sptr_t>(SendMessageA(control, SCI_GETDIRECTPOINTER, 0, 0));
}

sptr_t Editor::Call(unsigned message, uptr_t wParam, sptr_t lParam) const {
    return IsOpen() ? direct_(pointer_, message, wParam, lParam) : 0;
}

std::string Editor::Text() const {
    const sptr_t length = Call(SCI_GETLENGTH);
    return length > 0 ? TextRange(0, length) : std::string();
}

void Editor::SetText(std::string_view bytes) const {
    if (!IsOpen()) return;
    Call(SCI_CLEARALL);
    Call(SCI_APPENDTEXT, bytes.size(), reinterpret_cast<sptr_t>(bytes.data()));
}

std::string Editor::TextRange(sptr_t start, sptr_t end) const {
    if (!IsOpen() || end <= start) return {};
    std::vector<char> buffer(static_cast<size_t>(end - start) + 1, '\0');
    Sci_TextRange range{};
    range.chrg.cpMin = static_cast<Sci_PositionCR>(start);
    range.chrg.cpMax = static_cast<Sci_PositionCR>(end);
    range.lpstrText = buffer.data();
    const sptr_t n = Call(SCI_GETTEXTRANGE, 0, reinterpret_cast<sptr_t>(&range));
    return std::string(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}

void Editor::SetStyleFont(int style, const std::string &face, int size, int styleCode) const {
    CallText(SCI_STYLESETFONT, static_cast<uptr_t>(style), face.c_str());
    Call(SCI_STYLESETSIZE, static_cast<uptr_t>(style), size);
    Call(SCI_STYLESETBOLD, static_cast<uptr_t>(style), styleCode == 1 || styleCode == 3);
    Call(SCI_STYLESETITALIC, static_cast<uptr_t>(style), styleCode == 2 || styleCode == 3);
}

std::map<int, int> Editor::MarkerLines(int marker) const {
    std::map<int, int> lines;
    const sptr_t mask = sptr_t{1} << marker;
    for (sptr_t line = Call(SCI_MARKERNEXT, 0, mask); line >= 0;
         line = Call(SCI_MARKERNEXT, static_cast<uptr_t>(line + 1), mask)) {
        for (int which = 0;; ++which) {
            const sptr_t handle = Call(SCI_MARKERHANDLEFROMLINE, static_cast<uptr_t>(line), which);
            if (handle < 0) break;
            if (Call(SCI_MARKERNUMBERFROMLINE, static_cast<uptr_t>(line), which) == marker)
                lines[static_cast<int>(handle)] = static_cast<int>(line);
        }
    }
    return lines;
}

}  // namespace quillet
