// The frame's child windows. What the first paint shows is created during the frame's
// WM_CREATE: status bar, tool bar with its ten buttons and MDI client. The hidden ones
// (the labels pane with its list, the progress bar and the document tab strip) follow
// once the frame is painted.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <vector>

#include "app/frame_window.h"
#include "app/startup_trace.h"
#include "assist/labels_pane.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "documents/documents.h"
#include "platform/frame_layout.h"
#include "skin/appface.h"

namespace quillet {

namespace {

constexpr DWORD kNoHighlight = 0x10;  // CCS_NOHILITE of older headers
constexpr DWORD kStatusBarStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | kNoHighlight | CCS_BOTTOM;
constexpr DWORD kLabelsPaneExStyle = WS_EX_NOPARENTNOTIFY | WS_EX_TOPMOST | WS_EX_STATICEDGE;
constexpr DWORD kLabelsListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                                   LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_SORT | LBS_NOTIFY;
static_assert(kStatusBarStyle == 0x56800013 && kLabelsListStyle == 0x50310143, "the styles the panes always had");
constexpr int kLabelsPaneWidth = 200;
constexpr int kLabelsPaneHeight = 500;
constexpr int kToolImageSize = 32;
constexpr COLORREF kToolMaskColour = RGB(255, 0, 255);

TBBUTTON Button(int image, int command) {
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_BUTTON;
    button.iString = -1;
    return button;
}

TBBUTTON Separator() {
    TBBUTTON button{};
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_SEP;
    return button;
}

// New, open, save; run, stop and debug; the call tips and autocompletion switches.
std::array<TBBUTTON, 10> ToolButtons() {
    return {Button(0, kCmdNew),        Button(1, kCmdOpen),      Button(2, kCmdSave),
            Separator(),               Button(3, kCmdToolRun),   Button(4, kCmdToolStop),
            Button(5, kCmdToolDebug),  Separator(),              Button(6, kCmdCallTipsSwitch),
            Button(8, kCmdAutoCompleteSwitch)};
}

// The strip as a disabled button shows it: each colour turned to a light grey of its
// brightness, magenta (the transparent colour) kept.
HBITMAP GreyedCopy(HBITMAP strip) {
    BITMAP size{};
    if (!strip || !GetObjectA(strip, sizeof(size), &size)) return nullptr;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = size.bmWidth;
    format.bmiHeader.biHeight = -size.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    // A DIB section: the pixels stay in the program's memory, no display round trip.
    void *bits = nullptr;
    HBITMAP greyed = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!greyed) return nullptr;
    HDC screen = GetDC(nullptr);
    const bool read = GetDIBits(screen, strip, 0, size.bmHeight, bits, &format, DIB_RGB_COLORS) == size.bmHeight;
    ReleaseDC(nullptr, screen);
    if (!read) {
        DeleteObject(greyed);
        return nullptr;
    }
    auto *pixel = static_cast<RGBQUAD *>(bits);
    for (const RGBQUAD *end = pixel + static_cast<size_t>(size.bmWidth) * size.bmHeight; pixel != end; ++pixel) {
        // Close to magenta counts as magenta, in case the strip was read from fewer colours.
        if (pixel->rgbRed >= 240 && pixel->rgbGreen <= 16 && pixel->rgbBlue >= 240) {
            *pixel = RGBQUAD{255, 0, 255, 0};
            continue;
        }
        const int brightness = (pixel->rgbRed * 30 + pixel->rgbGreen * 59 + pixel->rgbBlue * 11) / 100;
        pixel->rgbRed = pixel->rgbGreen = pixel->rgbBlue = static_cast<BYTE>(128 + brightness / 2);
    }
    GdiFlush();
    return greyed;
}

// An image list of the greyed strip, for the buttons while they are disabled.
HIMAGELIST DisabledToolImages(HBITMAP strip) {
    HBITMAP greyed = GreyedCopy(strip);
    if (!greyed) return nullptr;
    HIMAGELIST list = ImageList_Create(kToolImageSize, kToolImageSize, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (list) ImageList_AddMasked(list, greyed, kToolMaskColour);
    DeleteObject(greyed);
    return list;
}

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

HWND CreateStatusBar(HWND frame) {
    return CreateStatusWindowA(kStatusBarStyle, "", frame, kIdStatusBar);
}

HWND CreateToolBar(HWND frame, const RECT &client) {
    HWND toolBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, client.left,
                                   CW_USEDEFAULT, client.right, kToolBandHeight, frame,
                                   reinterpret_cast<HMENU>(kIdToolBar), InstanceOf(frame), nullptr);
    if (toolBar) SetParent(toolBar, frame);
    return toolBar;
}

HWND CreateMdiClient(HWND frame, const RECT &client) {
    CLIENTCREATESTRUCT creation{};
    creation.hWindowMenu = nullptr;  // no document list in any menu
    creation.idFirstChild = kIdFirstMdiChild;
    return CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                           client.left, client.top, client.right - client.left, client.bottom - client.top, frame,
                           reinterpret_cast<HMENU>(kIdMdiClient), InstanceOf(frame), &creation);
}

WNDPROC Subclass(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

// The pane is created owned by the frame and then moved into the MDI client, so it
// floats over the documents.
void CreateLabelsPane(HWND frame, const RECT &client, FrameHandles &handles) {
    handles.labelsPane = CreateWindowExA(kLabelsPaneExStyle, text::kLabelsClassAtCreation, text::kLabelsTitle,
                                         WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER, client.left,
                                         client.top, kLabelsPaneWidth, kLabelsPaneHeight, frame, nullptr,
                                         InstanceOf(frame), nullptr);
    if (!handles.labelsPane) return;
    SetParent(handles.labelsPane, handles.mdiClient);
    RECT area{};
    GetClientRect(handles.labelsPane, &area);
    // A Unicode list, so labels show in their script's encoding whatever the system's.
    handles.labelsList = CreateWindowExW(0, L"listbox", nullptr, kLabelsListStyle, 0, 0, area.right, area.bottom,
                                         handles.labelsPane, reinterpret_cast<HMENU>(kIdLabelsList),
                                         InstanceOf(frame), nullptr);
    handles.labelsListProc = SubclassLabelsList(handles.labelsList);
}

HWND CreateProgressBar(HWND statusBar) {
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH, 600, 5, 185, 14,
                               statusBar, reinterpret_cast<HMENU>(kIdProgressBar), InstanceOf(statusBar), nullptr);
    if (bar) {
        SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        SendMessageA(bar, PBM_SETSTEP, 0, 0);
    }
    return bar;
}

// Cuts the "IDB_TOOL" strip into 32 x 32 images (magenta is transparent) and adds the buttons.
void FillToolBar(HWND frame, FrameHandles &handles) {
    handles.toolBitmap = static_cast<HBITMAP>(
        LoadImageA(InstanceOf(frame), text::kToolBitmapResource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    handles.toolImages = ImageList_Create(kToolImageSize, kToolImageSize, ILC_COLOR24 | ILC_MASK, 1, 0);
    // Greyed first: adding the strip to a list blackens its magenta.
    HIMAGELIST disabledImages = DisabledToolImages(handles.toolBitmap);
    if (handles.toolImages && handles.toolBitmap)
        ImageList_AddMasked(handles.toolImages, handles.toolBitmap, kToolMaskColour);
    if (handles.toolBitmap) DeleteObject(handles.toolBitmap);  // the field keeps the stale handle

    HWND toolBar = handles.toolBar;
    SendMessageA(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(handles.toolImages));
    SendMessageA(toolBar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImages));
    SendMessageA(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolBar, TB_SETBITMAPSIZE, 0, MAKELONG(kToolImageSize, kToolImageSize));
    std::array<TBBUTTON, 10> buttons = ToolButtons();
    SendMessageA(toolBar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    // Run, stop and debug act once a debugger is known, like their TestMe items.
    EnableDebuggerButtons(toolBar, false);
    SendMessageA(toolBar, TB_AUTOSIZE, 0, 0);
}

}  // namespace

void CreateFrameChildren(HWND frame, FrameState &state) {
    FrameHandles &handles = state.handles;
    handles = FrameHandles{};
    handles.frame = frame;

    handles.statusBar = CreateStatusBar(frame);
    MarkStartupStep("    status bar");
    RECT client{};
    GetClientRect(frame, &client);

    handles.toolBar = CreateToolBar(frame, client);
    MarkStartupStep("    tool bar window");
    handles.taskBar = FindWindowA(text::kTaskbarClass, "");

    handles.mdiClient = CreateMdiClient(frame, client);
    MarkStartupStep("    MDI client");
    handles.mdiClientProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handles.mdiClient, GWLP_WNDPROC));
    handles.frameProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(frame, GWLP_WNDPROC));
    PublishFrameHandles(frame, &handles);
    if (handles.mdiClient) Subclass(handles.mdiClient, MdiClientProc);
    Subclass(frame, FrameSubclassProc);

    PublishMdiClient(frame, handles.mdiClient);
    SkinWindowSet(frame, APPFACE_FRAME);
    if (handles.toolBar) SkinWindowSet(handles.toolBar, APPFACE_TOOLBAR);
    MarkStartupStep("    skins set");
    if (handles.toolBar) FillToolBar(frame, handles);
    MarkStartupStep("    tool bar filled");
    PublishFrameHandles(frame, &handles);
    if (handles.toolBar) ShowWindow(handles.toolBar, SW_SHOWNORMAL);

    InvalidateRect(frame, nullptr, TRUE);
    // What DragAcceptFiles does, without loading the shell library before the first paint.
    SetWindowLongPtrA(frame, GWL_EXSTYLE, GetWindowLongPtrA(frame, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

void CreateHiddenPanes(HWND frame, FrameState &state) {
    FrameHandles &handles = state.handles;
    if (handles.labelsPane || handles.progressBar || handles.tabStrip) return;
    RECT client{};
    GetClientRect(frame, &client);
    CreateLabelsPane(frame, client, handles);
    handles.progressBar = CreateProgressBar(handles.statusBar);
    handles.tabStrip = CreateTabStrip(frame);
    if (handles.tabStrip) {
        SkinWindowSet(handles.tabStrip, APPFACE_TABS);
        SetParent(handles.tabStrip, frame);
    }
}

}  // namespace quillet
