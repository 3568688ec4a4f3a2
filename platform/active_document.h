// Finding documents and their editors: the active document window of the frame's MDI
// client, its editing control (id 1029) and direct access to it. Every feature reaches
// the current script through here.
#pragma once

#include <windows.h>

#include <string>

#include "platform/editor.h"

namespace quillet {

// The MDI client of the running frame ("hclient"), or null.
HWND CurrentMdiClient();
// The active document window, its editor control and direct access to it; null / a
// closed Editor when no document is open.
HWND ActiveDocument();
HWND ActiveEditorWindow();
Editor ActiveEditor();

// The editor control of a document window.
HWND EditorOfDocument(HWND document);
// True for a window of the "Script" document class.
bool IsDocumentWindow(HWND window);
// A window's whole text, of any length (a document's title is its path or untitled name).
std::string WindowTitle(HWND window);

}  // namespace quillet
