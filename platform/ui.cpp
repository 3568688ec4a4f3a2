// Message boxes and the common dialogs, with hooks for tests.
#include "platform/ui.h"

#include <shlobj.h>

namespace quillet::platform {

UiHooks &Hooks() {
    static UiHooks hooks;
    return hooks;
}

int ShowMessage(HWND owner, const char *text, const char *title, UINT style) {
    if (Hooks().message) return Hooks().message(owner, text ? text : "", title ? title : "", style);
    return MessageBoxA(owner, text, title, style);
}

BOOL OpenFileDialog(OPENFILENAMEA *request) {
    return Hooks().openFile ? Hooks().openFile(request) : GetOpenFileNameA(request);
}

BOOL SaveFileDialog(OPENFILENAMEA *request) {
    return Hooks().saveFile ? Hooks().saveFile(request) : GetSaveFileNameA(request);
}

BOOL FontDialog(CHOOSEFONTA *request) {
    return Hooks().font ? Hooks().font(request) : ChooseFontA(request);
}

BOOL ColourDialog(CHOOSECOLORA *request) {
    return Hooks().colour ? Hooks().colour(request) : ChooseColorA(request);
}

std::string BrowseForFolder(HWND owner, const char *prompt) {
    if (Hooks().folder) return Hooks().folder(owner, prompt ? prompt : "");
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = prompt;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    char path[MAX_PATH] = "";
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (!chosen) return {};
    if (!SHGetPathFromIDListA(chosen, path)) path[0] = '\0';
    CoTaskMemFree(chosen);
    return path;
}

UINT TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    if (Hooks().trackMenu) return Hooks().trackMenu(menu, owner);
    return static_cast<UINT>(TrackPopupMenu(menu, flags | TPM_RETURNCMD, x, y, 0, owner, nullptr));
}

UINT ChooseFromPopupMenu(HWND owner, const std::vector<PopupItem> &items) {
    HMENU menu = CreatePopupMenu();
    for (const PopupItem &item : items)
        AppendMenuA(menu, item.id ? MF_STRING : MF_SEPARATOR, static_cast<UINT_PTR>(item.id), item.text);
    POINT cursor{};
    GetCursorPos(&cursor);
    const UINT chosen = TrackMenu(menu, TPM_RETURNCMD, cursor.x, cursor.y, owner);
    DestroyMenu(menu);
    return chosen;
}

}  // namespace quillet::platform
