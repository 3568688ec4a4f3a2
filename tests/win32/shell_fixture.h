// The real shell frame for the shell's Win32 tests: the program's own window classes,
// a frame created as start-up creates it, in an exe folder of the test's own holding
// its razuvi.ini and qkeywords.txt. Only message boxes and common dialogs are scripted.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/frame_state.h"
#include "app/frame_window.h"
#include "app/shell.h"
#include "app/texts.h"
#include "assist/keyword_stores.h"
#include "documents/documents.h"
#include "platform/paths.h"
#include "platform/ui.h"

namespace quillet::testing_shell {

struct ShownMessage {
    std::string text;
    std::string title;
    UINT style;
    bool operator==(const ShownMessage &other) const {
        return text == other.text && title == other.title && style == other.style;
    }
};

inline std::ostream &operator<<(std::ostream &out, const ShownMessage &shown) {
    return out << '"' << shown.text << "\" / \"" << shown.title << "\" / " << shown.style;
}

// A small keyword file in the program's format (CR LF line ends).
inline const char kSmallKeywordFile[] =
    "mov,cmp,\r\njmp\r\n\r\n;;\r\nMOV: mov dest, src\r\nCopies src to dest.\r\n;;\r\n"
    "CMP: cmp a, b\r\n;;\r\nCREATED: 2026-01-02 test set\r\n";

inline void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs pending messages; a WM_QUIT posted by a destroyed frame is dropped.
inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline void RemoveFolder(const std::string &folder) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

inline std::string WindowClass(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::string WindowText(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        static int run = 0;
        folder_ = std::string(temp) + "quillet-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++run) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        platform::SetExeFolderForTests(folder_);
        UnregisterShellClasses();
        RegisterShellClasses(Instance());

        auto &hooks = platform::Hooks();
        hooks.message = [this](HWND, const std::string &text, const std::string &title, UINT style) {
            messages_.push_back({text, title, style});
            return IDOK;
        };
        hooks.font = [this](CHOOSEFONTA *request) {
            fontRequests_.push_back(*request);
            fontPresets_.push_back(*request->lpLogFont);
            if (fontAnswers_.empty()) return FALSE;
            const LOGFONTA answer = fontAnswers_.front().first;
            request->iPointSize = fontAnswers_.front().second;
            fontAnswers_.pop_front();
            *request->lpLogFont = answer;
            return TRUE;
        };
        hooks.folder = [this](HWND, const std::string &prompt) {
            folderPrompts_.push_back(prompt);
            return folderAnswer_;
        };
        hooks.openFile = [this](OPENFILENAMEA *request) {
            openTitles_.emplace_back(request->lpstrTitle ? request->lpstrTitle : "");
            openFolders_.emplace_back(request->lpstrInitialDir ? request->lpstrInitialDir : "");
            if (openAnswer_.empty()) return FALSE;
            lstrcpynA(request->lpstrFile, openAnswer_.c_str(), static_cast<int>(request->nMaxFile));
            return TRUE;
        };
    }

    void TearDown() override {
        DestroyFrame();
        platform::Hooks() = platform::UiHooks{};
        UnregisterShellClasses();
        platform::SetExeFolderForTests("");
        RemoveFolder(folder_);
    }

    static HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

    static void UnregisterShellClasses() {
        for (const char *name : {text::kFrameClass, text::kDocumentClass, text::kLabelsClass})
            UnregisterClassA(name, Instance());
    }

    std::string Path(const std::string &name) const { return folder_ + name; }
    std::string Ini() const { return Path(text::kSettingsFile); }

    void WriteIni(const std::string &content) { WriteBytes(Ini(), content); }
    void WriteKeywords(const std::string &content = kSmallKeywordFile) {
        WriteBytes(Path(text::kKeywordFile), content);
    }

    std::string IniText(const char *section, const char *key) const {
        char value[512] = "";
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, Ini().c_str());
        return value;
    }

    // Creates the frame as start-up does (hidden); with `keywords`, loads the keyword file too.
    HWND CreateFrame(bool keywords = true) {
        if (keywords) WriteKeywords();
        frame_ = CreateFrameWindow(Instance());
        EXPECT_NE(frame_, nullptr);
        if (frame_ && keywords) EXPECT_TRUE(LoadKeywordFile(frame_));
        return frame_;
    }

    void DestroyFrame() {
        if (frame_ && IsWindow(frame_)) DestroyWindow(frame_);
        frame_ = nullptr;
        Pump();
    }

    FrameState &State() const { return *GetFrameState(frame_); }
    const FrameHandles &Handles() const { return State().handles; }
    const MenuHandles &Menus() const { return State().menus; }

    LRESULT Command(int id) { return SendMessageA(frame_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

    std::vector<HWND> Documents() const {
        std::vector<HWND> documents;
        HWND client = frame_ ? GetMdiClient(frame_) : nullptr;
        for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
            if (WindowClass(child) == text::kDocumentClass) documents.push_back(child);
        return documents;
    }

    static bool IsChecked(HMENU menu, int command) {
        return (GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    static LOGFONTA Font(const char *face, int weight, bool italic) {
        LOGFONTA font{};
        lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
        font.lfWeight = weight;
        font.lfItalic = italic ? 1 : 0;
        return font;
    }

    std::string folder_;
    HWND frame_ = nullptr;
    std::vector<ShownMessage> messages_;
    std::deque<std::pair<LOGFONTA, int>> fontAnswers_;  // face and style, point size * 10
    std::vector<CHOOSEFONTA> fontRequests_;
    std::vector<LOGFONTA> fontPresets_;
    std::string folderAnswer_;
    std::vector<std::string> folderPrompts_;
    std::string openAnswer_;
    std::vector<std::string> openTitles_, openFolders_;
};

}  // namespace quillet::testing_shell
