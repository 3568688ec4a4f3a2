// Skins, the default frame size, the saved placement and the tray: the skin engine is
// only called (SkinStart, SkinWindowSet); the chosen skin file is stored for the next start.
#include "app/appearance.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "app/command_handlers.h"
#include "app/frame_window.h"
#include "app/settings_rules.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "skin/appface.h"

namespace quillet {

namespace {

constexpr std::size_t kMaxStoredPath = 259;

struct BuiltInSkin {
    int command;
    const char *file;    // given to the skin engine
    const char *stored;  // written to the settings file
};
constexpr BuiltInSkin kBuiltInSkins[] = {
    {kCmdSkinWinmp, text::kSkinFileWinmp, text::kSkinFileWinmp},
    {kCmdSkinClay, text::kSkinFileClay, text::kSkinStoredClay},
    {kCmdSkinOnion, text::kSkinFileOnion, text::kSkinFileOnion},
    {kCmdSkinSias, text::kSkinFileTrias, text::kSkinFileTrias},
    {kCmdSkinDefault, text::kDefaultSkin, text::kSkinStoredDefault},
};

bool StartSkin(const std::string &path) { return SkinStart(path.c_str(), 1, "", 1, nullptr, "") != FALSE; }

void StoreSkin(std::string_view path) {
    WriteSettingText(setting::kSkin, path.substr(0, kMaxStoredPath));
}

// Closes the frame and ends the loop, unless a document with unsaved text kept the
// frame open.
void CloseAndQuit(HWND frame) {
    SendMessageA(frame, WM_CLOSE, 0, 0);
    if (!IsWindow(frame)) PostQuitMessage(0);
}

}  // namespace

// A failed start shows nothing and the path is still stored: the next start then
// tells the user that the stored skin cannot be loaded.
CommandReply OnBuiltInSkin(CommandContext &context) {
    for (const BuiltInSkin &skin : kBuiltInSkins) {
        if (skin.command != context.id) continue;
        StartSkin(context.exeFolder + text::kSkinFolder + skin.file);
        SkinWindowSet(context.state.handles.toolBar, APPFACE_TOOLBAR);
        StoreSkin(std::string(TrimBlanks(context.exeFolder)) + text::kSkinFolder + skin.stored);
        return CommandReply::kOne;
    }
    return CommandReply::kDefault;
}

CommandReply OnOtherSkin(CommandContext &context) {
    char path[MAX_PATH] = "";
    const std::string folder = context.exeFolder + text::kSkinFolder;
    std::string filter = std::string(text::kSkinFilterName) + '\0' + text::kSkinFilterPattern + '\0';
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = context.frame;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = text::kSkinDialogTitle;
    request.Flags = OFN_EXPLORER;
    if (!platform::OpenFileDialog(&request)) path[0] = '\0';
    path[sizeof path - 1] = '\0';
    const std::string_view chosen = TrimBlanks(FieldText(path));
    if (chosen.empty()) return CommandReply::kOne;
    StartSkin(path);
    StoreSkin(chosen);
    return CommandReply::kOne;
}

// Centres a 1035 x 530 frame on the largest tracking size; the new placement is
// stored when the program ends.
CommandReply OnRestoreDefaultSize(CommandContext &context) {
    const Position at = DefaultFramePosition(GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK));
    MoveWindow(context.frame, at.x, at.y, kDefaultFrameWidth, kDefaultFrameHeight, FALSE);
    return CommandReply::kDefault;
}

// Stores the frame's left, top, width and height, which the next start gives
// SetWindowPos. (Converting the lower-right corner to client coordinates, as an
// earlier design did, made the frame grow a few pixels at every start wherever the
// border and caption sizes differ from the offsets it assumed.)
void SaveFramePlacement(HWND frame) {
    RECT rect{};
    GetWindowRect(frame, &rect);
    WriteSetting(setting::kWinX, rect.left);
    WriteSetting(setting::kWinY, rect.top);
    WriteSetting(setting::kWidth, rect.right - rect.left);
    WriteSetting(setting::kHeight, rect.bottom - rect.top);
}

// While the frame is visible the tray icon ignores clicks.
LRESULT OnTrayIcon(HWND frame, UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONDOWN) {
        if (!IsWindowVisible(frame)) ShowWindow(frame, SW_SHOW);
        return 0;
    }
    if (mouseMessage != WM_RBUTTONDOWN) return 0;
    if (!IsWindowVisible(frame)) {
        SetForegroundWindow(frame);
        const UINT chosen = platform::ChooseFromPopupMenu(frame, {{kIdTrayExit, text::kTrayExit}});
        if (chosen == kIdTrayExit) {
            CloseAndQuit(frame);
        } else {
            PostMessageA(frame, WM_NULL, 0, 0);  // lets the menu close properly
        }
    }
    return 1;
}

LRESULT OnFrameSysCommand(HWND frame, FrameState &state, WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE:
            ShowWindow(frame, SW_HIDE);
            return 0;
        case SC_CLOSE: {
            const SettingsRecord *settings = GetSettings(frame);
            if (!settings) settings = &state.settings;
            if (settings->closeFlag == 0) {
                ShowWindow(frame, SW_HIDE);
            } else if (settings->closeFlag == 1) {
                CloseAndQuit(frame);
            }
            return 0;
        }
        default:
            return DefFrameProcA(frame, state.handles.mdiClient, WM_SYSCOMMAND, command, lParam);
    }
}

}  // namespace quillet
