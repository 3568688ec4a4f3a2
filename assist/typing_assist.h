// The typing aids on the real editing control: what a document window does with its
// editor's SCN_CHARADDED and SCN_UPDATEUI notifications (indentation, completion
// list, typed-variable pick-up, call tips), and the operations they call.
#pragma once

#include <windows.h>

#include <string_view>

#include "platform/editor.h"

namespace quillet {

// Called by the document window for WM_NOTIFY. True when the notification was
// handled and the window answers 1; false leaves it to default processing.
bool HandleEditorNotification(HWND document, WPARAM wParam, LPARAM lParam);

// Opens the completion list for a typed character at the caret of `editor`.
void ShowCompletion(const Editor &editor, int typedChar);
// Adds a typed variable to the extended keyword list (nothing when it is already an
// item, ignoring case).
void AddTypedVariable(HWND frame, std::string_view name);
// Shows the tip of the command word at the caret of `editor`, when there is one.
void ShowCallTip(const Editor &editor);

}  // namespace quillet
