// "Add Script Window's Variables": the background scan of the active script for
// variables. The window thread styles the whole document and copies its text and
// styles; a worker thread walks the copy and hands the found names back to the frame
// with posted messages, so the editing control is only ever used by the window
// thread, and closing the document or the program, or starting another scan while one
// runs, is safe.
#pragma once

#include <windows.h>

namespace quillet {

// Starts a scan of the active document (the message "Please open script file" when
// there is none). Returns false when no scan was started.
bool StartVariableScan(HWND frame);

// The frame's handling of kMsgScanProgress and kMsgScanDone.
LRESULT OnVariableScanMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

// The frame goes away: results not yet taken are dropped and later ones are dropped
// on arrival.
void DiscardVariableScans();

}  // namespace quillet
