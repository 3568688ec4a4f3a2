// System file versions for the exported functions.
#include "app/system_version.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace quillet {

double SystemFileVersion(const char *fileName) {
    char folder[MAX_PATH] = "";
    const UINT n = GetSystemDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return 0;
    std::string path(folder, n);
    if (path.back() != '\\') path += '\\';
    path += fileName ? fileName : "";

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return 0;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return 0;
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return HIWORD(info->dwFileVersionMS) + LOWORD(info->dwFileVersionMS) / 100.0;
}

double InitCommonControlsVersion(DWORD classes) {
    HMODULE library = LoadLibraryA("COMCTL32.DLL");
    if (!library) return 0;
    using InitEx = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
    auto initEx = reinterpret_cast<InitEx>(reinterpret_cast<void *>(GetProcAddress(library, "InitCommonControlsEx")));
    if (initEx) {
        INITCOMMONCONTROLSEX request{};
        request.dwSize = sizeof request;
        request.dwICC = classes ? classes : 0xFF;
        initEx(&request);
    } else {
        InitCommonControls();
    }
    FreeLibrary(library);
    return SystemFileVersion("COMCTL32.DLL");
}

}  // namespace quillet
