// Find and replace: the modeless system dialogs sharing one request record, and the
// requests they send (find next down and up, replace, replace all), carried out with
// the editor's target search on the active script. The search anchor and the texts
// last used survive between dialogs for the whole run. The dialogs are Unicode ones,
// so a text in any alphabet is taken as typed; it is searched for in the script's own
// encoding, and a text that encoding cannot hold is refused rather than searched for
// with "?" in place of its characters.
#include "app/find_replace.h"

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "app/command_handlers.h"
#include "app/find_replace_rules.h"
#include "assist/script_checks.h"
#include "core/texts.h"
#include "platform/active_document.h"
#include "platform/editor_text.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr WORD kTextBufferSize = 256;

struct FindReplaceState {
    FINDREPLACEW record{};
    wchar_t findText[kTextBufferSize] = L"";
    wchar_t replaceText[kTextBufferSize] = L"";
    UINT message = 0;       // the registered "CommDlg_FindReplace" message, once known
    HWND dialog = nullptr;  // owns the result messages
    long anchor = 0;        // where the next find next starts from
};

FindReplaceState &State() {
    static FindReplaceState state;
    return state;
}

int SearchFlags(DWORD dialogFlags) {
    return ((dialogFlags & FR_MATCHCASE) ? SCFIND_MATCHCASE : 0) | ((dialogFlags & FR_WHOLEWORD) ? SCFIND_WHOLEWORD : 0);
}

void ShowResult(const char *message, const char *caption) {
    platform::ShowMessage(State().dialog, message, caption, MB_ICONINFORMATION);
}

template <std::size_t N>
std::wstring_view WideFieldText(const wchar_t (&field)[N]) {
    return std::wstring_view(field, wcsnlen(field, N));
}

// A dialog text as the editor's bytes; false, once told to the user, when the script's
// encoding cannot hold it.
bool DialogTextAsEditorBytes(const Editor &editor, std::wstring_view text, const char *caption, std::string *bytes) {
    if (WideTextAsEditorBytes(editor, text, bytes)) return true;
    platform::ShowMessage(State().dialog, text::kTextNotInScriptEncoding, caption, MB_ICONEXCLAMATION);
    return false;
}

std::string Utf8Of(std::wstring_view text) {
    if (text.empty()) return {};
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

// UTF-8 as UTF-16, without a character cut short at the end (the prefill rule cuts by
// bytes).
std::wstring WideOfUtf8(std::string_view utf8) {
    std::size_t end = utf8.size();
    std::size_t lead = end;
    while (lead > 0 && (static_cast<unsigned char>(utf8[lead - 1]) & 0xC0) == 0x80 && end - lead < 3) --lead;
    if (lead > 0) {
        const auto first = static_cast<unsigned char>(utf8[lead - 1]);
        const std::size_t need = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
        if (need > 1 && end - (lead - 1) < need) end = lead - 1;
    }
    if (end == 0) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(end), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(end), &wide[0], length);
    return wide;
}

template <std::size_t N>
void CopyWideBounded(wchar_t (&field)[N], std::wstring_view text) {
    const std::size_t length = std::min(text.size(), N - 1);
    text.copy(field, length);
    field[length] = L'\0';
}

// Searches the target from `start` to `end` (backwards when start > end); the match
// position or -1. The match's end is then the target end.
sptr_t Search(const Editor &editor, sptr_t start, sptr_t end, int flags, std::string_view find) {
    if (find.empty()) return -1;
    editor.Call(SCI_SETTARGETSTART, static_cast<uptr_t>(start));
    editor.Call(SCI_SETTARGETEND, static_cast<uptr_t>(end));
    editor.Call(SCI_SETSEARCHFLAGS, static_cast<uptr_t>(flags));
    return editor.Call(SCI_SEARCHINTARGET, find.size(), reinterpret_cast<sptr_t>(find.data()));
}

void SelectMatch(const Editor &editor, sptr_t position) {
    const sptr_t end = editor.Call(SCI_GETTARGETEND);
    editor.Call(SCI_SETCURRENTPOS, static_cast<uptr_t>(position));
    editor.Call(SCI_GOTOPOS, static_cast<uptr_t>(position));
    editor.Call(SCI_SETSELECTIONSTART, static_cast<uptr_t>(position));
    editor.Call(SCI_SETSELECTIONEND, static_cast<uptr_t>(end));
}

// The texts as the dialog's boxes hold them, in Unicode (see OpenFindReplaceDialog).
void ReadDialogTexts() {
    FindReplaceState &state = State();
    if (!state.dialog || !IsWindow(state.dialog)) return;
    GetDlgItemTextW(state.dialog, edt1, state.findText, kTextBufferSize);
    if (GetDlgItem(state.dialog, edt2)) GetDlgItemTextW(state.dialog, edt2, state.replaceText, kTextBufferSize);
}

void FindNext(const Editor &editor, DWORD flags) {
    FindReplaceState &state = State();
    const long caret = static_cast<long>(editor.Call(SCI_GETCURRENTPOS));
    const long length = static_cast<long>(editor.Call(SCI_GETTEXTLENGTH));
    const FindNextTarget target = FindNextTargetFor(state.anchor, caret, length, (flags & FR_DOWN) != 0);
    state.anchor = target.anchor;
    std::string find;
    if (!DialogTextAsEditorBytes(editor, WideFieldText(state.findText), text::kFindCaption, &find)) return;
    const sptr_t found = target.searchable ? Search(editor, target.start, target.end, SearchFlags(flags), find) : -1;
    if (found < 0) {
        ShowResult(text::kNoMatchFound, text::kFindCaption);
        return;
    }
    SelectMatch(editor, found);
    state.anchor = static_cast<long>(found);
}

// Replaces the first match from the selection start (or the caret) on; a find next
// follows at once, as the dialog's record now asks for one.
void ReplaceOnce(HWND frame, const Editor &editor, DWORD flags) {
    FindReplaceState &state = State();
    std::string find, replacement;
    if (!DialogTextAsEditorBytes(editor, WideFieldText(state.findText), text::kReplaceCaption, &find) ||
        !DialogTextAsEditorBytes(editor, WideFieldText(state.replaceText), text::kReplaceCaption, &replacement))
        return;
    sptr_t from = editor.Call(SCI_GETCURRENTPOS);
    const sptr_t selectionStart = editor.Call(SCI_GETSELECTIONSTART);
    if (selectionStart < editor.Call(SCI_GETSELECTIONEND)) from = selectionStart;
    state.anchor = static_cast<long>(from);
    const sptr_t found = Search(editor, from, editor.Call(SCI_GETTEXTLENGTH), SearchFlags(flags), find);
    if (found < 0) {
        ShowResult(text::kMatchNotFound, text::kReplaceCaption);
    } else {
        SelectMatch(editor, found);
        editor.CallText(SCI_REPLACESEL, 0, replacement.c_str());
        state.anchor = static_cast<long>(found);
    }
    state.record.Flags |= FR_FINDNEXT;
    SendMessageA(frame, state.message, 0, reinterpret_cast<LPARAM>(&state.record));
}

void ReplaceAll(const Editor &editor, DWORD flags) {
    const FindReplaceState &state = State();
    std::string find, replacement;
    if (!DialogTextAsEditorBytes(editor, WideFieldText(state.findText), text::kReplaceAllCaption, &find) ||
        !DialogTextAsEditorBytes(editor, WideFieldText(state.replaceText), text::kReplaceAllCaption, &replacement))
        return;
    const int count = ReplaceAllMatches(editor, find, replacement, SearchFlags(flags));
    ShowResult((std::to_string(count) + text::kReplacementsSuffix).c_str(), text::kReplaceAllCaption);
}

// While it lives, the control neither draws nor reports each change to its window,
// and its changes make one undo step. Once it ends, a changed text is reported to the
// script checks as one change, so that they drop a check of the old text and start anew.
class BulkEdit {
public:
    explicit BulkEdit(const Editor &editor)
        : editor_(editor), eventMask_(editor.Call(SCI_GETMODEVENTMASK)) {
        SendMessageA(editor_.Window(), WM_SETREDRAW, FALSE, 0);
        editor_.Call(SCI_SETMODEVENTMASK, SC_MOD_NONE);
        editor_.Call(SCI_BEGINUNDOACTION);
    }
    ~BulkEdit() {
        editor_.Call(SCI_ENDUNDOACTION);
        editor_.Call(SCI_SETMODEVENTMASK, static_cast<uptr_t>(eventMask_));
        if (changed_) OnUnreportedTextChange(editor_.Window());
        SendMessageA(editor_.Window(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(editor_.Window(), nullptr, TRUE);
    }
    void NoteChange() { changed_ = true; }
    BulkEdit(const BulkEdit &) = delete;
    BulkEdit &operator=(const BulkEdit &) = delete;

private:
    const Editor &editor_;
    const sptr_t eventMask_;
    bool changed_ = false;
};

}  // namespace

void OpenFindReplaceDialog(HWND frame, bool replace) {
    const Editor editor = ActiveEditor();
    if (!editor.IsOpen() || OpenFindReplaceWindow()) return;
    FindReplaceState &state = State();
    const sptr_t selectionStart = editor.Call(SCI_GETSELECTIONSTART);
    const sptr_t selectionEnd = editor.Call(SCI_GETSELECTIONEND);
    const std::string selection = selectionStart < selectionEnd ? editor.TextRange(selectionStart, selectionEnd) : "";
    const sptr_t caret = editor.Call(SCI_GETCURRENTPOS);
    const std::string word = editor.TextRange(editor.Call(SCI_WORDSTARTPOSITION, static_cast<uptr_t>(caret), 1),
                                              editor.Call(SCI_WORDENDPOSITION, static_cast<uptr_t>(caret), 1));
    // The rule works on UTF-8, which holds the texts of every encoding.
    const std::string prefilled = PrefilledFindText(
        Utf8Of(WideFieldText(state.findText)), Utf8Of(EditorBytesAsWideText(editor, selection)),
        Utf8Of(EditorBytesAsWideText(editor, word)));
    CopyWideBounded(state.findText, WideOfUtf8(prefilled));

    state.message = RegisterWindowMessageA(text::kFindReplaceMessage);
    FINDREPLACEW &record = state.record;
    record = FINDREPLACEW{};
    record.lStructSize = sizeof record;
    record.hwndOwner = frame;
    record.Flags = FR_DOWN;
    record.lpstrFindWhat = state.findText;
    record.lpstrReplaceWith = state.replaceText;
    record.wFindWhatLen = kTextBufferSize;
    record.wReplaceWithLen = kTextBufferSize;
    state.dialog = replace ? ReplaceTextW(&record) : FindTextW(&record);
    // Some systems' dialogs (Wine's) hand the texts over through the system's code page
    // whatever the record's kind: the find text is put into its box as Unicode here, and
    // both texts are read back from the boxes with each request.
    if (state.dialog) SetDlgItemTextW(state.dialog, edt1, state.findText);
}

bool IsFindReplaceMessage(UINT message) { return message != 0 && message == State().message; }

LRESULT OnFindReplaceMessage(HWND frame) {
    FindReplaceState &state = State();
    const DWORD flags = state.record.Flags;
    if (flags & FR_DIALOGTERM) {
        state.dialog = nullptr;
        return 0;
    }
    const Editor editor = ActiveEditor();
    if (!editor.IsOpen()) return 0;
    ReadDialogTexts();
    if (flags & FR_FINDNEXT)
        FindNext(editor, flags);
    else if (flags & FR_REPLACE)
        ReplaceOnce(frame, editor, flags);
    else if (flags & FR_REPLACEALL)
        ReplaceAll(editor, flags);
    return 0;
}

HWND OpenFindReplaceWindow() {
    HWND dialog = State().dialog;
    return dialog && IsWindow(dialog) ? dialog : nullptr;
}

int ReplaceAllMatches(const Editor &editor, std::string_view find, std::string_view replace, int searchFlags) {
    if (!editor.IsOpen() || find.empty()) return 0;
    // A selection within one line is only where the caret is: the whole text is meant.
    const sptr_t selectionStart = editor.Call(SCI_GETSELECTIONSTART);
    const sptr_t selectionEnd = editor.Call(SCI_GETSELECTIONEND);
    if (selectionStart < selectionEnd &&
        editor.TextRange(selectionStart, selectionEnd).find("\r\n") == std::string::npos) {
        const sptr_t caret = editor.Call(SCI_GETCURRENTPOS);
        editor.Call(SCI_SETSELECTIONSTART, static_cast<uptr_t>(caret));
        editor.Call(SCI_SETSELECTIONEND, static_cast<uptr_t>(caret));
    }
    const bool withinSelection = editor.Call(SCI_GETSELECTIONSTART) < editor.Call(SCI_GETSELECTIONEND);
    const auto rangeEnd = [&] {
        return editor.Call(withinSelection ? SCI_GETSELECTIONEND : SCI_GETTEXTLENGTH);
    };
    sptr_t start = withinSelection ? editor.Call(SCI_GETSELECTIONSTART) : 0;
    sptr_t end = rangeEnd();
    const std::string replacement(replace);
    int count = 0;
    BulkEdit bulk(editor);
    do {
        const sptr_t found = Search(editor, start, end, searchFlags, find);
        if (found < 0) break;
        editor.Call(SCI_REPLACETARGET, replacement.size(), reinterpret_cast<sptr_t>(replacement.data()));
        bulk.NoteChange();
        ++count;
        // Resuming after the inserted text: a replacement holding the find text is not
        // searched again, and every step leaves less text to search.
        start = found + static_cast<sptr_t>(replacement.size());
        end = rangeEnd();
    } while (start < end);
    return count;
}

CommandReply OnFind(CommandContext &context) {
    OpenFindReplaceDialog(context.frame, false);
    return CommandReply::kOne;
}

CommandReply OnReplace(CommandContext &context) {
    OpenFindReplaceDialog(context.frame, true);
    return CommandReply::kOne;
}

}  // namespace quillet
