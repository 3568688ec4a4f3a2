// Pattern paste ("PtrnPaste" of the editor menu): the instruction lines on the
// clipboard, copied from the debugger's CPU window, go into the active script as one
// byte search pattern such as #68????????E8????????#.
#pragma once

namespace quillet {

// Converts the clipboard's text and puts the pattern in place of the active editor's
// selection. The clipboard itself is only read, so it keeps the user's text (in every
// format it had). A clipboard without text shows "Sorry,could not do it".
void PastePattern();

}  // namespace quillet
