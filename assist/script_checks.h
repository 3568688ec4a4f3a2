// Script checks in the editor: a short pause after the text changes (or a script is
// opened) the script is checked on a worker thread and each problem is underlined
// with a squiggle; hovering one shows its message in a call tip, the status bar shows
// the count, and "Next Problem" walks them. Go to label jumps from a label operand
// (Ctrl+click or a key) to the label's definition, opening the included script that
// defines it, and "Back" returns. The checks never change the text.
#pragma once

#include <windows.h>

#include <string>

#include "Scintilla.h"

namespace quillet {

// Opens a script by path and makes it the active document (the documents' open
// command; passed in because the documents sit above this layer).
using ScriptOpener = void (*)(const char *path);

// The document window passes every notification of its editor here.
void OnScriptCheckNotification(HWND document, const SCNotification &notification, ScriptOpener open);

// A change the editor did not report (made while its change notifications were held,
// as a bulk edit does): a running check is dropped and a new one follows the pause.
void OnUnreportedTextChange(HWND control);

// Commands on the active document.
void GoToNextProblem();
void GoToLabelAtCaret(ScriptOpener open);
void GoBackFromLabel();
// A jump elsewhere (go to label, a reference chosen from the list) leaves this place
// for "Back" to return to.
void RememberJumpOrigin(HWND document, sptr_t position);
// Reads a script named by an #inc line whole, as the checks do; false when it cannot be
// read or is too large to be a script.
bool ReadIncludedScript(const std::string &path, std::string &bytes);

// The switch in razuvi.ini; turning it off clears every squiggle, on checks every
// open document again.
bool ScriptChecksOn();
void SetScriptChecksOn(HWND frame, bool on);

// Problems currently underlined in an editor (the status bar count).
int ProblemCount(HWND editor);

// Indicators used in the editor: the squiggles (value = problem number + 1) and the
// hidden marks on label operands that Ctrl+click follows.
constexpr int kProblemIndicator = 8;
constexpr int kLabelLinkIndicator = 9;
// Pause after the last change before a check starts.
constexpr UINT kCheckPauseMs = 400;

}  // namespace quillet
