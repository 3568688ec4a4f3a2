// Moving text between the system's code page (dialogs, keyword tips, list boxes) and an
// editor's bytes, whose encoding the editor's code page and default character set name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/editor.h"

namespace quillet {

// The Windows code page in which the editor's bytes are characters, as the control
// itself converts them: UTF-8, else the code page of its default style's character set,
// else its double-byte code page, else the system's (CP_ACP).
UINT TextCodePageOf(const Editor &editor);

// Text of the system's code page as the editor's bytes. Characters the editor's
// encoding lacks become "?"; while the editor shows the system's own code page the text
// passes unchanged.
std::string SystemTextAsEditorBytes(const Editor &editor, std::string_view text);

// The editor's bytes as UTF-16, for windows that show Unicode text whatever the
// system's code page; empty when the bytes are not characters of that encoding.
std::wstring EditorBytesAsWideText(const Editor &editor, std::string_view bytes);

// UTF-16 text (a Unicode dialog's) as the editor's bytes. False, with `bytes` left
// as it was, when the editor's encoding cannot hold one of its characters: no "?"
// or look-alike stands in for it.
bool WideTextAsEditorBytes(const Editor &editor, std::wstring_view text, std::string *bytes);

}  // namespace quillet
