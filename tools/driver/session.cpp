// A running Quillet driven as a user would: start, find the panes, open and save
// scripts through the program's own file dialogs and menus.
#include "driver/session.h"

#include <commctrl.h>

namespace qdriver {
namespace {

// File name boxes of the common file dialogs: the explorer look uses the combo box
// cmb13 (1148), older templates the edit edt1 (1152).
constexpr int kFileNameCombo = 1148;
constexpr int kFileNameEdit = 1152;

std::string Lower(std::string text) {
    for (char &c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string Trim(const std::string &text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

bool Session::Start() { return program_.Start(folder_.Exe(), folder_.Path()); }

// A frame found afresh is returned complete: the panes it does not show (tab strip,
// progress bar, labels pane) follow its first paint, the tab strip last.
HWND Session::Frame(DWORD ms) {
    if (frame_ && IsWindow(frame_)) return frame_;
    frame_ = WaitForFrame(program_.Pid(), ms);
    if (frame_) WaitUntil([&] { return Child(frame_, ui::kTabStrip) != nullptr; }, ms);
    return frame_;
}

std::string Session::Launch(const std::string &script) {
    if (!folder_.Ok()) return "no folder to start in: " + folder_.Error();
    // A path that names no file would still give an editor (an empty document).
    if (!script.empty() && !FileExists(script)) return "no script to open at " + script;
    if (!Start()) return "quillet.exe did not start (error " + std::to_string(GetLastError()) + ")";
    if (!Frame()) {
        // Say why: the program ended, or it holds a message instead of its frame.
        DWORD code = 0;
        if (program_.WaitExit(0, &code)) return "quillet.exe ended with exit code " + std::to_string(code);
        for (HWND box : TopWindows(Pid(), "#32770")) {
            if (IsWindowVisible(box))
                return "no frame but a message box \"" + Text(box) + "\": " + MessageBoxText(box);
        }
        return "the frame did not show";
    }
    if (script.empty()) return "";
    const std::string error = OpenScript(script);
    return error.empty() ? "" : "opening " + script + ": " + error;
}

std::vector<HWND> Session::Documents() { return Children(MdiClient(), "Script"); }

HWND Session::ActiveDocument() {
    return reinterpret_cast<HWND>(Send(MdiClient(), WM_MDIGETACTIVE));
}

HWND Session::ActiveEditor() {
    HWND document = ActiveDocument();
    return document ? Child(document, ui::kEditor) : nullptr;
}

std::string Session::AnswerFileDialog(const std::string &path) {
    HWND dialog = WaitDialog(ui::kScriptDialogTitle);
    if (!dialog) return "no \"" + std::string(ui::kScriptDialogTitle) + "\" dialog";
    // WM_SETTEXT on the combo box sets the text of its edit part, which the dialog reads.
    HWND edit = Descendant(dialog, kFileNameCombo);
    if (!edit) edit = Descendant(dialog, kFileNameEdit);
    if (!edit) return "the file dialog has no file name box";
    SetText(edit, path);
    if (Text(edit) != path) return "the file name box did not take the path";
    PressButton(dialog, IDOK);
    if (!WaitGone(dialog, kStepTimeout)) return "the file dialog stayed open";
    return "";
}

std::string Session::OpenThroughDialog(const std::string &path) {
    if (!PostCommand(Frame(), ui::kCmdOpen)) return "cannot post the Open command";
    return AnswerFileDialog(path);
}

std::string Session::ChooseEditorMenuItem(int position) {
    HWND document = ActiveDocument();
    HWND editor = ActiveEditor();
    if (!document || !editor) return "no active document";
    RECT area = WindowRect(editor);
    LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    PostMessageA(document, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor), at);
    HWND menu = nullptr;
    WaitUntil([&] {
        for (HWND window : TopWindows(Pid(), "#32768")) {
            if (IsWindowVisible(window)) menu = window;
        }
        return menu != nullptr;
    }, kStepTimeout);
    if (!menu) return "no right-button menu";
    // Menus of another process cannot be read; the menu's own keyboard handling picks
    // the item by position (separators are skipped).
    for (int i = 0; i <= position; ++i) PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RETURN);
    if (!WaitGone(menu, kStepTimeout)) return "the right-button menu stayed open";
    return "";
}

std::string Session::SaveAsThroughMenu(const std::string &path) {
    const std::string chosen = ChooseEditorMenuItem(ui::kSaveAsItemIndex);
    return chosen.empty() ? AnswerFileDialog(path) : chosen;
}

bool Session::Close(DWORD *exitCode) {
    HWND frame = Frame(0);
    if (frame) PostMessageA(frame, WM_CLOSE, 0, 0);
    return program_.WaitExit(kStepTimeout, exitCode);
}

std::map<std::string, std::string> IniSection(const std::string &file, const std::string &section) {
    std::map<std::string, std::string> values;
    std::string bytes;
    if (!ReadBytes(file, &bytes)) return values;
    const std::string wanted = Lower(section);
    bool inSection = false;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        std::string trimmed = Trim(line);
        if (!trimmed.empty() && trimmed[0] == '[') {
            size_t close = trimmed.find(']');
            inSection = close != std::string::npos && Lower(Trim(trimmed.substr(1, close - 1))) == wanted;
            continue;
        }
        size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos) continue;
        std::string key = Lower(Trim(line.substr(0, equals)));
        if (!values.count(key)) values[key] = line.substr(equals + 1);
    }
    return values;
}

std::map<std::string, std::string> BreakpointSection(const std::string &debuggerIni) {
    std::map<std::string, std::string> values = IniSection(debuggerIni, "Plugin ODbgScript");
    for (auto &entry : values) entry.second = Trim(entry.second);
    return values;
}

std::string IniRawValue(const std::string &file, const std::string &section, const std::string &key,
                        bool *found) {
    std::map<std::string, std::string> values = IniSection(file, section);
    auto it = values.find(Lower(key));
    if (found) *found = it != values.end();
    return it == values.end() ? std::string() : it->second;
}

std::string Session::OpenScript(const std::string &path) {
    const std::string error = OpenThroughDialog(path);
    if (!error.empty()) return error;
    return WaitUntil([&] { return ActiveEditor() != nullptr; }, kStepTimeout) ? "" : "no editor after opening";
}

std::string Session::NewScript() {
    const size_t before = Documents().size();
    HWND previous = ActiveDocument();
    if (!PostCommand(Frame(), ui::kCmdNew)) return "cannot post the New command";
    const bool created = WaitUntil([&] {
        return Documents().size() > before && ActiveDocument() != previous && ActiveEditor() != nullptr;
    }, kStepTimeout);
    return created ? "" : "no new document's editor after the New command";
}

}  // namespace qdriver
