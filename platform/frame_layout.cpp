// Placing the frame's bars, tab strip and MDI client.
#include "platform/frame_layout.h"

#include <commctrl.h>

#include "core/command_ids.h"

namespace quillet {

int StatusBarHeight(const FrameHandles &handles) {
    RECT bar{};
    if (!handles.statusBar || !GetWindowRect(handles.statusBar, &bar)) return 0;
    return bar.bottom - bar.top;
}

void LayOutStatusParts(HWND statusBar) {
    RECT bar{};
    if (!GetClientRect(statusBar, &bar)) return;
    const int width = static_cast<int>(bar.right);
    const int parts[2] = {width > kEncodingPartWidth ? width - kEncodingPartWidth : 0, -1};
    SendMessageA(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void PlaceTabStripAndClient(const FrameHandles &handles, bool stripShown) {
    RECT client{};
    GetClientRect(handles.frame, &client);
    const int statusHeight = StatusBarHeight(handles);
    const int width = client.right - client.left;
    if (stripShown) {
        ShowWindow(handles.tabStrip, SW_SHOWNORMAL);
        SetWindowPos(handles.tabStrip, nullptr, client.left, client.top + kToolBandHeight, width, kTabStripHeight,
                     SWP_SHOWWINDOW | SWP_NOZORDER);
        const int top = kToolBandHeight + kTabStripHeight;
        MoveWindow(handles.mdiClient, client.left, top, width, client.bottom - (statusHeight + top), TRUE);
    } else {
        ShowWindow(handles.tabStrip, SW_HIDE);
        MoveWindow(handles.mdiClient, client.left, kToolBandHeight, width,
                   client.bottom - (statusHeight + kToolBandHeight), TRUE);
    }
}

void LayoutFrame(UINT sizeType, const FrameHandles *handles) {
    if (!handles) return;
    if (sizeType != SIZE_MINIMIZED) {
        RECT client{};
        GetClientRect(handles->frame, &client);
        const LPARAM size = MAKELPARAM(client.right - client.left, client.bottom - client.top);
        if (handles->toolBar) SendMessageA(handles->toolBar, WM_SIZE, sizeType, size);
        if (handles->statusBar) {
            SendMessageA(handles->statusBar, WM_SIZE, sizeType, size);
            LayOutStatusParts(handles->statusBar);
        }
        const int statusHeight = StatusBarHeight(*handles);
        const int width = client.right - client.left;
        const int top = client.top + kToolBandHeight;
        SetWindowPos(handles->mdiClient, nullptr, client.left, top, width, client.bottom - (top + statusHeight),
                     SWP_SHOWWINDOW | SWP_NOZORDER);
        if (SendMessageA(handles->mdiClient, WM_MDIGETACTIVE, 0, 0)) {
            SetWindowPos(handles->tabStrip, nullptr, client.left, top, width, kTabStripHeight, SWP_NOZORDER);
            const int clientTop = kToolBandHeight + kTabStripHeight;
            MoveWindow(handles->mdiClient, client.left, clientTop, width, client.bottom - (statusHeight + clientTop),
                       TRUE);
        }
    }
    SendMessageA(handles->mdiClient, WM_MDIICONARRANGE, 0, 0);
}

void EnableDebuggerButtons(HWND toolBar, bool enabled) {
    for (int command : {kCmdToolRun, kCmdToolStop, kCmdToolDebug})
        SendMessageA(toolBar, TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

}  // namespace quillet
