// The application shell's entry points: the whole program run, and the pieces of its
// start-up that tests drive one by one (class registration, frame creation, the
// accelerator table).
#pragma once

#include <windows.h>

namespace quillet {

// Starts, runs and shuts down the program; returns the process exit code: 1 when the
// start is refused, 0 when the keyword file cannot be loaded, otherwise WM_QUIT's code.
int RunQuillet(HINSTANCE instance, int showCommand);

// Registers the frame, document and labels pane window classes.
void RegisterShellClasses(HINSTANCE instance);
// Creates the (hidden) frame window; its creation builds menus, panes and settings.
HWND CreateFrameWindow(HINSTANCE instance);
// Starts the skin stored in the settings file, or the default skin; false (after
// telling the user) when it cannot be started.
bool StartStoredSkin();
// The keyboard accelerators, translated against the frame.
HACCEL CreateShellAccelerators();

}  // namespace quillet
