// What working with the debugger offers the frame and the documents: the WM_COPYDATA
// link in both directions, launching and closing OllyDbg, the run / stop / debug
// requests for the active script, and the script breakpoints.
#pragma once

#include <windows.h>

#include <string>

#include "debugger/breakpoint_rules.h"

namespace quillet {

// --- The link (link.cpp) ---

// Sends one request to the debugger window named by the frame's "holly" property, with
// the frame as sender; nothing happens when no debugger is connected. A debugger that
// does not answer within 2 seconds is given up on (the status bar says so). True when
// the debugger took the request.
bool SendRequest(HWND frame, unsigned code, const void *data, DWORD size);
bool SendEmptyRequest(HWND frame, unsigned code);

// The frame's WM_COPYDATA: checks and handles a message of the debugger side (code 126
// connects the debugger and may take over its path, 128 disconnects it, 129 warns that
// no target is loaded). `testMe` is the menu holding the run, stop, debug and forget
// items. Always answers 1.
LRESULT HandleDebuggerMessage(HWND frame, WPARAM sender, const COPYDATASTRUCT *data, HMENU testMe);

// --- Launching (launch.cpp) ---

// The editor menu's "Launch Default OllyDbg", "Launch last target opened in  OllyDbg"
// and "Close OllyDbg".
void LaunchDebugger(HWND frame);
void LaunchDebuggerWithLastTarget(HWND frame);
void CloseDebugger(HWND frame);
// A program or shortcut dropped on the frame: the stored debugger starts with it.
void LaunchDebuggerWithProgram(const std::string &program);

// --- Script requests (script_requests.cpp) ---

// Saves a script with a file to it as Save does (atomically, telling the user of a
// failure) when its text differs from what the file held at the last read or write;
// true when the file holds the text. The documents provide it (they keep that record).
using DocumentSaver = bool (*)(HWND document);

// Run (F8), debug (F10) and stop (F9) for the active script, and "Clear Default Ollydbg".
// Run and debug save the script and the open scripts it includes first, and send
// nothing unless every save succeeded.
void RunScript(HWND frame, DocumentSaver save);
void DebugScript(HWND frame, DocumentSaver save);
void StopScript(HWND frame);
void ForgetDebugger(HWND frame);

// --- Script breakpoints (breakpoints.cpp) ---

// Alt+F2: sets or removes the breakpoint of the caret's line; Alt+F3: removes them all.
void ToggleBreakpoint(HWND frame);
void ClearAllBreakpoints(HWND frame);
// After a script was opened into a new document: markers for the list it owns, each on
// the line that still holds its entry's text (looked for nearby when the file was
// edited elsewhere; the entry is then corrected).
void RestoreBreakpointMarkers(HWND document);
// After the document was saved as `path`: when it owns the list, the entries of its
// markers are rewritten with their current lines and texts (nothing is written when
// none changed).
void StoreBreakpointsOnSave(HWND document, const std::string &path);
// The document is going away: what was kept about its markers goes too.
void ForgetBreakpointMarkers(HWND document);
// The list entry a breakpoint marker of the document stands for (empty when none), and
// a marker put back on `line` for that entry when an undo brought its deleted line back
// (`previousHandle`: the handle the marker had); the new marker's handle.
std::string BreakpointEntryOfMarker(HWND document, int handle);
int PutBreakpointMarkerBack(HWND document, long line, int previousHandle, const std::string &entry);

// The plug-in's section of the debugger's settings file, read and written whole.
ProfileSection ReadBreakpointSection(const std::string &debuggerIni);
void WriteBreakpointSection(const std::string &debuggerIni, const ProfileSection &section);

}  // namespace quillet
