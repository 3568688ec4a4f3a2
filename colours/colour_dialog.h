// The modal "Set Custom Colors" dialog (command 1147): picks a colour for each of the
// nine token classes and stores the set in section "Custom Colors" of the settings file.
#pragma once

#include <windows.h>

namespace quillet {

// Builds the dialog, shows it modally over `owner` and returns when it ends.
void ShowColourDialog(HWND owner);

}  // namespace quillet
