// The typing aids on the real editing control. The editing state (last character,
// style before the caret, end of the styled text at the last separator) is one set
// for the whole program; the label-line flag and the selection live in the shared
// settings record, where block comments read the selection.
#include "assist/typing_assist.h"

#include <string>

#include "assist/call_tip_rules.h"
#include "assist/completion_rules.h"
#include "assist/keyword_stores.h"
#include "core/command_ids.h"
#include "core/token_styles.h"
#include "platform/active_document.h"
#include "platform/editor_text.h"
#include "platform/frame_state.h"
#include "platform/text.h"

namespace quillet {

namespace {

struct EditingState {
    int lastChar = 0;
    int styleBeforeCaret = 0;
    sptr_t styledEnd = 0;
    // The editor and its length at the last update the call tip followed.
    HWND tipEditor = nullptr;
    sptr_t tipLength = -1;
};

EditingState editing;

// The list the control last showed: while it is still open for the same word, the
// control follows the typed characters itself.
struct ShownList {
    HWND editor = nullptr;
    sptr_t wordStart = -1;
    std::string text;
};

ShownList shownList;

const char *TextOr(const char *text) { return text ? text : ""; }

sptr_t Caret(const Editor &editor) { return editor.Call(SCI_GETCURRENTPOS); }

void SetWordChars(const Editor &editor, const char *chars) { editor.CallText(SCI_SETWORDCHARS, 0, chars); }

// SCN_CHARADDED: indentation, the label-line flag and the completion list.
bool OnCharAdded(const Editor &editor, SettingsRecord &settings, int ch) {
    editing.lastChar = ch;
    if (IsStyledEndSeparator(ch)) editing.styledEnd = editor.Call(SCI_GETENDSTYLED);
    const sptr_t caret = Caret(editor);
    const sptr_t line = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(caret));
    if (caret == editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(line)) + 1) settings.labelLineFlag = 0;

    switch (IndentForTypedChar(ch, settings.noAutoIndent == 0, settings.labelLineFlag != 0)) {
    case IndentChange::kLabel:
        editor.Call(SCI_SETLINEINDENTATION, static_cast<uptr_t>(line), 0);
        settings.labelLineFlag = 1;
        break;
    case IndentChange::kBody:
        editor.Call(SCI_SETLINEINDENTATION, static_cast<uptr_t>(line), kBodyIndentColumns);
        break;
    case IndentChange::kNone: break;
    }
    // The line feed that follows does not indent the new line; its first character does.
    if (ch == '\r' && editing.styleBeforeCaret != kStyleComment2 && editing.styleBeforeCaret != kStyleOpcode)
        settings.labelLineFlag = 1;

    if (!settings.autoCompleteSwitch) return false;
    if (IsStopStyle(editing.styleBeforeCaret)) return true;
    if (ch == '#' && editor.Call(SCI_GETCOLUMN, static_cast<uptr_t>(Caret(editor))) > kHashCompletionMaxColumn)
        return false;
    ShowCompletion(editor, ch);
    return false;
}

// The word styled as a variable that ends at the remembered end of the styled text.
void PickUpTypedVariable(const Editor &editor) {
    SetWordChars(editor, kScanWordChars);
    const sptr_t end = editing.styledEnd;
    if (editor.Call(SCI_GETSTYLEAT, static_cast<uptr_t>(end - 1)) == kStyleVariable) {
        const sptr_t a = editor.Call(SCI_WORDSTARTPOSITION, static_cast<uptr_t>(end), 1);
        const sptr_t b = editor.Call(SCI_WORDENDPOSITION, static_cast<uptr_t>(end), 1);
        const std::string name(TrimBlanks(editor.TextRange(a, b).c_str()));
        if (!name.empty()) AddTypedVariable(FrameOf(editor.Window()), name);
        editing.lastChar = 0;  // the same word is not taken twice
    }
    SetWordChars(editor, kRestoreWordChars);
}

// Whether an update comes from the user: the caret or selection moved, or the text
// changed. Styling and indicators (the checks' squiggles, the word highlight) also
// update the control; they must neither close a call tip nor open one.
bool UserMadeUpdate(const Editor &editor, int updated) {
    const sptr_t length = editor.Call(SCI_GETLENGTH);
    const bool textChanged = editor.Window() != editing.tipEditor || length != editing.tipLength;
    editing.tipEditor = editor.Window();
    editing.tipLength = length;
    return textChanged || (updated & SC_UPDATE_SELECTION) != 0;
}

// SCN_UPDATEUI: records the caret's surroundings, picks up a typed variable and opens
// or closes the call tip.
bool OnUpdateUi(const Editor &editor, SettingsRecord &settings, int updated) {
    editing.styleBeforeCaret = static_cast<int>(editor.Call(SCI_GETSTYLEAT, static_cast<uptr_t>(Caret(editor) - 1)));
    settings.selectionStart = static_cast<int>(editor.Call(SCI_GETSELECTIONSTART));
    settings.selectionEnd = static_cast<int>(editor.Call(SCI_GETSELECTIONEND));
    if (settings.typedVariablesSwitch && IsPickUpSeparator(editing.lastChar)) PickUpTypedVariable(editor);
    if (!UserMadeUpdate(editor, updated)) return false;
    if (editor.Call(SCI_CALLTIPACTIVE)) {
        editor.Call(SCI_CALLTIPCANCEL);
        return true;
    }
    if (settings.callTipsSwitch && !IsStopStyle(editing.styleBeforeCaret)) ShowCallTip(editor);
    return false;
}

}  // namespace

bool HandleEditorNotification(HWND document, WPARAM wParam, LPARAM lParam) {
    const auto *notification = reinterpret_cast<const SCNotification *>(lParam);
    if (LOWORD(wParam) != kIdEditor || !notification) return false;
    const unsigned code = notification->nmhdr.code;
    if (code != SCN_CHARADDED && code != SCN_UPDATEUI) return false;
    SettingsRecord *settings = GetSettings(FrameOf(document));
    if (!settings) return false;
    const Editor editor(static_cast<HWND>(notification->nmhdr.hwndFrom));
    return code == SCN_CHARADDED ? OnCharAdded(editor, *settings, notification->ch) : OnUpdateUi(editor, *settings, notification->updated);
}

void ShowCompletion(const Editor &editor, int typedChar) {
    HWND frame = FrameOf(editor.Window());
    const std::string_view list = CompletionListText(TextOr(GetKeywordAdded(frame)), TextOr(GetKeywordList(frame)));
    SetWordChars(editor, kCompletionWordChars);
    const sptr_t caret = Caret(editor);
    const sptr_t wordStart = editor.Call(SCI_WORDSTARTPOSITION, static_cast<uptr_t>(caret), 1);
    editor.Call(SCI_AUTOCSETIGNORECASE, 1);
    if (typedChar == '\r' || typedChar == '\n' || typedChar == ' ') return;
    if (wordStart < 0 || caret - wordStart <= 0) return;
    // Showing the list is the control's costly part (a pop-up window). It is skipped
    // where it would change nothing: when no item matches the typed text (the control
    // hides such a list at once) and when the same list is open for the same word
    // (the control moves its selection along as characters are typed).
    if (!ListHasItemStartingWith(list, editor.TextRange(wordStart, caret))) return;
    if (editor.Call(SCI_AUTOCACTIVE) && shownList.editor == editor.Window() && shownList.wordStart == wordStart &&
        shownList.text == list)
        return;
    shownList.editor = editor.Window();
    shownList.wordStart = wordStart;
    shownList.text.assign(list);
    editor.CallText(SCI_AUTOCSHOW, static_cast<uptr_t>(caret - wordStart), shownList.text.c_str());
}

void AddTypedVariable(HWND frame, std::string_view name) {
    const std::string_view current = CompletionListText(TextOr(GetKeywordAdded(frame)), TextOr(GetKeywordList(frame)));
    std::string grown = ListWithVariable(current, name);
    if (!grown.empty()) ReplaceKeywordAdded(frame, std::move(grown));
}

void ShowCallTip(const Editor &editor) {
    HWND frame = FrameOf(editor.Window());
    SetWordChars(editor, kTipWordChars);
    const sptr_t caret = Caret(editor);
    const sptr_t a = editor.Call(SCI_WORDSTARTPOSITION, static_cast<uptr_t>(caret), 1);
    const sptr_t b = editor.Call(SCI_WORDENDPOSITION, static_cast<uptr_t>(caret), 1);
    const TipTable *tips = GetTipTable(frame);
    if (!tips || b - a < 2) return;
    const std::optional<std::string> tip = CallTipForWord(editor.TextRange(a, b), TextOr(GetKeywordList(frame)),
                                                          tips->records);
    if (!tip) return;
    const SettingsRecord *settings = GetSettings(frame);
    if (settings && settings->callTipsSwitch)  // the tip is keyword-file text, shown in the document's encoding
        editor.CallText(SCI_CALLTIPSHOW, static_cast<uptr_t>(a), SystemTextAsEditorBytes(editor, *tip).c_str());
}

}  // namespace quillet
