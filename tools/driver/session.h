// A running Quillet as the end-to-end tests see it: the program started in a fresh
// folder, its frame and panes found by class and control id, and the user's ways of
// opening and saving scripts (the File Open dialog, "Save AS" of the editor menu)
// carried out from outside. Ids and texts are the user-visible ones, written out here
// on purpose: the tests check the program against them instead of sharing its headers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "driver/driver.h"

namespace qdriver {

namespace ui {
inline constexpr char kFrameClass[] = "QuillFrame";
inline constexpr int kToolBar = 1025;
inline constexpr int kEditor = 1029;
inline constexpr int kProgressBar = 1050;
inline constexpr int kTabStrip = 1091;
inline constexpr int kStatusBar = 1137;
inline constexpr int kLabelsList = 1141;
inline constexpr int kMdiClient = 3244;
inline constexpr int kCmdNew = 1031;
inline constexpr int kCmdOpen = 1032;
inline constexpr int kCmdSave = 1033;
inline constexpr int kCmdAutoCompleteSwitch = 1047;
inline constexpr int kCmdMyCustomColor = 1101;
inline constexpr int kCmdExitOnClose = 1116;
inline constexpr int kCmdNoAutoIndentation = 1128;
inline constexpr int kCmdSetCustomColors = 1147;
inline constexpr UINT kMsgTrayIcon = WM_USER + 27;
// Positions among the items of the editor's right-button menu (separators not counted).
inline constexpr int kSaveAsItemIndex = 5;
inline constexpr int kLaunchOllyItemIndex = 8;
inline constexpr int kLaunchLastTargetItemIndex = 9;
inline constexpr int kCloseOllyItemIndex = 10;
inline constexpr char kScriptDialogTitle[] = "Select Script File";
}  // namespace ui

// Milliseconds the tests give the program for one step; the first start in a new Wine
// prefix takes about 12 s.
inline constexpr DWORD kStartTimeout = 40000;
inline constexpr DWORD kStepTimeout = 15000;

class Session {
public:
    explicit Session(const FreshFolder &folder) : folder_(folder) {}

    // Starts quillet.exe of the folder; Frame() waits until the frame is visible.
    bool Start();
    HWND Frame(DWORD ms = kStartTimeout);
    // A test's usual beginning: starts quillet.exe, waits for its frame and, given a
    // `script`, opens it through the File Open dialog until its editor is active. Empty
    // once all that is done, else what went wrong (the folder, a missing script, the
    // start, a message box instead of the frame, the dialog), for the test to stop on:
    //     ASSERT_EQ(quillet.Launch(script), "");
    std::string Launch(const std::string &script = "");
    Program &Process() { return program_; }
    DWORD Pid() const { return program_.Pid(); }
    const FreshFolder &Folder() const { return folder_; }

    HWND StatusBar() { return Child(Frame(), ui::kStatusBar); }
    HWND ToolBar() { return Child(Frame(), ui::kToolBar); }
    HWND TabStrip() { return Child(Frame(), ui::kTabStrip); }
    HWND MdiClient() { return Child(Frame(), ui::kMdiClient); }
    // The document windows ("Script" MDI children) and the active one and its editor.
    std::vector<HWND> Documents();
    HWND ActiveDocument();
    HWND ActiveEditor();

    // A dialog or message box of the program, once shown.
    HWND WaitDialog(const std::string &title, DWORD ms = kStepTimeout) {
        return WaitForDialog(Pid(), title, ms);
    }
    // Opens `path` with the Open command and its file dialog. Returns an error text, or
    // empty once the dialog closed (the caller checks what the program did).
    std::string OpenThroughDialog(const std::string &path);
    // Opens `path` through the dialog and waits until a document's editor is active.
    std::string OpenScript(const std::string &path);
    // Creates a script by the New command and waits until the new document's editor is
    // the active one; empty then, else an error text.
    std::string NewScript();
    // Saves the active document as `path` with "Save AS" of the editor's right-button
    // menu and its file dialog; empty once the dialog closed, else an error text.
    std::string SaveAsThroughMenu(const std::string &path);
    // Chooses the item at `position` of the editor's right-button menu over the active
    // document; empty once chosen, else an error text.
    std::string ChooseEditorMenuItem(int position);
    // Answers the program's open/save file dialog ("Select Script File") with `path`;
    // empty once the dialog closed, else an error text.
    std::string AnswerFileDialog(const std::string &path);
    // Ends the program with WM_CLOSE to the frame; true with its exit code when it ended.
    bool Close(DWORD *exitCode = nullptr);

private:

    const FreshFolder &folder_;
    Program program_;
    HWND frame_ = nullptr;
};

// One reading of a section of an INI file: keys in lower case, values untrimmed. A
// program rewrites the whole file at each write, so checks of several keys that another
// process writes one after the other wait on one reading of them all.
std::map<std::string, std::string> IniSection(const std::string &file, const std::string &section);
// The script breakpoints a debugger's settings file holds: the plug-in's section, with
// its values trimmed (Wine drops a value's leading blank when it writes).
std::map<std::string, std::string> BreakpointSection(const std::string &debuggerIni);

// The text without its leading and trailing blanks and tabs.
std::string Trim(const std::string &text);

// The untrimmed text of a key as it stands in an INI file (section and key compared
// without regard to case); `found` tells whether the key is there at all.
std::string IniRawValue(const std::string &file, const std::string &section, const std::string &key,
                        bool *found = nullptr);

}  // namespace qdriver
