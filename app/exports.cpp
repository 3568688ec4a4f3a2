// The two functions the executable exports for other programs (the program itself
// never calls them). Linked with --kill-at, so they carry their plain names.
#include <windows.h>

#include "app/system_version.h"

extern "C" __declspec(dllexport) double __stdcall GETSYSFILEVER(const char *fileName) {
    return quillet::SystemFileVersion(fileName);
}

extern "C" __declspec(dllexport) double __stdcall INITCOMCTL32(DWORD classes) {
    return quillet::InitCommonControlsVersion(classes);
}
