// The frame as start-up creates it: its child windows with their classes, ids, styles
// and parents, the published properties, the tool bar, the tracking sizes, the layout
// and the right border's hit test.
#include "tests/win32/shell_fixture.h"

#include <algorithm>

#include "app/menus.h"

namespace quillet::testing_shell {
namespace {

using FrameTest = ShellFixture;

bool HasStyle(HWND window, DWORD bits) {
    return (static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & bits) == bits;
}

RECT PlaceIn(HWND parent, HWND child) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&place), 2);
    return place;
}

TEST_F(FrameTest, ChildWindowsHaveTheirClassesIdsStylesAndParents) {
    CreateFrame();
    const FrameHandles &h = Handles();
    struct Expected {
        HWND window;
        const char *className;
        int id;
        DWORD style;
        HWND parent;
        bool visible;
        DWORD managed;  // style bits the control sets itself (borders, scroll bars on demand)
    };
    const Expected table[] = {
        {h.statusBar, STATUSCLASSNAMEA, kIdStatusBar, 0x56800013, frame_, true, WS_BORDER},
        {h.toolBar, TOOLBARCLASSNAMEA, kIdToolBar, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, frame_,
         true, 0},
        {h.mdiClient, "MDIClient", kIdMdiClient,
         WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, frame_, true,
         WS_VSCROLL | WS_HSCROLL},
        {h.labelsPane, text::kLabelsClass, 0, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER, h.mdiClient,
         false, 0},
        {h.labelsList, "ListBox", kIdLabelsList, 0x50310143, h.labelsPane, true, WS_VSCROLL | WS_HSCROLL},
        {h.progressBar, PROGRESS_CLASSA, kIdProgressBar, WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH, h.statusBar, false, 0},
        {h.tabStrip, WC_TABCONTROLA, kIdTabStrip, WS_CHILD | WS_CLIPCHILDREN | TCS_FOCUSNEVER, frame_, false, 0},
    };
    for (const Expected &e : table) {
        SCOPED_TRACE(e.className);
        ASSERT_TRUE(IsWindow(e.window));
        EXPECT_STRCASEEQ(WindowClass(e.window).c_str(), e.className);
        if (e.id) {
            EXPECT_EQ(GetDlgCtrlID(e.window), e.id);
        }
        EXPECT_TRUE(HasStyle(e.window, e.style & ~e.managed)) << std::hex << GetWindowLongPtrA(e.window, GWL_STYLE);
        EXPECT_EQ(GetAncestor(e.window, GA_PARENT), e.parent);
        EXPECT_EQ((GetWindowLongPtrA(e.window, GWL_STYLE) & WS_VISIBLE) != 0, e.visible);
    }
    EXPECT_EQ(WindowText(h.labelsPane), text::kLabelsTitle);
    EXPECT_TRUE(GetWindowLongPtrA(h.mdiClient, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongPtrA(h.labelsPane, GWL_EXSTYLE) & 0x2000C, 0x2000C);

    // The list fills the pane; the progress bar sits in the status bar, range 0..100.
    RECT pane{}, list{};
    GetClientRect(h.labelsPane, &pane);
    GetClientRect(h.labelsList, &list);
    EXPECT_EQ(list.right, pane.right);
    EXPECT_EQ(list.bottom, pane.bottom);
    const RECT progress = PlaceIn(h.statusBar, h.progressBar);
    EXPECT_EQ(progress.left, 600);
    EXPECT_EQ(progress.top, 5);
    EXPECT_EQ(progress.right - progress.left, 185);
    EXPECT_EQ(progress.bottom - progress.top, 14);
    PBRANGE range{};
    SendMessageA(h.progressBar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);

    // Caption and style of the frame itself.
    EXPECT_EQ(WindowText(frame_), text::kFrameCaption);
    EXPECT_TRUE(HasStyle(frame_, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    EXPECT_EQ(GetMenu(frame_), Menus().bar);
}

TEST_F(FrameTest, PropertiesNameTheFramesRecords) {
    CreateFrame();
    EXPECT_EQ(ProgramFrame(), frame_);
    const FrameHandles *handles = GetFrameHandles(frame_);
    ASSERT_EQ(handles, &State().handles);
    EXPECT_EQ(handles->frame, frame_);
    EXPECT_EQ(GetMdiClient(frame_), handles->mdiClient);
    EXPECT_EQ(GetSettings(frame_), &State().settings);
    EXPECT_EQ(GetDebuggerWindow(frame_), nullptr);
    EXPECT_EQ(GetMenuHandles(frame_), &State().menus);
    // The MDI client runs the documents' procedure and keeps the system one for it;
    // the frame procedure was saved before the frame was subclassed.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handles->mdiClient, GWLP_WNDPROC)), MdiClientProc);
    EXPECT_NE(handles->mdiClientProc, nullptr);
    EXPECT_NE(handles->mdiClientProc, MdiClientProc);
    EXPECT_EQ(handles->frameProc, FrameWindowProc);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(frame_, GWLP_WNDPROC)), FrameWindowProc);
    // The keyword stores.
    ASSERT_NE(GetKeywordList(frame_), nullptr);
    EXPECT_STREQ(GetKeywordList(frame_), "CMP JMP MOV");
    ASSERT_NE(GetKeywordAdded(frame_), nullptr);
    EXPECT_STREQ(GetKeywordAdded(frame_), "CMP JMP MOV");
    EXPECT_NE(GetKeywordAdded(frame_), GetKeywordList(frame_));  // a copy of its own
    ASSERT_NE(GetTipTable(frame_), nullptr);
    EXPECT_EQ(GetTipTable(frame_)->Count(), 4u);  // the blank-line block, MOV, CMP, CREATED

    // Everything is removed when the frame goes.
    HWND frame = frame_;
    ASSERT_TRUE(DestroyWindow(frame));
    frame_ = nullptr;
    for (const char *name : {text::kPropHandles, text::kPropClient, text::kPropSettings, text::kPropKeyword,
                             text::kPropKeywordAdded, text::kPropTips, text::kPropStatusText})
        EXPECT_EQ(GetPropA(frame, name), nullptr) << name;
}

// Ten buttons; run, stop and debug wait, greyed, for a debugger.
TEST_F(FrameTest, ToolBarHasTenButtonsWithTheirImagesAndCommands) {
    CreateFrame();
    HWND toolBar = Handles().toolBar;
    struct Button {
        int image;
        int command;
        bool separator;
        bool enabled;
    };
    const Button expected[] = {{0, kCmdNew, false, true},        {1, kCmdOpen, false, true},
                               {2, kCmdSave, false, true},       {0, 0, true, true},
                               {3, kCmdToolRun, false, false},   {4, kCmdToolStop, false, false},
                               {5, kCmdToolDebug, false, false}, {0, 0, true, true},
                               {6, kCmdCallTipsSwitch, false, true}, {8, kCmdAutoCompleteSwitch, false, true}};
    ASSERT_EQ(SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0), 10);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageA(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ((button.fsStyle & TBSTYLE_SEP) != 0, expected[i].separator);
        if (expected[i].separator) continue;
        EXPECT_EQ(button.idCommand, expected[i].command);
        EXPECT_EQ(button.iBitmap, expected[i].image);
        EXPECT_EQ((button.fsState & TBSTATE_ENABLED) != 0, expected[i].enabled);
    }

    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolBar, TB_GETIMAGELIST, 0, 0));
    ASSERT_EQ(images, Handles().toolImages);
    EXPECT_GE(ImageList_GetImageCount(images), 10);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(height, 32);

    // Magenta is the mask colour: an image drawn transparently keeps the background in
    // its corner, and every image draws something of its own; its disabled twin draws
    // the same pixels in greys only.
    HIMAGELIST greyed = reinterpret_cast<HIMAGELIST>(SendMessageA(toolBar, TB_GETDISABLEDIMAGELIST, 0, 0));
    ASSERT_NE(greyed, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(greyed), ImageList_GetImageCount(images));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF green = RGB(0, 255, 0);
    HBRUSH background = CreateSolidBrush(green);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        RECT all{0, 0, 32, 32};
        FillRect(dc, &all, background);
        ImageList_Draw(images, i, dc, 0, 0, ILD_TRANSPARENT);
        EXPECT_EQ(GetPixel(dc, 0, 0), green);
        std::vector<bool> shape;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) shape.push_back(GetPixel(dc, x, y) != green);
        const auto drawn = std::count(shape.begin(), shape.end(), true);
        EXPECT_GT(drawn, 20);
        EXPECT_LT(drawn, 32 * 32);

        FillRect(dc, &all, background);
        ImageList_Draw(greyed, i, dc, 0, 0, ILD_TRANSPARENT);
        int colours = 0, differences = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                differences += (pixel != green) != shape[y * 32 + x];
                colours += pixel != green && !(GetRValue(pixel) == GetGValue(pixel) && GetGValue(pixel) == GetBValue(pixel));
            }
        EXPECT_EQ(differences, 0);
        EXPECT_EQ(colours, 0);
    }
    DeleteObject(background);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(FrameTest, StatusBarShowsTheCreationNote) {
    CreateFrame();
    char status[300] = "";
    SendMessageA(Handles().statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, "Keywords and tips data file is created 2026-01-02 test set");
    EXPECT_STREQ(GetStatusNote(frame_), status);
}

TEST_F(FrameTest, TrackingSizesAreBoundedBelowAt830By300) {
    CreateFrame();
    MINMAXINFO info{};
    EXPECT_EQ(SendMessageA(frame_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize.x, 830);
    EXPECT_EQ(info.ptMinTrackSize.y, 300);
    EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXMAXTRACK));
    EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYMAXTRACK));
}

TEST_F(FrameTest, LayoutKeepsTheToolBandAndMakesRoomForTheTabStripWithADocument) {
    CreateFrame();
    SetWindowPos(frame_, nullptr, 10, 10, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{}, status{};
    GetClientRect(frame_, &client);
    GetWindowRect(Handles().statusBar, &status);
    const int statusHeight = status.bottom - status.top;

    RECT mdi = PlaceIn(frame_, Handles().mdiClient);
    EXPECT_EQ(mdi.top, 45);
    EXPECT_EQ(mdi.bottom, client.bottom - statusHeight);
    EXPECT_FALSE(IsWindowVisible(Handles().tabStrip));

    EXPECT_EQ(Command(kCmdNew), 0);
    ASSERT_EQ(Documents().size(), 1u);
    SetWindowPos(frame_, nullptr, 10, 10, 950, 640, SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(frame_, &client);
    mdi = PlaceIn(frame_, Handles().mdiClient);
    const RECT tabs = PlaceIn(frame_, Handles().tabStrip);
    EXPECT_EQ(tabs.top, 45);
    EXPECT_EQ(tabs.bottom - tabs.top, 30);
    EXPECT_EQ(tabs.right - tabs.left, client.right);
    EXPECT_EQ(mdi.top, 75);
    EXPECT_EQ(mdi.bottom, client.bottom - statusHeight);
}

TEST_F(FrameTest, RightBorderResizesOnlyWhileNoDocumentIsOpen) {
    CreateFrame();
    SetWindowPos(frame_, nullptr, 20, 20, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RECT rect{};
    GetWindowRect(frame_, &rect);
    const LPARAM border = MAKELPARAM(rect.right - 2, rect.top + (rect.bottom - rect.top) * 3 / 4);
    EXPECT_EQ(SendMessageA(frame_, WM_NCHITTEST, 0, border), HTRIGHT);
    Command(kCmdNew);
    EXPECT_EQ(SendMessageA(frame_, WM_NCHITTEST, 0, border), HTCLIENT);
    // Elsewhere the hit test is unchanged.
    const LPARAM bottom = MAKELPARAM(rect.left + 300, rect.bottom - 2);
    EXPECT_EQ(SendMessageA(frame_, WM_NCHITTEST, 0, bottom), HTBOTTOM);
}

TEST_F(FrameTest, RightClickOnTheToolBarShowsRecentFilesOnlyPastItsFirst335Pixels) {
    CreateFrame();
    SetWindowPos(frame_, nullptr, 20, 20, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    int menusShown = 0;
    platform::Hooks().trackMenu = [&menusShown](HMENU, HWND) -> UINT {
        ++menusShown;
        return 0;
    };
    RECT toolBar{};
    GetWindowRect(Handles().toolBar, &toolBar);
    const int y = (toolBar.top + toolBar.bottom) / 2;
    POINT saved{};
    GetCursorPos(&saved);

    SetCursorPos(toolBar.left + 100, y);
    EXPECT_EQ(SendMessageA(frame_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(frame_), 0), 0);
    EXPECT_EQ(menusShown, 0);
    SetCursorPos(toolBar.left + 400, y);
    EXPECT_EQ(SendMessageA(frame_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(frame_), 0), 1);
    EXPECT_EQ(menusShown, 1);
    SetCursorPos(saved.x, saved.y);
}

}  // namespace
}  // namespace quillet::testing_shell
