// Message boxes and the common dialogs. Everything the program shows modally goes
// through here, so tests can record what would have been shown and give scripted
// answers (UiHooks) while everything else runs for real.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

namespace quillet::platform {

int ShowMessage(HWND owner, const char *text, const char *title, UINT style);
BOOL OpenFileDialog(OPENFILENAMEA *request);
BOOL SaveFileDialog(OPENFILENAMEA *request);
BOOL FontDialog(CHOOSEFONTA *request);
BOOL ColourDialog(CHOOSECOLORA *request);
// The folder browser with a prompt and no start folder: the chosen folder, or an
// empty text when cancelled.
std::string BrowseForFolder(HWND owner, const char *prompt);
// A pop-up menu tracked at (x, y) with TPM_RETURNCMD added: the chosen command, 0 for none.
UINT TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner);

// One item of a pop-up menu; id 0 makes a separator.
struct PopupItem {
    UINT id;
    const char *text;
};
// Builds a pop-up menu of these items, tracks it at the cursor for `owner` and
// destroys it: the chosen id, 0 for none.
UINT ChooseFromPopupMenu(HWND owner, const std::vector<PopupItem> &items);

// Set by tests; an empty hook means the real dialog is shown.
struct UiHooks {
    std::function<int(HWND owner, const std::string &text, const std::string &title, UINT style)> message;
    std::function<BOOL(OPENFILENAMEA *)> openFile;
    std::function<BOOL(OPENFILENAMEA *)> saveFile;
    std::function<BOOL(CHOOSEFONTA *)> font;
    std::function<BOOL(CHOOSECOLORA *)> colour;
    std::function<std::string(HWND owner, const std::string &prompt)> folder;
    std::function<UINT(HMENU menu, HWND owner)> trackMenu;
};
UiHooks &Hooks();

}  // namespace quillet::platform
