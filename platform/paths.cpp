// The executable's folder and the temporary folder.
#include "platform/paths.h"

#include <windows.h>

namespace quillet::platform {

namespace {
std::string &Override() {
    static std::string folder;
    return folder;
}
}  // namespace

std::string ExeFolder() {
    if (!Override().empty()) return Override();
    char path[MAX_PATH + 1] = "";
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    const auto slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string ProgramFile(const char *name) { return ExeFolder() + name; }

void SetExeFolderForTests(const std::string &folder) {
    Override() = folder;
    if (!folder.empty() && folder.back() != '\\') Override() += '\\';
}

std::string TempFolder() {
    char path[MAX_PATH + 1] = "";
    const DWORD n = GetTempPathA(MAX_PATH, path);
    return std::string(path, n <= MAX_PATH ? n : 0);
}

}  // namespace quillet::platform
