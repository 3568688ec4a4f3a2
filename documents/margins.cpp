// The editor's margins beside the line numbers: the marker margin, where a click sets
// or removes the line's script breakpoint exactly as Alt+F2 does and a Ctrl+click its
// bookmark as Ctrl+F2 does, and the fold margin with box markers, where a click folds
// or unfolds the block that starts on the line (the control does that itself).
#include <windows.h>

#include "debugger/debugger.h"
#include "documents/document_parts.h"
#include "editing/bookmarks.h"
#include "platform/active_document.h"

namespace quillet {

namespace {

constexpr int kMarkerMargin = 1;
constexpr int kFoldMargin = 2;
constexpr int kFoldMarginWidth = 14;
constexpr sptr_t kFoldBoxFore = 0xFFFFFF;  // the sign inside a box
constexpr sptr_t kFoldBoxBack = 0x808080;  // box outline and the lines between boxes

struct FoldMarker {
    int number;
    int symbol;
};
constexpr FoldMarker kFoldMarkers[] = {
    {SC_MARKNUM_FOLDEROPEN, SC_MARK_BOXMINUS},       {SC_MARKNUM_FOLDER, SC_MARK_BOXPLUS},
    {SC_MARKNUM_FOLDERSUB, SC_MARK_VLINE},           {SC_MARKNUM_FOLDERTAIL, SC_MARK_LCORNER},
    {SC_MARKNUM_FOLDEREND, SC_MARK_BOXPLUSCONNECTED}, {SC_MARKNUM_FOLDEROPENMID, SC_MARK_BOXMINUSCONNECTED},
    {SC_MARKNUM_FOLDERMIDTAIL, SC_MARK_TCORNER},
};

// Runs a caret-line command of the active document on `line`, then gives the caret
// and the selection back: a click beside a line does not move the caret.
template <typename Toggle>
void ToggleOnLine(HWND document, const Editor &editor, sptr_t line, Toggle toggle) {
    HWND client = GetParent(document);
    if (client && ActiveDocumentOf(client) != document)
        SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
    const sptr_t anchor = editor.Call(SCI_GETANCHOR);
    const sptr_t caret = editor.Call(SCI_GETCURRENTPOS);
    const sptr_t firstVisible = editor.Call(SCI_GETFIRSTVISIBLELINE);
    editor.Call(SCI_SETEMPTYSELECTION, static_cast<uptr_t>(editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(line))));
    toggle();
    if (!IsWindow(editor.Window())) return;
    editor.Call(SCI_SETSEL, static_cast<uptr_t>(anchor), caret);
    editor.Call(SCI_SETFIRSTVISIBLELINE, static_cast<uptr_t>(firstVisible));
}

}  // namespace

void SetUpMargins(const Editor &editor) {
    editor.Call(SCI_SETMARGINSENSITIVEN, kMarkerMargin, 1);
    editor.Call(SCI_SETMARGINTYPEN, kFoldMargin, SC_MARGIN_SYMBOL);
    editor.Call(SCI_SETMARGINMASKN, kFoldMargin, static_cast<sptr_t>(SC_MASK_FOLDERS));
    editor.Call(SCI_SETMARGINWIDTHN, kFoldMargin, kFoldMarginWidth);
    editor.Call(SCI_SETMARGINSENSITIVEN, kFoldMargin, 1);
    for (const FoldMarker &marker : kFoldMarkers) {
        editor.Call(SCI_MARKERDEFINE, static_cast<uptr_t>(marker.number), marker.symbol);
        editor.Call(SCI_MARKERSETFORE, static_cast<uptr_t>(marker.number), kFoldBoxFore);
        editor.Call(SCI_MARKERSETBACK, static_cast<uptr_t>(marker.number), kFoldBoxBack);
    }
    // A click on a box folds; an edit that changes a folded block's first line opens it.
    editor.Call(SCI_SETAUTOMATICFOLD, SC_AUTOMATICFOLD_SHOW | SC_AUTOMATICFOLD_CLICK | SC_AUTOMATICFOLD_CHANGE);
    editor.Call(SCI_SETFOLDFLAGS, SC_FOLDFLAG_LINEAFTER_CONTRACTED);
}

bool OnMarginClick(HWND document, const SCNotification &notification) {
    if (notification.nmhdr.code != SCN_MARGINCLICK || notification.margin != kMarkerMargin) return false;
    const Editor editor(static_cast<HWND>(notification.nmhdr.hwndFrom));
    const sptr_t line = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(notification.position));
    if (notification.modifiers & SCMOD_CTRL) {
        ToggleOnLine(document, editor, line, [] { ToggleBookmark(); });
    } else {
        HWND frame = FrameOf(document);
        ToggleOnLine(document, editor, line, [frame] { ToggleBreakpoint(frame); });
    }
    return true;
}

void FoldAllBlocks(HWND document, bool fold) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return;
    // Every line gets its level first: folding reads the levels of the whole script.
    editor.Call(SCI_COLOURISE, 0, -1);
    editor.Call(SCI_FOLDALL, fold ? SC_FOLDACTION_CONTRACT : SC_FOLDACTION_EXPAND);
    if (!fold) return;
    // The caret may have been folded away: it goes to the first line left visible.
    const sptr_t caretLine = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(editor.Call(SCI_GETCURRENTPOS)));
    if (!editor.Call(SCI_GETLINEVISIBLE, static_cast<uptr_t>(caretLine))) {
        sptr_t line = caretLine;
        while (line > 0 && !editor.Call(SCI_GETLINEVISIBLE, static_cast<uptr_t>(line))) --line;
        editor.Call(SCI_GOTOLINE, static_cast<uptr_t>(line));
    }
}

}  // namespace quillet
