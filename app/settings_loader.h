// The loader of the in-memory settings record, read before the frame is made.
#pragma once

#include <windows.h>

#include "platform/frame_state.h"

namespace quillet {

// The record as the settings file gives it, the stored frame size clamped against the
// screen and the taskbar. Starts a new run of the write failure report.
SettingsRecord ReadSettingsRecord();

}  // namespace quillet
