// The command table and the shell commands that act on documents: new, open and save
// hand-overs, arranging the documents, marker navigation, the hand-overs to the
// debugger link (script requests, forgetting the debugger, script breakpoints) and the
// completion reset.
#include "app/commands.h"

#include <windows.h>

#include <algorithm>

#include "app/command_handlers.h"
#include "editing/block_comments.h"
#include "editing/bookmarks.h"
#include "assist/labels_pane.h"
#include "assist/script_checks.h"
#include "assist/structure_aids.h"
#include "colours/colour_dialog.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "documents/documents.h"
#include "platform/frame_layout.h"
#include "platform/paths.h"

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
constexpr char kStructure[] = "structure aids";

// Commands whose whole work is one call into the feature that owns them (each of which
// does nothing without an open script); the frame answers `Reply`.
template <void (*Action)(HWND), CommandReply Reply = CommandReply::kOne>
CommandReply WithFrame(CommandContext &context) {
    Action(context.frame);
    return Reply;
}

template <void (*Action)(), CommandReply Reply = CommandReply::kOne>
CommandReply Simply(CommandContext &) {
    Action();
    return Reply;
}

constexpr CommandEntry kCommands[] = {
    {kCmdNew, OnNewScript, kShell},
    {kCmdOpen, WithFrame<OpenScriptCommand>, kDocuments},
    {kCmdSave, OnSaveScript, kDocuments},
    {kCmdToolRun, OnRunScript, kDebugger},
    {kCmdToolStop, WithFrame<StopScript>, kDebugger},
    {kCmdToolDebug, OnDebugScript, kDebugger},
    {kCmdCallTipsSwitch, OnCallTipsSwitch, kShell},
    {kCmdAutoCompleteSwitch, OnAutoCompleteSwitch, kShell},
    {kCmdBlockComment, Simply<CommentSelectedLines>, kBlockComments},
    {kCmdBlockUncomment, Simply<UncommentSelectedLines>, kBlockComments},
    {kCmdToggleBookmark, Simply<ToggleBookmark>, kBookmarks},
    {kCmdDeleteBookmarks, Simply<ClearBookmarks>, kBookmarks},
    {kCmdNextBookmark, OnNextBookmark, kShell},
    {kCmdPreviousBookmark, OnPreviousBookmark, kShell},
    {kCmdFind, OnFind, kFindReplace},
    {kCmdReplace, OnReplace, kFindReplace},
    {kCmdMyCustomColor, OnMyCustomColour, kShell},
    {kCmdAddScriptVariables, OnAddScriptVariables, kAutoCompletion},
    {kCmdAddTypedVariables, OnTypedVariables, kShell},
    {kCmdResetAutoComplete, OnResetAutoComplete, kShell},
    {kCmdRunScript, OnRunScript, kDebugger},
    {kCmdStopScript, WithFrame<StopScript>, kDebugger},
    {kCmdDebugScript, OnDebugScript, kDebugger},
    {kCmdClearDefaultOlly, WithFrame<ForgetDebugger>, kDebugger},
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
    {kCmdEscapeKey, OnEscapeKey, kShell},
    {kCmdMsdnSearch, OnDocumentationLookup, kShell},
    {kCmdBlockCommentHighlightOff, OnBlockCommentHighlight, kShell},
    {kCmdTileVertically, OnTileVertically, kShell},
    {kCmdTileHorizontally, OnTileHorizontally, kShell},
    {kCmdCascade, OnCascade, kShell},
    {kCmdClearMru, Simply<ClearRecentFiles>, kRecentFiles},
    {kCmdToggleBreakpoint, OnToggleBreakpoint, kBreakpoints},
    {kCmdRemoveBreakpoints, OnRemoveBreakpoints, kBreakpoints},
    {kCmdNextBreakpoint, OnNextBreakpoint, kShell},
    {kCmdPreviousBreakpoint, OnPreviousBreakpoint, kShell},
    {kCmdSetCustomColors, WithFrame<ShowColourDialog>, kColours},
    {kCmdShowLabels, OnShowLabels, kLabels},
    {kCmdNextProblem, Simply<GoToNextProblem, CommandReply::kZero>, kScriptChecks},
    {kCmdGoToLabel, OnGoToLabel, kScriptChecks},
    {kCmdBackFromLabel, Simply<GoBackFromLabel, CommandReply::kZero>, kScriptChecks},
    {kCmdScriptChecksOff, OnScriptChecksSwitch, kScriptChecks},
    {kCmdFoldAll, OnFoldAll, kStructure},
    {kCmdUnfoldAll, OnUnfoldAll, kStructure},
    {kCmdFindReferences, OnFindReferences, kStructure},
    {kCmdRenameName, Simply<RenameNameAtCaret, CommandReply::kZero>, kStructure},
};

CommandReply OnReopenAs(CommandContext &context) {
    ReopenDocumentAs(ActiveDocument(), context.id);
    return CommandReply::kZero;
}
// "Reopen As": one entry serves the whole range of its ids.
constexpr CommandEntry kReopenAs{kCmdReopenAsFirst, OnReopenAs, kDocuments};

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

}  // namespace

const CommandEntry *FindCommand(int id) {
    if (id >= kCmdReopenAsFirst && id <= kCmdReopenAsLast) return &kReopenAs;
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

// The first document brings the tab strip in under the tool bar and moves the MDI
// client down below it; the document itself is created maximised.
CommandReply OnNewScript(CommandContext &context) {
    const FrameHandles &handles = context.state.handles;
    if (!ActiveDocument()) PlaceTabStripAndClient(handles, true);
    CreateDocumentWindow(handles.mdiClient, std::string(), WS_MAXIMIZE);
    return CommandReply::kZero;
}

CommandReply OnRunScript(CommandContext &context) {
    RunScript(context.frame, SaveDocumentIfChanged);
    return CommandReply::kOne;
}

CommandReply OnDebugScript(CommandContext &context) {
    DebugScript(context.frame, SaveDocumentIfChanged);
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

CommandReply OnToggleBreakpoint(CommandContext &context) {
    if (ActiveDocument()) ToggleBreakpoint(context.frame);
    return CommandReply::kOne;
}

CommandReply OnRemoveBreakpoints(CommandContext &context) {
    if (ActiveDocument()) ClearAllBreakpoints(context.frame);
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

CommandReply OnShowLabels(CommandContext &) {
    if (ActiveDocument()) ShowLabelsPane(kLabelsTopFromCommand);
    return CommandReply::kOne;
}

// Completion falls back to the base keyword list.
CommandReply OnResetAutoComplete(CommandContext &context) {
    static const char kEmpty[] = "";
    PublishKeywordAdded(context.frame, kEmpty);
    return CommandReply::kOne;
}

CommandReply OnGoToLabel(CommandContext &) {
    GoToLabelAtCaret(OpenScriptPath);
    return CommandReply::kZero;
}

CommandReply OnFoldAll(CommandContext &) {
    if (HWND document = ActiveDocument()) FoldAllBlocks(document, true);
    return CommandReply::kZero;
}

CommandReply OnUnfoldAll(CommandContext &) {
    if (HWND document = ActiveDocument()) FoldAllBlocks(document, false);
    return CommandReply::kZero;
}

CommandReply OnFindReferences(CommandContext &) {
    FindReferencesAtCaret(OpenScriptPath);
    return CommandReply::kZero;
}

}  // namespace quillet
