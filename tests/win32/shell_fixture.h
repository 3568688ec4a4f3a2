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

#include "core/command_ids.h"
#include "platform/frame_state.h"
#include "app/frame_window.h"
#include "app/shell.h"
#include "core/texts.h"
#include "assist/keyword_stores.h"
#include "documents/documents.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "tests/win32/test_support.h"

namespace quillet::testing_shell {

using testing_support::Exists;
using testing_support::NewTestFolder;
using testing_support::Pump;
using testing_support::ReadBytes;
using testing_support::RemoveFolder;
using testing_support::ShownMessage;
using testing_support::WindowClass;
using testing_support::WindowText;
using testing_support::WriteBytes;

// A small keyword file in the program's format (CR LF line ends).
inline const char kSmallKeywordFile[] =
    "mov,cmp,\r\njmp\r\n\r\n;;\r\nMOV: mov dest, src\r\nCopies src to dest.\r\n;;\r\n"
    "CMP: cmp a, b\r\n;;\r\nCREATED: 2026-01-02 test set\r\n";

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        folder_ = NewTestFolder("quillet-shell-");
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

    // Creates the frame as start-up does (hidden), with the panes its loop adds; with
    // `keywords`, loads the keyword file too.
    HWND CreateFrame(bool keywords = true) {
        if (keywords) WriteKeywords();
        frame_ = CreateFrameWindow(Instance());
        EXPECT_NE(frame_, nullptr);
        Pump();
        if (frame_ && keywords) {
            EXPECT_TRUE(LoadKeywordFile(frame_));
        }
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
