// The frame's outer behaviour: window placement kept across runs, the tray icon's
// clicks and minimising/closing into the tray. (The skin commands are in the command
// table.)
#pragma once

#include <windows.h>

namespace quillet {

struct FrameState;

// Writes the frame's placement to the settings file (at WM_DESTROY).
void SaveFramePlacement(HWND frame);
// The tray icon's callback message; `mouseMessage` is the low word of its lParam.
LRESULT OnTrayIcon(HWND frame, UINT mouseMessage);
// WM_SYSCOMMAND: minimise and close go to the tray (close ends the program when
// "Exit On Close" is set); everything else gets default processing.
LRESULT OnFrameSysCommand(HWND frame, FrameState &state, WPARAM command, LPARAM lParam);

}  // namespace quillet
