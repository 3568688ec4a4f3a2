// Markers that go with their line: when a deletion takes a line's text and its line
// break away, the editing control would move the line's markers onto a neighbouring
// line, which then shows (and would be saved with) a bookmark or breakpoint it never
// had. The markers of such a line are removed before the text goes.
#include <windows.h>

#include <vector>

#include "core/token_styles.h"
#include "documents/document_parts.h"

namespace quillet {

namespace {

constexpr int kLineMarkMask = (1 << kBookmarkMarker) | (1 << kBreakpointMarker);

// Whether deleting [from, to) removes the line [start, end) (end before its line break)
// with its text: the deletion covers the text and the line's own break, or the break
// before it and the text.
bool DeletionTakesLine(sptr_t from, sptr_t to, sptr_t start, sptr_t end) {
    return (from <= start && end < to) || (from < start && end <= to);
}

}  // namespace

void DropMarkersOfDeletedLines(const SCNotification &notification) {
    if (!(notification.modificationType & SC_MOD_BEFOREDELETE) || notification.length <= 0) return;
    const Editor editor(static_cast<HWND>(notification.nmhdr.hwndFrom));
    if (!editor.IsOpen()) return;
    const sptr_t from = notification.position;
    const sptr_t to = from + notification.length;
    const sptr_t firstLine = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(from));
    const sptr_t lastLine = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(to));
    const auto nextMarked = [&](sptr_t line) {
        return editor.Call(SCI_MARKERNEXT, static_cast<uptr_t>(line), kLineMarkMask);
    };
    std::vector<sptr_t> handles;
    for (sptr_t line = nextMarked(firstLine); line >= 0 && line <= lastLine; line = nextMarked(line + 1)) {
        const sptr_t start = editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(line));
        const sptr_t end = editor.Call(SCI_GETLINEENDPOSITION, static_cast<uptr_t>(line));
        if (!DeletionTakesLine(from, to, start, end)) continue;
        for (int which = 0;; ++which) {
            const sptr_t handle = editor.Call(SCI_MARKERHANDLEFROMLINE, static_cast<uptr_t>(line), which);
            if (handle < 0) break;
            const sptr_t number = editor.Call(SCI_MARKERNUMBERFROMLINE, static_cast<uptr_t>(line), which);
            if (number == kBookmarkMarker || number == kBreakpointMarker) handles.push_back(handle);
        }
    }
    // Removing markers changes no text, which the control allows while it reports a change.
    for (const sptr_t handle : handles) editor.Call(SCI_MARKERDELETEHANDLE, static_cast<uptr_t>(handle));
}

}  // namespace quillet
