// The frame's layout: the tool bar band on top, the document tab strip under it while a
// document is open, the MDI client below and the status bar at the bottom. The one
// owner of these measures.
#pragma once

#include <windows.h>

#include "platform/frame_state.h"

namespace quillet {

// Client-coordinate bands of the frame.
constexpr int kToolBandHeight = 45;
constexpr int kTabStripHeight = 30;

int StatusBarHeight(const FrameHandles &handles);

// The status bar in two parts: the notes on the left, the active document's encoding in
// a part of this width on the right (placed again whenever the bar is resized).
constexpr int kEncodingPartWidth = 130;
void LayOutStatusParts(HWND statusBar);

// Shows the tab strip under the tool band and gives the MDI client the space below it,
// or hides the strip and gives the client the whole band.
void PlaceTabStripAndClient(const FrameHandles &handles, bool stripShown);

// Enables or disables the tool bar's run, stop and debug buttons (disabled, they show
// their greyed images).
void EnableDebuggerButtons(HWND toolBar, bool enabled);

// The frame's WM_SIZE: bars resized, MDI client (and the strip while a document is
// open) placed, icons arranged.
void LayoutFrame(UINT sizeType, const FrameHandles *handles);

}  // namespace quillet
