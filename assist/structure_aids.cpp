// Structure aids in the editor (see structure_aids.h).
#include "assist/structure_aids.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "assist/script_check_rules.h"
#include "assist/script_checks.h"
#include "assist/structure_rules.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "core/token_styles.h"
#include "platform/active_document.h"
#include "platform/dialog_template.h"
#include "platform/editor.h"
#include "platform/frame_state.h"
#include "platform/ui.h"

namespace quillet {

namespace {

struct EditorAids {
    bool numberTipShown = false;
    bool prepared = false;  // the highlight's indicator is set up
};

std::map<HWND, EditorAids> aids;  // by editor control

// The number token at `position` as the lexer styled it, with a leading `-` that
// stands where an operand starts; empty when no number is there.
std::string NumberAt(const Editor &editor, sptr_t position) {
    const auto styleAt = [&](sptr_t at) { return editor.Call(SCI_GETSTYLEAT, static_cast<uptr_t>(at)); };
    if (position < 0 || styleAt(position) != kStyleNumber) return {};
    const sptr_t length = editor.Call(SCI_GETLENGTH);
    sptr_t start = position, end = position + 1;
    while (start > 0 && styleAt(start - 1) == kStyleNumber) --start;
    while (end < length && styleAt(end) == kStyleNumber) ++end;
    if (start > 0 && editor.Call(SCI_GETCHARAT, static_cast<uptr_t>(start - 1)) == '-') {
        const char before = start > 1 ? static_cast<char>(editor.Call(SCI_GETCHARAT, static_cast<uptr_t>(start - 2))) : '\n';
        if (before == ' ' || before == '\t' || before == ',' || before == '[' || before == '\n' || before == '\r')
            --start;
    }
    return editor.TextRange(start, end);
}

void OnDwellStart(const Editor &editor, EditorAids &state, sptr_t position) {
    // A problem's message wins over what a number means.
    if (position < 0 || editor.Call(SCI_INDICATORVALUEAT, kProblemIndicator, position)) return;
    const auto meaning = NumberMeaning(NumberAt(editor, position));
    if (!meaning) return;
    editor.CallText(SCI_CALLTIPSHOW, static_cast<uptr_t>(position), meaning->c_str());
    state.numberTipShown = true;
}

void OnDwellEnd(const Editor &editor, EditorAids &state) {
    if (!state.numberTipShown) return;
    state.numberTipShown = false;
    editor.Call(SCI_CALLTIPCANCEL);
}

void ForgetClosedEditors() {
    for (auto it = aids.begin(); it != aids.end();) it = IsWindow(it->first) ? std::next(it) : aids.erase(it);
}

// --- Rename ---

constexpr int kIncludeDepthMax = 16;

// The code page an editor's bytes are in (its own, or the system's for 0).
UINT CodePageOf(const Editor &editor) {
    const auto codePage = static_cast<UINT>(editor.Call(SCI_GETCODEPAGE));
    return codePage == 0 ? CP_ACP : codePage;
}

std::wstring Widened(const std::string &bytes, UINT codePage) {
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return wide;
}

std::string Narrowed(const std::wstring &wide, UINT codePage) {
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, nullptr,
                            nullptr);
    return bytes;
}

// The rename dialog's exchange: the old name in, the new one out, in the editor's
// code page (the edit box works in UTF-16, so any script's letters can be typed).
struct RenameRequest {
    UINT codePage;
    std::string name;
};

INT_PTR CALLBACK RenameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const auto *request = reinterpret_cast<const RenameRequest *>(lParam);
        SetDlgItemTextW(dialog, kIdRenameEdit, Widened(request->name, request->codePage).c_str());
        SendDlgItemMessageW(dialog, kIdRenameEdit, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dialog, kIdRenameEdit));
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            auto *request = reinterpret_cast<RenameRequest *>(GetWindowLongPtrA(dialog, DWLP_USER));
            HWND edit = GetDlgItem(dialog, kIdRenameEdit);
            std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
            typed.resize(static_cast<std::size_t>(GetWindowTextW(edit, typed.data(), static_cast<int>(typed.size()))));
            request->name = Narrowed(typed, request->codePage);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

// Asks for the new name; false when the user cancelled.
bool AskNewName(HWND owner, RenameRequest &request) {
    const platform::DialogTemplate dialog =
        platform::EntryDialogTemplate(text::kRenameCaption, kIdRenameEdit, text::kRenameOk, text::kRenameCancel);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    // A Unicode dialog: its edit box takes the letters of any script's language.
    return DialogBoxIndirectParamW(instance, dialog.Get(), owner, RenameDialogProc,
                                   reinterpret_cast<LPARAM>(&request)) == IDOK;
}

// A script the name may occur in: the active one, or one it includes (directly or
// through another), with its editor when it is open.
struct ScriptPart {
    std::string path;
    HWND control = nullptr;
    std::string text;
};

// The scripts `main` includes, in the order met, each once; an open one is read from
// its editor (what the user sees), any other from its file when it can be read.
std::vector<ScriptPart> IncludedParts(const ScriptPart &main) {
    std::vector<ScriptPart> parts;
    std::set<std::string> seen{main.path};
    std::vector<std::pair<std::string, int>> queue;
    for (const std::string &path : IncludedFiles(main.text, main.path)) queue.push_back({path, 1});
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const auto [path, depth] = queue[i];
        if (depth > kIncludeDepthMax || !seen.insert(path).second) continue;
        ScriptPart part{path, nullptr, {}};
        if (HWND document = FindDocumentByPath(CurrentMdiClient(), path)) {
            part.control = EditorOfDocument(document);
            part.text = Editor(part.control).Text();
        } else if (!ReadIncludedScript(path, part.text)) {
            continue;
        }
        for (const std::string &inner : IncludedFiles(part.text, part.path)) queue.push_back({inner, depth + 1});
        parts.push_back(std::move(part));
    }
    return parts;
}

// Replaces the spans (in text order) with the new name, as one undo step.
void ReplaceSpans(const Editor &editor, const std::vector<TextSpan> &spans, const std::string &name) {
    editor.Call(SCI_BEGINUNDOACTION);
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        editor.Call(SCI_SETTARGETRANGE, it->start, static_cast<sptr_t>(it->start + it->length));
        editor.Call(SCI_REPLACETARGET, name.size(), reinterpret_cast<sptr_t>(name.data()));
    }
    editor.Call(SCI_ENDUNDOACTION);
}

std::string FileNameOf(const std::string &path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void Tell(HWND owner, const std::string &message) {
    platform::ShowMessage(owner, message.c_str(), text::kRenameCaption, MB_OK | MB_ICONINFORMATION);
}

// --- References ---

// One line that defines or uses the name.
struct Reference {
    std::size_t part;       // 0 the active script, else 1 + its index among the included
    std::size_t position;   // of the occurrence in that script's text
    std::wstring shown;     // "file (line): text"
};

std::vector<Reference> CollectReferences(const std::vector<const ScriptPart *> &parts, const std::string &name,
                                         UINT codePage) {
    std::vector<Reference> references;
    for (std::size_t index = 0; index < parts.size(); ++index) {
        const ScriptPart &part = *parts[index];
        const std::string file = part.path.empty() ? std::string(text::kRenameThisScript) : FileNameOf(part.path);
        std::size_t lastLine = static_cast<std::size_t>(-1);
        std::size_t line = 0, lineStart = 0, scanned = 0;
        for (const TextSpan &span : NameOccurrences(part.text, name)) {
            // Lines are counted as the editor counts them: CR LF, CR and LF each end one.
            for (; scanned < span.start; ++scanned) {
                const char c = part.text[scanned];
                if (c == '\n' || (c == '\r' && !(scanned + 1 < part.text.size() && part.text[scanned + 1] == '\n'))) {
                    ++line;
                    lineStart = scanned + 1;
                }
            }
            if (line == lastLine) continue;
            lastLine = line;
            std::size_t lineEnd = part.text.find_first_of("\r\n", lineStart);
            if (lineEnd == std::string::npos) lineEnd = part.text.size();
            std::string shown = part.text.substr(lineStart, lineEnd - lineStart);
            shown.erase(0, shown.find_first_not_of(" \t"));
            for (char &c : shown)
                if (c == '\t') c = ' ';
            references.push_back({index, span.start,
                                  Widened(file + " (" + std::to_string(line + 1) + "): ", CP_ACP) +
                                      Widened(shown, codePage)});
        }
    }
    return references;
}

struct ReferencesRequest {
    std::wstring caption;
    const std::vector<Reference> *references;
    int chosen = -1;
};

INT_PTR CALLBACK ReferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *request = reinterpret_cast<ReferencesRequest *>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        request = reinterpret_cast<ReferencesRequest *>(lParam);
        SetWindowTextW(dialog, request->caption.c_str());
        HWND list = GetDlgItem(dialog, kIdReferencesList);
        for (const Reference &reference : *request->references)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(reference.shown.c_str()));
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        SetFocus(list);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
        const bool chosen = LOWORD(wParam) == IDOK || (LOWORD(wParam) == kIdReferencesList && HIWORD(wParam) == LBN_DBLCLK);
        if (chosen && request) {
            request->chosen = static_cast<int>(SendDlgItemMessageW(dialog, kIdReferencesList, LB_GETCURSEL, 0, 0));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    default: return FALSE;
    }
}

void MoveCaretTo(const Editor &editor, sptr_t position) {
    const sptr_t line = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(position));
    editor.Call(SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<uptr_t>(line));
    editor.Call(SCI_GOTOPOS, static_cast<uptr_t>(position));
    editor.Call(SCI_SCROLLCARET);
}

// --- Highlight of the word at the caret ---

constexpr UINT_PTR kHighlightTimer = 0x51A0;  // beside the control's own timers (1..8)
constexpr COLORREF kHighlightColour = RGB(0x40, 0xA0, 0xFF);
constexpr int kHighlightAlpha = 60;

bool IsNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Marks every whole-word occurrence (letter case ignored, as the language reads names)
// of the word at the caret in the lines now on the screen.
void HighlightCaretWord(HWND control) {
    const Editor editor(control);
    if (!editor.IsOpen()) return;
    editor.Call(SCI_SETINDICATORCURRENT, kWordHighlightIndicator);
    editor.Call(SCI_INDICATORCLEARRANGE, 0, editor.Call(SCI_GETLENGTH));
    const sptr_t caret = editor.Call(SCI_GETCURRENTPOS);
    const sptr_t caretLine = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(caret));
    const sptr_t caretLineStart = editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(caretLine));
    const std::string line = editor.TextRange(caretLineStart, editor.Call(SCI_GETLINEENDPOSITION, static_cast<uptr_t>(caretLine)));
    std::size_t start = static_cast<std::size_t>(caret - caretLineStart), end = start;
    while (start > 0 && IsNameByte(line[start - 1])) --start;
    while (end < line.size() && IsNameByte(line[end])) ++end;
    if (start == end) return;
    const std::string word = line.substr(start, end - start);

    const sptr_t firstShown = editor.Call(SCI_GETFIRSTVISIBLELINE);
    const sptr_t firstLine = editor.Call(SCI_DOCLINEFROMVISIBLE, static_cast<uptr_t>(firstShown));
    const sptr_t lastLine =
        editor.Call(SCI_DOCLINEFROMVISIBLE, static_cast<uptr_t>(firstShown + editor.Call(SCI_LINESONSCREEN) + 1));
    const sptr_t from = editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(firstLine));
    const sptr_t to = editor.Call(SCI_GETLINEENDPOSITION, static_cast<uptr_t>(lastLine));
    const std::string shown = editor.TextRange(from, to);
    for (std::size_t at = 0; at + word.size() <= shown.size(); ++at) {
        if ((at > 0 && IsNameByte(shown[at - 1])) || !SameWord(std::string_view(shown).substr(at, word.size()), word))
            continue;
        const std::size_t after = at + word.size();
        if (after < shown.size() && IsNameByte(shown[after])) continue;
        editor.Call(SCI_INDICATORFILLRANGE, from + static_cast<sptr_t>(at), static_cast<sptr_t>(word.size()));
        at = after - 1;
    }
}

void CALLBACK OnHighlightTimer(HWND control, UINT, UINT_PTR id, DWORD) {
    KillTimer(control, id);
    HighlightCaretWord(control);
}

// The caret moved, the text changed or the view scrolled: the marks follow after the
// checks' pause (set again on every move, so it runs once the caret rests).
void ScheduleHighlight(HWND control, EditorAids &state) {
    if (!state.prepared) {
        state.prepared = true;
        const Editor editor(control);
        editor.Call(SCI_INDICSETSTYLE, kWordHighlightIndicator, INDIC_ROUNDBOX);
        editor.Call(SCI_INDICSETFORE, kWordHighlightIndicator, kHighlightColour);
        editor.Call(SCI_INDICSETALPHA, kWordHighlightIndicator, kHighlightAlpha);
        editor.Call(SCI_INDICSETUNDER, kWordHighlightIndicator, 1);
    }
    SetTimer(control, kHighlightTimer, kCheckPauseMs, OnHighlightTimer);
}

}  // namespace

void FindReferencesAtCaret(ScriptOpener open) {
    HWND document = ActiveDocument();
    const Editor editor = ActiveEditor();
    if (!document || !editor.IsOpen()) return;
    ScriptPart main{DocumentPath(document), editor.Window(), editor.Text()};
    const auto at = NameAt(main.text, static_cast<std::size_t>(editor.Call(SCI_GETCURRENTPOS)));
    if (!at) {
        platform::ShowMessage(document, text::kReferencesNoName, text::kReferencesTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::string name = main.text.substr(at->start, at->length);
    const std::vector<ScriptPart> included = IncludedParts(main);
    std::vector<const ScriptPart *> parts{&main};
    for (const ScriptPart &part : included) parts.push_back(&part);
    const UINT codePage = CodePageOf(editor);
    const std::vector<Reference> references = CollectReferences(parts, name, codePage);

    using platform::kButtonAtom, platform::kListBoxAtom;
    platform::DialogTemplate dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 3,
                                    320, 176, text::kReferencesTitle);
    dialog.Item(kListBoxAtom, kIdReferencesList, "", 7, 7, 306, 142,
                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY |
                    LBS_NOINTEGRALHEIGHT);
    dialog.Item(kButtonAtom, IDOK, text::kReferencesGo, 212, 155, 48, 14,
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    dialog.Item(kButtonAtom, IDCANCEL, text::kReferencesClose, 265, 155, 48, 14,
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
    ReferencesRequest request{Widened(text::kReferencesCaption, CP_ACP) + Widened(name, codePage), &references};
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(document, GWLP_HINSTANCE));
    if (DialogBoxIndirectParamW(instance, dialog.Get(), document, ReferencesDialogProc,
                                reinterpret_cast<LPARAM>(&request)) != IDOK ||
        request.chosen < 0 || static_cast<std::size_t>(request.chosen) >= references.size())
        return;

    const Reference &chosen = references[static_cast<std::size_t>(request.chosen)];
    RememberJumpOrigin(document, editor.Call(SCI_GETCURRENTPOS));
    const ScriptPart &part = *parts[chosen.part];
    if (part.control == editor.Window()) {
        MoveCaretTo(editor, static_cast<sptr_t>(chosen.position));
        return;
    }
    if (!part.control && open) open(part.path.c_str());
    HWND target = part.control ? part.control : ActiveEditorWindow();
    HWND targetDocument = GetParent(target);
    if (HWND client = CurrentMdiClient(); client && targetDocument)
        SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(targetDocument), 0);
    if (target && target != editor.Window()) MoveCaretTo(Editor(target), static_cast<sptr_t>(chosen.position));
}

void RenameNameAtCaret() {
    HWND document = ActiveDocument();
    const Editor editor = ActiveEditor();
    if (!document || !editor.IsOpen()) return;
    ScriptPart main{DocumentPath(document), editor.Window(), editor.Text()};
    const auto at = NameAt(main.text, static_cast<std::size_t>(editor.Call(SCI_GETCURRENTPOS)));
    if (!at) {
        Tell(document, text::kRenameNoName);
        return;
    }
    const std::string oldName = main.text.substr(at->start, at->length);
    RenameRequest request{CodePageOf(editor), oldName};
    if (!AskNewName(document, request) || request.name == oldName) return;
    const std::string &newName = request.name;

    const char *keywords = GetKeywordList(FrameOf(document));
    const CommandSet commands(keywords ? keywords : "");
    const NameProblem problem =
        ProblemOfName(newName, [&](std::string_view word) { return commands.Contains(word); });
    if (problem != NameProblem::kNone) {
        Tell(document, RenameRefusal(problem, newName));
        return;
    }
    std::vector<ScriptPart> included = IncludedParts(main);
    // A new spelling of the same name (other letter case) meets only the name itself.
    if (NameOccurrences(oldName, newName).empty()) {
        if (!NameOccurrences(main.text, newName).empty()) {
            Tell(document, RenameRefusalUsed(newName, text::kRenameThisScript));
            return;
        }
        for (const ScriptPart &part : included)
            if (!NameOccurrences(part.text, newName).empty()) {
                Tell(document, RenameRefusalUsed(newName, FileNameOf(part.path)));
                return;
            }
    }

    ReplaceSpans(editor, NameOccurrences(main.text, oldName), newName);
    std::string changed, unchanged;
    for (const ScriptPart &part : included) {
        const std::vector<TextSpan> spans = NameOccurrences(part.text, oldName);
        if (spans.empty()) continue;
        std::string &list = part.control ? changed : unchanged;
        list += "\n" + part.path;
        if (part.control) ReplaceSpans(Editor(part.control), spans, newName);
    }
    if (changed.empty() && unchanged.empty()) return;
    std::string message;
    if (!changed.empty()) message += std::string(text::kRenameChangedIncludes) + changed;
    if (!unchanged.empty()) message += (message.empty() ? "" : "\n\n") + std::string(text::kRenameUnchangedIncludes) + unchanged;
    Tell(document, message);
}

void OnStructureNotification(HWND, const SCNotification &notification) {
    HWND control = static_cast<HWND>(notification.nmhdr.hwndFrom);
    if (!control) return;
    const Editor editor(control);
    switch (notification.nmhdr.code) {
    case SCN_DWELLSTART: OnDwellStart(editor, aids[control], notification.position); break;
    case SCN_DWELLEND: OnDwellEnd(editor, aids[control]); break;
    case SCN_FOCUSIN: ForgetClosedEditors(); break;
    // Not on every content update: the highlight's own indicators are one, and it would
    // then mark the word again every pause for as long as the script stays open.
    case SCN_MODIFIED:
        if (notification.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))
            ScheduleHighlight(control, aids[control]);
        break;
    case SCN_UPDATEUI:
        if (notification.updated & (SC_UPDATE_SELECTION | SC_UPDATE_V_SCROLL)) ScheduleHighlight(control, aids[control]);
        break;
    default: break;
    }
}

}  // namespace quillet
