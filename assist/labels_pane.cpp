// The labels pane: filling its list from the active script, showing and hiding it,
// and the procedures of the pane and of its list box.
#include "assist/labels_pane.h"

#include <string>
#include <vector>

#include "assist/label_rules.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/active_document.h"
#include "platform/editor_text.h"
#include "platform/frame_state.h"
#include "platform/settings_store.h"

namespace quillet {

namespace {

constexpr int kPaneWidth = 200;
constexpr int kPaneRightGap = 204;
constexpr int kPaneHeightGap = 120;
constexpr COLORREF kDefaultLabelColour = 0x0000FF;
constexpr COLORREF kListBackground = 0xFFFFFF;

FrameHandles *Handles() { return GetFrameHandles(ProgramFrame()); }

COLORREF LabelColour() {
    const SettingsRecord *settings = GetSettings(ProgramFrame());
    if (!settings || settings->customColorFlag != 1) return kDefaultLabelColour;
    return static_cast<COLORREF>(
        ReadSettingEntry(text::kSecCustomColors, text::kKeyColorLabelRead, static_cast<int>(kDefaultLabelColour)));
}

LRESULT OnListColours(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, LabelColour());
    SetBkColor(dc, kListBackground);
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

// Moves the caret to the selected label's line and hands the focus to the document.
void JumpToSelectedLabel(HWND list) {
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return;
    const LRESULT line = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    ActiveEditor().Call(SCI_GOTOLINE, static_cast<uptr_t>(line));
    if (HWND document = ActiveDocument()) SetFocus(document);
}

// The list is a Unicode window: its subclass stays one, so its items are never narrowed.
LRESULT CALLBACK LabelsListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (message == WM_KILLFOCUS) {
        HideLabelsPane();
        if (HWND document = ActiveDocument()) SetFocus(document);
    } else if (message == WM_DESTROY && previous) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return previous ? CallWindowProcW(previous, list, message, wParam, lParam)
                    : DefWindowProcW(list, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK LabelsPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORLISTBOX: return OnListColours(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdLabelsList && HIWORD(wParam) == LBN_DBLCLK)
            JumpToSelectedLabel(reinterpret_cast<HWND>(lParam));
        break;
    case WM_SIZE:
        if (HWND list = GetDlgItem(pane, kIdLabelsList)) MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    default: break;
    }
    return DefWindowProcA(pane, message, wParam, lParam);
}

WNDPROC SubclassLabelsList(HWND list) {
    if (!list) return nullptr;
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelsListProc)));
    SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(previous));
    return previous;
}

// The items come sorted and are added at the end (LB_INSERTSTRING does not search the
// sorted list), so filling stays linear; each carries its line from the start.
bool FillLabelsList() {
    const FrameHandles *handles = Handles();
    HWND list = handles ? handles->labelsList : nullptr;
    if (!list) return false;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const Editor editor = ActiveEditor();
    if (editor.Call(SCI_GETLINECOUNT) == 0) return false;
    const std::vector<LabelItem> items = CollectLabelItems(editor.Text());
    if (items.empty()) return false;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, items.size(), items.size() * 16);
    // The list box's own procedure directly: these messages need nothing of the subclass.
    const WNDPROC listProc = handles->labelsListProc;
    const auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        return listProc ? CallWindowProcW(listProc, list, message, wParam, lParam)
                        : SendMessageW(list, message, wParam, lParam);
    };
    // Labels are the script's bytes, shown as the characters of the script's encoding.
    for (const LabelItem &item : items) {
        const std::wstring label = EditorBytesAsWideText(editor, item.text);
        const LRESULT index =
            send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(label.c_str()));
        if (index >= 0) send(LB_SETITEMDATA, static_cast<WPARAM>(index), item.line);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return true;
}

bool ShowLabelsPane(int top) {
    const FrameHandles *handles = Handles();
    HWND document = ActiveDocument();
    if (!handles || !handles->labelsPane || !document || !FillLabelsList()) return false;
    SendMessageA(handles->mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(document), 0);
    RECT client{};
    GetClientRect(handles->frame, &client);
    MoveWindow(handles->labelsPane, client.right - kPaneRightGap, client.top + top, kPaneWidth,
               client.bottom - kPaneHeightGap, TRUE);
    ShowWindow(handles->labelsPane, SW_SHOWNORMAL);
    SetFocus(handles->labelsList);
    return true;
}

void HideLabelsPane() {
    const FrameHandles *handles = Handles();
    if (!handles || !handles->labelsPane || !IsWindowVisible(handles->labelsPane)) return;
    ShowWindow(handles->labelsPane, SW_HIDE);
    if (HWND document = ActiveDocument()) RedrawWindow(document, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OfferLabelsPaneAtBorder(HWND frame, POINT cursor) {
    const FrameHandles *handles = GetFrameHandles(frame);
    if (!handles || !handles->labelsPane || IsWindowVisible(handles->labelsPane)) return;
    RECT upperHalf{};
    GetWindowRect(frame, &upperHalf);
    upperHalf.bottom = upperHalf.top + (upperHalf.bottom - upperHalf.top) / 2;
    if (PtInRect(&upperHalf, cursor)) ShowLabelsPane(kLabelsTopFromBorder);
}

}  // namespace quillet
