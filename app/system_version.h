// Version numbers of system files, offered to other programs through the two
// functions the executable exports (GETSYSFILEVER, INITCOMCTL32).
#pragma once

#include <windows.h>

namespace quillet {

// The file version of `fileName` in the system folder as major + minor / 100
// (5.82 for 5.82); 0 when the file or its version resource is missing.
double SystemFileVersion(const char *fileName);

// Initialises the common controls of `classes` (all of them for 0) through
// COMCTL32.DLL and returns its version as SystemFileVersion does; 0 when the
// library cannot be loaded.
double InitCommonControlsVersion(DWORD classes);

}  // namespace quillet
