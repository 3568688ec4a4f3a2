// A dialog template built in memory (DLGTEMPLATE and its items, in "MS Shell Dlg" 8),
// for the program's small dialogs that are not in the resources.
#pragma once

#include <windows.h>

#include <vector>

namespace quillet::platform {

// Atoms of the predefined control classes.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kListBoxAtom = 0x0083;

class DialogTemplate {
public:
    // The header: style (DS_SETFONT included by the caller), item count, size in dialog
    // units, title. x and y stay 0: the system places the dialog at its owner.
    DialogTemplate(DWORD style, WORD items, short cx, short cy, const char *title);

    void Item(WORD classAtom, int id, const char *title, short x, short y, short cx, short cy, DWORD style,
              DWORD exStyle = 0);

    const DLGTEMPLATE *Get() const { return reinterpret_cast<const DLGTEMPLATE *>(words_.data()); }

private:
    void Append(const void *data, std::size_t bytes);
    void String(const char *text);

    std::vector<WORD> words_;  // WORD-aligned by construction; vector storage is DWORD-aligned
};

// The modal dialog that asks for one line of text: an edit box (`editId`) above a default
// OK button and a Cancel button (IDOK, IDCANCEL), 160 by 55 dialog units, centred on its
// owner.
DialogTemplate EntryDialogTemplate(const char *title, int editId, const char *ok, const char *cancel);

}  // namespace quillet::platform
