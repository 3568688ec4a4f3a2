// Declarations shared between the files of the documents folder (Win32 side): the
// pieces that the document window, the file commands, the recent-files list and the
// editor menu call in one another.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/active_document.h"
#include "platform/editor.h"

namespace quillet {

// Selects the tab whose label equals the file-name part of `title`; returns its index,
// or 0 when none matches (the selection is then left alone).
int SelectTabForTitle(std::string_view title);
// Sets the label of the tab that names `oldTitle` (the first tab when none does).
void RelabelTab(std::string_view oldTitle, std::string_view newLabel);

// Brings the document titled `title` (ignoring case) forward, or creates it with `text`
// as its whole content; returns the window and whether it was created.
HWND OpenOrActivate(const std::string &title, std::string_view text, bool *created);

// Editor set-up and its final step, the colours of the token classes.
void SetUpEditor(HWND control);
void ApplyColours(const Editor &editor);

// The recent-files list in mru.ini.
void AddRecentFile(std::string_view path);
void RemoveRecentFile(std::string_view path);

// The editor's right-button menu, go-to-line and help on the word at the caret.
void ShowEditorMenu(HWND document);
void RunGoToLineDialog(HWND document, const Editor &editor);
std::string HelpWordAtCaret(const Editor &editor);
void ShowHelpForCaretWord(HWND document);

}  // namespace quillet
