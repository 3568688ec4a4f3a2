// Structure aids in the editor: hovering a number shows what it means (hex, unsigned
// and signed decimal, ASCII) in a call tip; the word at the caret is marked wherever
// it shows on the screen once the caret rests; references list every line that
// defines or uses a label or variable, in the script and the scripts it includes;
// rename changes a label or variable everywhere it means the same thing.
#pragma once

#include <windows.h>

#include "Scintilla.h"
#include "assist/script_checks.h"

namespace quillet {

// The document window passes every notification of its editor here (after the script
// checks, whose problem tips take precedence over the number tip).
void OnStructureNotification(HWND document, const SCNotification &notification);

// Renames the label or variable at the active document's caret: asks for the new name,
// refuses one the language would read as something else or that is already used (in
// the script or the scripts it includes) with a message saying why, and changes the
// script and its included scripts that are open in the editor, each in one undo step;
// a message names the included scripts it changed and those it could not change.
void RenameNameAtCaret();

// Lists the lines that define or use the label or variable at the active document's
// caret, in it and the scripts it includes, in a list walked with the keys; Enter or a
// double click goes to the chosen line (opening its script with `open` when it is not
// open), and "Back From Label" returns.
void FindReferencesAtCaret(ScriptOpener open);

// The indicator that marks the occurrences of the word at the caret.
constexpr int kWordHighlightIndicator = 10;

}  // namespace quillet
