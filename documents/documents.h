// What the script documents offer the rest of the program: the document window class,
// the tab strip, the frame layout, the active editor lookup, open/new/save and the
// recent-files list.
#pragma once

#include <windows.h>

#include <string>

#include "documents/encoding_rules.h"
#include "platform/active_document.h"
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
// Creates a "Script" MDI child in the MDI client; WS_MAXIMIZE is added while the
// active document is maximised.
HWND CreateDocumentWindow(HWND mdiClient, const char *title, DWORD style);
// The document that the tab at `index` carries, brought forward (the frame's
// TCN_SELCHANGE); null when there is no such tab.
HWND ActivateTabDocument(int index);

// What a document window keeps about itself (its GWLP_USERDATA, from WM_CREATE to
// WM_NCDESTROY).
struct DocumentRecord {
    std::string path;        // the script's file; empty while untitled
    int untitledNumber = 0;  // N of "Untitled N"; 0 for a script with a file
    HWND editor = nullptr;   // its editing control (id 1029)
    EncodingId encoding = EncodingId::kAnsi;  // how the editor shows its bytes
};
// The record of a document window, or null for any other window.
DocumentRecord *GetDocumentRecord(HWND document);

// The language items: the active document shows its bytes in that code page.
void ShowActiveDocumentInCodePage(int codePage);
// "Reopen As" (a command id of that range; false for any other id): the document shows
// the same bytes in that encoding, remembered for its file.
bool ReopenDocumentAs(HWND document, int command);

// Open command (dialog), opening a path without dialog, and save (flag 1: ask for a
// name first). Save returns true when the text reached the file.
void OpenScriptCommand(HWND frame);
void OpenScriptPath(const char *path);
bool SaveScript(int flag);

// The frame's WM_CLOSE: sends WM_CLOSE to every document of the MDI client. A modified
// document whose save was cancelled or failed stays open and the walk stops there:
// false means a document remains and the frame must not be destroyed.
bool CloseAllDocuments(HWND mdiClient);

// The recent-files pop-up at the cursor (tool bar right-click) and clearing the list.
void ShowRecentFilesMenu(HWND frame);
void ClearRecentFiles();

}  // namespace quillet
