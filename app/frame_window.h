// The frame window (class QuillFrame): its per-window record and procedures. The
// record lives from WM_NCCREATE to WM_NCDESTROY and holds the records published as
// the frame's properties.
#pragma once

#include <windows.h>

#include <string>

#include "app/menus.h"
#include "platform/frame_state.h"

namespace quillet {

struct FrameState {
    MenuHandles menus{};
    FrameHandles handles{};
    SettingsRecord settings{};  // published as "setting"; changed in place
    bool created = false;       // WM_CREATE has built everything
};

// The frame's record, or null for another window or before WM_NCCREATE.
FrameState *GetFrameState(HWND frame);

// Class procedure of QuillFrame.
LRESULT CALLBACK FrameWindowProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
// Installed over the frame during its creation; sees every message first.
LRESULT CALLBACK FrameSubclassProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

// Builds the frame's visible child windows (status bar, tool bar, MDI client),
// subclasses them and publishes "hndl" and "hclient".
void CreateFrameChildren(HWND frame, FrameState &state);
// Builds the hidden ones (labels pane, progress bar, tab strip), once.
void CreateHiddenPanes(HWND frame, FrameState &state);

}  // namespace quillet
