// The debugger link on the real frame: messages of the debugger side with the real
// menus and frame properties, the requests as a debugger window on another thread
// receives them (the exact 257-byte block), and script breakpoints moving between two
// open scripts.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/debugger_link.h"
#include "debugger/debugger.h"
#include "documents/documents.h"
#include "platform/active_document.h"
#include "platform/text.h"
#include "tests/win32/shell_fixture.h"

namespace quillet::testing_shell {
namespace {

using CodeList = std::vector<std::pair<ULONG_PTR, DWORD>>;

struct Received {
    ULONG_PTR code;
    DWORD size;
    std::string bytes;
    HWND sender;
};

// A debugger window on a thread of its own, recording every WM_COPYDATA it receives.
// Given a frame and a code, it answers each run and debug request inside the request,
// sending that code to the frame before it returns, and records the frame's reply.
class DebuggerSide {
public:
    explicit DebuggerSide(HWND answerTo = nullptr, ULONG_PTR answerCode = 0)
        : answerTo_(answerTo), answerCode_(answerCode) {
        thread_ = std::thread([this] { Run(); });
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return window_ != nullptr; });
    }
    ~DebuggerSide() {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }
    std::vector<Received> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    // The frame's reply to each answer, in order (0 where it did not take it).
    std::vector<LRESULT> AnswerReplies() {
        std::lock_guard<std::mutex> lock(mutex_);
        return answerReplies_;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto *self = reinterpret_cast<DebuggerSide *>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_COPYDATA && self) {
            const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
            {
                std::lock_guard<std::mutex> lock(self->mutex_);
                self->requests_.push_back(
                    {data->dwData, data->cbData,
                     data->lpData ? std::string(static_cast<const char *>(data->lpData), data->cbData) : std::string(),
                     reinterpret_cast<HWND>(wParam)});
            }
            if (self->answerCode_ && (data->dwData == kRequestRun || data->dwData == kRequestDebug)) {
                COPYDATASTRUCT answer{self->answerCode_, 0, nullptr};
                DWORD_PTR reply = 0;
                // Bounded, so that a frame that does not take it cannot hold the test.
                SendMessageTimeoutA(self->answerTo_, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                                    reinterpret_cast<LPARAM>(&answer), SMTO_NORMAL, 10000, &reply);
                std::lock_guard<std::mutex> lock(self->mutex_);
                self->answerReplies_.push_back(static_cast<LRESULT>(reply));
            }
            return 1;
        }
        if (message == WM_CLOSE) {
            DestroyWindow(window);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    void Run() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DebuggerSideTest";
        RegisterClassA(&wc);
        HWND window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        {
            std::lock_guard<std::mutex> lock(mutex_);
            window_ = window;
        }
        ready_.notify_all();
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    }

    HWND answerTo_;
    ULONG_PTR answerCode_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ready_;
    HWND window_ = nullptr;
    std::vector<Received> requests_;
    std::vector<LRESULT> answerReplies_;
};

class DebuggerLinkTest : public ShellFixture {
protected:
    LRESULT Tell(HWND sender, ULONG_PTR code, const void *data, DWORD size) {
        COPYDATASTRUCT message{code, size, const_cast<void *>(data)};
        return SendMessageA(frame_, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&message));
    }
    LRESULT Announce(HWND sender, const std::string &path) {
        return Tell(sender, kDebuggerStarted, path.c_str(), static_cast<DWORD>(path.size() + 1));
    }
    UINT ItemState(int id) const { return GetMenuState(Menus().testMe, static_cast<UINT>(id), MF_BYCOMMAND); }
    // Whether the tool bar's run, stop and debug buttons are enabled, in that order.
    std::vector<bool> ButtonsEnabled() const {
        std::vector<bool> enabled;
        for (int id : {kCmdToolRun, kCmdToolStop, kCmdToolDebug})
            enabled.push_back(SendMessageA(Handles().toolBar, TB_ISBUTTONENABLED, id, 0) != 0);
        return enabled;
    }
    std::string StoredPath() const { return IniText(text::kSecOllyPath, text::kKeyOllyPath); }
    static CodeList Codes(const std::vector<Received> &requests) {
        CodeList codes;
        for (const Received &r : requests) codes.emplace_back(r.code, r.size);
        return codes;
    }
};

TEST_F(DebuggerLinkTest, DebuggerSideMessagesConnectTakeThePathAndDisconnect) {
    CreateFrame();
    DebuggerSide first, second;
    for (int id : {kCmdRunScript, kCmdStopScript, kCmdDebugScript}) EXPECT_TRUE(ItemState(id) & MF_GRAYED) << id;
    EXPECT_EQ(ButtonsEnabled(), std::vector<bool>(3, false));

    // An empty path stores nothing but connects all the same.
    EXPECT_EQ(Announce(first.Window(), "   "), 1);
    EXPECT_EQ(messages_, (std::vector<ShownMessage>{{"sorry, no path is found", "error", MB_OK}}));
    EXPECT_EQ(StoredPath(), "<missing>");
    EXPECT_EQ(GetDebuggerWindow(frame_), first.Window());
    for (int id : {kCmdRunScript, kCmdStopScript, kCmdDebugScript, kCmdClearDefaultOlly})
        EXPECT_EQ(ItemState(id) & (MF_GRAYED | MF_DISABLED), 0u) << id;
    EXPECT_EQ(ButtonsEnabled(), std::vector<bool>(3, true));

    // A block without its zero is read within its length and cut to 259 characters.
    const std::string noZero(300, 'A');
    EXPECT_EQ(Tell(first.Window(), kDebuggerStarted, noZero.data(), 300), 1);
    EXPECT_EQ(StoredPath(), std::string(259, 'A'));
    EXPECT_EQ(messages_.back(), (ShownMessage{"Your default debugger is set, Quillet will  close the debugger now",
                                              "Default debugger is set", MB_TASKMODAL}));
    EXPECT_EQ(Codes(first.Requests()), (CodeList{{130, 0}}));
    EXPECT_EQ(first.Requests()[0].sender, frame_);

    // Forgotten, then taken from the next announcement, trimmed.
    Command(kCmdClearDefaultOlly);
    EXPECT_EQ(StoredPath(), "<missing>");
    EXPECT_EQ(GetSettings(frame_)->debuggerPath, "");
    EXPECT_EQ(Codes(first.Requests()), (CodeList{{130, 0}, {129, 0}}));
    Announce(first.Window(), "  C:\\Olly Dbg\\OLLYDBG.EXE ");
    EXPECT_EQ(StoredPath(), "C:\\Olly Dbg\\OLLYDBG.EXE");
    EXPECT_EQ(GetSettings(frame_)->debuggerPath, "C:\\Olly Dbg\\OLLYDBG.EXE");
    EXPECT_EQ(Codes(first.Requests()), (CodeList{{130, 0}, {129, 0}, {130, 0}}));
    const size_t shown = messages_.size();

    // A second debugger becomes the connected one; the stored path stays, unannounced.
    Announce(second.Window(), "D:\\other\\ollydbg.exe");
    EXPECT_EQ(GetDebuggerWindow(frame_), second.Window());
    EXPECT_EQ(StoredPath(), "C:\\Olly Dbg\\OLLYDBG.EXE");
    EXPECT_EQ(messages_.size(), shown);
    EXPECT_TRUE(second.Requests().empty());

    // Position reports, unknown codes, malformed blocks and a sender that is no window
    // change nothing.
    const PositionReport report{0, 1, 2};
    EXPECT_EQ(Tell(second.Window(), kDebuggerPosition, &report, sizeof report), 1);
    EXPECT_EQ(Tell(second.Window(), kDebuggerPosition, &report, 11), 1);
    EXPECT_EQ(Tell(second.Window(), 77, "x", 2), 1);
    EXPECT_EQ(Tell(second.Window(), kDebuggerStarted, nullptr, 40), 1);
    EXPECT_EQ(Announce(reinterpret_cast<HWND>(0x1234), "C:\\evil.exe"), 1);
    EXPECT_EQ(GetDebuggerWindow(frame_), second.Window());
    EXPECT_EQ(messages_.size(), shown);

    Tell(second.Window(), kDebuggerNoTarget, nullptr, 0);
    EXPECT_EQ(messages_.back(), (ShownMessage{"Please load target into Ollydbg ", "Warning", MB_OK}));

    // Closing: run, stop and debug are disabled (not greyed); forgetting stays possible.
    Tell(second.Window(), kDebuggerClosing, nullptr, 0);
    EXPECT_EQ(GetDebuggerWindow(frame_), nullptr);
    for (int id : {kCmdRunScript, kCmdStopScript, kCmdDebugScript}) {
        EXPECT_TRUE(ItemState(id) & MF_DISABLED) << id;
        EXPECT_FALSE(ItemState(id) & MF_GRAYED) << id;
    }
    EXPECT_EQ(ButtonsEnabled(), std::vector<bool>(3, false));
    EXPECT_EQ(ItemState(kCmdClearDefaultOlly) & (MF_GRAYED | MF_DISABLED), 0u);
}

TEST_F(DebuggerLinkTest, RunDebugAndStopSendTheScriptFile) {
    CreateFrame();
    DebuggerSide debugger;
    PublishDebuggerWindow(frame_, debugger.Window());
    const std::string script = Path("run me.txt");
    WriteBytes(script, "msg \"saved\"\r\n");
    OpenScriptPath(script.c_str());
    ActiveEditor().SetText("unsaved edits");
    Command(kCmdRunScript);
    Command(kCmdDebugScript);
    Command(kCmdStopScript);
    std::vector<Received> got = debugger.Requests();
    ASSERT_EQ(Codes(got), (CodeList{{124, 257}, {128, 257}, {127, 0}}));
    const std::string block = script + std::string(257 - script.size(), '\0');
    EXPECT_EQ(got[0].bytes, block);
    EXPECT_EQ(got[1].bytes, block);
    EXPECT_EQ(ReadBytes(script), "unsaved edits");  // saved before it is sent
    EXPECT_EQ(ActiveEditor().Call(SCI_GETMODIFY), 0);

    // An untitled script is written to the temporary folder first, cutting an older file.
    const std::string temporary = GetSettings(frame_)->tempFolder + "Untitled";
    WriteBytes(temporary, std::string(100, 'o'));
    Command(kCmdNew);
    ActiveEditor().SetText(std::string("msg \"new\"\0x", 11));
    Command(kCmdRunScript);
    EXPECT_EQ(ReadBytes(temporary), std::string("msg \"new\"\0x", 11));
    got = debugger.Requests();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[3].bytes, temporary + std::string(257 - temporary.size(), '\0'));

    // A path too long for the block goes in its short form, or not at all.
    std::string folder = folder_;
    while (folder.size() < 230) {
        folder += std::string(9, 'd') + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string longScript = folder + std::string(254 - folder.size(), 's') + ".txt";
    ASSERT_GT(longScript.size(), 255u);
    WriteBytes(longScript, "ret\r\n");
    GetDocumentRecord(ActiveDocument())->path = longScript;
    ActiveEditor().SetText("ret\r\n");
    Command(kCmdRunScript);
    got = debugger.Requests();
    ASSERT_EQ(got.size(), 5u);
    const std::string shortPath = got[4].bytes.substr(0, got[4].bytes.find('\0'));
    EXPECT_LE(shortPath.size(), 255u);
    EXPECT_EQ(ReadBytes(shortPath), "ret\r\n");
    EXPECT_TRUE(messages_.empty());

    GetDocumentRecord(ActiveDocument())->path = "C:\\" + std::string(300, 'n') + ".txt";
    Command(kCmdDebugScript);
    EXPECT_EQ(debugger.Requests().size(), 5u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].title, "Path too long");

    // A temporary file that cannot be written is reported and nothing runs.
    *GetDocumentRecord(ActiveDocument()) = DocumentRecord{{""}, 2, ActiveEditorWindow()};
    GetSettings(frame_)->tempFolder = folder_ + "missing\\";
    Command(kCmdRunScript);
    EXPECT_EQ(messages_.back(), (ShownMessage{"An error occured while trying to run the file:", "file error!",
                                              MB_TASKMODAL | MB_ICONEXCLAMATION}));
    EXPECT_EQ(debugger.Requests().size(), 5u);

    // Closing the editor is announced.
    DestroyFrame();
    EXPECT_EQ(debugger.Requests().back().code, 125u);
}

// A breakpoint set in b.txt while a.txt owns the list takes it over and removes a.txt's
// markers, and only those: another open a.txt of another folder keeps its own. Opening
// a.txt again brings no markers back, opening b.txt does.
TEST_F(DebuggerLinkTest, BreakpointOwnershipMovesBetweenOpenScripts) {
    const std::string olly = Path("odbg\\OLLYDBG.EXE");
    CreateDirectoryA(Path("odbg").c_str(), nullptr);
    WriteIni("[OllyDbgPath]\r\nollypath=" + olly + "\r\n");
    CreateFrame();
    CreateDirectoryA(Path("x").c_str(), nullptr);
    CreateDirectoryA(Path("y").c_str(), nullptr);
    const std::string a = Path("x\\a.txt"), namesake = Path("y\\a.txt"), b = Path("b.txt");
    WriteBytes(a, "l1\r\nl2\r\n\tmov  eax, 1\r\nl4\r\n");
    WriteBytes(namesake, "l1\r\nl2\r\nl3\r\n");
    WriteBytes(b, "m1\r\nm2\r\n");
    OpenScriptPath(a.c_str());
    const Editor editorA = ActiveEditor();
    editorA.Call(SCI_GOTOLINE, 2);
    Command(kCmdToggleBreakpoint);
    const std::string ini = Path("odbg\\OLLYDBG.INI");
    char value[64] = "";
    GetPrivateProfileStringA("Plugin ODbgScript", "BP_0001", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "3, mov eax, 1");
    EXPECT_EQ(editorA.Call(SCI_MARKERGET, 2), 2);
    OpenScriptPath(namesake.c_str());
    const Editor editorNamesake = ActiveEditor();
    editorNamesake.Call(SCI_MARKERADD, 2, 1);  // a marker of its own that the hand-over must not touch

    OpenScriptPath(b.c_str());
    ActiveEditor().Call(SCI_GOTOLINE, 1);
    Command(kCmdToggleBreakpoint);
    EXPECT_EQ(editorA.Call(SCI_MARKERNEXT, 0, 2), -1) << "the previous owner kept its marker";
    EXPECT_EQ(editorNamesake.Call(SCI_MARKERGET, 2), 2) << "the namesake lost its marker";
    EXPECT_EQ(ActiveEditor().Call(SCI_MARKERGET, 1), 2);
    GetPrivateProfileStringA("Plugin ODbgScript", "BP_FILE", "", value, sizeof value, ini.c_str());
    EXPECT_EQ(std::string(value), b);

    for (HWND document : Documents()) SendMessageA(document, WM_CLOSE, 0, 0);
    OpenScriptPath(a.c_str());
    EXPECT_EQ(ActiveEditor().Call(SCI_MARKERNEXT, 0, 2), -1);
    OpenScriptPath(b.c_str());
    EXPECT_EQ(ActiveEditor().Call(SCI_MARKERNEXT, 0, 2), 1);

    // Without a debugger path there is no list to keep: the user is told so.
    Command(kCmdClearDefaultOlly);
    ActiveEditor().Call(SCI_GOTOLINE, 0);
    Command(kCmdToggleBreakpoint);
    EXPECT_EQ(messages_.back(), (ShownMessage{"Please set ollypath first by runing ollydbg while quillet is alive",
                                              "error", MB_OK}));
    EXPECT_EQ(ActiveEditor().Call(SCI_MARKERGET, 0), 0);
}

// A marked line deleted and the deletion undone: its bookmark and breakpoint come back
// on it, so the save that follows keeps both in razuvi.ini and in the debugger's list,
// also when a save came between the deletion and its undo; a redo takes them again.
TEST_F(DebuggerLinkTest, UndoOfADeletedMarkedLineBringsItsMarksBack) {
    const std::string olly = Path("odbg\\OLLYDBG.EXE");
    CreateDirectoryA(Path("odbg").c_str(), nullptr);
    WriteIni("[OllyDbgPath]\r\nollypath=" + olly + "\r\n");
    CreateFrame();
    const std::string script = Path("undo.txt"), ini = Path("odbg\\OLLYDBG.INI");
    const std::string comment = "; \xD0\x96\xD1\x83\xD0\xBA";  // Cyrillic, in UTF-8
    WriteBytes(script, "var x\r\n\tmov  eax, 1\r\n" + comment + "\r\nret\r\n");
    OpenScriptPath(script.c_str());
    Editor editor = ActiveEditor();
    for (int line : {1, 2}) {
        editor.Call(SCI_GOTOLINE, line);
        Command(kCmdToggleBreakpoint);
    }
    editor.Call(SCI_GOTOLINE, 1);
    Command(kCmdToggleBookmark);
    const auto breakpoints = [&] {
        std::string list;
        char value[300] = "";
        for (const char *key : {"BP_FILE", "BP_0001", "BP_0002", "BP_0003"}) {
            GetPrivateProfileStringA("Plugin ODbgScript", key, "<missing>", value, sizeof value, ini.c_str());
            list += std::string(TrimBlanks(value)) + "|";
        }
        return list;
    };
    ASSERT_EQ(breakpoints(), script + "|2, mov eax, 1|3, " + comment + "||");
    ASSERT_EQ(IniText("Bookmarks", "BM1"), "1,");

    // Deleted, the line takes its marks; undone, they are back; redone and undone again too.
    const sptr_t both = 3, breakpointOnly = 2;
    editor.Call(SCI_GOTOLINE, 1);
    editor.Call(SCI_LINEDELETE);
    EXPECT_EQ(editor.Call(SCI_MARKERGET, 1), breakpointOnly);  // the comment's own
    editor.Call(SCI_UNDO);
    EXPECT_EQ(editor.Call(SCI_MARKERGET, 1), both);
    editor.Call(SCI_REDO);
    EXPECT_EQ(editor.Call(SCI_MARKERGET, 1), breakpointOnly);
    editor.Call(SCI_UNDO);
    EXPECT_EQ(editor.Call(SCI_MARKERGET, 1), both);
    EXPECT_EQ(editor.Call(SCI_MARKERGET, 2), breakpointOnly);

    // A line typed at the top, then saved: both lists name the lines the marks are on now.
    editor.Call(SCI_GOTOPOS, 0);
    editor.CallText(SCI_REPLACESEL, 0, "// top\r\n");
    Command(kCmdSave);
    EXPECT_EQ(breakpoints(), script + "|3, mov eax, 1|4, " + comment + "||");
    EXPECT_EQ(IniText("Bookmarks", "BM1"), "2,");

    // Deleted by selecting it whole and saved, the line leaves both lists; the undo and
    // the next save put it back in them.
    editor.Call(SCI_SETSEL, editor.Call(SCI_POSITIONFROMLINE, 2), editor.Call(SCI_POSITIONFROMLINE, 3));
    editor.Call(SCI_CLEAR);
    Command(kCmdSave);
    EXPECT_EQ(breakpoints(), script + "|3, " + comment + "||<missing>|");
    EXPECT_EQ(IniText("Bookmarks", "BM1"), "<missing>");
    editor.Call(SCI_UNDO);
    EXPECT_EQ(editor.Call(SCI_MARKERGET, 2), both);
    Command(kCmdSave);
    EXPECT_EQ(breakpoints(), script + "|4, " + comment + "|3, mov eax, 1||");
    EXPECT_EQ(IniText("Bookmarks", "BM1"), "2,");
}

// Run saves the script first, together with the open scripts it includes (the debugger
// reads those too); when a save fails nothing is sent.
TEST_F(DebuggerLinkTest, RunSavesTheScriptAndTheScriptsItIncludesFirst) {
    CreateFrame();
    DebuggerSide debugger;
    PublishDebuggerWindow(frame_, debugger.Window());
    const std::string main = Path("main.txt"), lib = Path("lib.txt"), other = Path("other.txt");
    WriteBytes(main, "#inc \"lib.txt\"\r\nret\r\n");
    WriteBytes(lib, "ret\r\n");
    WriteBytes(other, "ret\r\n");
    for (const std::string *path : {&lib, &other}) {
        OpenScriptPath(path->c_str());
        ActiveEditor().SetText("mov eax, 1\r\nret\r\n");
    }
    OpenScriptPath(main.c_str());
    ActiveEditor().SetText("#INC \"lib.txt\"\r\nmsg \"new\"\r\n");
    Command(kCmdRunScript);
    EXPECT_EQ(ReadBytes(main), "#INC \"lib.txt\"\r\nmsg \"new\"\r\n");
    EXPECT_EQ(ReadBytes(lib), "mov eax, 1\r\nret\r\n");
    EXPECT_EQ(ReadBytes(other), "ret\r\n");  // not included: left as it is
    ASSERT_EQ(debugger.Requests().size(), 1u);
    EXPECT_TRUE(messages_.empty());
    // Saving the included script relabelled its tab; the main script's stays selected.
    HWND tabs = GetFrameHandles(frame_)->tabStrip;
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);

    // Text changed while the editor counts it as unmodified (the variable scan sets the
    // save point) still differs from the file, and is saved before the run.
    ActiveEditor().SetText("#INC \"lib.txt\"\r\nmsg \"scanned\"\r\n");
    ActiveEditor().Call(SCI_SETSAVEPOINT);
    Command(kCmdRunScript);
    EXPECT_EQ(ReadBytes(main), "#INC \"lib.txt\"\r\nmsg \"scanned\"\r\n");
    ASSERT_EQ(debugger.Requests().size(), 2u);

    // An included script that cannot be saved stops the request, with Save's message.
    for (HWND document : Documents())
        if (GetDocumentRecord(document)->path == lib) Editor(EditorOfDocument(document)).SetText("changed");
    SetFileAttributesA(lib.c_str(), FILE_ATTRIBUTE_READONLY);
    Command(kCmdDebugScript);
    SetFileAttributesA(lib.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(debugger.Requests().size(), 2u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].title, text::kSaveErrorTitle);
}

// A debugger window that stops answering does not hold the editor: the request gives
// up, the status bar says so, and the editor goes on.
TEST_F(DebuggerLinkTest, AHungDebuggerDoesNotFreezeTheEditor) {
    CreateFrame();
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND hung = nullptr;
    std::mutex mutex;
    std::condition_variable created;
    std::thread debuggerThread([&] {
        HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        {
            std::lock_guard<std::mutex> lock(mutex);
            hung = window;
        }
        created.notify_all();
        WaitForSingleObject(release, INFINITE);  // answers nothing until released
        DestroyWindow(window);
    });
    {
        std::unique_lock<std::mutex> lock(mutex);
        created.wait(lock, [&] { return hung != nullptr; });
    }
    // Should the request block, this releases the window so the test ends and fails.
    std::atomic<bool> rescued{false};
    std::thread watchdog([&] {
        if (WaitForSingleObject(release, 60000) == WAIT_TIMEOUT) {
            rescued = true;
            SetEvent(release);
        }
    });
    PublishDebuggerWindow(frame_, hung);
    const std::string script = Path("hang.txt");
    WriteBytes(script, "ret\r\n");
    OpenScriptPath(script.c_str());
    Command(kCmdRunScript);
    const bool blocked = rescued;
    SetEvent(release);
    watchdog.join();
    debuggerThread.join();
    CloseHandle(release);
    EXPECT_FALSE(blocked) << "the request waited for the hung debugger";
    char status[256] = "";
    SendMessageA(Handles().statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, text::kDebuggerNoAnswerYet);
    EXPECT_TRUE(messages_.empty());
}

// A debugger that answers F8 with a message of its own ("load a target") before its
// reply gets it handled at once: the frame takes messages sent to it while it waits,
// and the request completes without the status bar's no-answer text.
TEST_F(DebuggerLinkTest, ADebuggerAnsweringInsideTheRequestIsHeardAtOnce) {
    CreateFrame();
    DebuggerSide debugger(frame_, kDebuggerNoTarget);
    PublishDebuggerWindow(frame_, debugger.Window());
    const std::string script = Path("answered.txt");
    WriteBytes(script, "ret\r\n");
    OpenScriptPath(script.c_str());
    Command(kCmdRunScript);
    ASSERT_EQ(Codes(debugger.Requests()), (CodeList{{kRequestRun, kScriptBlockSize}}));
    EXPECT_EQ(debugger.AnswerReplies(), (std::vector<LRESULT>{1})) << "the answer waited for the request's end";
    EXPECT_EQ(messages_, (std::vector<ShownMessage>{{text::kLoadTarget, text::kLoadTargetTitle, MB_OK}}));
    char status[256] = "";
    SendMessageA(Handles().statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STRNE(status, text::kDebuggerNoAnswerYet);
}

// "Launch last target" reads the debugger's settings on the window thread (the profile
// functions keep state of their own): without a last target the user hears so before
// the command returns, and no worker is left reading.
TEST_F(DebuggerLinkTest, LastTargetIsReadOnTheWindowThread) {
    WriteIni("[OllyDbgPath]\r\nollypath=" + Path("OLLYDBG.EXE") + "\r\n");
    WriteBytes(Path("OLLYDBG.INI"), "[History]\r\n");
    CreateFrame();
    LaunchDebuggerWithLastTarget(frame_);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, text::kNoLastTarget);
}

}  // namespace
}  // namespace quillet::testing_shell
