/* appface.dll, the skin engine: loads a .urf skin file (skin/FORMAT.md) and paints the
   program's frame, tool bar and document tab strip with its colours. All calls belong on
   the thread that owns the skinned windows. */
#ifndef QUILLET_SKIN_APPFACE_H
#define QUILLET_SKIN_APPFACE_H

#include <windows.h>

#ifdef __cplusplus
#define APPFACE_EXTERN extern "C"
#else
#define APPFACE_EXTERN extern
#endif
#ifdef APPFACE_BUILD
#define APPFACE_API APPFACE_EXTERN
#else
#define APPFACE_API APPFACE_EXTERN __declspec(dllimport)
#endif

/* Window types of SkinWindowSet. */
#define APPFACE_FRAME 101   /* MDI frame: background, menu bar, MDI client, status bar */
#define APPFACE_TOOLBAR 222 /* ToolbarWindow32: gradient band, flat buttons */
#define APPFACE_TABS 214    /* SysTabControl32: strip and tabs painted in the skin's colours */

/* Loads the skin file at `path` and makes it the current skin; every window given to
   SkinWindowSet is repainted with it. Returns 0 when the file is missing, unreadable or
   malformed; the previous skin then stays. The other arguments are accepted and ignored
   (the program passes 1, "", 1, NULL, ""). */
APPFACE_API BOOL __stdcall SkinStart(const char *path, int reserved1, const char *reserved2, int reserved3,
                                     HWND reserved4, const char *reserved5);

/* Skins `window` as the given type and remembers it, so a later SkinStart re-skins it;
   the window is forgotten when it is destroyed. Calling it again for the same window only
   repaints it (or changes its type). Before any SkinStart the window is remembered and
   painted normally. FALSE for a null or invalid window, a window of another process or an
   unknown type. */
APPFACE_API BOOL __stdcall SkinWindowSet(HWND window, int type);

/* Undoes everything: window procedures, menu bar and status bar colours and tool bar
   style are put back, the windows are repainted and forgotten, the skin is dropped. */
APPFACE_API void __stdcall SkinRemove(void);

#endif
