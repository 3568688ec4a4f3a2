// The WM_COPYDATA link with the debugger side: sending requests to the connected
// debugger window and handling what the debugger side tells the frame.
#include <windows.h>

#include "core/command_ids.h"
#include "core/debugger_link.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "debugger/link_rules.h"
#include "platform/frame_state.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr int kScriptItems[] = {kCmdRunScript, kCmdStopScript, kCmdDebugScript};

// Code 126: the debugger window becomes the one requests go to. The first debugger
// announced while no path is stored gives its path and is asked to close again.
void OnDebuggerStarted(HWND frame, HWND debugger, const std::string &announced, HMENU testMe) {
    PublishDebuggerWindow(frame, debugger);
    if (TrimBlanks(ReadSettingText(setting::kDebuggerPath)).empty()) {
        const std::string path(TrimBlanks(announced));
        if (!path.empty()) {
            WriteSettingText(setting::kDebuggerPath, path);
            platform::ShowMessage(nullptr, text::kDebuggerPathSet, text::kDebuggerPathSetTitle, MB_TASKMODAL);
            if (SettingsRecord *settings = GetSettings(frame)) PublishSettings(frame, settings);
            SendEmptyRequest(frame, kRequestCloseDebugger);
        } else {
            platform::ShowMessage(nullptr, text::kNoDebuggerPath, text::kNoDebuggerPathTitle, MB_OK);
        }
    }
    for (int item : kScriptItems) EnableMenuItem(testMe, static_cast<UINT>(item), MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(testMe, kCmdClearDefaultOlly, MF_BYCOMMAND | MF_ENABLED);
}

// Code 128: the debugger is gone; its items stay visible but do nothing.
void OnDebuggerClosing(HWND frame, HMENU testMe) {
    for (int item : kScriptItems) EnableMenuItem(testMe, static_cast<UINT>(item), MF_BYCOMMAND | MF_DISABLED);
    EnableMenuItem(testMe, kCmdClearDefaultOlly, MF_BYCOMMAND | MF_ENABLED);
    PublishDebuggerWindow(frame, nullptr);
}

}  // namespace

void SendRequest(HWND frame, unsigned code, const void *data, DWORD size) {
    HWND debugger = GetDebuggerWindow(frame);
    if (!debugger) return;
    COPYDATASTRUCT request{};
    request.dwData = code;
    request.cbData = data ? size : 0;
    request.lpData = const_cast<void *>(data);
    SendMessageA(debugger, WM_COPYDATA, reinterpret_cast<WPARAM>(frame), reinterpret_cast<LPARAM>(&request));
}

void SendEmptyRequest(HWND frame, unsigned code) { SendRequest(frame, code, nullptr, 0); }

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
        platform::ShowMessage(nullptr, text::kLoadTarget, text::kLoadTargetTitle, MB_OK);
        break;
    case DebuggerNotice::kPosition:  // accepted; nothing to show for it
    case DebuggerNotice::kIgnored: break;
    }
    return 1;
}

}  // namespace quillet
