// Every command and control id of the program, in one place. Window-free.
#pragma once

namespace quillet {

// WM_COMMAND ids that reach the frame (menus, tool bar, accelerators).
enum CommandId : int {
    kCmdNew = 1031,
    kCmdOpen = 1032,
    kCmdSave = 1033,
    kCmdToolRun = 1038,  // tool bar buttons of the run, stop and debug commands
    kCmdToolStop = 1039,
    kCmdToolDebug = 1040,
    kCmdCallTipsSwitch = 1046,
    kCmdAutoCompleteSwitch = 1047,
    kCmdBlockComment = 1092,
    kCmdBlockUncomment = 1093,
    kCmdToggleBookmark = 1094,
    kCmdDeleteBookmarks = 1095,
    kCmdNextBookmark = 1096,
    kCmdPreviousBookmark = 1097,
    kCmdFind = 1098,
    kCmdReplace = 1099,
    kCmdMyCustomColor = 1101,
    kCmdAddScriptVariables = 1102,
    kCmdAddTypedVariables = 1103,
    kCmdResetAutoComplete = 1104,
    kCmdRunScript = 1105,
    kCmdStopScript = 1106,
    kCmdDebugScript = 1107,
    kCmdClearDefaultOlly = 1109,
    kCmdSkinWinmp = 1110,
    kCmdSkinClay = 1111,
    kCmdSkinOnion = 1112,
    kCmdSkinSias = 1113,
    kCmdSkinOthers = 1114,
    kCmdSkinDefault = 1115,
    kCmdExitOnClose = 1116,
    kCmdLangUtf8 = 1117,
    kCmdLangShiftJis = 1118,
    kCmdLangGbk = 1119,
    kCmdLangBig5 = 1120,
    kCmdLangHangul = 1121,
    kCmdLangJohab = 1122,
    kCmdLangDefault = 1123,
    kCmdSetFont = 1124,
    kCmdRestoreDefaultSize = 1125,
    kCmdSetScriptFolder = 1126,
    kCmdSetCommentFont = 1127,
    kCmdNoAutoIndentation = 1128,
    kCmdMsdnSearch = 1129,
    kCmdBlockCommentHighlightOff = 1130,
    kCmdTileVertically = 1131,
    kCmdTileHorizontally = 1132,
    kCmdCascade = 1133,
    kCmdClearMru = 1134,
    kCmdToggleBreakpoint = 1139,
    kCmdRemoveBreakpoints = 1140,
    kCmdNextBreakpoint = 1144,
    kCmdPreviousBreakpoint = 1145,
    kCmdSetCustomColors = 1147,
    kCmdShowLabels = 1148,
};

// Ids of the editor's right-button menu (items 1092..1099 forward frame commands).
enum EditorMenuId : int {
    kEdUndo = 1,
    kEdCut = 3,
    kEdCopy = 4,
    kEdPaste = 5,
    kEdClear = 7,
    kEdSaveAs = 9,
    kEdPatternPaste = 10,
    kEdRemoveFromMru = 11,
    kEdLaunchOlly = 12,
    kEdLaunchLastTarget = 13,
    kEdCloseOlly = 14,
    kEdGoToLine = 1142,
    kEdGetLabels = 1146,
};

// Child window and control ids.
enum ControlId : int {
    kIdToolBar = 1025,
    kIdEditor = 1029,
    kIdProgressBar = 1050,
    kIdTabStrip = 1091,
    kIdStatusBar = 1137,
    kIdLabelsList = 1141,
    kIdGoToLineEdit = 1143,
    kIdMdiClient = 3244,
    kIdFirstMdiChild = 12,
    kIdTrayExit = 1,
};

// Controls of the "Set Custom Colors" dialog (their own id space).
enum ColourDialogId : int {
    kCdGroup = 1047,
    kCdKeyword = 1048,
    kCdComment = 1049,
    kCdRegister = 1050,
    kCdOpcode = 1052,
    kCdLabel = 1053,
    kCdString = 1054,
    kCdOperator = 1060,
    kCdVariable = 1061,
    kCdNumber = 1069,
    kCdSwatchKeyword = 1057,
    kCdSwatchComment = 1062,
    kCdSwatchRegister = 1063,
    kCdSwatchOpcode = 1064,
    kCdSwatchLabel = 1065,
    kCdSwatchString = 1066,
    kCdSwatchOperator = 1067,
    kCdSwatchVariable = 1068,
    kCdSwatchNumber = 1070,
    kCdClose = 1056,
    kCdSet = 1058,
};

// Private messages.
enum PrivateMessage : unsigned {
    kMsgTrayIcon = 0x0400 + 27,      // WM_USER + 27, the tray icon's callback
    kMsgDocumentFocus = 0x0400 + 0x70,  // WM_USER + 0x70, a document passes the focus on
    // Typing assistance: the variable scan's worker reports to the frame.
    kMsgScanProgress = 0x0400 + 0x71,  // wParam scan number, lParam progress position
    kMsgScanDone = 0x0400 + 0x72,      // wParam scan number; the result waits in the scan's mailbox
    // The frame makes its hidden panes (once): posted to itself while it is created, so
    // they follow the first paint, and sent before a document is created.
    kMsgCreateHiddenPanes = 0x0400 + 0x73,
};

}  // namespace quillet

namespace quillet {

// Script checks and go to label.
enum ScriptCheckCommandId : int {
    kCmdNextProblem = 1160,
    kCmdGoToLabel = 1161,
    kCmdBackFromLabel = 1162,
    kCmdScriptChecksOff = 1163,
};

// Keys that act by context: Esc closes an open completion list or call tip, and
// otherwise works as NoAutoIndentation.
enum KeyCommandId : int {
    kCmdEscapeKey = 1164,
};

}  // namespace quillet

namespace quillet {

// "Reopen As": the first id shows the active document as encoding 0 of the encoding
// table (documents/encoding_rules.h), the next ones as the following encodings.
enum EncodingCommandId : int {
    kCmdReopenAsFirst = 1170,
    kCmdReopenAsLast = 1189,
};

}  // namespace quillet

namespace quillet {

// Structure aids: folding, references and rename.
enum StructureCommandId : int {
    kCmdFoldAll = 1200,
    kCmdUnfoldAll = 1201,
    kCmdFindReferences = 1202,
    kCmdRenameName = 1203,
};

// Controls of the rename and references dialogs.
enum StructureControlId : int {
    kIdRenameEdit = 1210,
    kIdReferencesList = 1211,
};

}  // namespace quillet
