// Files and folders of the driver: where the source tree, the corpus and the
// screenshots are, the fresh folder a program starts in, and settings-file access.
#include "driver/driver.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace qdriver {
namespace {

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

std::string Environment(const char *name) {
    char buffer[1024];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return "";
    return std::string(buffer, n);
}

// The parent of a folder given with its trailing backslash ("" at a root).
std::string Parent(const std::string &folder) {
    if (folder.size() < 2) return "";
    size_t cut = folder.find_last_of('\\', folder.size() - 2);
    if (cut == std::string::npos) return "";
    return folder.substr(0, cut + 1);
}

bool CopyInto(const std::string &from, const std::string &to, std::string *error) {
    if (CopyFileA(from.c_str(), to.c_str(), FALSE)) return true;
    if (error->empty()) error->assign("cannot copy " + from + " to " + to);
    return false;
}

}  // namespace

std::string ExeFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, n < MAX_PATH ? n : 0);
    size_t cut = exe.find_last_of('\\');
    return cut == std::string::npos ? std::string() : exe.substr(0, cut + 1);
}

std::string FromUnixPath(const std::string &path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

std::string SourceFolder() {
    std::string given = Environment("QUILLET_SOURCE");
    if (!given.empty()) {
        std::string folder = WithSlash(FromUnixPath(given));
        if (FileExists(folder + "data\\qkeywords.txt")) return folder;
    }
    for (std::string folder = ExeFolder(); !folder.empty(); folder = Parent(folder)) {
        if (FileExists(folder + "data\\qkeywords.txt")) return folder;
    }
    return "";
}

std::string CorpusFolder() {
    std::string source = SourceFolder();
    if (source.empty()) return "";
    std::string corpus = Parent(source) + "shared\\corpus\\";
    return FolderExists(corpus) ? corpus : "";
}

std::string PeerSimulator() {
    std::string given = FromUnixPath(Environment("QUILLET_PEER_SIMULATOR"));
    return !given.empty() && FileExists(given) ? given : "";
}

std::string ScreensFolder() {
    std::string given = Environment("QUILLET_SCREENS");
    std::string folder = given.empty() ? ExeFolder() + "screens\\" : WithSlash(FromUnixPath(given));
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool FileExists(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadBytes(const std::string &path, std::string *bytes) {
    bytes->clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 30);
    if (ok) {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD done = 0;
        ok = bytes->empty() ||
             (::ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &done, nullptr) &&
              done == bytes->size());
    }
    CloseHandle(file);
    return ok;
}

bool WriteBytes(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    bool ok = bytes.empty() ||
              (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
               done == bytes.size());
    CloseHandle(file);
    return ok;
}

std::vector<std::string> ListFiles(const std::string &folder, const char *pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((WithSlash(folder) + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void DeleteTree(const std::string &folder) {
    std::string base = WithSlash(folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = base + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(base.c_str());
}

std::string BaseName(const std::string &path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string IniRead(const std::string &file, const char *section, const char *key, const char *fallback) {
    std::vector<char> buffer(4096);
    DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), n);
}

int IniReadInt(const std::string &file, const char *section, const char *key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file.c_str()));
}

void IniWrite(const std::string &file, const char *section, const char *key, const std::string &value) {
    WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
}

bool IniHasKey(const std::string &file, const char *section, const char *key) {
    // Two different defaults: a missing key gives back each of them.
    return IniRead(file, section, key, "\x01") != "\x01" || IniRead(file, section, key, "\x02") != "\x02";
}

FreshFolder::FreshFolder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) {
        error_ = "no temporary folder";
        return;
    }
    std::string root = WithSlash(temp);
    for (int attempt = 0; path_.empty() && attempt < 100; ++attempt) {
        std::string candidate = root + "qe2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
    if (path_.empty()) {
        error_ = "cannot create a folder in " + root;
        return;
    }
    std::string exeFolder = ExeFolder();
    for (const char *name : {"quillet.exe", "SciLexer.dll", "appface.dll"}) {
        CopyInto(exeFolder + name, path_ + name, &error_);
    }
    std::string source = SourceFolder();
    if (source.empty()) {
        if (error_.empty()) error_ = "source tree not found (set QUILLET_SOURCE)";
        return;
    }
    CopyInto(source + "data\\qkeywords.txt", path_ + "qkeywords.txt", &error_);
    std::string skins = path_ + "skins\\";
    CreateDirectoryA(skins.c_str(), nullptr);
    std::vector<std::string> urf = ListFiles(source + "skin", "*.urf");
    if (urf.empty() && error_.empty()) error_ = "no skins in " + source + "skin";
    for (const std::string &name : urf) CopyInto(source + "skin\\" + name, skins + name, &error_);
}

FreshFolder::~FreshFolder() {
    if (path_.empty()) return;
    // A program that just ended may hold its files a moment longer.
    for (int attempt = 0; attempt < 20 && FolderExists(path_); ++attempt) {
        DeleteTree(path_);
        if (FolderExists(path_)) Sleep(50);
    }
}

}  // namespace qdriver
