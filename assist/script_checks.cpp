// Script checks in the editor and go to label (see script_checks.h). A hidden
// message-only window owns the pause timers (one per editor, id = the editor's handle)
// and receives the results of the worker threads; a result is shown only when the
// text has not changed since its check started. The worker holds no copy of the text:
// it asks the window thread for the text block by block (a sent message, answered
// from the editor), and a change of the text meanwhile makes the answer "no more", so
// the check stops. Only what the squiggles need is kept; their messages are written
// when one is hovered.
#include "assist/script_checks.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "assist/script_check_rules.h"
#include "core/settings_keys.h"
#include "core/texts.h"
#include "platform/active_document.h"
#include "platform/editor.h"
#include "platform/frame_state.h"
#include "platform/settings_store.h"

namespace quillet {

namespace {

constexpr UINT kMsgCheckDone = WM_APP + 0x31;
constexpr UINT kMsgFollowClick = WM_APP + 0x32;
constexpr UINT kMsgReadBlock = WM_APP + 0x33;
constexpr int kDwellMs = 500;
constexpr COLORREF kSquiggleColour = RGB(0xE0, 0x10, 0x10);
constexpr COLORREF kLinkColour = RGB(0x10, 0x40, 0xE0);
// Included scripts larger than this are taken as unreadable.
constexpr DWORD kIncludeReadLimit = 16u * 1024u * 1024u;
// Bytes of the text handed to a check's worker per request.
constexpr sptr_t kCheckBlockSize = 128 * 1024;

struct EditorChecks {
    HWND document = nullptr;
    unsigned generation = 0;  // counts text changes
    bool shown = false;       // a check's result is shown (the count is known)
    bool timerSet = false;    // the pause timer runs
    DWORD lastChange = 0;     // tick count of the last text change
    // What the squiggles now shown need for their messages (the rest comes from the
    // text they underline), by indicator value - 1.
    std::vector<ScriptProblem> notes;
    bool prepared = false;
    bool tipShown = false;
};

// One check on a worker thread: its input, and its result once done.
struct CheckJob {
    HWND editor = nullptr;
    unsigned generation = 0;
    HWND checksWindow = nullptr;  // answers the requests for the text
    std::string path;
    ScriptBytes bytes = ScriptBytes::kUnknown;
    std::shared_ptr<const CommandSet> commands;
    ScriptCheck result;
};

// A place the caret left for a label, for "Back".
struct JumpOrigin {
    HWND document;
    sptr_t position;
};

std::map<HWND, EditorChecks> editors;  // by editor control
std::vector<JumpOrigin> jumpOrigins;  // the latest last
constexpr std::size_t kJumpOriginsKept = 100;
// A Ctrl+click on a label link, followed once the editor has handled the click itself
// (which places the caret where the mouse is).
struct ClickedLink {
    HWND document;
    HWND control;
    sptr_t position;
    ScriptOpener open;
};
ClickedLink clickedLink{};
HWND checksWindow = nullptr;

}  // namespace

bool ReadIncludedScript(const std::string &path, std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size <= kIncludeReadLimit;
    if (ok) {
        bytes.assign(size, '\0');
        DWORD read = 0;
        ok = size == 0 || (ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
    }
    CloseHandle(file);
    return ok;
}

namespace {

class FileIncludeReader : public IncludeReader {
public:
    bool Read(const std::string &path, std::string &bytes) override { return ReadIncludedScript(path, bytes); }
};

// A worker's request for the next block of the text it checks.
struct BlockRequest {
    HWND editor;
    unsigned generation;  // of the text the check started on
    std::size_t offset;
    std::string *buffer;  // the block is appended here
};

// The checked editor's text as the worker reads it: each block is asked for from the
// window thread, which owns the editor.
class EditorTextSource : public TextSource {
public:
    explicit EditorTextSource(const CheckJob &job) : job_(job) {}
    bool Append(std::size_t offset, std::string &buffer) override {
        BlockRequest request{job_.editor, job_.generation, offset, &buffer};
        return SendMessageA(job_.checksWindow, kMsgReadBlock, 0, reinterpret_cast<LPARAM>(&request)) != 0;
    }

private:
    const CheckJob &job_;
};

// The command list of the loaded keyword file, rebuilt when the list changes.
std::shared_ptr<const CommandSet> Commands(HWND control) {
    static std::string builtFrom;
    static std::shared_ptr<const CommandSet> commands;
    const char *list = GetKeywordList(FrameOf(control));
    const std::string current = list ? list : "";
    if (!commands || current != builtFrom) {
        builtFrom = current;
        commands = std::make_shared<const CommandSet>(current);
    }
    return commands;
}

// A saved document's file; an untitled one has no folder for its includes.
std::string ScriptPathOf(HWND document) { return DocumentPath(document); }

// How the checks read the document's bytes: by the encoding it is shown in; for the
// system's own code page, by whether that is a single-byte one.
ScriptBytes BytesOf(HWND document) {
    const DocumentFile *file = GetDocumentFile(document);
    const EncodingId encoding = file ? file->encoding : EncodingId::kAnsi;
    if (encoding != EncodingId::kAnsi) return ScriptBytesFor(encoding);
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1 ? ScriptBytes::kWindowsSingleByte : ScriptBytes::kUnknown;
}

void ShowStatus(HWND editor) {
    const FrameHandles *handles = GetFrameHandles(FrameOf(editor));
    const auto found = editors.find(editor);
    if (!handles || !handles->statusBar || !ScriptChecksOn() || found == editors.end() || !found->second.shown) return;
    const int count = ProblemCount(editor);
    const std::string status = count == 0 ? text::kStatusNoProblems : std::to_string(count) + text::kStatusProblems;
    SendMessageA(handles->statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
}

void ClearIndicator(const Editor &editor, int indicator) {
    editor.Call(SCI_SETINDICATORCURRENT, indicator);
    editor.Call(SCI_INDICATORCLEARRANGE, 0, editor.Call(SCI_GETLENGTH));
}

void ClearChecks(HWND control, EditorChecks &checks) {
    const Editor editor(control);
    ClearIndicator(editor, kProblemIndicator);
    ClearIndicator(editor, kLabelLinkIndicator);
    checks.notes.clear();
    checks.notes.shrink_to_fit();
    checks.shown = false;
}

void ShowResult(HWND control, EditorChecks &checks, const ScriptCheck &result) {
    const Editor editor(control);
    ClearChecks(control, checks);
    checks.shown = true;
    editor.Call(SCI_SETINDICATORCURRENT, kProblemIndicator);
    checks.notes.reserve(result.problems.size());
    for (const ScriptProblem &problem : result.problems) {
        checks.notes.push_back(problem);
        editor.Call(SCI_SETINDICATORVALUE, checks.notes.size());
        editor.Call(SCI_INDICATORFILLRANGE, problem.start, static_cast<sptr_t>(problem.length));
    }
    editor.Call(SCI_SETINDICATORCURRENT, kLabelLinkIndicator);
    editor.Call(SCI_SETINDICATORVALUE, 1);
    for (const auto &[start, length] : result.labelLinks)
        editor.Call(SCI_INDICATORFILLRANGE, start, static_cast<sptr_t>(length));
    if (control == ActiveEditorWindow()) ShowStatus(control);
}

DWORD WINAPI RunCheck(LPVOID parameter) {
    std::unique_ptr<CheckJob> job(static_cast<CheckJob *>(parameter));
    FileIncludeReader reader;
    EditorTextSource source(*job);
    job->result = CheckScript(source, job->path, *job->commands, &reader, job->bytes);
    // A check the text changed under is dropped: a newer one follows the change.
    if (job->result.complete && PostMessageA(job->checksWindow, kMsgCheckDone, 0, reinterpret_cast<LPARAM>(job.get())))
        job.release();
    return 0;
}

// Forgets editors that were destroyed (their documents closed).
void ForgetClosedEditors() {
    for (auto it = editors.begin(); it != editors.end();)
        it = IsWindow(it->first) ? std::next(it) : editors.erase(it);
}

HWND ChecksWindow();

void StartCheck(HWND control) {
    ForgetClosedEditors();
    const auto found = editors.find(control);
    if (found == editors.end() || !IsWindow(control)) return;
    auto commands = Commands(control);
    if (commands->Empty()) return;  // no keyword file: nothing to check commands against
    HWND window = ChecksWindow();
    if (!window) return;
    auto job = std::make_unique<CheckJob>();
    job->editor = control;
    job->generation = found->second.generation;
    job->checksWindow = window;
    job->path = ScriptPathOf(found->second.document);
    job->bytes = BytesOf(found->second.document);
    job->commands = std::move(commands);
    HANDLE thread = CreateThread(nullptr, 0, RunCheck, job.get(), 0, nullptr);
    if (!thread) return;
    job.release();
    CloseHandle(thread);
}

void OnCheckDone(CheckJob *finished) {
    std::unique_ptr<CheckJob> job(finished);
    const auto found = editors.find(job->editor);
    if (found == editors.end() || !IsWindow(job->editor) || !ScriptChecksOn()) return;
    if (found->second.generation != job->generation) return;  // a newer check is on its way
    ShowResult(job->editor, found->second, job->result);
}

void FollowClickedLink();

// Appends the requested block of an editor's text to the worker's buffer; 0 when the
// text is no longer the one the check started on (or checks were turned off).
LRESULT OnReadBlock(const BlockRequest &request) {
    const auto found = editors.find(request.editor);
    if (found == editors.end() || !IsWindow(request.editor) || !ScriptChecksOn() ||
        found->second.generation != request.generation)
        return 0;
    const Editor editor(request.editor);
    const sptr_t length = editor.Call(SCI_GETLENGTH);
    const sptr_t from = static_cast<sptr_t>(request.offset);
    if (from >= length) return 1;
    const sptr_t to = std::min(length, from + kCheckBlockSize);
    std::string &buffer = *request.buffer;
    const std::size_t kept = buffer.size();
    buffer.resize(kept + static_cast<std::size_t>(to - from) + 1);  // the control adds a zero
    Sci_TextRangeFull range{{from, to}, buffer.data() + kept};
    editor.Call(SCI_GETTEXTRANGEFULL, 0, reinterpret_cast<sptr_t>(&range));
    buffer.resize(kept + static_cast<std::size_t>(to - from));
    return 1;
}

// A keystroke only notes its time; the timer, set once per pause, waits until the
// text has rested for the whole pause before the check starts.
void OnPauseTimer(HWND window, HWND control) {
    KillTimer(window, reinterpret_cast<UINT_PTR>(control));
    const auto found = editors.find(control);
    if (found == editors.end()) return;
    EditorChecks &checks = found->second;
    const DWORD rested = GetTickCount() - checks.lastChange;
    if (rested < kCheckPauseMs) {
        SetTimer(window, reinterpret_cast<UINT_PTR>(control), kCheckPauseMs - rested, nullptr);
        return;
    }
    checks.timerSet = false;
    StartCheck(control);
}

LRESULT CALLBACK ChecksWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: OnPauseTimer(window, reinterpret_cast<HWND>(wParam)); return 0;
    case kMsgCheckDone: OnCheckDone(reinterpret_cast<CheckJob *>(lParam)); return 0;
    case kMsgFollowClick: FollowClickedLink(); return 0;
    case kMsgReadBlock: return OnReadBlock(*reinterpret_cast<const BlockRequest *>(lParam));
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND ChecksWindow() {
    if (checksWindow && IsWindow(checksWindow)) return checksWindow;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ChecksWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = text::kChecksWindowClass;
    RegisterClassA(&windowClass);
    checksWindow = CreateWindowExA(0, text::kChecksWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   windowClass.hInstance, nullptr);
    return checksWindow;
}

void ScheduleCheck(HWND control, EditorChecks &checks) {
    checks.lastChange = GetTickCount();
    if (checks.timerSet) return;
    HWND window = ChecksWindow();
    checks.timerSet = window && SetTimer(window, reinterpret_cast<UINT_PTR>(control), kCheckPauseMs, nullptr);
}

EditorChecks &Prepare(HWND document, HWND control) {
    EditorChecks &checks = editors[control];
    // A handle of a closed editor may come back for a new one in another document.
    if (checks.document != document) checks = EditorChecks{};
    checks.document = document;
    if (checks.prepared) return checks;
    checks.prepared = true;
    const Editor editor(control);
    editor.Call(SCI_INDICSETSTYLE, kProblemIndicator, INDIC_SQUIGGLE);
    editor.Call(SCI_INDICSETFORE, kProblemIndicator, kSquiggleColour);
    editor.Call(SCI_INDICSETUNDER, kProblemIndicator, 1);
    // Label links show only under the mouse, as a plain underline.
    editor.Call(SCI_INDICSETSTYLE, kLabelLinkIndicator, INDIC_HIDDEN);
    editor.Call(SCI_INDICSETHOVERSTYLE, kLabelLinkIndicator, INDIC_PLAIN);
    editor.Call(SCI_INDICSETHOVERFORE, kLabelLinkIndicator, kLinkColour);
    editor.Call(SCI_SETMOUSEDWELLTIME, kDwellMs);
    return checks;
}

void OnTextChanged(HWND control, EditorChecks &checks) {
    ++checks.generation;
    if (ScriptChecksOn()) ScheduleCheck(control, checks);
}

void OnDwellStart(HWND control, EditorChecks &checks, sptr_t position) {
    const Editor editor(control);
    if (position < 0) return;
    const sptr_t value = editor.Call(SCI_INDICATORVALUEAT, kProblemIndicator, position);
    if (value <= 0 || static_cast<size_t>(value) > checks.notes.size()) return;
    const sptr_t start = editor.Call(SCI_INDICATORSTART, kProblemIndicator, position);
    const sptr_t end = editor.Call(SCI_INDICATOREND, kProblemIndicator, position);
    const ScriptProblem &note = checks.notes[static_cast<size_t>(value) - 1];
    const std::string message = ProblemMessage(note, editor.TextRange(start, end));
    editor.CallText(SCI_CALLTIPSHOW, static_cast<uptr_t>(start), message.c_str());
    checks.tipShown = true;
}

void OnDwellEnd(HWND control, EditorChecks &checks) {
    if (!checks.tipShown) return;
    checks.tipShown = false;
    Editor(control).Call(SCI_CALLTIPCANCEL);
}

void MoveCaretTo(const Editor &editor, sptr_t position) {
    const sptr_t line = editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(position));
    editor.Call(SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<uptr_t>(line));
    editor.Call(SCI_GOTOPOS, static_cast<uptr_t>(position));
    editor.Call(SCI_SCROLLCARET);
}

// An editor's whole text without a copy: the control closes its gap and hands out its
// buffer, valid until the text changes (the window thread's checks finish before that).
std::string_view TextView(const Editor &editor) {
    const sptr_t length = editor.Call(SCI_GETLENGTH);
    const auto *bytes = reinterpret_cast<const char *>(editor.Call(SCI_GETCHARACTERPOINTER));
    return bytes && length > 0 ? std::string_view(bytes, static_cast<std::size_t>(length)) : std::string_view();
}

// Where a label is defined in a script's text, or -1.
sptr_t LabelPosition(HWND control, std::string_view text, const std::string &path, const std::string &label) {
    FileIncludeReader reader;
    const ScriptCheck check = CheckScript(text, path, *Commands(control), &reader);
    const auto found = check.labels.find(label);
    if (found == check.labels.end() || !found->second.file.empty()) return -1;
    return static_cast<sptr_t>(found->second.position);
}

// Follows the label operand at `position` of the editor's text to the definition.
bool GoToLabelAt(HWND document, HWND control, sptr_t position, ScriptOpener open) {
    const Editor editor(control);
    const std::string_view text = TextView(editor);
    const auto label = LabelOperandAt(text, static_cast<std::size_t>(position));
    if (!label) return false;
    const std::string path = ScriptPathOf(document);
    FileIncludeReader reader;
    const ScriptCheck check = CheckScript(text, path, *Commands(control), &reader);
    const auto found = check.labels.find(*label);
    if (found == check.labels.end()) return false;
    RememberJumpOrigin(document, editor.Call(SCI_GETCURRENTPOS));
    if (found->second.file.empty()) {
        MoveCaretTo(editor, static_cast<sptr_t>(found->second.position));
        return true;
    }
    if (open) open(found->second.file.c_str());
    const Editor target = ActiveEditor();
    if (!target.IsOpen() || target.Window() == control) return true;
    const sptr_t at = LabelPosition(target.Window(), TextView(target), found->second.file, *label);
    MoveCaretTo(target, at >= 0 ? at : static_cast<sptr_t>(found->second.position));
    return true;
}

void FollowClickedLink() {
    const ClickedLink link = clickedLink;
    clickedLink = {};
    if (link.control && IsWindow(link.control)) GoToLabelAt(link.document, link.control, link.position, link.open);
}

}  // namespace

void OnScriptCheckNotification(HWND document, const SCNotification &notification, ScriptOpener open) {
    HWND control = static_cast<HWND>(notification.nmhdr.hwndFrom);
    if (!control) return;
    EditorChecks &checks = Prepare(document, control);
    switch (notification.nmhdr.code) {
    case SCN_MODIFIED:
        if (notification.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) OnTextChanged(control, checks);
        break;
    case SCN_DWELLSTART: OnDwellStart(control, checks, notification.position); break;
    case SCN_DWELLEND: OnDwellEnd(control, checks); break;
    case SCN_FOCUSIN:
        ForgetClosedEditors();
        ShowStatus(control);
        break;
    case SCN_INDICATORCLICK:
        if ((notification.modifiers & SCMOD_CTRL) &&
            Editor(control).Call(SCI_INDICATORVALUEAT, kLabelLinkIndicator, notification.position)) {
            clickedLink = {document, control, notification.position, open};
            PostMessageA(ChecksWindow(), kMsgFollowClick, 0, 0);
        }
        break;
    default: break;
    }
}

void OnUnreportedTextChange(HWND control) {
    if (!control || !IsWindow(control)) return;
    OnTextChanged(control, Prepare(GetParent(control), control));
}

int ProblemCount(HWND editor) {
    const auto found = editors.find(editor);
    return found == editors.end() ? 0 : static_cast<int>(found->second.notes.size());
}

void GoToNextProblem() {
    const Editor editor = ActiveEditor();
    if (!editor.IsOpen()) return;
    const sptr_t length = editor.Call(SCI_GETLENGTH);
    sptr_t position = editor.Call(SCI_GETCURRENTPOS);
    // Leave the squiggle the caret is on, then find the start of the next one; once
    // past the end, start again from the top.
    for (int pass = 0; pass < 2; ++pass) {
        if (editor.Call(SCI_INDICATORVALUEAT, kProblemIndicator, position))
            position = editor.Call(SCI_INDICATOREND, kProblemIndicator, position);
        while (position < length) {
            if (editor.Call(SCI_INDICATORVALUEAT, kProblemIndicator, position)) {
                MoveCaretTo(editor, position);
                return;
            }
            const sptr_t next = editor.Call(SCI_INDICATOREND, kProblemIndicator, position);
            if (next <= position) break;
            position = next;
        }
        position = 0;
        if (editor.Call(SCI_INDICATORVALUEAT, kProblemIndicator, 0)) {
            MoveCaretTo(editor, 0);
            return;
        }
    }
}

void GoToLabelAtCaret(ScriptOpener open) {
    HWND document = ActiveDocument();
    const Editor editor = ActiveEditor();
    if (!editor.IsOpen()) return;
    GoToLabelAt(document, editor.Window(), editor.Call(SCI_GETCURRENTPOS), open);
}

void RememberJumpOrigin(HWND document, sptr_t position) {
    if (jumpOrigins.size() == kJumpOriginsKept) jumpOrigins.erase(jumpOrigins.begin());
    jumpOrigins.push_back({document, position});
}

void GoBackFromLabel() {
    while (!jumpOrigins.empty()) {
        const JumpOrigin origin = jumpOrigins.back();
        jumpOrigins.pop_back();
        if (!IsWindow(origin.document)) continue;
        if (HWND client = CurrentMdiClient())
            SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(origin.document), 0);
        const Editor editor(EditorOfDocument(origin.document));
        MoveCaretTo(editor, origin.position);
        SetFocus(editor.Window());
        return;
    }
}

bool ScriptChecksOn() {
    const SettingsRecord *settings = GetSettings(ProgramFrame());
    return !settings || settings->scriptChecksOff != 1;
}

void SetScriptChecksOn(HWND frame, bool on) {
    WriteSetting(setting::kScriptChecksOff, on ? 0 : 1);
    ForgetClosedEditors();
    for (auto &[control, checks] : editors) {
        ++checks.generation;
        ClearChecks(control, checks);
        if (on) ScheduleCheck(control, checks);
    }
    // The count goes away with the squiggles; the keyword file's note comes back.
    const FrameHandles *handles = GetFrameHandles(frame);
    const char *note = GetStatusNote(frame);
    if (!on && handles && handles->statusBar)
        SendMessageA(handles->statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(note ? note : ""));
}

}  // namespace quillet
