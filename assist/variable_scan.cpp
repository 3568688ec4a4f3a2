// The background variable scan. Ownership: the job (the copied text and styles) is
// the worker's; a finished result goes into a mailbox guarded by a lock and the frame
// is told with a posted message carrying only the scan's number, so a message that
// never arrives (the frame is gone) leaks nothing and a late one finds nothing to
// misuse. Scans are numbered; a result older than one already applied is dropped, so
// with two scans the last one started wins.
#include "assist/variable_scan.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "assist/completion_rules.h"
#include "assist/keyword_stores.h"
#include "assist/variable_walk.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/active_document.h"
#include "platform/frame_state.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr SIZE_T kScanThreadStack = 1024 * 1024;
// SCI_GETSTYLEDTEXT is read in pieces of this many characters.
constexpr sptr_t kStyledChunk = 64 * 1024;

struct ScanJob {
    HWND frame;
    unsigned number;
    std::string text;
    std::string styles;  // one style per byte of text
};

struct ScanResult {
    unsigned number;
    std::string names;
};

struct ScanBoard {
    std::mutex lock;
    std::vector<std::unique_ptr<ScanResult>> mailbox;
    unsigned lastStarted = 0;  // window thread only
    unsigned lastApplied = 0;  // window thread only
};

// Never destroyed: a worker may still be running while the program's statics go away.
ScanBoard &Board() {
    static ScanBoard *board = new ScanBoard;
    return *board;
}

// Each scan remembers which document it read; the worker does not need it.
struct DocumentOfScan {
    unsigned number;
    HWND document;
};
std::vector<DocumentOfScan> scannedDocuments;  // window thread only

HWND TakeScannedDocument(unsigned number) {
    for (auto it = scannedDocuments.begin(); it != scannedDocuments.end(); ++it) {
        if (it->number != number) continue;
        HWND document = it->document;
        scannedDocuments.erase(it);
        return document;
    }
    return nullptr;
}

// The text and the style of every character, after styling the whole document.
void CopyTextAndStyles(const Editor &editor, ScanJob &job) {
    editor.Call(SCI_COLOURISE, 0, -1);
    job.text = editor.Text();
    const sptr_t length = static_cast<sptr_t>(job.text.size());
    job.styles.resize(job.text.size());
    std::vector<char> pairs(static_cast<std::size_t>(2 * kStyledChunk + 2));
    for (sptr_t start = 0; start < length; start += kStyledChunk) {
        const sptr_t end = std::min(length, start + kStyledChunk);
        Sci_TextRange range{};
        range.chrg.cpMin = static_cast<Sci_PositionCR>(start);
        range.chrg.cpMax = static_cast<Sci_PositionCR>(end);
        range.lpstrText = pairs.data();
        editor.Call(SCI_GETSTYLEDTEXT, 0, reinterpret_cast<sptr_t>(&range));
        for (sptr_t i = 0; i < end - start; ++i)
            job.styles[static_cast<std::size_t>(start + i)] = pairs[static_cast<std::size_t>(2 * i + 1)];
    }
}

DWORD WINAPI ScanThread(LPVOID parameter) {
    const std::unique_ptr<ScanJob> job(static_cast<ScanJob *>(parameter));
    const std::string_view text = job->text;
    const WordChars wordChars(kScanWordChars);
    const std::size_t lines = CountLines(text);
    FoundVariables found;
    int shownProgress = -1;
    ForEachLine(text, [&](std::size_t index, LineSpan line) {
        const std::optional<int> progress = ScanProgressAt(index, lines);
        if (progress && *progress != shownProgress) {
            shownProgress = *progress;
            PostMessageA(job->frame, kMsgScanProgress, job->number, *progress);
        }
        WalkLine(text, job->styles, wordChars, line, found);
    });
    auto result = std::make_unique<ScanResult>();
    result->number = job->number;
    result->names = found.Text();
    const ScanResult *posted = result.get();
    ScanBoard &board = Board();
    {
        std::lock_guard<std::mutex> guard(board.lock);
        board.mailbox.push_back(std::move(result));
    }
    if (!PostMessageA(job->frame, kMsgScanDone, job->number, 0)) {
        // The frame is gone: nobody will take the result.
        std::lock_guard<std::mutex> guard(board.lock);
        auto &mailbox = board.mailbox;
        mailbox.erase(std::remove_if(mailbox.begin(), mailbox.end(), [&](const auto &r) { return r.get() == posted; }),
                      mailbox.end());
    }
    return 0;
}

void SetStatusText(const FrameHandles &handles, const char *text) {
    if (handles.statusBar) SendMessageA(handles.statusBar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

// The end of a scan on the window thread: the bar and status text of the newest scan,
// the extended list, and the scanned document marked unmodified with its word
// characters restored (when it is still open).
void ApplyResult(HWND frame, const ScanResult &result) {
    ScanBoard &board = Board();
    HWND document = TakeScannedDocument(result.number);
    if (result.number <= board.lastApplied) return;
    board.lastApplied = result.number;
    if (const FrameHandles *handles = GetFrameHandles(frame); handles && result.number == board.lastStarted) {
        if (handles->progressBar) ShowWindow(handles->progressBar, SW_HIDE);
        SetStatusText(*handles, GetStatusNote(frame));
    }
    const char *base = GetKeywordList(frame);
    std::string list = ListWithScannedVariables(base ? base : "", result.names);
    if (!list.empty()) ReplaceKeywordAdded(frame, std::move(list));
    if (document && IsWindow(document) && IsDocumentWindow(document)) {
        const Editor editor(EditorOfDocument(document));
        editor.Call(SCI_SETSAVEPOINT);
        editor.CallText(SCI_SETWORDCHARS, 0, kRestoreWordChars);
    }
}

}  // namespace

bool StartVariableScan(HWND frame) {
    HWND document = ActiveDocument();
    const FrameHandles *handles = GetFrameHandles(frame);
    if (!document || !handles) {
        platform::ShowMessage(nullptr, text::kPleaseOpenScript, text::kPleaseOpenScriptTitle, MB_OK);
        return false;
    }
    const Editor editor(EditorOfDocument(document));
    editor.CallText(SCI_SETWORDCHARS, 0, kScanWordChars);
    SetStatusText(*handles, text::kScanningForVariables);
    if (handles->progressBar) {
        SendMessageA(handles->progressBar, PBM_SETPOS, 0, 0);
        ShowWindow(handles->progressBar, SW_SHOW);
    }

    auto job = std::make_unique<ScanJob>();
    job->frame = frame;
    job->number = ++Board().lastStarted;
    CopyTextAndStyles(editor, *job);
    scannedDocuments.push_back({job->number, document});
    const unsigned number = job->number;
    HANDLE thread = CreateThread(nullptr, kScanThreadStack, ScanThread, job.get(), STACK_SIZE_PARAM_IS_A_RESERVATION,
                                 nullptr);
    if (!thread) {
        // No worker: finish at once with nothing found, so the bar and status text return.
        ScanResult nothing{number, {}};
        ApplyResult(frame, nothing);
        return false;
    }
    job.release();  // the worker owns it now
    CloseHandle(thread);
    return true;
}

LRESULT OnVariableScanMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    ScanBoard &board = Board();
    if (message == kMsgScanProgress) {
        const FrameHandles *handles = GetFrameHandles(frame);
        if (handles && handles->progressBar && static_cast<unsigned>(wParam) == board.lastStarted) {
            SendMessageA(handles->progressBar, PBM_SETPOS, static_cast<WPARAM>(lParam), 0);
            SendMessageA(handles->progressBar, PBM_STEPIT, 0, 0);
        }
        return 0;
    }
    std::vector<std::unique_ptr<ScanResult>> arrived;
    {
        std::lock_guard<std::mutex> guard(board.lock);
        arrived.swap(board.mailbox);
    }
    std::sort(arrived.begin(), arrived.end(), [](const auto &a, const auto &b) { return a->number < b->number; });
    for (const auto &result : arrived) ApplyResult(frame, *result);
    return 0;
}

void DiscardVariableScans() {
    ScanBoard &board = Board();
    std::lock_guard<std::mutex> guard(board.lock);
    board.mailbox.clear();
    board.lastApplied = board.lastStarted;
    scannedDocuments.clear();
}

}  // namespace quillet
