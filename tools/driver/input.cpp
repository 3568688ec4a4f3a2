// Keyboard and mouse input for another process: typed characters as posted WM_CHAR,
// accelerators and clicks through SendInput (posted keys carry no modifier state).
#include "driver/driver.h"

#include <algorithm>
#include <string>

namespace qdriver {
namespace {

constexpr UINT kSciGetCaretPeriod = 2075;
constexpr UINT kSciSetCaretPeriod = 2076;
constexpr UINT kSciPointXFromPosition = 2164;
constexpr UINT kSciPointYFromPosition = 2165;
constexpr UINT kSciLineFromPosition = 2166;
constexpr UINT kSciTextHeight = 2279;

bool IsExtended(WORD vk) {
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RCONTROL: case VK_RMENU:
        return true;
    default:
        return false;
    }
}

LPARAM KeyData(WORD vk, bool up) {
    LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16);
    if (IsExtended(vk)) data |= 1 << 24;
    if (up) data |= 0xC0000000;
    return data;
}

INPUT Key(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

}  // namespace

void TypeText(HWND window, const std::string &text) {
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            PostMessageA(window, WM_KEYDOWN, VK_RETURN, KeyData(VK_RETURN, false));
            PostMessageA(window, WM_CHAR, '\r', KeyData(VK_RETURN, false));
            PostMessageA(window, WM_KEYUP, VK_RETURN, KeyData(VK_RETURN, true));
        } else {
            PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
    }
}

void PostKey(HWND window, WORD vk) {
    PostMessageA(window, WM_KEYDOWN, vk, KeyData(vk, false));
    PostMessageA(window, WM_KEYUP, vk, KeyData(vk, true));
}

bool SyncEditor(HWND editor, DWORD ms) {
    // Posted messages of one thread are handled in order, so once a posted change of
    // the (otherwise unused) caret period shows, everything posted before it is done.
    LRESULT period = Send(editor, kSciGetCaretPeriod);
    LRESULT marker = period ^ 1;
    PostMessageA(editor, kSciSetCaretPeriod, static_cast<WPARAM>(marker), 0);
    bool done = WaitUntil([&] { return Send(editor, kSciGetCaretPeriod) == marker; }, ms);
    Send(editor, kSciSetCaretPeriod, static_cast<WPARAM>(period));
    return done;
}

namespace {

// Brings the top-level window of `window` to the foreground, with `window` focused
// when `focus` is set.
bool BringForward(HWND window, bool focus = true) {
    HWND top = GetAncestor(window, GA_ROOT);
    DWORD target = GetWindowThreadProcessId(window, nullptr);
    DWORD self = GetCurrentThreadId();
    // Asked again until it holds: a window that just closed (a message box) can take the
    // foreground back once more on a loaded machine.
    const auto bringForward = [&] {
        bool attached = AttachThreadInput(self, target, TRUE) != 0;
        SetForegroundWindow(top);
        if (focus) SetFocus(window);
        if (attached) AttachThreadInput(self, target, FALSE);
        // The program's own thread must have taken the activation too: just after a
        // message box closes, the foreground can be back while that thread's active
        // window is still the closing box, which would take the keys.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == top && GetGUIThreadInfo(target, &info) && info.hwndActive == top;
    };
    return WaitUntil(bringForward, 5000);
}

}  // namespace

bool PressKey(HWND window, WORD vk, std::initializer_list<WORD> modifiers) {
    if (!BringForward(window)) return false;

    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(Key(modifier, false));
    inputs.push_back(Key(vk, false));
    inputs.push_back(Key(vk, true));
    for (auto it = modifiers.end(); it != modifiers.begin();) inputs.push_back(Key(*--it, true));
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool ClickAt(POINT screen, bool right, std::initializer_list<WORD> modifiers) {
    // A click on a window that is not in front activates it first, and under Wine the
    // activation can take the click itself: the window under the point comes forward
    // before the button goes down.
    if (HWND under = WindowFromPoint(screen)) {
        if (!BringForward(under, false)) return false;
    }
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 1 || height <= 1) return false;
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(Key(modifier, false));
    INPUT mouse{};
    mouse.type = INPUT_MOUSE;
    mouse.mi.dx = MulDiv(screen.x, 65535, width - 1);
    mouse.mi.dy = MulDiv(screen.y, 65535, height - 1);
    for (const DWORD flags : {static_cast<DWORD>(MOUSEEVENTF_MOVE),
                              static_cast<DWORD>(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                              static_cast<DWORD>(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)}) {
        mouse.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        inputs.push_back(mouse);
    }
    for (auto it = modifiers.end(); it != modifiers.begin();) inputs.push_back(Key(*--it, true));
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

namespace {

// Distance kept from the screen's edges when the window is placed for a rest.
constexpr int kScreenMargin = 60;
// Wine answers GetCursorPos with the position last asked for until this long after the
// request, and only then with where the display's pointer really is.
constexpr DWORD kPointerReadBackMs = 100;
constexpr DWORD kPointerTimeout = 3000;

std::string PointText(POINT point) { return std::to_string(point.x) + "," + std::to_string(point.y); }

// What a window is, for error texts: its class and its process.
std::string Describe(HWND window) {
    if (!window) return "no window";
    return "a window of class " + ClassName(window) + " of process " + std::to_string(WindowPid(window));
}

// Places `top` at the screen's top left, `kScreenMargin` in, no larger than the screen
// less the margins, and in front of the other windows. A window covering the whole
// screen makes Wine hold the pointer for its program, which then keeps it after the
// window shrank: releasing the confinement frees the pointer for SetCursorPos.
void PlaceClearOfEdges(HWND top) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT placed = WindowRect(top);
    const int width = std::min<int>(placed.right - placed.left, screenWidth - 2 * kScreenMargin);
    const int height = std::min<int>(placed.bottom - placed.top, screenHeight - 2 * kScreenMargin);
    SetWindowPos(top, HWND_TOP, kScreenMargin, kScreenMargin, width, height, SWP_NOACTIVATE);
    ClipCursor(nullptr);
}

// The point of `position` on the screen: a quarter into its character, half down its line.
POINT ScreenPointOf(HWND editor, size_t position) {
    const auto at = static_cast<LPARAM>(position);
    const LRESULT left = Send(editor, kSciPointXFromPosition, 0, at);
    const LRESULT right = Send(editor, kSciPointXFromPosition, 0, at + 1);
    const LRESULT line = Send(editor, kSciLineFromPosition, static_cast<WPARAM>(position));
    POINT point{static_cast<LONG>(left + std::max<LRESULT>(right - left, 0) / 4),
                static_cast<LONG>(Send(editor, kSciPointYFromPosition, 0, at) +
                                  Send(editor, kSciTextHeight, static_cast<WPARAM>(line)) / 2)};
    ClientToScreen(editor, &point);
    return point;
}

// Moves the pointer to `screen` and waits until the display reports it there (read back
// only once Wine asks the display again); false when it stays elsewhere.
bool MovePointer(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    const DWORD moved = GetTickCount();
    return WaitUntil([&] {
        POINT pointer{};
        return GetTickCount() - moved > kPointerReadBackMs && GetCursorPos(&pointer) && pointer.x == screen.x &&
               pointer.y == screen.y;
    }, kPointerTimeout);
}

}  // namespace

std::string RestPointerOn(HWND editor, size_t position) {
    HWND top = GetAncestor(editor, GA_ROOT);
    if (!editor || !top) return "no editor";
    PlaceClearOfEdges(top);
    if (!BringForward(editor, false)) return "the editor's window does not come to the front";

    POINT screen = ScreenPointOf(editor, position);
    RECT shown{};
    GetClientRect(editor, &shown);
    MapWindowPoints(editor, nullptr, reinterpret_cast<POINT *>(&shown), 2);
    if (!PtInRect(&shown, screen)) return "position " + std::to_string(position) + " is not shown in the editor";

    if (!MovePointer(screen)) {
        POINT pointer{};
        GetCursorPos(&pointer);
        return "the pointer cannot be moved to " + PointText(screen) + ": it stays at " + PointText(pointer);
    }
    // Scintilla ends a rest once the pointer is over another window.
    if (HWND under = WindowFromPoint(screen); under != editor)
        return "under the word at " + PointText(screen) + " lies " + Describe(under);

    // The move itself, posted, so the control has had it once SyncEditor returns (where
    // the pointer's own move reached it first, this one is the same point, which Scintilla
    // does not take for a second move).
    POINT client = screen;
    ScreenToClient(editor, &client);
    PostMessageA(editor, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    return SyncEditor(editor) ? "" : "the editor does not answer";
}

bool TypeUnicodeKeys(HWND window, const std::wstring &text) {
    if (!BringForward(window)) return false;
    std::vector<INPUT> inputs;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            // An end of line is the Return key itself, as a keyboard gives it.
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            inputs.push_back(Key(VK_RETURN, false));
            inputs.push_back(Key(VK_RETURN, true));
            continue;
        }
        for (bool up : {false, true}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = static_cast<WORD>(c);
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace qdriver
