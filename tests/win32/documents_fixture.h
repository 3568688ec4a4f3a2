// A small MDI frame for the document tests, built from the program's own pieces: a
// "QuillFrame" window with status bar, the document tab strip and an MDI client
// subclassed with MdiClientProc, the frame properties published, real "Script"
// documents with real Scintilla controls, and real INI files in a folder of its own.
// Only message boxes, file dialogs and menu tracking are scripted, through the hooks.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/command_ids.h"
#include "platform/frame_state.h"
#include "core/texts.h"
#include "documents/documents.h"
#include "platform/frame_layout.h"
#include "platform/editor.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "tests/win32/test_support.h"

namespace quillet::testing_documents {

// What a file dialog was asked to show.
struct DialogRequest {
    HWND owner;
    std::string title;
    std::string filter;  // with its zero separators
    std::string initialDir;
    std::string initialFile;
    DWORD flags;
};

using testing_support::Exists;
using testing_support::NewTestFolder;
using testing_support::Pump;
using testing_support::ReadBytes;
using testing_support::RemoveFolder;
using testing_support::ShownMessage;
using testing_support::WriteBytes;

// What the test frame saw of WM_COMMAND (forwarded editor menu entries).
inline std::vector<std::pair<WPARAM, LPARAM>> &FrameCommands() {
    static std::vector<std::pair<WPARAM, LPARAM>> commands;
    return commands;
}

inline LRESULT CALLBACK TestFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND client = GetMdiClient(window);
    switch (message) {
    case WM_SIZE:
        LayoutFrame(static_cast<UINT>(wParam), GetFrameHandles(window));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) >= kCmdNew) FrameCommands().emplace_back(wParam, lParam);
        break;
    default:
        break;
    }
    return DefFrameProcA(window, client, message, wParam, lParam);
}

class DocumentsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        folder_ = NewTestFolder("quillet-documents-");
        platform::SetExeFolderForTests(folder_);
        GetCurrentDirectoryA(MAX_PATH, oldDirectory_);
        SetCurrentDirectoryA(folder_.c_str());

        Register(text::kFrameClass, TestFrameProc, 0, IDC_ARROW);
        Register(text::kDocumentClass, DocumentWindowProc, CS_DBLCLKS, IDC_IBEAM, 4);
        frame_ = CreateWindowExA(0, text::kFrameClass, "documents test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                 900, 600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frame_, nullptr);
        handles_ = FrameHandles{};
        handles_.frame = frame_;
        handles_.statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", frame_, kIdStatusBar);
        CLIENTCREATESTRUCT clientData{nullptr, static_cast<UINT>(kIdFirstMdiChild)};
        handles_.mdiClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN |
                                                 WS_CLIPSIBLINGS,
                                             0, 45, 900, 500, frame_, reinterpret_cast<HMENU>(kIdMdiClient),
                                             GetModuleHandleA(nullptr), &clientData);
        ASSERT_NE(handles_.mdiClient, nullptr);
        handles_.tabStrip = CreateTabStrip(frame_);
        handles_.mdiClientProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(handles_.mdiClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MdiClientProc)));
        settings_ = SettingsRecord{};
        PublishFrameHandles(frame_, &handles_);
        PublishMdiClient(frame_, handles_.mdiClient);
        PublishSettings(frame_, &settings_);
        PublishKeywordList(frame_, keywords_);
        RegisterProgramFrame(frame_);
        ShowWindow(frame_, SW_SHOWNOACTIVATE);

        auto &hooks = platform::Hooks();
        hooks.message = [this](HWND, const std::string &text, const std::string &title, UINT style) {
            messages_.push_back({text, title, style});
            if (answers_.empty()) return IDOK;
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        };
        hooks.saveFile = [this](OPENFILENAMEA *request) { return Answer(request, saveNames_, saveRequests_); };
        hooks.openFile = [this](OPENFILENAMEA *request) { return Answer(request, openNames_, openRequests_); };
        hooks.trackMenu = [this](HMENU menu, HWND owner) -> UINT {
            menus_.push_back(MenuItems(menu));
            menuOwners_.push_back(owner);
            if (menuChoices_.empty()) return 0;
            const UINT choice = menuChoices_.front();
            menuChoices_.pop_front();
            return choice;
        };
        FrameCommands().clear();
    }

    void TearDown() override {
        platform::Hooks() = platform::UiHooks{};
        RegisterProgramFrame(nullptr);
        if (frame_) {
            RemoveFrameProperties(frame_);
            DestroyWindow(frame_);
        }
        Pump();
        UnregisterClassA(text::kDocumentClass, GetModuleHandleA(nullptr));
        UnregisterClassA(text::kFrameClass, GetModuleHandleA(nullptr));
        SetCurrentDirectoryA(oldDirectory_);
        platform::SetExeFolderForTests("");
        RemoveFolder(folder_);
    }

    // --- helpers ---

    std::string Path(const std::string &name) const { return folder_ + name; }
    HWND Client() const { return handles_.mdiClient; }

    HWND NewDocument() { return CreateDocumentWindow(Client(), std::string(), WS_MAXIMIZE); }

    std::vector<HWND> Documents() const {
        std::vector<HWND> documents;
        for (HWND child = GetWindow(Client(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[32] = "";
            GetClassNameA(child, name, sizeof name);
            if (std::string(name) == text::kDocumentClass) documents.push_back(child);
        }
        return documents;
    }

    static std::string Title(HWND window) {
        char title[1024] = "";
        GetWindowTextA(window, title, sizeof title);
        return title;
    }

    std::vector<std::string> TabLabels() const {
        std::vector<std::string> labels;
        const int count = static_cast<int>(SendMessageA(handles_.tabStrip, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char label[260] = "";
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = label;
            item.cchTextMax = sizeof label;
            SendMessageA(handles_.tabStrip, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            labels.emplace_back(label);
        }
        return labels;
    }

    // Where a child window lies in the frame's client area.
    RECT PlaceInFrame(HWND child) const {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT *>(&place), 2);
        return place;
    }

    // Closes every document, answering No to any save question.
    void CloseAll() {
        for (HWND document : Documents()) {
            answers_.push_back(IDNO);
            SendMessageA(document, WM_CLOSE, 0, 0);
        }
        answers_.clear();
    }

    struct MenuItem {
        UINT id;
        std::string text;  // empty for separators
    };
    static std::vector<MenuItem> MenuItems(HMENU menu) {
        std::vector<MenuItem> items;
        const int count = GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            char text[512] = "";
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = sizeof text;
            GetMenuItemInfoA(menu, i, TRUE, &info);
            items.push_back({(info.fType & MFT_SEPARATOR) ? 0u : info.wID, text});
        }
        return items;
    }

    HWND frame_ = nullptr;
    FrameHandles handles_{};
    SettingsRecord settings_{};
    char keywords_[64] = "MOV CMP JMP";
    std::string folder_;
    char oldDirectory_[MAX_PATH] = "";

    std::vector<ShownMessage> messages_;
    std::deque<int> answers_;
    std::deque<std::string> saveNames_, openNames_;  // "" answers Cancel
    std::vector<DialogRequest> saveRequests_, openRequests_;
    std::vector<std::vector<MenuItem>> menus_;
    std::vector<HWND> menuOwners_;
    std::deque<UINT> menuChoices_;

private:
    static void Register(const char *name, WNDPROC proc, UINT style, LPCSTR cursor, int extra = 0) {
        UnregisterClassA(name, GetModuleHandleA(nullptr));
        WNDCLASSA windowClass{};
        windowClass.style = style;
        windowClass.lpfnWndProc = proc;
        windowClass.cbWndExtra = extra;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, cursor);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = name;
        ASSERT_NE(RegisterClassA(&windowClass), 0) << name;
    }

    static BOOL Answer(OPENFILENAMEA *request, std::deque<std::string> &names, std::vector<DialogRequest> &seen) {
        DialogRequest shown{request->hwndOwner, request->lpstrTitle ? request->lpstrTitle : "", "",
                            request->lpstrInitialDir ? request->lpstrInitialDir : "",
                            request->lpstrFile ? request->lpstrFile : "", request->Flags};
        for (const char *p = request->lpstrFilter; p && *p; p += strlen(p) + 1) shown.filter += std::string(p) + '\0';
        seen.push_back(shown);
        if (names.empty()) return FALSE;
        const std::string name = names.front();
        names.pop_front();
        if (name.empty()) return FALSE;
        CopyBounded(request->lpstrFile, request->nMaxFile, name);
        return TRUE;
    }
};

}  // namespace quillet::testing_documents
