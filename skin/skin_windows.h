// The windows that appface.dll skins: their registry, the subclass procedure that
// paints them in the current skin's colours, and putting everything back.
#pragma once

#include <windows.h>

#include "urf_format.h"

namespace appface {

// Makes `skin` the look of every remembered window and repaints them; null removes the
// look (windows stay remembered and are painted normally).
void SetLook(const urf::Skin *skin);

// Remembers and subclasses `window` as one of the SkinWindowSet types; false for an
// unknown type or a window that is not this process's.
bool AttachWindow(HWND window, int type);

// Puts every remembered window back as it was and forgets it; repaints when asked
// (not while the DLL is being unloaded).
void DetachAll(bool repaint);

}  // namespace appface
