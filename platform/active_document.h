// Finding documents and their editors: the active document window of the frame's MDI
// client, its editing control (id 1029) and direct access to it. Every feature reaches
// the current script through here.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "core/encodings.h"
#include "platform/editor.h"

namespace quillet {

// The MDI client of the program's frame ("hclient"), or null.
HWND CurrentMdiClient();
// The active document window, its editor control and direct access to it; null / a
// closed Editor when no document is open.
HWND ActiveDocument();
// The active document of the given MDI client.
HWND ActiveDocumentOf(HWND mdiClient);
HWND ActiveEditorWindow();
Editor ActiveEditor();

// The frame a window of the program belongs to (its top-level ancestor): how a
// feature working on a document or editor reaches the frame's properties.
HWND FrameOf(HWND window);
// The editor control of a document window.
HWND EditorOfDocument(HWND document);
// True for a window of the "Script" document class.
bool IsDocumentWindow(HWND window);
// A window's whole text, of any length. Only for showing: a document's path is in its
// record, never taken from its title.
std::string WindowTitle(HWND window);

// What a document window keeps about itself (its GWLP_USERDATA, from WM_CREATE to
// WM_NCDESTROY): the document's identity. Title, tab label, saving, bookmarks,
// breakpoints, the debugger's requests and the recent files all read it from here.
struct DocumentRecord {
    std::string path;        // the script's file; empty while untitled
    int untitledNumber = 0;  // N of "Untitled N"; 0 for a script with a file
    HWND editor = nullptr;   // its editing control (id 1029)
    EncodingId encoding = EncodingId::kAnsi;  // how the editor shows its bytes
};
// The record of a document window, or null for any other window.
DocumentRecord *GetDocumentRecord(HWND document);
// The document's file, or empty for an untitled document (or no document).
std::string DocumentPath(HWND document);
// "Untitled N" of an untitled document (its number), else empty.
std::string DocumentUntitledName(HWND document);
// The document's file, or "Untitled N" for an untitled one: the name shown and kept
// in lists that treat untitled names as "no file".
std::string DocumentName(HWND document);
// The open document whose file is `path` (compared whole, without regard to case), or null.
HWND FindDocumentByPath(HWND mdiClient, std::string_view path);

}  // namespace quillet
