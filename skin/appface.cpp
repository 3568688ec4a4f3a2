// Placeholder until the skin engine lands.
#include <windows.h>
extern "C" __declspec(dllexport) BOOL __stdcall SkinStart(const char *, int, const char *, int, HWND, const char *) { return TRUE; }
extern "C" __declspec(dllexport) BOOL __stdcall SkinWindowSet(HWND, int) { return TRUE; }
extern "C" __declspec(dllexport) void __stdcall SkinRemove() {}
