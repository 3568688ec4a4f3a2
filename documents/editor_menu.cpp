// The editor's right-button menu (built anew on every click), the go-to-line dialog
// and F1 help on the word at the caret.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assist/labels_pane.h"
#include "editing/pattern_paste.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "debugger/debugger.h"
#include "documents/document_parts.h"
#include "documents/documents.h"
#include "documents/script_names.h"
#include "platform/dialog_template.h"
#include "platform/frame_state.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

struct MenuEntry {
    int id;  // 0: separator
    const char *text;
};

constexpr MenuEntry kEditorMenu[] = {
    {kEdUndo, text::kEdUndo},
    {0, nullptr},
    {kEdCut, text::kEdCut},
    {kEdCopy, text::kEdCopy},
    {kEdPaste, text::kEdPaste},
    {0, nullptr},
    {kEdClear, text::kEdClear},
    {0, nullptr},
    {kEdSaveAs, text::kEdSaveAs},
    {0, nullptr},
    {kEdPatternPaste, text::kEdPatternPaste},
    {0, nullptr},
    {kEdRemoveFromMru, text::kEdRemoveFromMru},
    {0, nullptr},
    {kEdLaunchOlly, text::kEdLaunchOlly},
    {0, nullptr},
    {kEdLaunchLastTarget, text::kEdLaunchLastTarget},
    {0, nullptr},
    {kEdCloseOlly, text::kEdCloseOlly},
    {0, nullptr},
    {kCmdBlockComment, text::kEdBlockComment},
    {kCmdBlockUncomment, text::kEdBlockUncomment},
    {0, nullptr},
    {kCmdFind, text::kEdFind},
    {kCmdReplace, text::kEdReplace},
    {kEdGoToLine, text::kEdGoToLine},
    {0, nullptr},
    {kEdGetLabels, text::kEdGetLabels},
    {0, nullptr},
    {kCmdFoldAll, text::kItemFoldAll},
    {kCmdUnfoldAll, text::kItemUnfoldAll},
    {kCmdFindReferences, text::kItemFindReferences},
    {kCmdRenameName, text::kItemRenameName},
};

// Editing commands go to the active editor, and only while one is open.
void SendEditing(unsigned message) {
    const Editor editor = ActiveEditor();
    if (editor.IsOpen()) editor.Call(message);
}

void RunEditorCommand(HWND document, UINT command) {
    switch (command) {
    case kEdUndo: SendEditing(WM_UNDO); break;
    case kEdCut: SendEditing(WM_CUT); break;
    case kEdCopy: SendEditing(WM_COPY); break;
    case kEdPaste: SendEditing(WM_PASTE); break;
    case kEdClear: SendEditing(WM_CLEAR); break;
    // A successful save marks the text unmodified itself; a failed one must not.
    case kEdSaveAs: SaveScript(1); break;
    case kEdPatternPaste: PastePattern(); break;
    case kEdRemoveFromMru: RemoveRecentFile(DocumentPath(ActiveDocument())); break;
    case kCmdBlockComment:
    case kCmdBlockUncomment:
    case kCmdFind:
    case kCmdReplace:
    case kCmdFoldAll:
    case kCmdUnfoldAll:
    case kCmdFindReferences:
    case kCmdRenameName:
        if (HWND frame = GetAncestor(document, GA_ROOT)) SendMessageA(frame, WM_COMMAND, command, static_cast<LPARAM>(command));
        break;
    case kEdGoToLine: RunGoToLineDialog(document, ActiveEditor()); break;
    case kEdLaunchOlly: LaunchDebugger(GetAncestor(document, GA_ROOT)); break;
    case kEdLaunchLastTarget: LaunchDebuggerWithLastTarget(GetAncestor(document, GA_ROOT)); break;
    case kEdCloseOlly: CloseDebugger(GetAncestor(document, GA_ROOT)); break;
    case kEdGetLabels: ShowLabelsPane(kLabelsTopFromCommand); break;
    default: break;
    }
}

// --- Go-to-line dialog, built in memory ---

// The leading number of a text (blanks skipped, an optional sign); 0 when there is none.
long LeadingNumber(const char *text) {
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value > 100000000) break;  // far beyond any line count
        value = value * 10 + (*text - '0');
    }
    return negative ? -value : value;
}

INT_PTR CALLBACK GoToLineProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            char line[64] = "";
            GetDlgItemTextA(dialog, kIdGoToLineEdit, line, sizeof line);
            const auto *editor = reinterpret_cast<const Editor *>(GetWindowLongPtrA(dialog, DWLP_USER));
            if (editor) editor->Call(SCI_GOTOLINE, static_cast<uptr_t>(LeadingNumber(line) - 1));
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

void ShowEditorMenu(HWND document) {
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry &entry : kEditorMenu)
        AppendMenuA(menu, entry.id ? MF_STRING : MF_SEPARATOR, static_cast<UINT_PTR>(entry.id), entry.text);
    // "Reopen As": the same bytes shown in another encoding, the present one checked.
    HMENU encodings = CreatePopupMenu();
    const DocumentRecord *record = GetDocumentRecord(document);
    for (std::size_t i = 0; i < kEncodingCount; ++i) {
        const auto id = static_cast<EncodingId>(i);
        const UINT checked = record && record->encoding == id ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(encodings, MF_STRING | checked, kCmdReopenAsFirst + i, LookOf(id).name);
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(encodings), text::kMenuReopenAs);
    POINT cursor{};
    GetCursorPos(&cursor);
    const UINT command = platform::TrackMenu(menu, TPM_RETURNCMD, cursor.x, cursor.y, document);
    DestroyMenu(menu);  // its sub-menu goes with it
    if (ReopenDocumentAs(document, static_cast<int>(command))) return;
    if (command) RunEditorCommand(document, command);
}

void RunGoToLineDialog(HWND document, const Editor &editor) {
    const platform::DialogTemplate dialog =
        platform::EntryDialogTemplate(text::kGoToLineCaption, kIdGoToLineEdit, text::kGoToLineOk, text::kGoToLineCancel);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(document, GWLP_HINSTANCE));
    DialogBoxIndirectParamA(instance, dialog.Get(), document, GoToLineProc, reinterpret_cast<LPARAM>(&editor));
}

std::string HelpWordAtCaret(const Editor &editor) {
    if (!editor.IsOpen()) return {};
    const sptr_t caret = editor.Call(SCI_GETCURRENTPOS);
    sptr_t start = editor.Call(SCI_WORDSTARTPOSITION, static_cast<uptr_t>(caret), 1);
    sptr_t end = editor.Call(SCI_WORDENDPOSITION, static_cast<uptr_t>(caret), 1);
    if (start >= end) return {};
    if (start > 0) --start;
    end = std::min<sptr_t>(end + 1, editor.Call(SCI_GETLENGTH));
    return HelpWordFromRange(editor.TextRange(start, end));
}

void ShowHelpForCaretWord(HWND document) {
    const std::string word = HelpWordAtCaret(Editor(EditorOfDocument(document)));
    const SettingsRecord *settings = GetSettings(FrameOf(document));
    const int online = settings ? settings->documentationLookup : 0;
    if (online == 1) {
        const std::string address =
            std::string(text::kHelpSearchHost) + text::kHelpSearchPath + text::kHelpSearchQuery + word;
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    } else if (online == 0) {
        WinHelpA(document, platform::ProgramFile(text::kHelpFile).c_str(), HELP_KEY, reinterpret_cast<ULONG_PTR>(word.c_str()));
    }
}

}  // namespace quillet
