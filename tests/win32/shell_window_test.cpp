// The frame's handling of documents and of its own life: new documents, marker
// navigation, arranging, tab selection, dropped files, closing, the tray and the
// placement saved when the frame goes.
#include "tests/win32/shell_fixture.h"

#include <shlobj.h>

#include "platform/editor.h"

namespace quillet::testing_shell {
namespace {

using WindowTest = ShellFixture;

// A drop handle as the shell hands it over: DROPFILES followed by the names.
HDROP MakeDrop(const std::vector<std::string> &files) {
    std::string names;
    for (const std::string &file : files) names += file + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto *drop = static_cast<DROPFILES *>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char *>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

sptr_t CaretLine(const Editor &editor) {
    return editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(editor.Call(SCI_GETCURRENTPOS)));
}

TEST_F(WindowTest, NewScriptsOpenMaximisedWithNumberedTitles) {
    CreateFrame();
    EXPECT_EQ(Command(kCmdNew), 0);
    EXPECT_EQ(Command(kCmdNew), 0);
    const std::vector<HWND> documents = Documents();
    ASSERT_EQ(documents.size(), 2u);
    HWND active = ActiveDocument();
    EXPECT_EQ(WindowText(active), "Untitled 2");
    EXPECT_TRUE(IsZoomed(active));
    EXPECT_TRUE(GetWindowLongPtrA(Handles().tabStrip, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(SendMessageA(Handles().tabStrip, TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(WindowTest, MarkerNavigationWrapsAroundAndKeepsBookmarksAndBreakpointsApart) {
    CreateFrame();
    Command(kCmdNew);
    const Editor editor = ActiveEditor();
    ASSERT_TRUE(editor.IsOpen());
    editor.SetText("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj");
    editor.Call(SCI_GOTOLINE, 0);

    // No marker at all: nothing moves.
    EXPECT_EQ(Command(kCmdNextBookmark), 0);
    EXPECT_EQ(CaretLine(editor), 0);
    EXPECT_EQ(Command(kCmdPreviousBreakpoint), 0);
    EXPECT_EQ(CaretLine(editor), 0);

    editor.Call(SCI_MARKERADD, 2, 0);
    editor.Call(SCI_MARKERADD, 7, 0);
    editor.Call(SCI_MARKERADD, 5, 1);
    const std::pair<int, int> steps[] = {
        {kCmdNextBookmark, 2},     {kCmdNextBookmark, 7},     {kCmdNextBookmark, 2},
        {kCmdPreviousBookmark, 7}, {kCmdPreviousBookmark, 2}, {kCmdPreviousBookmark, 7},
        {kCmdNextBreakpoint, 5},   {kCmdNextBreakpoint, 5},   {kCmdPreviousBreakpoint, 5},
    };
    for (const auto &[command, line] : steps) {
        Command(command);
        EXPECT_EQ(CaretLine(editor), line) << command;
    }
    // Previous from the first line wraps to the last marked line.
    editor.Call(SCI_GOTOLINE, 0);
    Command(kCmdPreviousBookmark);
    EXPECT_EQ(CaretLine(editor), 7);
}

TEST_F(WindowTest, ArrangingCommandsTileAndCascadeTheDocuments) {
    CreateFrame();
    // Only visible documents are arranged.
    SetWindowPos(frame_, nullptr, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Command(kCmdNew);
    Command(kCmdNew);
    const std::vector<HWND> documents = Documents();
    ASSERT_EQ(documents.size(), 2u);
    auto place = [](HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    };

    EXPECT_EQ(Command(kCmdTileVertically), 0);
    RECT a = place(documents[0]), b = place(documents[1]);
    EXPECT_FALSE(IsZoomed(documents[0]));
    EXPECT_EQ(a.top, b.top);
    EXPECT_NE(a.left, b.left);

    EXPECT_EQ(Command(kCmdTileHorizontally), 0);
    a = place(documents[0]);
    b = place(documents[1]);
    EXPECT_EQ(a.left, b.left);
    EXPECT_NE(a.top, b.top);

    EXPECT_EQ(Command(kCmdCascade), 0);
    a = place(documents[0]);
    b = place(documents[1]);
    EXPECT_NE(a.left, b.left);
    EXPECT_NE(a.top, b.top);
}

TEST_F(WindowTest, ChoosingATabBringsItsDocumentForward) {
    CreateFrame();
    Command(kCmdNew);
    Command(kCmdNew);
    ASSERT_EQ(WindowText(ActiveDocument()), "Untitled 2");
    HWND tabs = Handles().tabStrip;
    SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
    NMHDR header{tabs, static_cast<UINT_PTR>(kIdTabStrip), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(frame_, WM_NOTIFY, kIdTabStrip, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(WindowText(ActiveDocument()), "Untitled 1");
    EXPECT_EQ(GetFocus(), ActiveEditorWindow());
}

TEST_F(WindowTest, DroppedScriptsOpenAndOtherFilesAreRefused) {
    CreateFrame();
    const std::string script = Path("dropped.osc");
    WriteBytes(script, "log \"dropped\"\r\n");

    EXPECT_EQ(SendMessageA(frame_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({Path("notes.doc"), script})), 0),
              1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], (ShownMessage{"File is not supported by Quillet", "NOT supported", MB_TASKMODAL}));
    EXPECT_TRUE(Documents().empty());

    SendMessageA(frame_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({script})), 0);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(WindowText(ActiveDocument()), script);
    EXPECT_EQ(ActiveEditor().Text(), "log \"dropped\"\r\n");

    // Programs are for the debugger, which needs its path first; no document opens.
    SendMessageA(frame_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({Path("target.EXE")})), 0);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1], (ShownMessage{"ollydbg path not found", "Path not found", MB_OK}));
    SendMessageA(frame_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({Path("no extension")})), 0);
    EXPECT_EQ(messages_.size(), 3u);
    EXPECT_EQ(Documents().size(), 1u);
    // A name too long for the program's 260-byte buffer is refused, not cut.
    SendMessageA(frame_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"C:\\" + std::string(300, 'x') + ".txt"})),
                 0);
    EXPECT_EQ(messages_.size(), 4u);
    EXPECT_EQ(Documents().size(), 1u);
}

TEST_F(WindowTest, ClosingTheFrameClosesEveryDocumentAndSavesThePlacement) {
    CreateFrame();
    SetWindowPos(frame_, nullptr, -20, 40, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    Command(kCmdNew);
    Command(kCmdNew);
    HWND frame = frame_;
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame));
    frame_ = nullptr;
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);

    EXPECT_EQ(IniText("windows", "winx"), "-20");
    EXPECT_EQ(IniText("windows", "winy"), "40");
    // The size the frame had, so the next start places it exactly as it was.
    EXPECT_EQ(IniText("windows", "wwidth"), "900");
    EXPECT_EQ(IniText("windows", "wheight"), "600");
    EXPECT_NE(ReadBytes(Ini()).find("[WINDOWS]"), std::string::npos);
}

TEST_F(WindowTest, CloseButtonHidesToTheTrayUnlessExitOnCloseIsSet) {
    CreateFrame();
    ShowWindow(frame_, SW_SHOWNOACTIVATE);
    SendMessageA(frame_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(IsWindow(frame_));
    EXPECT_FALSE(IsWindowVisible(frame_));

    // A left click on the tray icon brings it back; minimising hides it again.
    EXPECT_EQ(SendMessageA(frame_, kMsgTrayIcon, 0, WM_LBUTTONDOWN), 0);
    EXPECT_TRUE(IsWindowVisible(frame_));
    SendMessageA(frame_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(frame_));
    EXPECT_FALSE(IsIconic(frame_));

    // A value other than 0 and 1 does nothing at all.
    ShowWindow(frame_, SW_SHOWNOACTIVATE);
    GetSettings(frame_)->closeFlag = 3;
    SendMessageA(frame_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindowVisible(frame_));

    // The switch as the record holds it (the command writes it there and to the file).
    GetSettings(frame_)->closeFlag = 0;
    Command(kCmdExitOnClose);
    HWND frame = frame_;
    SendMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(frame));
    frame_ = nullptr;
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(WindowTest, TrayMenuOffersExitOnlyWhileTheFrameIsHidden) {
    CreateFrame();
    std::vector<std::string> shownMenus;
    UINT choice = 0;
    platform::Hooks().trackMenu = [&](HMENU menu, HWND owner) -> UINT {
        char caption[64] = "";
        GetMenuStringA(menu, 0, caption, sizeof caption, MF_BYPOSITION);
        shownMenus.push_back(std::to_string(GetMenuItemCount(menu)) + " " + caption + " " +
                             std::to_string(GetMenuItemID(menu, 0)) + (owner == frame_ ? " frame" : ""));
        return choice;
    };
    ShowWindow(frame_, SW_SHOWNOACTIVATE);
    EXPECT_EQ(SendMessageA(frame_, kMsgTrayIcon, 0, WM_RBUTTONDOWN), 1);
    EXPECT_TRUE(shownMenus.empty());

    ShowWindow(frame_, SW_HIDE);
    EXPECT_EQ(SendMessageA(frame_, kMsgTrayIcon, 0, WM_RBUTTONDOWN), 1);
    ASSERT_EQ(shownMenus.size(), 1u);
    EXPECT_EQ(shownMenus[0], "1 Exit Quillet 1 frame");
    EXPECT_TRUE(IsWindow(frame_));

    choice = 1;
    HWND frame = frame_;
    SendMessageA(frame, kMsgTrayIcon, 0, WM_RBUTTONDOWN);
    EXPECT_FALSE(IsWindow(frame));
    frame_ = nullptr;
}

TEST_F(WindowTest, AModifiedDocumentWhoseSaveIsCancelledKeepsTheFrameOpen) {
    CreateFrame();
    Command(kCmdNew);
    ActiveEditor().SetText("unsaved work");
    platform::Hooks().message = [this](HWND, const std::string &text, const std::string &title, UINT style) {
        messages_.push_back({text, title, style});
        return IDYES;  // save it, then cancel the file dialog
    };
    platform::Hooks().saveFile = [](OPENFILENAMEA *) { return FALSE; };
    SendMessageA(frame_, WM_SYSCOMMAND, SC_CLOSE, 0);  // hidden only
    WriteIni("[Flags]\r\nClose2Exit=1\r\n");
    SendMessageA(frame_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(frame_));
    EXPECT_EQ(ActiveEditor().Text(), "unsaved work");
    MSG quit{};
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace quillet::testing_shell
