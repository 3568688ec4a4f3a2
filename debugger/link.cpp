// The WM_COPYDATA link with the debugger side: sending requests to the connected
// debugger window and handling what the debugger side tells the frame.
#include <windows.h>
#include <commctrl.h>

#include "core/command_ids.h"
#include "core/debugger_link.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "debugger/link_rules.h"
#include "platform/frame_layout.h"
#include "platform/frame_state.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr UINT kRequestTimeoutMs = 2000;

constexpr int kScriptItems[] = {kCmdRunScript, kCmdStopScript, kCmdDebugScript};

// The debugger side waits in SendMessage for its notification: before a message box
// holds this thread, it is released, so neither side waits on the other.
void ReleaseSender() {
    if (InSendMessage()) ReplyMessage(1);
}

// Code 126: the debugger window becomes the one requests go to. The first debugger
// announced while no path is stored gives its path and is asked to close again.
void OnDebuggerStarted(HWND frame, HWND debugger, const std::string &announced, HMENU testMe) {
    PublishDebuggerWindow(frame, debugger);
    if (TrimBlanks(ReadSettingText(setting::kDebuggerPath)).empty()) {
        const std::string path(TrimBlanks(announced));
        if (!path.empty()) {
            WriteSettingText(setting::kDebuggerPath, path);
            ReleaseSender();
            platform::ShowMessage(nullptr, text::kDebuggerPathSet, text::kDebuggerPathSetTitle, MB_TASKMODAL);
            if (SettingsRecord *settings = GetSettings(frame)) PublishSettings(frame, settings);
            SendEmptyRequest(frame, kRequestCloseDebugger);
        } else {
            ReleaseSender();
            platform::ShowMessage(nullptr, text::kNoDebuggerPath, text::kNoDebuggerPathTitle, MB_OK);
        }
    }
    for (int item : kScriptItems) EnableMenuItem(testMe, static_cast<UINT>(item), MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(testMe, kCmdClearDefaultOlly, MF_BYCOMMAND | MF_ENABLED);
    if (const FrameHandles *handles = GetFrameHandles(frame)) EnableDebuggerButtons(handles->toolBar, true);
}

// Code 128: the debugger is gone; its items stay visible but do nothing.
void OnDebuggerClosing(HWND frame, HMENU testMe) {
    for (int item : kScriptItems) EnableMenuItem(testMe, static_cast<UINT>(item), MF_BYCOMMAND | MF_DISABLED);
    EnableMenuItem(testMe, kCmdClearDefaultOlly, MF_BYCOMMAND | MF_ENABLED);
    if (const FrameHandles *handles = GetFrameHandles(frame)) EnableDebuggerButtons(handles->toolBar, false);
    PublishDebuggerWindow(frame, nullptr);
}

}  // namespace

bool SendRequest(HWND frame, unsigned code, const void *data, DWORD size) {
    HWND debugger = GetDebuggerWindow(frame);
    if (!debugger) return false;
    COPYDATASTRUCT request{};
    request.dwData = static_cast<ULONG_PTR>(code);
    request.cbData = data ? size : 0;
    request.lpData = const_cast<void *>(data);
    // A debugger that stops answering (paused in a dialog, hung, itself being debugged)
    // must not freeze the editor and the user's unsaved text with it. While waiting, the
    // frame keeps handling what is sent to it: a debugger may answer the request with a
    // message of its own ("load a target") before it returns. A request that runs out of
    // time may still be carried out, so the status bar does not say it was not.
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(debugger, WM_COPYDATA, reinterpret_cast<WPARAM>(frame), reinterpret_cast<LPARAM>(&request),
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, kRequestTimeoutMs, &answer))
        return true;
    if (const FrameHandles *handles = GetFrameHandles(frame))
        SendMessageA(handles->statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text::kDebuggerNoAnswerYet));
    return false;
}

bool SendEmptyRequest(HWND frame, unsigned code) { return SendRequest(frame, code, nullptr, 0); }

LRESULT HandleDebuggerMessage(HWND frame, WPARAM sender, const COPYDATASTRUCT *data, HMENU testMe) {
    if (!data) return 1;
    const DebuggerNotice notice = DecodeDebuggerNotice(data->dwData, data->lpData, data->cbData);
    HWND debugger = reinterpret_cast<HWND>(sender);
    switch (notice.kind) {
    case DebuggerNotice::kStarted:
        // Requests go to this window later on: it has to be one.
        if (IsWindow(debugger)) OnDebuggerStarted(frame, debugger, notice.path, testMe);
        break;
    case DebuggerNotice::kClosing: OnDebuggerClosing(frame, testMe); break;
    case DebuggerNotice::kNoTarget:
        ReleaseSender();
        platform::ShowMessage(nullptr, text::kLoadTarget, text::kLoadTargetTitle, MB_OK);
        break;
    case DebuggerNotice::kPosition:  // accepted; nothing to show for it
    case DebuggerNotice::kIgnored: break;
    }
    return 1;
}

}  // namespace quillet
