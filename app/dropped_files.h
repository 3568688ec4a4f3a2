// Files dropped on the frame: scripts open as documents, programs start the debugger,
// other kinds are refused.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace quillet {

// WM_DROPFILES: looks at the first dropped file only; always answers 1.
LRESULT OnDropFiles(HWND frame, HDROP drop);

}  // namespace quillet
