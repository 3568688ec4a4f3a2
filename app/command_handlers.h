// Handlers of the shell's own commands, grouped by the file that implements them; the
// command table (commands.cpp) routes the ids to them.
#pragma once

#include "app/commands.h"

namespace quillet {

// commands.cpp: documents, arrangement, marker navigation, labels, breakpoints.
CommandReply OnNewScript(CommandContext &context);
CommandReply OnSaveScript(CommandContext &context);
CommandReply OnRunScript(CommandContext &context);
CommandReply OnDebugScript(CommandContext &context);
CommandReply OnNextBookmark(CommandContext &context);
CommandReply OnPreviousBookmark(CommandContext &context);
CommandReply OnNextBreakpoint(CommandContext &context);
CommandReply OnPreviousBreakpoint(CommandContext &context);
CommandReply OnToggleBreakpoint(CommandContext &context);
CommandReply OnRemoveBreakpoints(CommandContext &context);
CommandReply OnTileVertically(CommandContext &context);
CommandReply OnTileHorizontally(CommandContext &context);
CommandReply OnCascade(CommandContext &context);
CommandReply OnResetAutoComplete(CommandContext &context);
CommandReply OnShowLabels(CommandContext &context);
CommandReply OnGoToLabel(CommandContext &context);
CommandReply OnFoldAll(CommandContext &context);
CommandReply OnUnfoldAll(CommandContext &context);
CommandReply OnFindReferences(CommandContext &context);

// settings_commands.cpp: switches, language, fonts, script folder.
CommandReply OnCallTipsSwitch(CommandContext &context);
CommandReply OnAutoCompleteSwitch(CommandContext &context);
CommandReply OnMyCustomColour(CommandContext &context);
CommandReply OnTypedVariables(CommandContext &context);
CommandReply OnAddScriptVariables(CommandContext &context);
CommandReply OnExitOnClose(CommandContext &context);
CommandReply OnLanguage(CommandContext &context);
CommandReply OnSetFont(CommandContext &context);
CommandReply OnSetCommentFont(CommandContext &context);
CommandReply OnSetScriptFolder(CommandContext &context);
CommandReply OnNoAutoIndentation(CommandContext &context);
CommandReply OnEscapeKey(CommandContext &context);
CommandReply OnDocumentationLookup(CommandContext &context);
CommandReply OnBlockCommentHighlight(CommandContext &context);
CommandReply OnScriptChecksSwitch(CommandContext &context);

// appearance.cpp: skins and the default frame size.
CommandReply OnBuiltInSkin(CommandContext &context);
CommandReply OnOtherSkin(CommandContext &context);
CommandReply OnRestoreDefaultSize(CommandContext &context);


// find_replace.cpp: the Find and Replace dialogs.
CommandReply OnFind(CommandContext &context);
CommandReply OnReplace(CommandContext &context);

}  // namespace quillet
