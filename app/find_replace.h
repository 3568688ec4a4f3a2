// Find and replace in the active script through the system's modeless Find and Replace
// dialogs (F11, F12). The dialogs report every button through the registered
// "CommDlg_FindReplace" message, which the frame hands to OnFindReplaceMessage.
#pragma once

#include <windows.h>

#include <string_view>

#include "platform/editor.h"

namespace quillet {

// Opens the Find (`replace` false) or Replace dialog owned by the frame, its find text
// taken from the active editor's selection or the word at the caret. Nothing happens
// without an active editor or while a dialog is open.
void OpenFindReplaceDialog(HWND frame, bool replace);

// True for the registered find-replace message (once a dialog was opened).
bool IsFindReplaceMessage(UINT message);

// Carries out the request of the dialog's record: dialog end, find next, replace or
// replace all, the first of these flags that is set. Answers 0.
LRESULT OnFindReplaceMessage(HWND frame);

// The open dialog, for the message loop's dialog keys; null when none is open.
HWND OpenFindReplaceWindow();

// Replaces every match of `find` (SCFIND_ flags) in the editor with `replace`: inside
// a selection spanning lines, otherwise in the whole text, in one undo step and with
// the control's drawing held until the end. Each search resumes after the text just
// inserted, so a replacement containing the find text does not loop; an empty find
// text replaces nothing. Returns the number of replacements.
int ReplaceAllMatches(const Editor &editor, std::string_view find, std::string_view replace, int searchFlags);

}  // namespace quillet
