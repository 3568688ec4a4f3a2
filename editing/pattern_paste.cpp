// Pattern paste: reads the clipboard's text, converts it and inserts the pattern.
#include "editing/pattern_paste.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "editing/pattern_paste_rules.h"
#include "core/texts.h"
#include "platform/active_document.h"
#include "platform/ui.h"

namespace quillet {

namespace {

// Another program may hold the clipboard for a moment.
bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(20);
    }
    return false;
}

// The clipboard's text up to its first zero byte, never reading past the memory
// block (a block without its terminating zero is taken whole).
std::string ClipboardText(HWND owner) {
    std::string text;
    if (!OpenClipboardPatiently(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const SIZE_T size = GlobalSize(data);
        if (const auto *bytes = static_cast<const char *>(GlobalLock(data))) {
            const void *zero = std::memchr(bytes, '\0', size);
            text.assign(bytes, zero ? static_cast<const char *>(zero) - bytes : size);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

void PastePattern() {
    const Editor editor = ActiveEditor();
    if (!editor.IsOpen()) return;
    const std::string listing = ClipboardText(editor.Window());
    if (IsBlankListing(listing)) {
        platform::ShowMessage(nullptr, text::kPatternPasteFailed, text::kPatternPasteFailedTitle, MB_OK);
        return;
    }
    // Lines that give no pattern leave the selection alone rather than delete it.
    const std::string pattern = PatternFromListing(listing);
    if (!pattern.empty()) editor.CallText(SCI_REPLACESEL, 0, pattern.c_str());
}

}  // namespace quillet
