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

// Shows the tab strip under the tool band and gives the MDI client the space below it,
// or hides the strip and gives the client the whole band.
void PlaceTabStripAndClient(const FrameHandles &handles, bool stripShown);

// The frame's WM_SIZE: bars resized, MDI client (and the strip while a document is
// open) placed, icons arranged.
void LayoutFrame(UINT sizeType, const FrameHandles *handles);

}  // namespace quillet
