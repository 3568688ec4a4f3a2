// SciLexer.dll: Scintilla 5 with the older SCI_SETLEXER (4001) message restored.
// Scintilla 5 takes lexer objects (SCI_SETILEXER); the editor selects its lexer by
// number, so the "Scintilla" window class and the direct function both turn 4001 into
// SCI_SETILEXER with the lexer for that number and pass every other message through.
#include <windows.h>

#include "ScintillaTypes.h"
#include "ScintillaWin.h"
#include "Scintilla.h"
#include "ILexer.h"

#include "scilexer/script_lexer.h"

using namespace Scintilla;

extern "C" __declspec(dllexport) sptr_t __stdcall Scintilla_DirectFunction(
    Internal::ScintillaWin *sci, UINT message, uptr_t wParam, sptr_t lParam);

namespace {

constexpr UINT kSetLexerByNumber = quillet::kSciSetLexer;  // SCI_SETLEXER of Scintilla 3

WNDPROC scintillaProc = nullptr;

// What SCI_GETDIRECTFUNCTION hands out: Scintilla's own answer is a cdecl function
// (SciFnDirect) and would bypass the adapter, so clients get this one instead.
sptr_t AdapterDirectFunction(sptr_t pointer, unsigned int message, uptr_t wParam, sptr_t lParam) {
    return Scintilla_DirectFunction(reinterpret_cast<Internal::ScintillaWin *>(pointer), message, wParam, lParam);
}

// Gives the control the lexer for a number. Asking again for the number it already
// has keeps the object, and with it the keywords it was given. `call` sends a
// message to the control by whichever path the caller came in on.
template <typename Call>
sptr_t SetLexerByNumber(int number, Call call) {
    // SCI_GETLEXER answers the identifier of the lexer object, 0 when there is none.
    if (number != 0 && call(SCI_GETLEXER, 0, 0) == number)
        return 0;
    call(SCI_SETILEXER, 0, reinterpret_cast<sptr_t>(quillet::CreateLexerByNumber(number)));
    return 0;
}

LRESULT CALLBACK AdapterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSetLexerByNumber) {
        return SetLexerByNumber(static_cast<int>(wParam), [&](UINT m, uptr_t w, sptr_t l) {
            return static_cast<sptr_t>(CallWindowProcW(scintillaProc, window, m, w, l));
        });
    }
    if (message == SCI_GETDIRECTFUNCTION)
        return reinterpret_cast<LRESULT>(&AdapterDirectFunction);
    return CallWindowProcW(scintillaProc, window, message, wParam, lParam);
}

// Re-registers the "Scintilla" class with the adapter in front of Scintilla's procedure.
// The class stays a Unicode one, as Scintilla registers it: its windows then give their
// text as characters decoded with the document's own encoding (WM_GETTEXT through
// SendMessageW), and ANSI callers get it in the system's code page as before.
bool InstallAdapter(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, L"Scintilla", &wc))
        return false;
    scintillaProc = wc.lpfnWndProc;
    UnregisterClassW(L"Scintilla", instance);
    wc.lpfnWndProc = AdapterWindowProc;
    wc.hInstance = instance;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

extern "C" __declspec(dllexport) sptr_t __stdcall Scintilla_DirectFunction(
    Internal::ScintillaWin *sci, UINT message, uptr_t wParam, sptr_t lParam) {
    if (message == kSetLexerByNumber) {
        return SetLexerByNumber(static_cast<int>(wParam), [&](UINT m, uptr_t w, sptr_t l) {
            return Internal::DirectFunction(sci, m, w, l);
        });
    }
    if (message == SCI_GETDIRECTFUNCTION)
        return reinterpret_cast<sptr_t>(&AdapterDirectFunction);
    return Internal::DirectFunction(sci, message, wParam, lParam);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (!Internal::RegisterClasses(instance) || !InstallAdapter(instance))
            return FALSE;
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        Internal::ResourcesRelease(true);
    }
    return TRUE;
}
