// The "Script" document window: an MDI child hosting one Scintilla control (id 1029),
// the tab strip that mirrors the open documents, the frame layout around them, the
// MDI client subclass and the active document and editor lookups.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "assist/script_checks.h"
#include "core/command_ids.h"
#include "platform/frame_state.h"
#include "core/texts.h"
#include "documents/document_parts.h"
#include "documents/documents.h"
#include "documents/script_names.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

// Client-coordinate bands of the frame: the tool bar area on top, then the tab strip.
constexpr int kToolBand = 45;
constexpr int kTabBand = 30;
// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MAXIMIZE | WS_VSCROLL |
// WS_HSCROLL with the edit bits ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL.
constexpr DWORD kEditorStyle = 0x573001C4;

// The number in the titles of new scripts; restarts when a document is created while
// no tab is left.
int untitledCounter = 0;
// The document last named by WM_MDIACTIVATE.
HWND currentDocument = nullptr;

FrameHandles *Handles() { return GetFrameHandles(FindFrame()); }

HWND TabStrip() {
    const FrameHandles *handles = Handles();
    return handles ? handles->tabStrip : nullptr;
}

int TabCount(HWND strip) { return strip ? static_cast<int>(SendMessageA(strip, TCM_GETITEMCOUNT, 0, 0)) : 0; }

std::string TabLabel(HWND strip, int index) {
    char label[260] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    if (!SendMessageA(strip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) return {};
    return std::string(FieldText(label));
}

// The tab whose trimmed label equals the trimmed file-name part of `title`, or -1.
int FindTab(HWND strip, std::string_view title) {
    const std::string_view name = TrimmedFileName(title);
    const int count = TabCount(strip);
    for (int i = 0; i < count; ++i)
        if (TrimBlanks(TabLabel(strip, i)) == name) return i;
    return -1;
}

void AddTab(HWND strip, const std::string &label) {
    if (!strip) return;
    const int count = TabCount(strip);
    if (count == 0) ShowWindow(strip, SW_SHOW);
    std::string textCopy = label;
    TCITEMA item{};
    item.mask = 0x1F;  // text, image, reading order, data and state
    item.pszText = textCopy.data();
    item.iImage = -1;
    item.lParam = 0;
    SendMessageA(strip, TCM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&item));
}

int StatusBarHeight(const FrameHandles &handles) {
    RECT bar{};
    if (!handles.statusBar || !GetWindowRect(handles.statusBar, &bar)) return 0;
    return bar.bottom - bar.top;
}

// Shows or hides the tab strip and gives the MDI client the space below it.
void PlaceStripAndClient(const FrameHandles &handles, bool stripShown) {
    RECT client{};
    GetClientRect(handles.frame, &client);
    const int statusHeight = StatusBarHeight(handles);
    const int width = client.right - client.left;
    if (stripShown) {
        ShowWindow(handles.tabStrip, SW_SHOWNORMAL);
        SetWindowPos(handles.tabStrip, nullptr, client.left, client.top + kToolBand, width, kTabBand,
                     SWP_SHOWWINDOW | SWP_NOZORDER);
        const int top = kToolBand + kTabBand;
        MoveWindow(handles.mdiClient, client.left, top, width, client.bottom - (statusHeight + top), TRUE);
    } else {
        ShowWindow(handles.tabStrip, SW_HIDE);
        MoveWindow(handles.mdiClient, client.left, kToolBand, width, client.bottom - (statusHeight + kToolBand),
                   TRUE);
    }
}

void RedrawMenuBar() {
    if (HWND frame = FindFrame()) DrawMenuBar(frame);
}

// WM_CREATE: the editor over the whole client area, its set-up, the title and the tab.
LRESULT OnCreate(HWND window) {
    const FrameHandles *handles = Handles();
    RECT area{};
    GetClientRect(window, &area);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    HWND editor = CreateWindowExA(WS_EX_CLIENTEDGE, "Scintilla", "", kEditorStyle, area.left, area.top, area.right,
                                  area.bottom - area.top, window, reinterpret_cast<HMENU>(kIdEditor), instance,
                                  nullptr);
    RedrawMenuBar();
    SetFocus(editor);
    SetUpEditor(editor);

    const std::string title = WindowTitle(window);
    HWND strip = handles ? handles->tabStrip : nullptr;
    if (strip && !IsWindowVisible(strip)) PlaceStripAndClient(*handles, true);
    if (TabCount(strip) == 0) untitledCounter = 0;
    if (IsUntitledTitle(title)) {
        const std::string numbered = UntitledTitle(++untitledCounter);
        SetWindowTextA(window, numbered.c_str());
        AddTab(strip, numbered);
    } else {
        AddTab(strip, TabLabelForTitle(title));
    }
    RedrawMenuBar();
    return 0;
}

LRESULT OnMdiActivate(HWND activated) {
    currentDocument = activated;
    if (activated) SelectTabForTitle(WindowTitle(activated));
    RedrawMenuBar();
    return 0;
}

// Takes the document's tab away; the strip disappears with the last one.
void RemoveTabOf(const std::string &title) {
    const FrameHandles *handles = Handles();
    HWND strip = handles ? handles->tabStrip : nullptr;
    if (!strip) return;
    if (TabCount(strip) <= 1) {
        PlaceStripAndClient(*handles, false);
        RedrawMenuBar();
    }
    RedrawMenuBar();
    const int index = FindTab(strip, title);
    if (index >= 0) SendMessageA(strip, TCM_DELETEITEM, index, 0);
    if (HWND active = ActiveDocument()) SelectTabForTitle(WindowTitle(active));
    const int selected = static_cast<int>(SendMessageA(strip, TCM_GETCURSEL, 0, 0));
    if (selected >= 0) DocumentFromTabLabel(TabLabel(strip, selected).c_str());
}

// WM_CLOSE: asks about unsaved changes of this document. Answering Yes saves under a
// chosen name; when that is cancelled or fails the document stays open (result 0).
LRESULT OnClose(HWND window) {
    const std::string title = WindowTitle(window);
    const Editor editor(EditorOfDocument(window));
    if (editor.Call(SCI_GETMODIFY)) {
        const std::string question = std::string(text::kSaveChangesQuestion) + title;
        const int answer = platform::ShowMessage(window, question.c_str(), text::kSaveChangesTitle,
                                                 MB_YESNO | MB_ICONEXCLAMATION);
        if (answer == IDYES) {
            // Save works on the active document: make this one active first.
            if (HWND client = GetParent(window)) SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
            if (!SaveScript(1)) return 0;
        }
    }
    RemoveTabOf(WindowTitle(window));
    if (currentDocument == window) currentDocument = nullptr;
    if (HWND client = GetParent(window)) SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
    return 1;
}

LRESULT OnSize(HWND window, WPARAM sizeType, LPARAM lParam) {
    if (sizeType != SIZE_MINIMIZED) {
        if (HWND editor = EditorOfDocument(window)) MoveWindow(editor, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    } else if (HWND client = GetParent(window)) {
        SendMessageA(client, WM_MDICASCADE, 0, 0);
    }
    return DefMDIChildProcA(window, WM_SIZE, sizeType, lParam);
}

LRESULT OnSetFocus(HWND window) {
    PostMessageA(window, kMsgDocumentFocus, reinterpret_cast<WPARAM>(EditorOfDocument(window)), 0);
    return 0;
}

// The focus goes to the editor; an open labels pane gives it up and hides.
LRESULT OnDocumentFocus(HWND window, WPARAM target, LPARAM lParam) {
    if (!target) return DefMDIChildProcA(window, kMsgDocumentFocus, target, lParam);
    const FrameHandles *handles = Handles();
    if (handles && handles->labelsPane && IsWindowVisible(handles->labelsPane)) {
        SetFocus(handles->labelsList);
        ShowWindow(handles->labelsPane, SW_HIDE);
        if (HWND active = ActiveDocument()) RedrawWindow(active, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    SetFocus(reinterpret_cast<HWND>(target));
    return 1;
}

}  // namespace


int SelectTabForTitle(std::string_view title) {
    HWND strip = TabStrip();
    const int index = FindTab(strip, title);
    if (index < 0) return 0;
    SendMessageA(strip, TCM_SETCURSEL, index, 0);
    return index;
}

void RelabelTab(std::string_view oldTitle, std::string_view newLabel) {
    HWND strip = TabStrip();
    if (!strip) return;
    const int index = SelectTabForTitle(oldTitle);
    std::string label(newLabel);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = label.data();
    SendMessageA(strip, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

LRESULT CALLBACK DocumentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_MDIACTIVATE: return OnMdiActivate(reinterpret_cast<HWND>(lParam));
    case WM_CLOSE: return OnClose(window);
    case WM_SIZE: return OnSize(window, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(window);
    case kMsgDocumentFocus: return OnDocumentFocus(window, wParam, lParam);
    case WM_CONTEXTMENU: ShowEditorMenu(window); return 0;
    case WM_HELP: ShowHelpForCaretWord(window); return 1;
    case WM_NOTIFY:
        if (wParam == kIdEditor)
            OnScriptCheckNotification(window, *reinterpret_cast<const SCNotification *>(lParam), OpenScriptPath);
        return DefMDIChildProcA(window, message, wParam, lParam);
    default: return DefMDIChildProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK MdiClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const FrameHandles *handles = GetFrameHandles(GetParent(window));
    if (!handles) handles = Handles();
    const WNDPROC previous = handles ? handles->mdiClientProc : nullptr;
    if (message == WM_MDIRESTORE) {
        SendMessageA(window, WM_MDICASCADE, 0, 0);
    } else if (message == WM_MDIMAXIMIZE) {
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsIconic(child)) continue;
            SendMessageA(window, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
            SendMessageA(window, WM_MDICASCADE, 0, 0);
        }
    }
    return previous ? CallWindowProcA(previous, window, message, wParam, lParam)
                    : DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTabStrip(HWND frame) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(frame, GWLP_HINSTANCE));
    return CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, WC_TABCONTROLA, "",
                           WS_CHILD | WS_CLIPCHILDREN | TCS_FOCUSNEVER, 0, 0, 0, 0, frame,
                           reinterpret_cast<HMENU>(kIdTabStrip), instance, nullptr);
}

void LayoutFrame(UINT sizeType, const FrameHandles *handles) {
    if (!handles) return;
    if (sizeType != SIZE_MINIMIZED) {
        RECT client{};
        GetClientRect(handles->frame, &client);
        const LPARAM size = MAKELPARAM(client.right - client.left, client.bottom - client.top);
        if (handles->toolBar) SendMessageA(handles->toolBar, WM_SIZE, sizeType, size);
        if (handles->statusBar) SendMessageA(handles->statusBar, WM_SIZE, sizeType, size);
        const int statusHeight = StatusBarHeight(*handles);
        const int width = client.right - client.left;
        const int top = client.top + kToolBand;
        SetWindowPos(handles->mdiClient, nullptr, client.left, top, width, client.bottom - (top + statusHeight),
                     SWP_SHOWWINDOW | SWP_NOZORDER);
        if (SendMessageA(handles->mdiClient, WM_MDIGETACTIVE, 0, 0)) {
            SetWindowPos(handles->tabStrip, nullptr, client.left, top, width, kTabBand, SWP_NOZORDER);
            const int clientTop = kToolBand + kTabBand;
            MoveWindow(handles->mdiClient, client.left, clientTop, width, client.bottom - (statusHeight + clientTop),
                       TRUE);
        }
    }
    SendMessageA(handles->mdiClient, WM_MDIICONARRANGE, 0, 0);
}

HWND CreateDocumentWindow(HWND mdiClient, const char *title, DWORD style) {
    if (!mdiClient) return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    if (active && IsZoomed(active)) style |= WS_MAXIMIZE;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mdiClient, GWLP_HINSTANCE));
    return CreateWindowExA(WS_EX_MDICHILD | WS_EX_CLIENTEDGE, text::kDocumentClass, title ? title : "", style,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, nullptr, instance,
                           nullptr);
}

HWND DocumentFromTabLabel(const char *label) {
    HWND client = CurrentMdiClient();
    if (!client || !label) return nullptr;
    const std::string_view name = TrimmedFileName(label);
    for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsDocumentWindow(child) || TrimmedFileName(WindowTitle(child)) != name) continue;
        if (IsIconic(child)) {
            SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
        } else {
            ShowWindow(child, SW_HIDE);
            SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
            ShowWindow(child, SW_SHOWNA);
        }
        return child;
    }
    return nullptr;
}


bool CloseAllDocuments(HWND mdiClient) {
    if (!mdiClient) return true;
    HWND child = GetWindow(mdiClient, GW_CHILD);
    while (child) {
        // Take the next one first: closing destroys the current one.
        HWND next = GetWindow(child, GW_HWNDNEXT);
        if (IsDocumentWindow(child)) {
            SendMessageA(child, WM_CLOSE, 0, 0);
            if (IsWindow(child)) return false;
        }
        child = next;
    }
    return true;
}

}  // namespace quillet
