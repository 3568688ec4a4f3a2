// Writing a file whole through a temporary file beside it, and reading one whole.
#include "platform/replaced_file.h"

#include <algorithm>
#include <cstdio>

namespace quillet::platform {

namespace {

// Gives the new file a time of last write later than the old file's. The system's
// profile functions may keep a file's contents while its time is unchanged, and the
// file system's clock can be coarser than two quick writes.
void MarkNewerThan(HANDLE file, const std::string &old) {
    FILETIME stamp{};
    GetSystemTimeAsFileTime(&stamp);
    WIN32_FILE_ATTRIBUTE_DATA oldData{};
    if (!old.empty() && GetFileAttributesExA(old.c_str(), GetFileExInfoStandard, &oldData) &&
        CompareFileTime(&stamp, &oldData.ftLastWriteTime) <= 0) {
        ULARGE_INTEGER next{};
        next.LowPart = oldData.ftLastWriteTime.dwLowDateTime;
        next.HighPart = oldData.ftLastWriteTime.dwHighDateTime;
        next.QuadPart += 1;
        stamp.dwLowDateTime = next.LowPart;
        stamp.dwHighDateTime = next.HighPart;
    }
    SetFileTime(file, nullptr, nullptr, &stamp);
}

// Puts the complete temporary file in the place of `path`. A program that is reading
// the old file at that moment (the profile functions open it without letting it be
// replaced) holds it only briefly, so a refused replace is tried again for a moment.
bool ReplaceWith(const std::string &temp, const std::string &path) {
    constexpr int kAttempts = 25;
    constexpr DWORD kPauseMs = 8;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD error = GetLastError();
        if (attempt == kAttempts || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) {
            SetLastError(error);
            return false;
        }
        Sleep(kPauseMs);
    }
}

}  // namespace

bool WriteFileReplacing(const std::string &path, std::string_view bytes, DWORD &error) {
    // A name the program could not open again (and Windows would refuse anyway) is
    // refused here too, whatever the file system would allow.
    if (path.size() >= MAX_PATH) {
        error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    // Windows refuses to replace a read-only file; some systems (Wine) would not.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = ERROR_ACCESS_DENIED;
        return false;
    }
    // The new file keeps the hidden and system marks of the one it replaces.
    const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES
                           ? FILE_ATTRIBUTE_NORMAL
                           : (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    // A short name in the target's folder, so a long target path still leaves room.
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~q%lx%02x.tmp", GetCurrentProcessId() & 0xFFFFFul, attempt);
        temp = folder + name;
        file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, kept ? kept : FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        }
    }
    if (file == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written > 0;
        if (!ok) error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        done += written;
    }
    if (ok && !FlushFileBuffers(file)) {
        error = GetLastError();
        ok = false;
    }
    if (ok) MarkNewerThan(file, attributes != INVALID_FILE_ATTRIBUTES ? path : std::string());
    if (!CloseHandle(file) && ok) {
        error = GetLastError();
        ok = false;
    }
    if (ok && !ReplaceWith(temp, path)) {
        error = GetLastError();
        ok = false;
    }
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}

bool ReadWholeFile(const std::string &path, std::string &bytes, DWORD &error) {
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND;
    }
    char block[16384];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, block, sizeof block, &got, nullptr)) {
            error = GetLastError();
            ok = false;
            break;
        }
        if (got == 0) break;
        bytes.append(block, got);
    }
    CloseHandle(file);
    return ok;
}

}  // namespace quillet::platform
