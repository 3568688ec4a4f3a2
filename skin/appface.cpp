// appface.dll's exported functions: SkinStart reads and checks a .urf file and makes it
// the current look, SkinWindowSet hands a window to the registry in skin_windows.cpp,
// SkinRemove puts everything back.
#include <windows.h>

#include "appface.h"
#include "skin_windows.h"
#include "urf_format.h"

namespace {

// One file at a time, on the window thread; a skin file is small (urf::kMaxFileSize).
char g_fileBuffer[urf::kMaxFileSize];

// Reads a whole skin file into g_fileBuffer. Only ordinary disk files are read: a device
// name such as "CON" would otherwise block, and anything larger than a skin can be is
// refused before reading.
bool ReadSkinFile(const char *path, std::size_t *size) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = false;
    LARGE_INTEGER length;
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &length) && length.QuadPart >= 0 &&
        length.QuadPart <= static_cast<LONGLONG>(sizeof g_fileBuffer)) {
        DWORD total = 0, wanted = static_cast<DWORD>(length.QuadPart);
        ok = true;
        while (total < wanted) {
            DWORD got = 0;
            if (!ReadFile(file, g_fileBuffer + total, wanted - total, &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0) break;  // the file shrank meanwhile: parse what is there
            total += got;
        }
        *size = total;
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

APPFACE_API BOOL __stdcall SkinStart(const char *path, int, const char *, int, HWND, const char *) {
    try {
        if (!path || !path[0]) return FALSE;
        std::size_t size = 0;
        if (!ReadSkinFile(path, &size)) return FALSE;
        urf::Result parsed = urf::Parse(g_fileBuffer, size);
        if (!parsed.ok()) return FALSE;
        appface::SetLook(&parsed.skin);
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory: the previous skin stays
    }
}

APPFACE_API BOOL __stdcall SkinWindowSet(HWND window, int type) {
    try {
        return appface::AttachWindow(window, type) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

APPFACE_API void __stdcall SkinRemove(void) {
    try {
        appface::DetachAll(true);
    } catch (...) {
    }
}

// Unloaded while windows still carry our procedure (FreeLibrary without SkinRemove): put
// them back, or their next message would jump into unmapped code. At process exit
// (reserved != null) nothing runs any more, so nothing is done.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        try {
            appface::DetachAll(false);
        } catch (...) {
        }
    }
    return TRUE;
}
