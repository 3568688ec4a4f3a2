// The same-parts floor of the start-up benchmark: a program that shows what Quillet's
// first paint shows and nothing more. A frame with a menu bar of six menus, a comctl32
// tool bar of fourteen buttons with the common controls' own images, a three-part status
// bar and an MDI client, at the size Quillet's frame has on a first start (as large as a
// frame may grow, less the taskbar), so that both paint the same area; no settings, no
// files, no skin, no editor. With
// QUILLET_STARTUP_TRACE naming a file it notes its steps under the names of the
// matching steps of Quillet's own trace.
#include <windows.h>
#include <commctrl.h>

#include "app/settings_rules.h"
#include "app/startup_trace.h"
#include "core/texts.h"

namespace {

constexpr char kClassName[] = "QuilletBenchFloorParts";
constexpr int kToolBarId = 1;
constexpr int kStatusBarId = 2;
constexpr int kClientId = 3;
constexpr int kFirstChildId = 100;

HWND client = nullptr;

HMENU MenuBar() {
    static const char *const kMenus[] = {"File", "VarToAuto", "TestMe", "Skin", "Settings", "Windows"};
    HMENU bar = CreateMenu();
    int command = 1000;
    for (const char *name : kMenus) {
        HMENU popup = CreatePopupMenu();
        for (int item = 0; item < 6; ++item) AppendMenuA(popup, MF_STRING, ++command, "Item of the menu");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
    }
    return bar;
}

HWND ToolBar(HWND frame, HINSTANCE instance) {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 0, 0, 0, 0,
                               frame, reinterpret_cast<HMENU>(kToolBarId), instance, nullptr);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP images{HINST_COMMCTRL, IDB_STD_LARGE_COLOR};
    SendMessageA(bar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&images));
    TBBUTTON buttons[14] = {};
    for (int i = 0; i < 14; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = 2000 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON;
        buttons[i].iString = -1;
    }
    SendMessageA(bar, TB_ADDBUTTONSA, 14, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    return bar;
}

HWND StatusBar(HWND frame) {
    HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, "Ready", frame, kStatusBarId);
    const int parts[3] = {400, 600, -1};
    SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    return bar;
}

HWND MdiClient(HWND frame, HINSTANCE instance) {
    CLIENTCREATESTRUCT creation{};
    creation.idFirstChild = kFirstChildId;
    return CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                           0, 0, frame, reinterpret_cast<HMENU>(kClientId), instance, &creation);
}

void LayOut(HWND frame) {
    HWND toolBar = GetDlgItem(frame, kToolBarId), statusBar = GetDlgItem(frame, kStatusBarId);
    SendMessageA(toolBar, TB_AUTOSIZE, 0, 0);
    SendMessageA(statusBar, WM_SIZE, 0, 0);
    RECT area{}, tools{}, status{};
    GetClientRect(frame, &area);
    GetWindowRect(toolBar, &tools);
    GetWindowRect(statusBar, &status);
    const int top = tools.bottom - tools.top;
    MoveWindow(client, 0, top, area.right, area.bottom - top - (status.bottom - status.top), TRUE);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        quillet::MarkStartupStep("  frame: window made (WM_NCCREATE)");
        return DefFrameProcA(frame, client, message, wParam, lParam);
    case WM_CREATE: {
        auto creation = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        ToolBar(frame, creation->hInstance);
        StatusBar(frame);
        client = MdiClient(frame, creation->hInstance);
        quillet::MarkStartupStep("  frame: child windows, tool bar");
        return 0;
    }
    case WM_SIZE:
        LayOut(frame);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefFrameProcA(frame, client, message, wParam, lParam);
    }
}

// Quillet's frame without stored settings: at (0, 0), at the size its rules give a
// stored size of 0 (as wide and high as a frame may grow, less the taskbar's height).
RECT FirstStartPlace() {
    RECT taskBar{};
    HWND tray = FindWindowA(quillet::text::kTaskbarClass, "");
    const int taskBarHeight = tray && GetWindowRect(tray, &taskBar) ? taskBar.bottom - taskBar.top : 0;
    return RECT{0, 0, quillet::ClampFrameWidth(0, GetSystemMetrics(SM_CXMAXTRACK)),
                quillet::ClampFrameHeight(0, GetSystemMetrics(SM_CYMAXTRACK), taskBarHeight)};
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    quillet::MarkStartupStep("entry (process start, imports, run-time start-up)");
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FrameProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    quillet::MarkStartupStep("common controls, classes");
    HMENU menus = MenuBar();
    quillet::MarkStartupStep("  frame: menus");
    const RECT place = FirstStartPlace();
    HWND frame = CreateWindowA(kClassName, "Floor with parts", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left,
                               place.top, place.right, place.bottom, nullptr, menus, instance, nullptr);
    if (!frame) return 1;
    quillet::MarkStartupStep("frame created");
    ShowWindow(frame, show);
    quillet::MarkStartupStep("frame placed and shown");
    UpdateWindow(frame);
    quillet::MarkStartupStep("first paint (UpdateWindow)");
    quillet::WriteStartupTrace();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (client && TranslateMDISysAccel(client, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
