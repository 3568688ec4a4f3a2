// Helpers shared by the Win32 test fixtures: files, folders of a test's own, pending
// messages, window names, and the record of a message box that would have been shown.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

namespace quillet::testing_support {

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

inline std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs pending messages; a WM_QUIT posted by a destroyed frame is dropped.
inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A new empty folder in the temporary folder, with its trailing backslash.
inline std::string NewTestFolder(const std::string &prefix) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    static int run = 0;
    const std::string folder = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++run) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
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

}  // namespace quillet::testing_support
