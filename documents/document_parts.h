// Declarations shared between the files of the documents folder (Win32 side): the
// pieces that the document window, the file commands, the recent-files list and the
// editor menu call in one another.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "documents/encoding_rules.h"
#include "documents/document_record.h"
#include "platform/editor.h"

namespace quillet {

// The tab strip's tabs, each carrying its document window; `window` is any window of
// the frame.
bool HasDocumentTabs(HWND window);
// Adds the document's tab at the end, bringing the strip in with the first one.
void AddDocumentTab(HWND document, const std::string &label);
void SelectDocumentTab(HWND document);
// Gives the document's tab a new label; which tab is selected does not change.
void RelabelDocumentTab(HWND document, std::string_view label);
// Takes the document's tab away (the strip leaves with the last one) and brings the
// document of the tab then selected forward.
void RemoveDocumentTab(HWND document);

// Gives a document its file: record, title and tab label follow.
void SetDocumentPath(HWND document, const std::string &path);


// Each change of a document's editor (SCN_MODIFIED): before a deletion, the bookmark
// and breakpoint markers of the lines it takes away with their text are removed, so
// none lands on a neighbouring line; an undo of the deletion puts them back on their
// lines, standing for what they stood for before.
void DropMarkersOfDeletedLines(const SCNotification &notification);
// The document is going away: the marks its undo could put back go too.
void ForgetTakenMarks(HWND document);
// The document's encoding: shown by its editor and named in the status bar (when it is
// the active document); recognised from the bytes of a script just read from `path`;
// the active document's name written into the status bar.
void ShowDocumentEncoding(HWND document, EncodingId id);
// What the editor is told for an encoding: its code page, and its character set on
// every style.
void ApplyEncodingLook(const Editor &editor, EncodingId id);
void RecogniseDocumentEncoding(HWND document, const std::string &path);
void ShowEncodingOfActiveDocument(HWND frame);

// The marker and fold margins of a new editor; a click in the marker margin (true when
// the notification was one): breakpoint, or with Ctrl bookmark, of the clicked line.
void SetUpMargins(const Editor &editor);
bool OnMarginClick(HWND document, const SCNotification &notification);

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
