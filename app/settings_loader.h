// The loader of the in-memory settings record at the frame's creation.
#pragma once

#include <windows.h>

#include "platform/frame_state.h"

namespace quillet {

// Fills `record` from the settings file, clamping the stored frame size against the
// screen and the taskbar of `handles`, and publishes it on the frame.
void LoadSettings(HWND frame, const FrameHandles &handles, SettingsRecord &record);

}  // namespace quillet
