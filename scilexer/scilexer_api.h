// What SciLexer.dll exports beyond the "Scintilla" window class.
#pragma once

#include <windows.h>

#include "Scintilla.h"

// Sends a message to a control straight to its Scintilla object; `pointer` is the
// control's SCI_GETDIRECTPOINTER. SCI_SETLEXER (4001) selects a lexer by number here too.
extern "C" __declspec(dllimport) sptr_t __stdcall Scintilla_DirectFunction(sptr_t pointer, UINT message,
                                                                            uptr_t wParam, sptr_t lParam);
