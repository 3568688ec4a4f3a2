// Finding documents and their editors: the active document window of the frame's MDI
// client, its editing control (id 1029) and direct access to it. Every feature reaches
// the current script through here. Features below documents/ also learn a document's
// file here; the rest of the document's record lives with the documents
// (documents/document_record.h).
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

// The part of a document's record that every feature may read: its file and the
// encoding its bytes are shown in. The whole
// record (documents/document_record.h) begins with it, and a document window keeps it
// in GWLP_USERDATA from WM_CREATE to WM_NCDESTROY. A document is untitled exactly when
// its path is empty; no feature decides that from a name.
struct DocumentFile {
    std::string path;  // the script's file; empty while untitled
    EncodingId encoding = EncodingId::kAnsi;  // how the editor shows its bytes
};
// The file part of a document window's record, or null for any other window.
DocumentFile *GetDocumentFile(HWND document);
// The document's file, or empty for an untitled document (or no document).
std::string DocumentPath(HWND document);
// The open document whose file is `path` (compared whole, without regard to case), or null.
HWND FindDocumentByPath(HWND mdiClient, std::string_view path);

}  // namespace quillet
