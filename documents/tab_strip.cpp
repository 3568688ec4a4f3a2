// The document tab strip: one tab per open document, in creation order. Each tab
// carries its document window as item data, so two scripts with the same file name
// in different folders keep their own tabs even though their labels are equal.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/command_ids.h"
#include "documents/document_parts.h"
#include "documents/documents.h"
#include "platform/frame_layout.h"
#include "platform/frame_state.h"

namespace quillet {

namespace {

// The frame's handles, reached from any of its windows (a document, or the frame).
const FrameHandles *Handles(HWND window) { return GetFrameHandles(FrameOf(window)); }

HWND TabStrip(HWND window) {
    const FrameHandles *handles = Handles(window);
    return handles ? handles->tabStrip : nullptr;
}

int TabCount(HWND strip) { return strip ? static_cast<int>(SendMessageA(strip, TCM_GETITEMCOUNT, 0, 0)) : 0; }

HWND DocumentOfTab(HWND strip, int index) {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (!strip || !SendMessageA(strip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

int FindTab(HWND strip, HWND document) {
    const int count = TabCount(strip);
    for (int i = 0; i < count; ++i)
        if (DocumentOfTab(strip, i) == document) return i;
    return -1;
}

void RedrawMenuBar(HWND window) {
    if (HWND frame = FrameOf(window)) DrawMenuBar(frame);
}

}  // namespace

HWND CreateTabStrip(HWND frame) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(frame, GWLP_HINSTANCE));
    return CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, WC_TABCONTROLA, "",
                           WS_CHILD | WS_CLIPCHILDREN | TCS_FOCUSNEVER, 0, 0, 0, 0, frame,
                           reinterpret_cast<HMENU>(kIdTabStrip), instance, nullptr);
}

bool HasDocumentTabs(HWND window) { return TabCount(TabStrip(window)) > 0; }

void AddDocumentTab(HWND document, const std::string &label) {
    const FrameHandles *handles = Handles(document);
    HWND strip = handles ? handles->tabStrip : nullptr;
    if (!strip) return;
    if (!IsWindowVisible(strip)) PlaceTabStripAndClient(*handles, true);
    const int count = TabCount(strip);
    std::string textCopy = label;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = textCopy.data();
    item.iImage = -1;
    item.lParam = reinterpret_cast<LPARAM>(document);
    SendMessageA(strip, TCM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&item));
}

void SelectDocumentTab(HWND document) {
    HWND strip = TabStrip(document);
    const int index = FindTab(strip, document);
    if (index >= 0) SendMessageA(strip, TCM_SETCURSEL, index, 0);
}

void RelabelDocumentTab(HWND document, std::string_view label) {
    HWND strip = TabStrip(document);
    const int index = FindTab(strip, document);
    if (index < 0) return;
    // Only the label changes: the selected tab stays the active document's.
    std::string textCopy(label);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = textCopy.data();
    SendMessageA(strip, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void RemoveDocumentTab(HWND document) {
    const FrameHandles *handles = Handles(document);
    HWND strip = handles ? handles->tabStrip : nullptr;
    if (!strip) return;
    if (TabCount(strip) <= 1) PlaceTabStripAndClient(*handles, false);
    RedrawMenuBar(document);
    const int index = FindTab(strip, document);
    if (index >= 0) SendMessageA(strip, TCM_DELETEITEM, index, 0);
    HWND active = ActiveDocumentOf(handles->mdiClient);
    if (active && active != document) SelectDocumentTab(active);
    const int selected = static_cast<int>(SendMessageA(strip, TCM_GETCURSEL, 0, 0));
    if (selected >= 0) ActivateTabDocument(FrameOf(document), selected);
}

HWND ActivateTabDocument(HWND frame, int index) {
    HWND client = GetMdiClient(frame);
    HWND document = DocumentOfTab(TabStrip(frame), index);
    if (!client || !document || !IsWindow(document)) return nullptr;
    if (IsIconic(document)) {
        SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(document), 0);
    } else {
        ShowWindow(document, SW_HIDE);
        SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
        ShowWindow(document, SW_SHOWNA);
    }
    return document;
}

}  // namespace quillet
