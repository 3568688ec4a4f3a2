// Finding and reading the windows of another process: top-level windows and dialogs,
// texts, children by id, commands, and the common controls whose buffers must live in
// the target process (tab labels, status bar parts).
#include "driver/driver.h"

#include <commctrl.h>
#include <shlobj.h>

namespace qdriver {
namespace {

constexpr DWORD kSendTimeout = 15000;

struct TopSearch {
    DWORD pid;
    const char *className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<TopSearch *>(data);
    if (search->pid && WindowPid(window) != search->pid) return TRUE;
    if (search->className && ClassName(window) != search->className) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

struct ChildSearch {
    int id;
    const char *className;
    HWND found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<ChildSearch *>(data);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    if (search->className && lstrcmpiA(ClassName(window).c_str(), search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()> &condition, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(15);
    }
}

DWORD WindowPid(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string ClassName(HWND window) {
    char name[256];
    int n = GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeout, &result)) return 0;
    return static_cast<LRESULT>(result);
}

std::string Text(HWND window) {
    if (!IsWindow(window)) return "";
    size_t length = static_cast<size_t>(Send(window, WM_GETTEXTLENGTH));
    // Room for a double-byte conversion that comes out longer than announced.
    std::vector<char> buffer(length * 2 + 2);
    LRESULT n = Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    if (n < 0 || static_cast<size_t>(n) >= buffer.size()) n = 0;
    return std::string(buffer.data(), static_cast<size_t>(n));
}

bool SetText(HWND window, const std::string &text) {
    return Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::vector<HWND> TopWindows(DWORD pid, const char *className) {
    TopSearch search{pid, className, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForFrame(DWORD pid, DWORD ms) {
    HWND frame = nullptr;
    WaitUntil([&] {
        for (HWND window : TopWindows(pid, "QuillFrame")) {
            if (IsWindowVisible(window)) {
                frame = window;
                return true;
            }
        }
        return false;
    }, ms);
    return frame;
}

HWND WaitForWindow(DWORD pid, const char *className, const std::string &title, DWORD ms) {
    HWND match = nullptr;
    WaitUntil([&] {
        for (HWND window : TopWindows(pid, className)) {
            if (IsWindowVisible(window) && Text(window) == title) {
                match = window;
                return true;
            }
        }
        return false;
    }, ms);
    return match;
}

HWND WaitForDialog(DWORD pid, const std::string &title, DWORD ms) {
    return WaitForWindow(pid, "#32770", title, ms);
}

std::string MessageBoxText(HWND box) {
    // A message box keeps its text in a static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text) return Text(text);
    std::string longest;
    for (HWND child : Children(box, "Static")) {
        std::string candidate = Text(child);
        if (candidate.size() > longest.size()) longest = candidate;
    }
    return longest;
}

bool PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

bool WaitGone(HWND window, DWORD ms) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, ms);
}

HWND Child(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND Descendant(HWND parent, int id, const char *className) {
    ChildSearch search{id, className, nullptr};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent, const char *className) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!className || lstrcmpiA(ClassName(child).c_str(), className) == 0) found.push_back(child);
    }
    return found;
}

bool PostCommand(HWND window, int id) {
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) != 0;
}

LRESULT SendCommand(HWND window, int id) { return Send(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

POINT ClientOrigin(HWND window) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

RECT RectIn(HWND parent, HWND child) {
    RECT rect = WindowRect(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                               PROCESS_QUERY_INFORMATION, FALSE, WindowPid(owner));
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

bool RemoteBuffer::Write(size_t offset, const void *data, size_t size) {
    if (!address_ || offset + size > size_) return false;
    SIZE_T done = 0;
    return WriteProcessMemory(process_, static_cast<char *>(address_) + offset, data, size, &done) && done == size;
}

bool RemoteBuffer::Read(size_t offset, void *data, size_t size) const {
    if (!address_ || offset + size > size_) return false;
    SIZE_T done = 0;
    return ReadProcessMemory(process_, static_cast<char *>(address_) + offset, data, size, &done) && done == size;
}

int TabCount(HWND tabs) { return static_cast<int>(Send(tabs, TCM_GETITEMCOUNT)); }

std::vector<std::string> TabLabels(HWND tabs) {
    std::vector<std::string> labels;
    constexpr size_t kText = 260;
    RemoteBuffer remote(tabs, sizeof(TCITEMA) + kText);
    if (!remote.Ok()) return labels;
    char *remoteText = static_cast<char *>(remote.Address()) + sizeof(TCITEMA);
    int count = TabCount(tabs);
    for (int i = 0; i < count; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = remoteText;
        item.cchTextMax = static_cast<int>(kText);
        char text[kText] = {};
        remote.Write(sizeof(TCITEMA), text, sizeof text);
        remote.Write(0, &item, sizeof item);
        Send(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(remote.Address()));
        remote.Read(sizeof(TCITEMA), text, sizeof text);
        text[kText - 1] = '\0';
        labels.push_back(text);
    }
    return labels;
}

int TabSelection(HWND tabs) { return static_cast<int>(Send(tabs, TCM_GETCURSEL)); }

bool TabRect(HWND tabs, int index, RECT *rect) {
    RemoteBuffer remote(tabs, sizeof(RECT));
    if (!remote.Ok()) return false;
    if (!Send(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.Address()))) return false;
    return remote.Read(0, rect, sizeof *rect);
}

std::string StatusPartText(HWND statusBar, int part) {
    size_t length = LOWORD(Send(statusBar, SB_GETTEXTLENGTHA, part));
    RemoteBuffer remote(statusBar, length + 1);
    if (!remote.Ok()) return "";
    Send(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote.Address()));
    std::string text(length + 1, '\0');
    remote.Read(0, &text[0], text.size());
    text.resize(strnlen(text.c_str(), length));
    return text;
}

bool DropFile(HWND window, const std::string &path) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    std::string block(reinterpret_cast<const char *>(&header), sizeof header);
    block += path;
    block += std::string(2, '\0');
    // The block stays in the target: the program frees it with DragFinish.
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, WindowPid(window));
    if (!process) return false;
    void *address = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T done = 0;
    const bool written =
        address && WriteProcessMemory(process, address, block.data(), block.size(), &done) && done == block.size();
    CloseHandle(process);
    return written && Send(window, WM_DROPFILES, reinterpret_cast<WPARAM>(address)) != 0;
}

}  // namespace qdriver
