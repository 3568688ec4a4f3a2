// The program's entry routine: refuses a second instance, starts the skin, registers
// the window classes, creates the frame, loads the keyword file, shows the frame, runs
// the one message loop (which loads the editing component and adds the tray icon once
// the frame is painted) and tears everything down in order.
#include "app/shell.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <string>

#include "app/find_replace.h"
#include "app/frame_window.h"
#include "app/settings_loader.h"
#include "app/startup_trace.h"
#include "assist/keyword_stores.h"
#include "assist/labels_pane.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "documents/documents.h"
#include "platform/editor.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "skin/appface.h"

namespace quillet {

namespace {

constexpr DWORD kFrameStyle = WS_POPUP | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
// Posted to the main thread once the frame is shown and painted: what the first paint
// does not need (the editing component, the tray icon) follows it.
constexpr UINT kMsgFinishStartup = WM_APP + 0x40;

struct ClassDescription {
    const char *name;
    UINT style;
    WNDPROC procedure;
    int windowExtra;
    const char *cursor;
    int background;  // system colour index; the brush is this + 1
};

const std::array<ClassDescription, 3> kClasses{{
    {text::kFrameClass, 0, FrameWindowProc, 0, IDC_ARROW, COLOR_APPWORKSPACE},
    {text::kDocumentClass, CS_DBLCLKS, DocumentWindowProc, 4, IDC_IBEAM, COLOR_WINDOW},
    {text::kLabelsClass, CS_HREDRAW | CS_VREDRAW, LabelsPaneProc, 0, IDC_ARROW, COLOR_APPWORKSPACE},
}};

void RegisterOne(HINSTANCE instance, const ClassDescription &description) {
    char name[40];
    CopyBounded(name, description.name);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = description.style;
    wc.lpfnWndProc = description.procedure;
    wc.cbWndExtra = description.windowExtra;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, description.cursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(description.background + 1));
    wc.lpszClassName = name;
    if (RegisterClassExA(&wc)) return;
    WNDCLASSA plain{};
    plain.style = wc.style;
    plain.lpfnWndProc = wc.lpfnWndProc;
    plain.cbWndExtra = wc.cbWndExtra;
    plain.hInstance = instance;
    plain.hCursor = wc.hCursor;
    plain.hbrBackground = wc.hbrBackground;
    plain.lpszClassName = name;
    RegisterClassA(&plain);
}

// Places the frame at the stored (clamped) position and size and shows it.
void PlaceFrame(HWND frame) {
    const SettingsRecord *settings = GetSettings(frame);
    if (!settings) return;
    SetWindowPos(frame, HWND_TOP, settings->frameLeft, settings->frameTop, settings->frameWidth,
                 settings->frameHeight, SWP_SHOWWINDOW);
}

// The tray icon's record (the 88-byte first version); kept to remove the icon at the end.
NOTIFYICONDATAA AddTrayIcon(HWND frame, HINSTANCE instance) {
    NOTIFYICONDATAA tray{};
    tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray.hWnd = frame;
    tray.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(instance));
    tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.uCallbackMessage = kMsgTrayIcon;
    tray.hIcon = static_cast<HICON>(LoadImageA(instance, text::kIconResource, IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    CopyBounded(tray.szTip, sizeof tray.szTip, text::kTrayTip);
    Shell_NotifyIconA(NIM_ADD, &tray);
    if (tray.hIcon) DestroyIcon(tray.hIcon);
    tray.hIcon = nullptr;
    return tray;
}

// The work of the start-up that the first paint does not need, done when the loop
// takes its first message (the one posted after the paint wakes it, but any message
// will do: a modal loop run by a sent message may have taken that one).
// SciLexer.dll (and the DLLs it imports) is loaded here rather than before the frame
// shows; a document created earlier, by a message sent during the first wait, loads it
// itself. Without it nothing can be edited, so the program says so and closes.
struct LateStartup {
    HWND frame;
    HINSTANCE instance;
    NOTIFYICONDATAA tray{};  // empty until the icon is added
    bool done = false;

    void Finish() {
        if (done) return;
        done = true;
        const bool editingComponent = LoadEditingComponent() != nullptr;
        MarkStartupStep("after the first paint: editing component");
        tray = AddTrayIcon(frame, instance);
        MarkStartupStep("after the first paint: tray icon");
        WriteStartupTrace();
        if (!editingComponent) {
            platform::ShowMessage(frame, text::kEditingComponentMissing, text::kLibraryMissingTitle, MB_OK);
            PostMessageA(frame, WM_CLOSE, 0, 0);
        }
    }
};

// The loop takes messages as Unicode, so that a typed character reaches the editing
// control (a Unicode window) as itself whatever the system's code page; the system
// converts what it dispatches to the program's ANSI windows.
int RunMessageLoop(HWND frame, HWND client, HACCEL accelerators, LateStartup &late) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        late.Finish();
        if (!message.hwnd && message.message == kMsgFinishStartup) continue;
        // An open Find or Replace dialog gets its own keys first: Enter finds, Esc closes
        // it (rather than reaching the frame's Esc accelerator).
        if (HWND findReplace = OpenFindReplaceWindow(); findReplace && IsDialogMessageW(findReplace, &message))
            continue;
        if (client && TranslateMDISysAccel(client, &message)) continue;
        if (TranslateAcceleratorW(frame, accelerators, &message)) continue;
        if (IsDialogMessageW(frame, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// The tool bar died with the frame, so its image list is taken from the record kept
// at start-up when the tool bar no longer answers.
void ReleaseToolImages(const FrameHandles &handles) {
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(handles.toolBar, TB_SETIMAGELIST, 0, 0));
    if (!list) list = handles.toolImages;
    if (list) ImageList_Destroy(list);
}

}  // namespace

void RegisterShellClasses(HINSTANCE instance) {
    for (const ClassDescription &description : kClasses) RegisterOne(instance, description);
}

// The frame is made at the stored place and size, so that it is laid out once, at the
// size it shows with.
HWND CreateFrameWindow(HINSTANCE instance) {
    SettingsRecord settings = ReadSettingsRecord();
    MarkStartupStep("settings read");
    return CreateWindowExA(0, text::kFrameClass, text::kFrameCaption, kFrameStyle, settings.frameLeft,
                           settings.frameTop, settings.frameWidth, settings.frameHeight, nullptr, nullptr, instance,
                           &settings);
}

bool StartStoredSkin() {
    const std::string exeFolder = platform::ExeFolder();
    const std::string stored = ReadSettingText(setting::kSkin);
    if (!TrimBlanks(stored).empty()) {
        if (SkinStart(stored.c_str(), 1, "", 1, nullptr, "")) return true;
        platform::ShowMessage(nullptr, text::kStoredSkinFailed, text::kStoredSkinFailedTitle, MB_TASKMODAL);
        return false;
    }
    const std::string fallback(TrimBlanks(exeFolder + text::kSkinFolder + text::kDefaultSkin));
    if (SkinStart(fallback.c_str(), 1, "", 1, nullptr, "")) return true;
    platform::ShowMessage(nullptr, text::kDefaultSkinFailed, text::kDefaultSkinFailedTitle, MB_TASKMODAL);
    return false;
}

HACCEL CreateShellAccelerators() {
    constexpr BYTE kKey = FVIRTKEY;
    ACCEL table[] = {
        {kKey, VK_F4, kCmdBlockComment},
        {kKey, VK_F5, kCmdBlockUncomment},
        {kKey | FCONTROL, VK_F2, kCmdToggleBookmark},
        {kKey | FCONTROL, VK_F3, kCmdDeleteBookmarks},
        {kKey, VK_F2, kCmdNextBookmark},
        {kKey, VK_F3, kCmdPreviousBookmark},
        {kKey, VK_F6, kCmdNextBreakpoint},
        {kKey, VK_F7, kCmdPreviousBreakpoint},
        {kKey, VK_F8, kCmdRunScript},
        {kKey, VK_F9, kCmdStopScript},
        {kKey, VK_F10, kCmdDebugScript},
        {kKey, VK_F11, kCmdFind},
        {kKey, VK_F12, kCmdReplace},
        {kKey | FALT, VK_F2, kCmdToggleBreakpoint},
        {kKey | FALT, VK_F3, kCmdRemoveBreakpoints},
        {kKey, VK_ESCAPE, kCmdEscapeKey},
        {kKey, VK_PAUSE, kCmdShowLabels},
        {kKey | FCONTROL, VK_F7, kCmdNextProblem},
        // Not Ctrl+F6: the MDI client takes that for "next document window" first.
        {kKey | FCONTROL, VK_F12, kCmdGoToLabel},
        {kKey | FALT, VK_LEFT, kCmdBackFromLabel},
        {kKey | FALT, '0', kCmdFoldAll},
        {kKey | FALT | FSHIFT, '0', kCmdUnfoldAll},
        {kKey | FSHIFT, VK_F12, kCmdFindReferences},
        {kKey | FCONTROL | FSHIFT, 'R', kCmdRenameName},
    };
    return CreateAcceleratorTableA(table, static_cast<int>(std::size(table)));
}

int RunQuillet(HINSTANCE instance, int showCommand) {
    MarkStartupStep("entry (process start, imports, run-time start-up)");
    // Another instance is found by its frame's class: the one lookup by class name.
    if (FindWindowA(text::kFrameClass, nullptr)) {
        platform::ShowMessage(nullptr, text::kAlreadyRunning, text::kAlreadyRunningTitle, MB_OK);
        return 1;
    }
    MarkStartupStep("single-instance test");
    HMODULE skinEngine = LoadLibraryA(text::kSkinEngineDll);
    MarkStartupStep("skin engine loaded");
    if (!skinEngine) {
        platform::ShowMessage(nullptr, text::kSkinEngineMissing, text::kLibraryMissingTitle, MB_OK);
        return 1;
    }
    if (!StartStoredSkin()) return 1;
    MarkStartupStep("skin started");
    // The bars, tab strip and progress bar are common controls.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterShellClasses(instance);
    MarkStartupStep("common controls, classes");
    HWND frame = CreateFrameWindow(instance);
    if (!frame) return 1;
    MarkStartupStep("frame created");
    if (!LoadKeywordFile(frame)) return 0;
    MarkStartupStep("keyword file");

    PlaceFrame(frame);
    MarkStartupStep("frame placed and shown");
    HACCEL accelerators = CreateShellAccelerators();
    ShowWindow(frame, showCommand);
    FrameHandles handles{};
    if (const FrameHandles *published = GetFrameHandles(frame)) handles = *published;
    MarkStartupStep("accelerators, ShowWindow");
    UpdateWindow(frame);
    HWND client = GetMdiClient(frame);
    MarkStartupStep("first paint (UpdateWindow)");
    // The tray icon is added once the loop runs, after the frame has been painted.
    LateStartup late{frame, instance};
    PostThreadMessageA(GetCurrentThreadId(), kMsgFinishStartup, 0, 0);

    const int exitCode = RunMessageLoop(frame, client, accelerators, late);

    ReleaseToolImages(handles);
    ReleaseEditingComponent();
    FreeLibrary(skinEngine);
    if (late.done) Shell_NotifyIconA(NIM_DELETE, &late.tray);
    SkinRemove();
    DestroyAcceleratorTable(accelerators);
    return exitCode;
}

}  // namespace quillet
