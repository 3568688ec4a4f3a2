// Direct access to one Scintilla control: SciLexer.dll's Scintilla_DirectFunction with
// the control's direct pointer, so calls skip the window message queue. A default Editor
// stands for "no document open": every call on it does nothing and answers 0.
// SciLexer.dll is loaded on first need, not at process start: LoadEditingComponent
// before creating the first "Scintilla" window.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>

#include "Scintilla.h"

namespace quillet {

// Loads SciLexer.dll, which registers the "Scintilla" window class; the first call
// loads it, later ones return the same handle. Null when it cannot be loaded.
HMODULE LoadEditingComponent();
// Releases the library loaded by LoadEditingComponent (at shutdown, once every editor
// window is gone).
void ReleaseEditingComponent();

class Editor {
public:
    using DirectFunction = sptr_t(__stdcall *)(sptr_t pointer, UINT message, uptr_t wParam, sptr_t lParam);

    Editor() = default;
    explicit Editor(HWND control);

    bool IsOpen() const { return pointer_ != 0; }
    HWND Window() const { return window_; }

    sptr_t Call(unsigned message, uptr_t wParam = 0, sptr_t lParam = 0) const;
    sptr_t CallText(unsigned message, uptr_t wParam, const char *text) const {
        return Call(message, wParam, reinterpret_cast<sptr_t>(text));
    }

    // The whole text, by length (zero bytes included).
    std::string Text() const;
    // Replaces the whole text with these bytes (zero bytes included).
    void SetText(std::string_view bytes) const;
    // The text between two positions.
    std::string TextRange(sptr_t start, sptr_t end) const;
    // The current line of each marker of number `marker`, by its handle, in one pass over
    // the marked lines: a marker's handle follows it as lines are inserted and deleted.
    std::map<int, int> MarkerLines(int marker) const;

    // Gives each of these styles the font: face, size, and bold and italic from the
    // style code (1 bold, 2 italic, 3 both, anything else neither).
    template <std::size_t N>
    void SetStylesFont(const int (&styles)[N], const std::string &face, int size, int styleCode) const {
        for (int style : styles) SetStyleFont(style, face, size, styleCode);
    }
    void SetStyleFont(int style, const std::string &face, int size, int styleCode) const;

private:
    HWND window_ = nullptr;
    DirectFunction direct_ = nullptr;
    sptr_t pointer_ = 0;
};

}  // namespace quillet
