// Block comment and uncomment on the active script. Each insertion and each deletion
// is a step of its own in the editor's undo history.
#include "editing/block_comments.h"

#include "editing/block_comment_rules.h"
#include "platform/active_document.h"
#include "platform/frame_state.h"

namespace quillet {

namespace {

struct SelectedLines {
    sptr_t first;
    sptr_t last;
};

// The lines of the selection start and end; false when there is no selection. A last
// line touched only at its column 0 belongs to the block.
bool ReadSelectedLines(const Editor &editor, SelectedLines &lines) {
    const sptr_t start = editor.Call(SCI_GETSELECTIONSTART);
    const sptr_t end = editor.Call(SCI_GETSELECTIONEND);
    if (start == end) return false;
    lines.first = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(start));
    lines.last = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(end));
    return true;
}

sptr_t LineStart(const Editor &editor, sptr_t line) {
    return editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(line));
}

char CharAt(const Editor &editor, sptr_t position) {
    return static_cast<char>(editor.Call(SCI_GETCHARAT, static_cast<uptr_t>(position)));
}

bool KeepBlockSelected(const Editor &editor) {
    const SettingsRecord *settings = GetSettings(FrameOf(editor.Window()));
    return !settings || settings->commentHighlightOff == 0;
}

void SelectBlock(const Editor &editor, const SelectedLines &lines) {
    if (!KeepBlockSelected(editor)) return;
    editor.Call(SCI_SETSEL, static_cast<uptr_t>(LineStart(editor, lines.first)),
                editor.Call(SCI_GETLINEENDPOSITION, static_cast<uptr_t>(lines.last)));
}

}  // namespace

void CommentSelectedLines() {
    const Editor editor = ActiveEditor();
    SelectedLines lines{};
    if (!editor.IsOpen() || !ReadSelectedLines(editor, lines)) return;
    const sptr_t firstStart = LineStart(editor, lines.first);
    if (FirstLineRefusesComment(CharAt(editor, firstStart), CharAt(editor, firstStart + 1))) return;
    for (sptr_t line = lines.first; line <= lines.last; ++line)
        editor.CallText(SCI_INSERTTEXT, static_cast<uptr_t>(LineStart(editor, line)), kLineCommentMarker);
    SelectBlock(editor, lines);
}

void UncommentSelectedLines() {
    const Editor editor = ActiveEditor();
    SelectedLines lines{};
    if (!editor.IsOpen() || !ReadSelectedLines(editor, lines)) return;
    for (sptr_t line = lines.first; line <= lines.last; ++line) {
        const sptr_t start = LineStart(editor, line);
        if (!LineStartsWithMarker(CharAt(editor, start), CharAt(editor, start + 1))) continue;
        // The marker is selected and cleared as the Delete key clears a selection.
        editor.Call(SCI_SETSEL, static_cast<uptr_t>(start), start + 2);
        editor.Call(SCI_CLEAR);
    }
    SelectBlock(editor, lines);
}

}  // namespace quillet
