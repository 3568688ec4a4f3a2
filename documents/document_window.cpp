// The "Script" document window: an MDI child hosting one Scintilla control (id 1029),
// with its record (path or untitled number, editor) kept in the window, and the MDI
// client subclass.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "editing/bookmarks.h"
#include "assist/script_checks.h"
#include "assist/structure_aids.h"
#include "assist/typing_assist.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "documents/document_parts.h"
#include "documents/documents.h"
#include "documents/script_names.h"
#include "platform/editor.h"
#include "platform/frame_state.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr DWORD kEditorStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MAXIMIZE |
                               WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL;
static_assert(kEditorStyle == 0x573001C4, "the style the editor always had");

// The number in the titles of new scripts; restarts when a document is created while
// no tab is left.
int untitledCounter = 0;
// The document last named by WM_MDIACTIVATE.
HWND currentDocument = nullptr;

// The frame that a document window belongs to (the MDI client's parent).
HWND FrameOf(HWND window) { return GetAncestor(window, GA_ROOT); }

const FrameHandles *Handles(HWND window) { return GetFrameHandles(FrameOf(window)); }

void RedrawMenuBar(HWND window) {
    if (HWND frame = FrameOf(window)) DrawMenuBar(frame);
}

// The path a document is created for (empty: a new script), handed from
// CreateDocumentWindow to WM_CREATE through the MDI creation parameter.
const std::string *CreationPath(const CREATESTRUCTA *creation) {
    const auto *mdi = creation ? static_cast<const MDICREATESTRUCTA *>(creation->lpCreateParams) : nullptr;
    return mdi ? reinterpret_cast<const std::string *>(mdi->lParam) : nullptr;
}

// WM_CREATE: the editor over the whole client area, its set-up, the document's record,
// the title and the tab.
LRESULT OnCreate(HWND window, const CREATESTRUCTA *creation) {
    RECT area{};
    GetClientRect(window, &area);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    LoadEditingComponent();  // normally loaded after the first paint already
    HWND editor = CreateWindowExA(WS_EX_CLIENTEDGE, "Scintilla", "", kEditorStyle, area.left, area.top, area.right,
                                  area.bottom - area.top, window, reinterpret_cast<HMENU>(kIdEditor), instance,
                                  nullptr);
    RedrawMenuBar(window);
    SetFocus(editor);
    SetUpEditor(editor);

    auto *record = new DocumentRecord{};
    record->editor = editor;
    AttachDocumentRecord(window, record);
    const SettingsRecord *settings = GetSettings(FrameOf(window));
    ShowDocumentEncoding(window, EncodingForCodePage(settings ? settings->codePage : 0));

    const std::string *path = CreationPath(creation);
    if (!HasDocumentTabs(window)) untitledCounter = 0;
    if (!path || path->empty()) {
        record->untitledNumber = ++untitledCounter;
        const std::string numbered = UntitledTitle(record->untitledNumber);
        SetWindowTextA(window, numbered.c_str());
        AddDocumentTab(window, numbered);
    } else {
        record->path = *path;
        SetWindowTextA(window, path->c_str());
        AddDocumentTab(window, TabLabelForPath(*path));
    }
    RedrawMenuBar(window);
    return 0;
}

LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    ForgetBookmarks(window);
    ForgetBreakpointMarkers(window);
    ForgetTakenMarks(window);
    ReleaseDocumentRecord(window);
    return DefMDIChildProcA(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT OnMdiActivate(HWND window, HWND activated) {
    currentDocument = activated;
    if (activated) SelectDocumentTab(activated);
    ShowEncodingOfActiveDocument(FrameOf(window));
    RedrawMenuBar(window);
    return 0;
}

// WM_CLOSE: asks about unsaved changes of this document. Answering Yes saves under a
// chosen name; when that is cancelled or fails the document stays open (result 0).
LRESULT OnClose(HWND window) {
    const Editor editor(EditorOfDocument(window));
    if (editor.Call(SCI_GETMODIFY)) {
        const std::string question = std::string(text::kSaveChangesQuestion) + DocumentName(window);
        const int answer = platform::ShowMessage(window, question.c_str(), text::kSaveChangesTitle,
                                                 MB_YESNO | MB_ICONEXCLAMATION);
        if (answer == IDYES) {
            // Save works on the active document: make this one active first.
            if (HWND client = GetParent(window)) SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
            if (!SaveScript(1)) return 0;
        }
    }
    RemoveDocumentTab(window);
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
    const FrameHandles *handles = Handles(window);
    if (handles && handles->labelsPane && IsWindowVisible(handles->labelsPane)) {
        SetFocus(handles->labelsList);
        ShowWindow(handles->labelsPane, SW_HIDE);
        if (HWND active = ActiveDocumentOf(GetParent(window))) RedrawWindow(active, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    SetFocus(reinterpret_cast<HWND>(target));
    return 1;
}

}  // namespace


void SetDocumentPath(HWND document, const std::string &path) {
    if (DocumentRecord *record = GetDocumentRecord(document)) {
        record->path = path;
        record->untitledNumber = 0;
    }
    RelabelDocumentTab(document, TabLabelForPath(path));
    SetWindowTextA(document, path.c_str());
}

LRESULT CALLBACK DocumentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<const CREATESTRUCTA *>(lParam));
    case WM_NCDESTROY: return OnNcDestroy(window, wParam, lParam);
    case WM_MDIACTIVATE: return OnMdiActivate(window, reinterpret_cast<HWND>(lParam));
    case WM_CLOSE: return OnClose(window);
    case WM_SIZE: return OnSize(window, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(window);
    case kMsgDocumentFocus: return OnDocumentFocus(window, wParam, lParam);
    case WM_CONTEXTMENU: ShowEditorMenu(window); return 0;
    case WM_HELP: ShowHelpForCaretWord(window); return 1;
    case WM_NOTIFY:
        if (wParam == kIdEditor) {
            const auto &notification = *reinterpret_cast<const SCNotification *>(lParam);
            if (notification.nmhdr.code == SCN_MODIFIED) DropMarkersOfDeletedLines(notification);
            OnScriptCheckNotification(window, notification, OpenScriptPath);
            OnStructureNotification(window, notification);
            if (OnMarginClick(window, notification)) return 0;
        }
        if (HandleEditorNotification(window, wParam, lParam)) return 1;
        return DefMDIChildProcA(window, message, wParam, lParam);
    default: return DefMDIChildProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK MdiClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const FrameHandles *handles = GetFrameHandles(GetParent(window));
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

HWND CreateDocumentWindow(HWND mdiClient, const std::string &path, DWORD style) {
    if (!mdiClient) return nullptr;
    // The frame makes its hidden panes (the tab strip among them) once its loop runs; a
    // document that comes sooner has them made first.
    SendMessageA(GetParent(mdiClient), kMsgCreateHiddenPanes, 0, 0);
    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    if (active && IsZoomed(active)) style |= WS_MAXIMIZE;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mdiClient, GWLP_HINSTANCE));
    // WM_CREATE finds `path` in the MDI creation parameter and titles the window.
    return CreateWindowExA(WS_EX_MDICHILD | WS_EX_CLIENTEDGE, text::kDocumentClass, "", style, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, nullptr, instance,
                           const_cast<std::string *>(&path));
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
