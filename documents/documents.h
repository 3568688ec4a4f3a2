// What the script documents offer the rest of the program: the document window class,
// the tab strip, the frame layout, the active editor lookup, open/new/save and the
// recent-files list.
#pragma once

#include <windows.h>

#include <string>

#include "documents/encoding_rules.h"
#include "documents/document_record.h"
#include "platform/editor.h"
#include "platform/frame_state.h"

namespace quillet {

// Window procedure of the "Script" document window class.
LRESULT CALLBACK DocumentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Replacement procedure of the MDI client (cascades on restore and maximise); the
// previous procedure is FrameHandles::mdiClientProc.
LRESULT CALLBACK MdiClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the document tab strip, hidden and of zero size, as a child of `frame`.
HWND CreateTabStrip(HWND frame);
// Creates a "Script" MDI child in the MDI client for the script at `path`, or a new
// untitled script when `path` is empty; WS_MAXIMIZE is added while the active
// document is maximised.
HWND CreateDocumentWindow(HWND mdiClient, const std::string &path, DWORD style);
// The document that the tab at `index` carries, brought forward (the frame's
// TCN_SELCHANGE); null when there is no such tab.
HWND ActivateTabDocument(HWND frame, int index);

// The language items: the active document shows its bytes in that code page.
void ShowActiveDocumentInCodePage(int codePage);
// "Reopen As" (a command id of that range; false for any other id): the document shows
// the same bytes in that encoding, remembered for its file.
bool ReopenDocumentAs(HWND document, int command);

// Open command (dialog), opening a path without dialog, and save (flag 1, or a script
// without a file: ask for a name first). Save returns true when the text reached the file.
void OpenScriptCommand(HWND frame);
void OpenScriptPath(const char *path);
bool SaveScript(int flag);
// Save (flag 0) or Save As (flag 1) of a given document; the active one for SaveScript.
bool SaveDocument(HWND document, int flag);
// Run and debug's save: writes a script with a file to it when its text differs from
// what the file held at the last read or write, whatever the editor's modified flag
// says (the variable scan clears that flag). True when the file holds the text; an
// untitled document is left alone.
bool SaveDocumentIfChanged(HWND document);

// The frame's WM_CLOSE: sends WM_CLOSE to every document of the MDI client. A modified
// document whose save was cancelled or failed stays open and the walk stops there:
// false means a document remains and the frame must not be destroyed.
bool CloseAllDocuments(HWND mdiClient);

// Fold all (true) or unfold all of a document's blocks; the caret stays on a visible line.
void FoldAllBlocks(HWND document, bool fold);

// The recent-files pop-up at the cursor (tool bar right-click) and clearing the list.
void ShowRecentFilesMenu(HWND frame);
void ClearRecentFiles();

}  // namespace quillet
