// The frame window procedure (class QuillFrame): a dispatch list to one small handler
// per message, and the subclass procedure installed over the frame while it lives.
#include "app/frame_window.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "app/appearance.h"
#include "app/commands.h"
#include "app/dropped_files.h"
#include "app/find_replace.h"
#include "app/startup_trace.h"
#include "assist/labels_pane.h"
#include "assist/variable_scan.h"
#include "core/command_ids.h"
#include "core/debugger_link.h"
#include "debugger/debugger.h"
#include "documents/documents.h"
#include "platform/frame_layout.h"
#include "platform/settings_store.h"

namespace quillet {

namespace {

constexpr int kMinTrackWidth = 830;
constexpr int kMinTrackHeight = 300;
// Right clicks on the tool bar this far from its left edge open the recent-files menu.
constexpr int kRecentMenuOffset = 335;

LRESULT Default(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    const FrameState *state = GetFrameState(frame);
    return DefFrameProcA(frame, state ? state->handles.mdiClient : nullptr, message, wParam, lParam);
}

LRESULT OnGetMinMaxInfo(MINMAXINFO *info) {
    info->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
    info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    return 0;
}

// The settings come read (see CreateFrameWindow): the frame is made at their size.
BOOL OnNcCreate(HWND frame, const CREATESTRUCTA *creation) {
    MarkStartupStep("  frame: window made (WM_NCCREATE)");
    auto *state = new FrameState;
    if (const auto *settings = static_cast<const SettingsRecord *>(creation->lpCreateParams))
        state->settings = *settings;
    SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    RegisterProgramFrame(frame);
    return TRUE;
}

void OnNcDestroy(HWND frame) {
    FrameState *state = GetFrameState(frame);
    SetWindowLongPtrA(frame, GWLP_USERDATA, 0);
    if (ProgramFrame() == frame) RegisterProgramFrame(nullptr);
    if (!state) return;
    ReleaseMenus(state->menus);
    delete state;
}

// Menus, child windows, menu bar, settings record and check marks, in that order. The
// hidden panes wait for the message loop: the first paint does not need them.
LRESULT OnCreate(HWND frame, FrameState &state) {
    state.menus = BuildMenus();
    MarkStartupStep("  frame: menus");
    CreateFrameChildren(frame, state);
    MarkStartupStep("  frame: child windows, tool bar");
    SetMenu(frame, state.menus.bar);
    MarkStartupStep("  frame: menu bar attached");
    PublishSettings(frame, &state.settings);
    SetInitialCheckMarks(state.settings, state.menus);
    MarkStartupStep("  frame: settings, check marks");
    PostMessageA(frame, kMsgCreateHiddenPanes, 0, 0);
    state.created = true;
    return 0;
}

LRESULT OnSizing(HWND frame, FrameState &state, WPARAM wParam, LPARAM lParam) {
    InvalidateRect(state.handles.statusBar, nullptr, TRUE);
    return Default(frame, WM_SIZING, wParam, lParam);
}

// Lays out bars, tab strip and MDI client; documents are cascaded unless the active
// one is maximised.
LRESULT OnSize(FrameState &state, UINT sizeType) {
    if (!state.created) return 0;
    LayoutFrame(sizeType, &state.handles);
    HWND active = reinterpret_cast<HWND>(SendMessageA(state.handles.mdiClient, WM_MDIGETACTIVE, 0, 0));
    if (!IsZoomed(active)) SendMessageA(state.handles.mdiClient, WM_MDICASCADE, 0, 0);
    return 0;
}

bool WindowContains(HWND window, POINT point) {
    RECT rect{};
    return window && GetWindowRect(window, &rect) && PtInRect(&rect, point);
}

// The editor shows its own menu; the right part of the tool bar shows the recent files.
LRESULT OnContextMenu(HWND frame, FrameState &state) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowContains(ActiveEditorWindow(), cursor)) return 1;
    RECT toolBar{};
    if (state.handles.toolBar && GetWindowRect(state.handles.toolBar, &toolBar)) {
        toolBar.left += kRecentMenuOffset;
        if (PtInRect(&toolBar, cursor)) {
            ShowRecentFilesMenu(frame);
            return 1;
        }
    }
    return 0;
}

LRESULT OnCommand(HWND frame, FrameState &state, WPARAM wParam, LPARAM lParam) {
    switch (RunCommand(frame, state, LOWORD(wParam))) {
        case CommandReply::kOne: return 1;
        case CommandReply::kZero: return 0;
        case CommandReply::kDefault: break;
    }
    return Default(frame, WM_COMMAND, wParam, lParam);
}

// Every document handles its own close (and may ask to save). A document whose save
// was cancelled or failed stays open, and so does the frame, so no text is lost.
LRESULT OnClose(HWND frame, FrameState &state) {
    if (CloseAllDocuments(state.handles.mdiClient)) DestroyWindow(frame);
    return 0;
}

// A tab chosen in the document tab strip brings its document forward.
LRESULT OnNotify(HWND frame, const NMHDR *header, WPARAM wParam, LPARAM lParam) {
    const int code = static_cast<int>(header->code);
    if (code >= -580 && code <= -550 && header->idFrom == kIdTabStrip && code == static_cast<int>(TCN_SELCHANGE)) {
        const int index = static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
        if (HWND document = ActivateTabDocument(frame, index)) SetFocus(EditorOfDocument(document));
    }
    return Default(frame, WM_NOTIFY, wParam, lParam);
}

LRESULT OnDestroy(HWND frame, FrameState &state) {
    SaveFramePlacement(frame);
    SendEmptyRequest(frame, kRequestEditorClosing);
    DiscardVariableScans();
    RemoveFrameProperties(frame);
    DragAcceptFiles(frame, FALSE);
    // The tool bar is still there (children go after their parent's WM_DESTROY); its
    // disabled images are the frame's to free.
    if (auto greyed = reinterpret_cast<HIMAGELIST>(SendMessageA(state.handles.toolBar, TB_SETDISABLEDIMAGELIST, 0, 0)))
        ImageList_Destroy(greyed);
    if (state.handles.mdiClient && state.handles.mdiClientProc)
        SetWindowLongPtrA(state.handles.mdiClient, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(state.handles.mdiClientProc));
    PostQuitMessage(0);
    return 0;
}

}  // namespace

FrameState *GetFrameState(HWND frame) {
    if (!frame || GetClassLongPtrA(frame, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(FrameWindowProc))
        return nullptr;
    return reinterpret_cast<FrameState *>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

MenuHandles *GetMenuHandles(HWND frame) {
    FrameState *state = GetFrameState(frame);
    return state ? &state->menus : nullptr;
}

LRESULT CALLBACK FrameWindowProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO *>(lParam));
    if (message == WM_NCCREATE && !OnNcCreate(frame, reinterpret_cast<const CREATESTRUCTA *>(lParam))) return FALSE;
    FrameState *state = GetFrameState(frame);
    if (!state) return DefFrameProcA(frame, nullptr, message, wParam, lParam);
    switch (message) {
        case WM_CREATE: return OnCreate(frame, *state);
        case WM_DROPFILES: return OnDropFiles(frame, reinterpret_cast<HDROP>(wParam));
        case WM_COPYDATA:
            return HandleDebuggerMessage(frame, wParam, reinterpret_cast<const COPYDATASTRUCT *>(lParam),
                                         state->menus.testMe);
        case WM_SIZING: return OnSizing(frame, *state, wParam, lParam);
        case WM_SIZE: return OnSize(*state, static_cast<UINT>(wParam));
        case WM_CONTEXTMENU: return OnContextMenu(frame, *state);
        case WM_COMMAND: return OnCommand(frame, *state, wParam, lParam);
        case kMsgCreateHiddenPanes:
            CreateHiddenPanes(frame, *state);
            return 0;
        case kMsgTrayIcon: return OnTrayIcon(frame, LOWORD(lParam));
        case kMsgScanProgress:
        case kMsgScanDone: return OnVariableScanMessage(frame, message, wParam, lParam);
        case WM_SYSCOMMAND: return OnFrameSysCommand(frame, *state, wParam, lParam);
        case WM_CLOSE: return OnClose(frame, *state);
        case WM_NOTIFY: return OnNotify(frame, reinterpret_cast<const NMHDR *>(lParam), wParam, lParam);
        case WM_DESTROY: return OnDestroy(frame, *state);
        case WM_NCDESTROY: {
            const LRESULT result = Default(frame, message, wParam, lParam);
            OnNcDestroy(frame);
            return result;
        }
        default:
            if (IsFindReplaceMessage(message)) return OnFindReplaceMessage(frame);
            return Default(frame, message, wParam, lParam);
    }
}

// With a document open the right border does not resize the frame: it answers as
// client area there, and its upper half brings in the labels pane.
LRESULT CALLBACK FrameSubclassProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameState *state = GetFrameState(frame);
    WNDPROC previous = state ? state->handles.frameProc : FrameWindowProc;
    if (!previous) previous = FrameWindowProc;
    if (message == WM_NCHITTEST) {
        const LRESULT hit = CallWindowProcA(previous, frame, message, wParam, lParam);
        if (hit == HTRIGHT && ActiveDocument()) {
            OfferLabelsPaneAtBorder(frame, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return HTCLIENT;
        }
        return hit;
    }
    if (message == WM_DESTROY)
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallWindowProcA(previous, frame, message, wParam, lParam);
}

}  // namespace quillet
