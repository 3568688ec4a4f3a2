// The settings-file (INI) functions over GetPrivateProfile*/WritePrivateProfileStringA.
#include "platform/profile.h"

#include <windows.h>

#include <vector>

#include "platform/text.h"

namespace quillet::platform {

std::string ReadProfileText(const char *section, const char *key, const char *fallback,
                            const std::string &file, unsigned bufferSize) {
    std::vector<char> buffer(bufferSize ? bufferSize : 1, '\0');
    const DWORD n = GetPrivateProfileStringA(section, key, fallback ? fallback : "", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), n);
}

int ReadProfileInt(const char *section, const char *key, int fallback, const std::string &file) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file.c_str()));
}

void WriteProfileText(const char *section, const char *key, std::string_view value, const std::string &file) {
    const std::string keyText = key ? key : "";
    const std::string valueText(value);
    WritePrivateProfileStringA(section, keyText.empty() ? nullptr : keyText.c_str(),
                               valueText.empty() ? nullptr : valueText.c_str(), file.c_str());
}

void WriteProfileNumber(const char *section, const char *key, int value, const std::string &file,
                        bool leadingBlank) {
    WriteProfileText(section, key, FormatProfileNumber(value, leadingBlank), file);
}

std::string ReadProfileSection(const char *section, const std::string &file) {
    // The system answers size - 2 when the section does not fit.
    for (DWORD size = 4096;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD n = GetPrivateProfileSectionA(section, buffer.data(), size, file.c_str());
        if (n + 2 < size || size >= (1u << 26)) return std::string(buffer.data(), n < size ? n + 1 : size);
    }
}

void WriteProfileSection(const char *section, const std::string &block, const std::string &file) {
    WritePrivateProfileSectionA(section, block.c_str(), file.c_str());
}

}  // namespace quillet::platform
