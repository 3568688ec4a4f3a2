// Writing a dialog template into a WORD buffer.
#include "platform/dialog_template.h"

#include <cstring>

namespace quillet::platform {

namespace {
constexpr WORD kFontPoints = 8;
constexpr char kFontFace[] = "MS Shell Dlg";
}  // namespace

DialogTemplate::DialogTemplate(DWORD style, WORD items, short cx, short cy, const char *title) {
    DLGTEMPLATE header{};
    header.style = style;
    header.cdit = items;
    header.cx = cx;
    header.cy = cy;
    Append(&header, sizeof header);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the predefined dialog class
    String(title);
    words_.push_back(kFontPoints);
    String(kFontFace);
}

void DialogTemplate::Item(WORD classAtom, int id, const char *title, short x, short y, short cx, short cy,
                          DWORD style, DWORD exStyle) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
    DLGITEMTEMPLATE item{};
    item.style = style;
    item.dwExtendedStyle = exStyle;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = static_cast<WORD>(id);
    Append(&item, sizeof item);
    words_.push_back(0xFFFF);
    words_.push_back(classAtom);
    String(title);
    words_.push_back(0);  // no creation data
}

void DialogTemplate::Append(const void *data, std::size_t bytes) {
    const std::size_t at = words_.size();
    words_.resize(at + bytes / sizeof(WORD));
    std::memcpy(words_.data() + at, data, bytes);
}

// The texts are ASCII, so each byte widens to one UTF-16 unit.
void DialogTemplate::String(const char *text) {
    for (const char *p = text; *p; ++p) words_.push_back(static_cast<unsigned char>(*p));
    words_.push_back(0);
}

DialogTemplate EntryDialogTemplate(const char *title, int editId, const char *ok, const char *cancel) {
    DialogTemplate dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 3, 160, 55,
                          title);
    dialog.Item(kEditAtom, editId, "", 14, 21, 134, 12, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
    dialog.Item(kButtonAtom, IDOK, ok, 44, 38, 40, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    dialog.Item(kButtonAtom, IDCANCEL, cancel, 90, 38, 40, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
    return dialog;
}

}  // namespace quillet::platform
