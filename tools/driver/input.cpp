// Keyboard and mouse input for another process: typed characters as posted WM_CHAR,
// accelerators and clicks through SendInput (posted keys carry no modifier state).
#include "driver/driver.h"

namespace qdriver {
namespace {

constexpr UINT kSciGetCaretPeriod = 2075;
constexpr UINT kSciSetCaretPeriod = 2076;

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
