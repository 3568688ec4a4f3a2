// Every literal text of the program: captions, messages, INI files, sections and keys,
// window class and property names. They must match stored files and the debugger side
// character for character, so each lives here once. Window-free.
#pragma once

namespace quillet::text {

// Window classes and the frame.
inline constexpr char kFrameClass[] = "QuillFrame";
inline constexpr char kDocumentClass[] = "Script";
inline constexpr char kLabelsClass[] = "Lables";
inline constexpr char kLabelsClassAtCreation[] = "lables";
inline constexpr char kLabelsTitle[] = "Lables";
inline constexpr char kFrameCaption[] = "Quilletor 33 - by Fennrick";
inline constexpr char kTaskbarClass[] = "Shell_traywnd";

// Frame properties.
inline constexpr char kPropHandles[] = "hndl";
inline constexpr char kPropClient[] = "hclient";
inline constexpr char kPropSettings[] = "setting";
inline constexpr char kPropKeyword[] = "keyword";
inline constexpr char kPropKeywordAdded[] = "keywordadded";
inline constexpr char kPropTips[] = "tips";
inline constexpr char kPropStatusText[] = "statustxt";
inline constexpr char kPropDebugger[] = "holly";

// Files beside the program.
inline constexpr char kSettingsFile[] = "razuvi.ini";
inline constexpr char kRecentFile[] = "mru.ini";
inline constexpr char kKeywordFile[] = "qkeywords.txt";
inline constexpr char kHelpFile[] = "WIN32.HLP";
inline constexpr char kSkinFolder[] = "skins\\";
inline constexpr char kDefaultSkin[] = "wine.urf";
inline constexpr char kSciLexerDll[] = "SciLexer.dll";
inline constexpr char kSkinEngineDll[] = "appface.dll";

// Resources.
inline constexpr char kIconResource[] = "Quillet";
inline constexpr char kToolBitmapResource[] = "IDB_TOOL";

// Start-up refusals.
inline constexpr char kAlreadyRunning[] = "Quilletor is already running";
inline constexpr char kAlreadyRunningTitle[] = "Application is running";
inline constexpr char kSkinEngineMissing[] = "skin engine couldn't be loaded";
// The title of both messages about a DLL that could not be loaded.
inline constexpr char kLibraryMissingTitle[] = "error";
// SciLexer.dll is loaded just after the frame's first paint; without it nothing can be edited.
inline constexpr char kEditingComponentMissing[] = "SciLexer.dll couldn't be loaded: scripts cannot be opened";
inline constexpr char kStoredSkinFailed[] = "Cann't load your skin,it  may be deleted ";
inline constexpr char kStoredSkinFailedTitle[] = "Warning";
inline constexpr char kDefaultSkinFailed[] = "Cann't load  default skin  ";
inline constexpr char kDefaultSkinFailedTitle[] = "Warnnig";

// Tray.
inline constexpr char kTrayTip[] = "Lift click to expand , Right click to exit";
inline constexpr char kTrayExit[] = "Exit Quillet";

// Menu bar.
inline constexpr char kMenuVarToAuto[] = "VarToAuto";
inline constexpr char kMenuTestMe[] = "TestMe";
inline constexpr char kMenuSkin[] = "Skin";
inline constexpr char kMenuSettings[] = "Settings";
inline constexpr char kMenuWindows[] = "Windows";
inline constexpr char kItemAddScriptVariables[] = "Add Script Window's Variables";
inline constexpr char kItemAddTypedVariables[] = "Add Typed Variables";
inline constexpr char kItemResetAutoComplete[] = "Reset AutoComplete ";
inline constexpr char kItemRunScript[] = "RunScript (F8)";
inline constexpr char kItemStopScript[] = "StopScript (F9)";
inline constexpr char kItemDebugScript[] = "DebugScript (F10)";
inline constexpr char kItemClearDefaultOlly[] = "Clear Default Ollydbg";
inline constexpr char kItemWinmp[] = "Winmp";
inline constexpr char kItemClay[] = "Clay";
inline constexpr char kItemOnion[] = "Onion";
inline constexpr char kItemSias[] = "Sias";
inline constexpr char kItemOthers[] = "Others";
inline constexpr char kItemDefault[] = "Default";
inline constexpr char kItemExitOnClose[] = "Exit On Close";
inline constexpr char kItemLangUtf8[] = "Arabic,hebrew,Cyrillic, and Han";
inline constexpr char kItemLangShiftJis[] = "JapaneseShift-JIS";
inline constexpr char kItemLangGbk[] = "SimplifiedChineseGBK";
inline constexpr char kItemLangBig5[] = "TraditionalChineseBig5";
inline constexpr char kItemLangHangul[] = "KoreanUnifiedHangulCode";
inline constexpr char kItemLangJohab[] = "Korean Johab";
inline constexpr char kItemLangDefault[] = "DefaultLanguage";
inline constexpr char kItemSetFont[] = "SetFont";
inline constexpr char kItemMyCustomColor[] = "MyCustomcolor";
inline constexpr char kItemSetCustomColor[] = "Set Custom color";
inline constexpr char kItemRestoreDefaultSize[] = "RestoreToDefaultSize";
inline constexpr char kItemSetScriptFolder[] = "SetScriptFolderPath";
inline constexpr char kItemSetCommentFont[] = "SetCommentFont";
inline constexpr char kItemNoAutoIndentation[] = "NoAutoIndentation";
inline constexpr char kItemMsdnSearch[] = "MSDN Search";
inline constexpr char kItemBlockCommentOff[] = "BlockCommnetRazuviOff";
inline constexpr char kItemTileVertically[] = "Tile Verically";
inline constexpr char kItemTileHorizontally[] = "Tile Horizotally";
inline constexpr char kItemCascade[] = "cascade";
inline constexpr char kItemClearMru[] = "ClearMru";

// Skin files as given to the engine and as written to the settings.
inline constexpr char kSkinFileWinmp[] = "winmp.urf";
inline constexpr char kSkinFileClay[] = "clay.urf";
inline constexpr char kSkinStoredClay[] = "Clay.urf";
inline constexpr char kSkinFileOnion[] = "onion.urf";
inline constexpr char kSkinFileTrias[] = "trias.urf";
inline constexpr char kSkinStoredDefault[] = "Wine.urf";
inline constexpr char kSkinDialogTitle[] = "Select skin File";
inline constexpr char kSkinFilterName[] = "Skin";
inline constexpr char kSkinFilterPattern[] = "*.urf";

// Frame commands.
inline constexpr char kOpenScriptWindow[] = "Open script window please";
inline constexpr char kOpenScriptWindowTitle[] = "Warning";
inline constexpr char kSetColorFirst[] = "Please,set your custom color first";
inline constexpr char kSetColorFirstTitle[] = "select color first";
inline constexpr char kDropNotSupported[] = "File is not supported by Quillet";
inline constexpr char kDropNotSupportedTitle[] = "NOT supported";
inline constexpr char kOllyPathNotFound[] = "ollydbg path not found";
inline constexpr char kOllyPathNotFoundTitle[] = "Path not found";
inline constexpr char kSelectScriptFolder[] = "Please, Select your script folder";
inline constexpr char kDefaultFontFace[] = "Arial";
inline constexpr char kDefaultStyleFontFace[] = "arial";

// Settings file (razuvi.ini): sections and keys, in their writing spelling.
inline constexpr char kSecSkin[] = "Qskin";
inline constexpr char kKeySkin[] = "skin";
inline constexpr char kSecWindows[] = "windows";
inline constexpr char kSecWindowsWrite[] = "WINDOWS";
inline constexpr char kKeyWinX[] = "winx";
inline constexpr char kKeyWinY[] = "winy";
inline constexpr char kKeyWidth[] = "wwidth";
inline constexpr char kKeyHeight[] = "wheight";
inline constexpr char kSecComment[] = "Comment";
inline constexpr char kKeyOff[] = "Off";
inline constexpr char kSecFonts[] = "fonts";
inline constexpr char kKeyFontName[] = "fname";
inline constexpr char kKeyFontSize[] = "fsize";
inline constexpr char kKeyFontStyle[] = "fstyle";
inline constexpr char kKeyCommentFontName[] = "cfname";
inline constexpr char kKeyCommentFontSize[] = "cfsize";
inline constexpr char kKeyCommentFontStyle[] = "cfstyle";
inline constexpr char kSecScriptFolder[] = "ScriptFolder";
inline constexpr char kKeyPath[] = "path";
inline constexpr char kSecCustomColors[] = "Custom Colors";
inline constexpr char kKeyMyColorFlag[] = "MyColorflg";
inline constexpr char kKeyMyColorSet[] = "MyColorset";
inline constexpr char kSecLanguage[] = "language";
inline constexpr char kKeyLangFlag[] = "langflg";
inline constexpr char kSecFlags[] = "Flags";
inline constexpr char kKeyClose2Exit[] = "Close2exit";
inline constexpr char kKeyClose2ExitWrite[] = "Close2Exit";
inline constexpr char kSecOllyPath[] = "OllyDbgPath";
inline constexpr char kKeyOllyPath[] = "ollypath";
inline constexpr char kSecNoAutoIndent[] = "NoAUTOIdentation";
inline constexpr char kSecMsdnHelp[] = "MSDNHELP";
inline constexpr char kKeyOn[] = "On";
inline constexpr char kSecBookmarks[] = "Bookmarks";

// Colour keys of "Custom Colors", in the order of the colour dialog and its slots c1..c9.
inline constexpr char kKeyColorKeyword[] = "keyword";
inline constexpr char kKeyColorComment[] = "comment";
inline constexpr char kKeyColorRegister[] = "register";
inline constexpr char kKeyColorOpcode[] = "opcode";
inline constexpr char kKeyColorLabel[] = "label";
inline constexpr char kKeyColorLabelRead[] = "LABEL";  // the spelling the labels pane reads
inline constexpr char kKeyColorString[] = "string";
inline constexpr char kKeyColorOperator[] = "operator";
inline constexpr char kKeyColorVariable[] = "variable";
inline constexpr char kKeyColorNumber[] = "number";

// Keyword file.
inline constexpr char kKeywordFileMissing[] = "Sorry, keyword file not found";
inline constexpr char kKeywordFileMissingTitle[] = "Keyword file is missing";
inline constexpr char kKeywordSectionEmpty[] = "sorry couldn't do it";
inline constexpr char kKeywordSectionEmptyTitle[] = "error";
inline constexpr char kStatusNotePrefix[] = "Keywords and tips data file is created ";

// Documents.
inline constexpr char kUntitled[] = "Untitled";
inline constexpr char kSaveChangesQuestion[] = "Save current changes? ";
inline constexpr char kSaveChangesTitle[] = "Quilletor";
inline constexpr char kSelectScriptFile[] = "Select Script File";
inline constexpr char kScriptFilterName[] = "Script";
inline constexpr char kScriptFilterPattern[] = "*.txt;*.osc";
inline constexpr char kSaveInitialName[] = ".txt";
inline constexpr char kOpenNotSupported[] = "file is not supported by Quillet";
inline constexpr char kOpenNotSupportedTitle[] = "File not supported";
inline constexpr char kNoFileSaved[] = "nofile is saved";
inline constexpr char kNoFileSavedTitle[] = "sorry";
inline constexpr char kOpenErrorHead[] = "Following error occured while trying to open the file:";
inline constexpr char kOpenErrorTail[] = "The file could not be opened.";
inline constexpr char kOpenErrorTitle[] = "open file error!";
inline constexpr char kSaveErrorHead[] = "Following error occured while trying to save the file:";
inline constexpr char kSaveErrorTail[] = "The file could not be saved.";
inline constexpr char kSaveErrorTitle[] = "Save file error!";
inline constexpr char kErrorLabel[] = "Error:";

// Help on the word at the caret.
inline constexpr char kHelpSearchHost[] = "https://social.msdn.microsoft.com";
inline constexpr char kHelpSearchPath[] = "/Search/en-US/";
inline constexpr char kHelpSearchQuery[] = "?Refinement=86&Query=";

// Recent files (mru.ini).
inline constexpr char kSecLastOpened[] = "LastOpened";
inline constexpr char kKeyFilePrefix[] = "File";
inline constexpr char kKeyFilePrefixLower[] = "file";
inline constexpr char kFreeSlot[] = "Free";

// Editor menu.
inline constexpr char kEdUndo[] = "Undo";
inline constexpr char kEdCut[] = "Cut";
inline constexpr char kEdCopy[] = "Copy";
inline constexpr char kEdPaste[] = "Paste";
inline constexpr char kEdClear[] = "Clear";
inline constexpr char kEdSaveAs[] = "Save AS";
inline constexpr char kEdPatternPaste[] = "PtrnPaste";
inline constexpr char kEdRemoveFromMru[] = "RemoveThisFileFrmMru";
inline constexpr char kEdLaunchOlly[] = "Launch Default OllyDbg";
inline constexpr char kEdLaunchLastTarget[] = "Launch last target opened in  OllyDbg";
inline constexpr char kEdCloseOlly[] = "Close OllyDbg";
inline constexpr char kEdBlockComment[] = "Block Comment (F4)";
inline constexpr char kEdBlockUncomment[] = "Block UComment (F5)";
inline constexpr char kEdFind[] = "Find (F11)";
inline constexpr char kEdReplace[] = "Replace (F12)";
inline constexpr char kEdGoToLine[] = "GoToLine";
inline constexpr char kEdGetLabels[] = "GETLables";
inline constexpr char kGoToLineCaption[] = "GoToLine";
inline constexpr char kGoToLineOk[] = "&OK";
inline constexpr char kGoToLineCancel[] = "&Cancel";
inline constexpr char kDebuggerNotSet[] = "Please set Your default OllyDbg by launching it while Quillet is running";
inline constexpr char kDebuggerNotSetTitle[] = "Debugger not set";

// Colour dialog.
inline constexpr char kColourDialogCaption[] = "Set Custom Colors";
inline constexpr char kCdKeyword[] = "KEYWORD";
inline constexpr char kCdComment[] = "COMMENT";
inline constexpr char kCdRegister[] = "REGISTER";
inline constexpr char kCdOpcode[] = "OPCODE";
inline constexpr char kCdLabel[] = "LABEL";
inline constexpr char kCdString[] = "STRING";
inline constexpr char kCdOperator[] = "OPERATOR";
inline constexpr char kCdVariable[] = "VARIABLE";
inline constexpr char kCdNumber[] = "NUNBER";
inline constexpr char kCdClose[] = "CLOSE";
inline constexpr char kCdSet[] = "SET";

// Typing assistance: the variable scan.
inline constexpr char kScanningForVariables[] =
    "Scaning your script for variables to be added to autocomplete , please wait!";
inline constexpr char kPleaseOpenScript[] = "Please open script file";
inline constexpr char kPleaseOpenScriptTitle[] = "error";

}  // namespace quillet::text

// Debugger link, launching, script requests and script breakpoints.
namespace quillet::text {

inline constexpr char kDebuggerPathSet[] = "Your default debugger is set, Quillet will  close the debugger now";
inline constexpr char kDebuggerPathSetTitle[] = "Default debugger is set";
inline constexpr char kNoDebuggerPath[] = "sorry, no path is found";
inline constexpr char kNoDebuggerPathTitle[] = "error";
inline constexpr char kLoadTarget[] = "Please load target into Ollydbg ";
inline constexpr char kLoadTargetTitle[] = "Warning";
inline constexpr char kNoLastTarget[] = "sorry, no last target is found";
inline constexpr char kNoLastTargetTitle[] = "Info";
inline constexpr char kRunFileError[] = "An error occured while trying to run the file:";
inline constexpr char kRunFileErrorTitle[] = "file error!";
inline constexpr char kScriptPathTooLong[] =
    "The script's path is longer than the 255 characters the debugger accepts, and it has no short form "
    "that fits. Save the script under a shorter path to run it.";
inline constexpr char kScriptPathTooLongTitle[] = "Path too long";
inline constexpr char kDebuggerNoAnswerYet[] =
    "The debugger has not answered within 2 seconds: it may still carry out the request";
inline constexpr char kSetOllyPathFirst[] = "Please set ollypath first by runing ollydbg while quillet is alive";
inline constexpr char kSetOllyPathFirstTitle[] = "error";

// The script plug-in's breakpoint list in the debugger's settings file.
inline constexpr char kSecBreakpoints[] = "Plugin ODbgScript";
inline constexpr char kKeyBreakpointFile[] = "BP_FILE";
inline constexpr char kKeyBreakpointPrefix[] = "BP_";
inline constexpr char kKeyBreakpointNumbered[] = "BP_0";
inline constexpr char kBreakpointClosingEntry[] = " ";

}  // namespace quillet::text

// A settings file that cannot be written (told once per run, with the file and the
// system's reason between head and tail).
namespace quillet::text {

inline constexpr char kSettingsNotWrittenHead[] = "Quillet could not write its settings to ";
inline constexpr char kSettingsNotWrittenTail[] =
    "Your changes stay in effect until Quillet closes, but they will not be there at the next start.";
inline constexpr char kSettingsNotWrittenTitle[] = "Settings not saved";

}  // namespace quillet::text

// Bookmarks, block comments, pattern paste, find and replace.
namespace quillet::text {

inline constexpr char kKeyBookmarkFile[] = "BMfile";
inline constexpr char kKeyBookmarkLines[] = "BM";
inline constexpr char kBookmarkListBlank[] = "sorry couldn't do it";
inline constexpr char kBookmarkListBlankTitle[] = "error";
inline constexpr char kPatternPasteFailed[] = "Sorry,could not do it";
inline constexpr char kPatternPasteFailedTitle[] = "error";
inline constexpr char kFindReplaceMessage[] = "CommDlg_FindReplace";
inline constexpr char kNoMatchFound[] = "No match found   ";
inline constexpr char kFindCaption[] = " Find";
inline constexpr char kMatchNotFound[] = "Match not found   ";
inline constexpr char kReplaceCaption[] = " Replace";
inline constexpr char kReplacementsSuffix[] = " replacements  ";
inline constexpr char kReplaceAllCaption[] = " Replace all";
inline constexpr char kTextNotInScriptEncoding[] =
    "The script's encoding cannot hold every character of this text, so it was neither searched for nor "
    "written into the script.";

}  // namespace quillet::text

namespace quillet::text {

// Script checks and go to label.
inline constexpr char kProblemUnknownCommand[] = "Unknown command: ";
inline constexpr char kProblemUndefinedLabel[] = "Label not defined: ";
inline constexpr char kProblemDuplicateLabel[] = "Label already defined on line ";
inline constexpr char kProblemLabelWithCommand[] = "A label must stand alone on its line: ";
inline constexpr char kProblemUndeclared[] = "Not a number or register, and not declared with VAR: ";
inline constexpr char kProblemByteOrderMark[] =
    "The plug-in reads the byte order mark (UTF-8 signature) as text of this line: save the script without it";
inline constexpr char kProblemBadInclude[] = "Bad #inc directive: the file name must be in double quotes";
inline constexpr char kProblemOperandCount[] = "The plug-in stops here: ";
inline constexpr char kProblemOperandCountTakes[] = " takes ";
inline constexpr char kProblemOperand[] = " operand, this line gives ";
inline constexpr char kProblemOperands[] = " operands, this line gives ";
inline constexpr char kProblemIfWithoutEndif[] =
    "No ENDIF closes this block: the plug-in stops here when the condition is false: ";
inline constexpr char kProblemEndifTaken[] = " (the plug-in counts line ";
inline constexpr char kProblemEndifTakenEnd[] = " as an IF because it starts with \"if\", and gives it this block's ENDIF)";
inline constexpr char kProblemNoOpeningIf[] = "No IFxx above opens a block for this: ";
inline constexpr char kProblemExecWithoutEnde[] =
    "No ENDE closes this EXEC: the plug-in takes every line below it as assembler";
inline constexpr char kProblemEndeWithoutExec[] = "No EXEC above opens a block for this ENDE";
inline constexpr char kProblemIncludeNotFound[] = "The plug-in finds no file here and includes nothing: ";
inline constexpr char kProblemIncludeCycle[] = "The plug-in includes this file again here, and again, without end: ";
inline constexpr char kProblemPlaceOpen[] = " (#inc in ";
inline constexpr char kProblemPlaceLine[] = ", line ";
inline constexpr char kProblemOddHexString[] =
    "The plug-in stops here: a hex byte string needs an even number of digits: ";
inline constexpr char kProblemUnclosedString[] = "The plug-in stops here: this string has no closing \"";
inline constexpr char kProblemTypographicQuote[] =
    "The plug-in stops here: a typographic quote does not start or end a string, write \"";
inline constexpr char kProblemPrefixedNumber[] =
    "The plug-in stops here: numbers are hex without 0x or h (write ";
inline constexpr char kItemNextProblem[] = "Next Problem\tCtrl+F7";
inline constexpr char kItemGoToLabel[] = "Go To Label\tCtrl+F12";
inline constexpr char kItemGoBack[] = "Back From Label\tAlt+Left";
inline constexpr char kItemScriptChecksOff[] = "Script Checks Off";
inline constexpr char kStatusNoProblems[] = "No problems found";
inline constexpr char kStatusProblems[] = " problem(s) found (Ctrl+F7: next)";
inline constexpr char kSecScriptChecks[] = "ScriptChecks";
inline constexpr char kChecksWindowClass[] = "QuilletScriptChecks";

}  // namespace quillet::text

// Encodings: the short names shown in the status bar and offered by "Reopen As", and the
// section of razuvi.ini that remembers a chosen encoding per script.
namespace quillet::text {

inline constexpr char kEncodingAnsi[] = "ANSI";
inline constexpr char kEncodingUtf8[] = "UTF-8";
inline constexpr char kEncodingUtf8Bom[] = "UTF-8 BOM";
inline constexpr char kEncodingGbk[] = "GBK";
inline constexpr char kEncodingBig5[] = "Big5";
inline constexpr char kEncodingShiftJis[] = "Shift-JIS";
inline constexpr char kEncodingEucKr[] = "EUC-KR";
inline constexpr char kEncodingJohab[] = "Johab";
inline constexpr char kEncodingWindows1250[] = "Windows-1250";
inline constexpr char kEncodingWindows1251[] = "Windows-1251";
inline constexpr char kEncodingWindows1252[] = "Windows-1252";
inline constexpr char kEncodingWindows1253[] = "Windows-1253";
inline constexpr char kEncodingWindows1254[] = "Windows-1254";
inline constexpr char kEncodingWindows1255[] = "Windows-1255";
inline constexpr char kEncodingWindows1256[] = "Windows-1256";
inline constexpr char kEncodingWindows1257[] = "Windows-1257";
inline constexpr char kEncodingWindows1258[] = "Windows-1258";
inline constexpr char kEncodingWindows874[] = "Windows-874";
inline constexpr char kMenuReopenAs[] = "Reopen As";
inline constexpr char kSecEncodings[] = "Encodings";
inline constexpr char kKeyEncodingFile[] = "ENCfile";
inline constexpr char kKeyEncodingName[] = "ENC";

}  // namespace quillet::text

// Structure aids: folding, references, rename, the number tip.
namespace quillet::text {

inline constexpr char kItemFoldAll[] = "Fold All\tAlt+0";
inline constexpr char kItemUnfoldAll[] = "Unfold All\tAlt+Shift+0";
inline constexpr char kItemFindReferences[] = "Find References\tShift+F12";
inline constexpr char kItemRenameName[] = "Rename Label or Variable\tCtrl+Shift+R";
inline constexpr char kRenameNotAName[] =
    "Not a name: a label or variable starts with a letter or _ and goes on with letters, digits and _: ";
inline constexpr char kRenameRegister[] = "The language would read the new name as a register: ";
inline constexpr char kRenameHexNumber[] =
    "The language would read the new name as a hex number (it has only the digits 0-9 and A-F): ";
inline constexpr char kRenameCommand[] = "The language would read the new name as a command: ";
inline constexpr char kRenameUsedHead[] = "The name is already used in ";
inline constexpr char kRenameUsedTail[] = ": ";
inline constexpr char kRenameCaption[] = "Rename";
inline constexpr char kRenameOk[] = "&OK";
inline constexpr char kRenameCancel[] = "&Cancel";
inline constexpr char kRenameNoName[] = "Place the caret on a label or variable to rename it.";
inline constexpr char kRenameThisScript[] = "this script";
inline constexpr char kRenameChangedIncludes[] = "Also renamed in these open included scripts (not saved yet):";
inline constexpr char kRenameUnchangedIncludes[] =
    "Not renamed in these included scripts, which are not open in Quillet:";
inline constexpr char kReferencesCaption[] = "References of ";
inline constexpr char kReferencesGo[] = "&Go To";
inline constexpr char kReferencesClose[] = "&Close";
inline constexpr char kReferencesNoName[] = "Place the caret on a label or variable to list where it is used.";
inline constexpr char kReferencesTitle[] = "References";
inline constexpr char kNumberTipHex[] = "hex ";
inline constexpr char kNumberTipUnsigned[] = "unsigned ";
inline constexpr char kNumberTipSigned[] = "signed ";
inline constexpr char kNumberTipAscii[] = "ASCII ";

}  // namespace quillet::text
