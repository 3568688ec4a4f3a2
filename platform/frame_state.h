// The records the frame window holds for the whole program, and typed access to the
// frame's named properties: no other file calls GetPropA/SetPropA with these names.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "core/settings_record.h"

namespace quillet {

// The frame's child windows and the window procedures they replaced (property "hndl").
struct FrameHandles {
    HWND frame;
    HWND toolBar;
    HWND statusBar;
    HWND taskBar;         // only its height is used
    HWND mdiClient;
    HBITMAP toolBitmap;   // deleted after use; the field keeps the stale handle
    HIMAGELIST toolImages;
    HWND tabStrip;
    WNDPROC mdiClientProc;
    WNDPROC frameProc;
    WNDPROC labelsPaneProc;
    WNDPROC labelsListProc;
    HWND progressBar;
    HWND labelsPane;
    HWND labelsList;
};

// The frame of this program, as the frame registers itself while it lives (null before
// and after). Never a lookup by class name, which could find another instance's frame.
HWND ProgramFrame();
void RegisterProgramFrame(HWND frame);

// Typed property getters and setters on the frame. Getters answer null when the
// frame or the property is missing.
FrameHandles *GetFrameHandles(HWND frame);
void PublishFrameHandles(HWND frame, FrameHandles *handles);
HWND GetMdiClient(HWND frame);
void PublishMdiClient(HWND frame, HWND client);
SettingsRecord *GetSettings(HWND frame);
void PublishSettings(HWND frame, SettingsRecord *settings);
HWND GetDebuggerWindow(HWND frame);
void PublishDebuggerWindow(HWND frame, HWND debugger);

// The keyword stores (texts owned by the keyword loader; the tip table's layout is
// the keyword loader's).
struct TipTable;
const char *GetKeywordList(HWND frame);
void PublishKeywordList(HWND frame, const char *list);
const char *GetKeywordAdded(HWND frame);
void PublishKeywordAdded(HWND frame, const char *list);
TipTable *GetTipTable(HWND frame);
void PublishTipTable(HWND frame, TipTable *tips);
const char *GetStatusNote(HWND frame);
void PublishStatusNote(HWND frame, const char *note);

// Removes every property the frame holds (at WM_DESTROY).
void RemoveFrameProperties(HWND frame);

}  // namespace quillet
