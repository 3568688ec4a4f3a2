// The command table and the shell commands that act on documents: new, open and save
// hand-overs, arranging the documents, marker navigation, the script requests that
// need an open document, forgetting the debugger and the completion reset.
#include "app/commands.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "app/command_handlers.h"
#include "assist/script_checks.h"
#include "core/command_ids.h"
#include "platform/settings_store.h"
#include "core/texts.h"
#include "colours/colour_dialog.h"
#include "documents/documents.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr char kShell[] = "shell";
constexpr char kDocuments[] = "documents";
constexpr char kSkins[] = "skins";
constexpr char kBookmarks[] = "bookmarks";
constexpr char kBlockComments[] = "block comments";
constexpr char kFindReplace[] = "find and replace";
constexpr char kAutoCompletion[] = "autocompletion";
constexpr char kDebugger[] = "debugger";
constexpr char kBreakpoints[] = "script breakpoints";
constexpr char kRecentFiles[] = "recent files";
constexpr char kColours[] = "colours";
constexpr char kLabels[] = "labels pane";
constexpr char kScriptChecks[] = "script checks";

constexpr CommandEntry kCommands[] = {
    {kCmdNew, OnNewScript, kShell},
    {kCmdOpen, OnOpenScript, kDocuments},
    {kCmdSave, OnSaveScript, kDocuments},
    {kCmdToolSpare1, nullptr, kShell},
    {kCmdToolSpare2, nullptr, kShell},
    {kCmdToolSpare3, nullptr, kShell},
    {kCmdCallTipsSwitch, OnCallTipsSwitch, kShell},
    {kCmdAutoCompleteSwitch, OnAutoCompleteSwitch, kShell},
    {kCmdBlockComment, nullptr, kBlockComments},
    {kCmdBlockUncomment, nullptr, kBlockComments},
    {kCmdToggleBookmark, nullptr, kBookmarks},
    {kCmdDeleteBookmarks, nullptr, kBookmarks},
    {kCmdNextBookmark, OnNextBookmark, kShell},
    {kCmdPreviousBookmark, OnPreviousBookmark, kShell},
    {kCmdFind, nullptr, kFindReplace},
    {kCmdReplace, nullptr, kFindReplace},
    {kCmdMyCustomColor, OnMyCustomColour, kShell},
    {kCmdAddScriptVariables, nullptr, kAutoCompletion},
    {kCmdAddTypedVariables, OnTypedVariables, kShell},
    {kCmdResetAutoComplete, OnResetAutoComplete, kShell},
    {kCmdRunScript, OnScriptRequest, kDebugger},
    {kCmdStopScript, OnScriptRequest, kDebugger},
    {kCmdDebugScript, OnScriptRequest, kDebugger},
    {kCmdClearDefaultOlly, OnForgetDebugger, kShell},
    {kCmdSkinWinmp, OnBuiltInSkin, kSkins},
    {kCmdSkinClay, OnBuiltInSkin, kSkins},
    {kCmdSkinOnion, OnBuiltInSkin, kSkins},
    {kCmdSkinSias, OnBuiltInSkin, kSkins},
    {kCmdSkinOthers, OnOtherSkin, kSkins},
    {kCmdSkinDefault, OnBuiltInSkin, kSkins},
    {kCmdExitOnClose, OnExitOnClose, kShell},
    {kCmdLangUtf8, OnLanguage, kShell},
    {kCmdLangShiftJis, OnLanguage, kShell},
    {kCmdLangGbk, OnLanguage, kShell},
    {kCmdLangBig5, OnLanguage, kShell},
    {kCmdLangHangul, OnLanguage, kShell},
    {kCmdLangJohab, OnLanguage, kShell},
    {kCmdLangDefault, OnLanguage, kShell},
    {kCmdSetFont, OnSetFont, kShell},
    {kCmdRestoreDefaultSize, OnRestoreDefaultSize, kSkins},
    {kCmdSetScriptFolder, OnSetScriptFolder, kShell},
    {kCmdSetCommentFont, OnSetCommentFont, kShell},
    {kCmdNoAutoIndentation, OnNoAutoIndentation, kShell},
    {kCmdMsdnSearch, OnDocumentationLookup, kShell},
    {kCmdBlockCommentHighlightOff, OnBlockCommentHighlight, kShell},
    {kCmdTileVertically, OnTileVertically, kShell},
    {kCmdTileHorizontally, OnTileHorizontally, kShell},
    {kCmdCascade, OnCascade, kShell},
    {kCmdClearMru, OnClearRecentFiles, kRecentFiles},
    {kCmdToggleBreakpoint, nullptr, kBreakpoints},
    {kCmdRemoveBreakpoints, nullptr, kBreakpoints},
    {kCmdNextBreakpoint, OnNextBreakpoint, kShell},
    {kCmdPreviousBreakpoint, OnPreviousBreakpoint, kShell},
    {kCmdSetCustomColors, OnCustomColourDialog, kColours},
    {kCmdShowLabels, nullptr, kLabels},
    {kCmdNextProblem, OnNextProblem, kScriptChecks},
    {kCmdGoToLabel, OnGoToLabel, kScriptChecks},
    {kCmdBackFromLabel, OnBackFromLabel, kScriptChecks},
    {kCmdScriptChecksOff, OnScriptChecksSwitch, kScriptChecks},
};

constexpr int kBookmarkMask = 1;    // marker 0
constexpr int kBreakpointMask = 2;  // marker 1

// Moves the caret to the next (or previous) line carrying a marker of `mask`,
// wrapping around at the end (or start) of the script.
CommandReply GoToMarker(int mask, bool forward) {
    if (!ActiveDocument()) return CommandReply::kZero;
    const Editor editor = ActiveEditor();
    const sptr_t line = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(editor.Call(SCI_GETCURRENTPOS)));
    sptr_t found;
    if (forward) {
        found = editor.Call(SCI_MARKERNEXT, static_cast<uptr_t>(line + 1), mask);
        if (found == -1) found = editor.Call(SCI_MARKERNEXT, 0, mask);
    } else {
        found = editor.Call(SCI_MARKERPREVIOUS, static_cast<uptr_t>(line - 1), mask);
        if (found == -1)
            found = editor.Call(SCI_MARKERPREVIOUS, static_cast<uptr_t>(editor.Call(SCI_GETLINECOUNT) - 1), mask);
    }
    if (found != -1) editor.Call(SCI_GOTOLINE, static_cast<uptr_t>(found));
    return CommandReply::kZero;
}

int StatusBarHeight(const FrameHandles &handles) {
    RECT rect{};
    if (!handles.statusBar || !GetWindowRect(handles.statusBar, &rect)) return 0;
    return rect.bottom - rect.top;
}

}  // namespace

const CommandEntry *FindCommand(int id) {
    const auto end = std::end(kCommands);
    const auto found = std::find_if(std::begin(kCommands), end, [id](const CommandEntry &e) { return e.id == id; });
    return found == end ? nullptr : found;
}

CommandReply RunCommand(HWND frame, FrameState &state, int id) {
    const CommandEntry *entry = FindCommand(id);
    if (!entry || !entry->handler) return CommandReply::kDefault;
    CommandContext context{frame, state, id, platform::ExeFolder()};
    return entry->handler(context);
}

void SendEmptyRequest(HWND frame, unsigned code) {
    HWND debugger = GetDebuggerWindow(frame);
    if (!debugger) return;
    COPYDATASTRUCT request{};
    request.dwData = code;
    SendMessageA(debugger, WM_COPYDATA, reinterpret_cast<WPARAM>(frame), reinterpret_cast<LPARAM>(&request));
}

// The first document brings the tab strip in under the tool bar and moves the MDI
// client down below it; the document itself is created maximised.
CommandReply OnNewScript(CommandContext &context) {
    const FrameHandles &handles = context.state.handles;
    if (!ActiveDocument()) {
        RECT client{};
        GetClientRect(context.frame, &client);
        const int width = client.right - client.left;
        SetWindowPos(handles.tabStrip, nullptr, client.left, client.top + kToolBandHeight, width, kTabStripHeight,
                     SWP_SHOWWINDOW);
        const int top = kToolBandHeight + kTabStripHeight;
        MoveWindow(handles.mdiClient, client.left, top, width, client.bottom - (StatusBarHeight(handles) + top),
                   TRUE);
    }
    CreateDocumentWindow(handles.mdiClient, text::kUntitled, WS_MAXIMIZE);
    const Editor editor = ActiveEditor();
    if (editor.IsOpen()) editor.Call(SCI_SETCODEPAGE, static_cast<uptr_t>(context.state.startupCodePage));
    return CommandReply::kZero;
}

CommandReply OnOpenScript(CommandContext &context) {
    OpenScriptCommand(context.frame);
    return CommandReply::kOne;
}

CommandReply OnSaveScript(CommandContext &) {
    if (ActiveEditorWindow()) SaveScript(0);
    return CommandReply::kOne;
}

CommandReply OnNextBookmark(CommandContext &) { return GoToMarker(kBookmarkMask, true); }
CommandReply OnPreviousBookmark(CommandContext &) { return GoToMarker(kBookmarkMask, false); }
CommandReply OnNextBreakpoint(CommandContext &) { return GoToMarker(kBreakpointMask, true); }
CommandReply OnPreviousBreakpoint(CommandContext &) { return GoToMarker(kBreakpointMask, false); }

// Run, stop and debug all need an open script; stop carries no data. Sending the
// script of run and debug is the debugger link's.
CommandReply OnScriptRequest(CommandContext &context) {
    if (!ActiveDocument()) {
        platform::ShowMessage(nullptr, text::kOpenScriptWindow, text::kOpenScriptWindowTitle, MB_TASKMODAL);
        return CommandReply::kOne;
    }
    if (context.id == kCmdStopScript) SendEmptyRequest(context.frame, kRequestStop);
    return CommandReply::kOne;
}

CommandReply OnForgetDebugger(CommandContext &context) {
    SettingsRecord *settings = GetSettings(context.frame);
    if (!settings || TrimBlanks(FieldText(settings->debuggerPath)).empty()) return CommandReply::kOne;
    WriteSettingText(setting::kDebuggerPath, "");
    PublishSettings(context.frame, settings);
    SendEmptyRequest(context.frame, kRequestForgetDebugger);
    return CommandReply::kOne;
}

CommandReply OnTileVertically(CommandContext &context) {
    SendMessageA(context.state.handles.mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    return CommandReply::kZero;
}

CommandReply OnTileHorizontally(CommandContext &context) {
    SendMessageA(context.state.handles.mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    return CommandReply::kZero;
}

CommandReply OnCascade(CommandContext &context) {
    SendMessageA(context.state.handles.mdiClient, WM_MDICASCADE, 0, 0);
    return CommandReply::kZero;
}

CommandReply OnClearRecentFiles(CommandContext &) {
    ClearRecentFiles();
    return CommandReply::kOne;
}

CommandReply OnCustomColourDialog(CommandContext &context) {
    ShowColourDialog(context.frame);
    return CommandReply::kOne;
}

// Completion falls back to the base keyword list.
CommandReply OnResetAutoComplete(CommandContext &context) {
    static const char kEmpty[] = "";
    PublishKeywordAdded(context.frame, kEmpty);
    return CommandReply::kOne;
}

// Script checks and go to label: the feature's own code does the work.
CommandReply OnNextProblem(CommandContext &) {
    GoToNextProblem();
    return CommandReply::kZero;
}

CommandReply OnGoToLabel(CommandContext &) {
    GoToLabelAtCaret(OpenScriptPath);
    return CommandReply::kZero;
}

CommandReply OnBackFromLabel(CommandContext &) {
    GoBackFromLabel();
    return CommandReply::kZero;
}

}  // namespace quillet
