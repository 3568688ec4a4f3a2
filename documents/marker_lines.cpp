// Markers that go with their line: when a deletion takes a line's text and its line
// break away, the editing control would move the line's markers onto a neighbouring
// line, which then shows (and would be saved with) a bookmark or breakpoint it never
// had. The markers of such a line are removed before the text goes, and an undo step
// of the program's own, recorded right after the deletion, puts them back when the
// deletion is undone: the marks come back with their line, and the next save keeps
// them in the stored lists.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "core/token_styles.h"
#include "debugger/debugger.h"
#include "documents/document_parts.h"
#include "editing/bookmarks.h"

namespace quillet {

namespace {

constexpr int kLineMarkMask = (1 << kBookmarkMarker) | (1 << kBreakpointMarker);

// A mark that a deletion took with its line.
struct TakenMark {
    long line;          // its line before the deletion, which an undo restores
    int number;         // kBookmarkMarker or kBreakpointMarker
    int handle;         // the marker's handle (after an undo: the one put back)
    std::string entry;  // a breakpoint's list entry
};

// What a document's undo needs to put marks back.
struct TakenMarks {
    std::vector<TakenMark> taking;                  // by the deletion under way
    std::map<int, std::vector<TakenMark>> byToken;  // by the undo step recorded after each deletion
    int nextToken = 1;
    int undoing = 0;  // the token whose marks go back when the undo reinserts their text
};
std::map<HWND, TakenMarks> takenMarks;

// Whether deleting [from, to) removes the line [start, end) (end before its line break)
// with its text: the deletion covers the text and the line's own break, or the break
// before it and the text.
bool DeletionTakesLine(sptr_t from, sptr_t to, sptr_t start, sptr_t end) {
    return (from <= start && end < to) || (from < start && end <= to);
}

// Removes the marks of the lines a deletion takes; returns them.
std::vector<TakenMark> TakeMarks(HWND document, const Editor &editor, sptr_t from, sptr_t to) {
    const sptr_t firstLine = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(from));
    const sptr_t lastLine = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(to));
    const auto nextMarked = [&](sptr_t line) {
        return editor.Call(SCI_MARKERNEXT, static_cast<uptr_t>(line), kLineMarkMask);
    };
    std::vector<TakenMark> taken;
    for (sptr_t line = nextMarked(firstLine); line >= 0 && line <= lastLine; line = nextMarked(line + 1)) {
        const sptr_t start = editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(line));
        const sptr_t end = editor.Call(SCI_GETLINEENDPOSITION, static_cast<uptr_t>(line));
        if (!DeletionTakesLine(from, to, start, end)) continue;
        for (int which = 0;; ++which) {
            const sptr_t handle = editor.Call(SCI_MARKERHANDLEFROMLINE, static_cast<uptr_t>(line), which);
            if (handle < 0) break;
            const int number = static_cast<int>(editor.Call(SCI_MARKERNUMBERFROMLINE, static_cast<uptr_t>(line), which));
            if (number != kBookmarkMarker && number != kBreakpointMarker) continue;
            const std::string entry =
                number == kBreakpointMarker ? BreakpointEntryOfMarker(document, static_cast<int>(handle)) : "";
            taken.push_back({static_cast<long>(line), number, static_cast<int>(handle), entry});
        }
    }
    // Removing markers changes no text, which the control allows while it reports a change.
    for (const TakenMark &mark : taken) editor.Call(SCI_MARKERDELETEHANDLE, static_cast<uptr_t>(mark.handle));
    return taken;
}

void PutMarksBack(HWND document, std::vector<TakenMark> &marks) {
    for (TakenMark &mark : marks)
        mark.handle = mark.number == kBookmarkMarker ? PutBookmarkBack(document, mark.line, mark.handle)
                                                     : PutBreakpointMarkerBack(document, mark.line, mark.handle,
                                                                               mark.entry);
}

}  // namespace

void DropMarkersOfDeletedLines(const SCNotification &notification) {
    const int type = notification.modificationType;
    const Editor editor(static_cast<HWND>(notification.nmhdr.hwndFrom));
    if (!editor.IsOpen()) return;
    HWND document = GetParent(editor.Window());
    const bool undoOrRedo = (type & (SC_PERFORMED_UNDO | SC_PERFORMED_REDO)) != 0;
    if ((type & SC_MOD_BEFOREDELETE) && notification.length > 0) {
        // A redone deletion takes the marks again; its undo step is the one recorded before.
        std::vector<TakenMark> taken =
            TakeMarks(document, editor, notification.position, notification.position + notification.length);
        if (!undoOrRedo && !taken.empty() && editor.Call(SCI_GETUNDOCOLLECTION)) takenMarks[document].taking = taken;
        return;
    }
    const auto found = takenMarks.find(document);
    if (found == takenMarks.end()) return;
    TakenMarks &marks = found->second;
    if ((type & SC_MOD_DELETETEXT) && !undoOrRedo && !marks.taking.empty()) {
        // Recorded after the deletion, in its undo group: undone first, before the text
        // comes back.
        const int token = marks.nextToken++;
        marks.byToken[token] = std::move(marks.taking);
        marks.taking.clear();
        editor.Call(SCI_ADDUNDOACTION, static_cast<uptr_t>(token), UNDO_MAY_COALESCE);
    } else if ((type & SC_MOD_CONTAINER) && (type & SC_PERFORMED_UNDO)) {
        marks.undoing = notification.token;
    } else if ((type & SC_MOD_INSERTTEXT) && (type & SC_PERFORMED_UNDO) && marks.undoing) {
        const auto taken = marks.byToken.find(marks.undoing);
        marks.undoing = 0;
        if (taken != marks.byToken.end()) PutMarksBack(document, taken->second);
    }
}

void ForgetTakenMarks(HWND document) { takenMarks.erase(document); }

}  // namespace quillet
