// The end-to-end driver: starts quillet.exe in a folder of its own and drives it from
// a second process the way a user (and the debugger side) would, reading the results
// back from windows, settings files and screenshots. Used by tests/e2e and qdriver.exe.
//
// Wine notes that shape this interface: another process's menus cannot be read;
// WM_GETTEXT crosses processes but SB_GETTEXTA / TCM_GETITEMA need their buffer in the
// target process (RemoteBuffer); posted key messages carry no modifier state, so
// accelerators go through SendInput to the foreground window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qdriver {

// ---------------------------------------------------------------------------------
// Files and folders

// Folder of the running program, with its trailing backslash.
std::string ExeFolder();
// "/a/b" -> "Z:\a\b" (Wine maps Z: to the Unix root); Windows paths pass unchanged.
std::string FromUnixPath(const std::string &path);
// The source tree (with trailing backslash): QUILLET_SOURCE, else the first folder above
// the exe folder that holds data\qkeywords.txt; empty when none is found.
std::string SourceFolder();
// The script corpus beside the source tree (..\shared\corpus\), or empty.
std::string CorpusFolder();
// Where screenshots go (created on demand): QUILLET_SCREENS, else exe folder + "screens\".
std::string ScreensFolder();
// The debugger-side simulator built for the other architecture (QUILLET_PEER_SIMULATOR),
// so a 64-bit Quillet can be paired with a 32-bit debugger side and the reverse; empty
// when none is given or the file is missing.
std::string PeerSimulator();

bool FileExists(const std::string &path);
bool FolderExists(const std::string &path);
bool ReadBytes(const std::string &path, std::string *bytes);
bool WriteBytes(const std::string &path, const std::string &bytes);
// Names (not paths) of the files in `folder` matching `pattern`, sorted.
std::vector<std::string> ListFiles(const std::string &folder, const char *pattern = "*");
// Removes a folder with everything in it.
void DeleteTree(const std::string &folder);
// The name part of a path (after the last backslash or slash).
std::string BaseName(const std::string &path);

// Settings files through the system's profile functions.
std::string IniRead(const std::string &file, const char *section, const char *key,
                    const char *fallback = "");
int IniReadInt(const std::string &file, const char *section, const char *key, int fallback = 0);
void IniWrite(const std::string &file, const char *section, const char *key, const std::string &value);
// True when `section` holds `key` at all (the raw text, without defaulting).
bool IniHasKey(const std::string &file, const char *section, const char *key);

// A unique temporary folder holding what quillet.exe needs to start: quillet.exe,
// SciLexer.dll and appface.dll from the exe folder, qkeywords.txt from the source
// tree's data\ and the skins from skin\*.urf as skins\*.urf. Removed on destruction.
class FreshFolder {
public:
    FreshFolder();
    ~FreshFolder();
    FreshFolder(const FreshFolder &) = delete;
    FreshFolder &operator=(const FreshFolder &) = delete;

    bool Ok() const { return error_.empty(); }
    const std::string &Error() const { return error_; }
    // The folder, with its trailing backslash.
    const std::string &Path() const { return path_; }
    std::string File(const std::string &name) const { return path_ + name; }
    std::string Exe() const { return File("quillet.exe"); }
    std::string Settings() const { return File("razuvi.ini"); }

private:
    std::string path_;
    std::string error_;
};

// ---------------------------------------------------------------------------------
// The program's process

class Program {
public:
    Program() = default;
    ~Program();  // stops a program that is still running (Stop, then TerminateProcess)
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Starts `exe` with `folder` as its working directory (no arguments).
    bool Start(const std::string &exe, const std::string &folder);
    bool Running() const;
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }
    // Waits for the end; true with the exit code when it ended within `ms`.
    bool WaitExit(DWORD ms, DWORD *exitCode = nullptr);
    // Closes the frame with WM_CLOSE, answering "No" to save questions and dismissing
    // other message boxes, and waits; kills the process if it does not end in `ms`.
    // Returns true when it ended by itself.
    bool Stop(DWORD ms = 10000);
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// ---------------------------------------------------------------------------------
// Windows of another process

// Polls `condition` every few milliseconds; true as soon as it holds, false after `ms`.
bool WaitUntil(const std::function<bool()> &condition, DWORD ms);

DWORD WindowPid(HWND window);
std::string ClassName(HWND window);
// WM_GETTEXT across processes (also the editor's text and the status bar's part 0).
std::string Text(HWND window);
// WM_SETTEXT across processes.
bool SetText(HWND window, const std::string &text);
// Top-level windows of process `pid` (all when pid is 0), optionally of one class.
std::vector<HWND> TopWindows(DWORD pid, const char *className = nullptr);
// The frame (class QuillFrame) of process `pid` (any process when 0), once visible.
HWND WaitForFrame(DWORD pid, DWORD ms);
// A top-level window of `pid` of class `className` and caption `title`, once it exists.
HWND WaitForWindow(DWORD pid, const char *className, const std::string &title, DWORD ms);
// A dialog or message box ("#32770") of `pid` with caption `title`.
HWND WaitForDialog(DWORD pid, const std::string &title, DWORD ms);
// The message text of a message box (its static text control).
std::string MessageBoxText(HWND box);
// Presses button `id` of a dialog (WM_COMMAND BN_CLICKED, posted).
bool PressButton(HWND dialog, int id);
bool WaitGone(HWND window, DWORD ms);
// Direct child by control id, and a descendant by id (and class when given).
HWND Child(HWND parent, int id);
HWND Descendant(HWND parent, int id, const char *className = nullptr);
// Direct children of one class, in z order.
std::vector<HWND> Children(HWND parent, const char *className = nullptr);
// WM_COMMAND with `id` (lParam 0): posted (for commands that open modal windows) or sent.
bool PostCommand(HWND window, int id);
LRESULT SendCommand(HWND window, int id);
// SendMessageTimeout with a generous timeout; 0 on failure.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The window's rectangle in screen coordinates and its client origin on the screen.
RECT WindowRect(HWND window);
POINT ClientOrigin(HWND window);
// The rectangle of `child` relative to the client area of `parent`.
RECT RectIn(HWND parent, HWND child);

// ---------------------------------------------------------------------------------
// Memory in the target process, for the common-control messages whose buffers Wine
// does not copy across processes.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer &) = delete;
    RemoteBuffer &operator=(const RemoteBuffer &) = delete;

    bool Ok() const { return address_ != nullptr; }
    void *Address() const { return address_; }
    bool Write(size_t offset, const void *data, size_t size);
    bool Read(size_t offset, void *data, size_t size) const;

private:
    HANDLE process_ = nullptr;
    void *address_ = nullptr;
    size_t size_ = 0;
};

// The document tab strip (SysTabControl32): count, labels (TCM_GETITEMA through
// target memory), current selection and a tab's rectangle in the strip's client area.
int TabCount(HWND tabs);
std::vector<std::string> TabLabels(HWND tabs);
int TabSelection(HWND tabs);
bool TabRect(HWND tabs, int index, RECT *rect);
// A status bar part's text (SB_GETTEXTA through target memory).
std::string StatusPartText(HWND statusBar, int part);

// Drops a file on a window of another process as the shell would: a DROPFILES block
// written into the target's memory and WM_DROPFILES sent with its address.
bool DropFile(HWND window, const std::string &path);

// ---------------------------------------------------------------------------------
// Input

// Types into a window of another process with posted WM_CHAR messages; an end of line
// ("\n", "\r\n" or "\r") is sent as key-down Return, the CR character and key-up.
// Posted messages are taken before input still queued, so text that must follow key
// presses (a modifier's release, say) goes through TypeUnicodeKeys instead.
void TypeText(HWND window, const std::string &text);
// Posts key-down / key-up of a key without modifiers (Delete, Back, arrows...).
void PostKey(HWND window, WORD vk);
// Waits until every message posted to a Scintilla control so far has been handled:
// posts a caret period change behind them and waits for it to show.
bool SyncEditor(HWND editor, DWORD ms = 10000);
// Brings the top-level window of `window` to the foreground and gives `window` the
// focus (attached to its input), then presses the key with the modifiers held
// (VK_CONTROL, VK_MENU, VK_SHIFT) through SendInput.
bool PressKey(HWND window, WORD vk, std::initializer_list<WORD> modifiers = {});
// Types `text` as key presses of its characters (SendInput with KEYEVENTF_UNICODE, as
// an input method or a keyboard layout of that alphabet delivers them), after bringing
// `window` forward with the focus as PressKey does: the program's message loop turns
// them into WM_CHAR like any typed key, in order behind every key pressed before. An end
// of line is a press of Return. False when the window cannot be reached.
bool TypeUnicodeKeys(HWND window, const std::wstring &text);
// Left or right click at a point on the screen through SendInput, with the modifiers
// held (VK_CONTROL, VK_MENU, VK_SHIFT), once the window under the point is in front.
bool ClickAt(POINT screen, bool right = false, std::initializer_list<WORD> modifiers = {});
// Rests the real pointer on text `position` of a Scintilla control of another process,
// a quarter into that character (so Scintilla's rest reports `position` itself), as a
// user's mouse stops on a word. Its top-level window is first placed clear of the
// screen's edges (Wine's tray window sits in a corner, and while a window covers the
// whole screen Wine keeps another program's SetCursorPos from moving the pointer) and
// brought in front. Returns empty once the pointer is there and the control has had the
// move (its rest, SCN_DWELLSTART, follows after the control's dwell time), else what was
// wrong: the pointer not movable, another window under the point, ...
std::string RestPointerOn(HWND editor, size_t position);

// ---------------------------------------------------------------------------------
// Screenshots

// 24-bit RGB pixels, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    uint32_t At(int x, int y) const;  // 0xRRGGBB
};
// Grabs a rectangle of the screen (the whole screen when `area` is null).
bool CaptureScreen(Image *image, const RECT *area = nullptr);
// Grabs a window as it appears on the screen (cut to the screen).
bool CaptureWindow(Image *image, HWND window);
bool WritePng(const Image &image, const std::string &path);
// Captures the window (or the screen when null) into ScreensFolder() + name; returns
// the file's path, or empty on failure.
std::string SaveScreenshot(const std::string &name, HWND window = nullptr, Image *image = nullptr);
// Pixels of `image` inside `area` (image coordinates) that are exactly `rgb` (0xRRGGBB).
int CountPixels(const Image &image, uint32_t rgb, const RECT *area = nullptr);

}  // namespace qdriver
