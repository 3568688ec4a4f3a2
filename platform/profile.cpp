// The settings-file (INI) functions: reads through GetPrivateProfile*, writes of the
// whole file through a temporary file that replaces it, with the write failures
// reported once and their values kept in memory.
#include "platform/profile.h"

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "core/texts.h"
#include "platform/profile_rules.h"
#include "platform/replaced_file.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet::platform {

namespace {

// Names compare without regard to case, as the profile functions compare them.
std::string Folded(std::string_view text) {
    std::string folded(text);
    if (!folded.empty()) CharUpperBuffA(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

using KeyId = std::tuple<std::string, std::string, std::string>;  // file, section, key
using SectionId = std::pair<std::string, std::string>;            // file, section

// What could not be written this run: a value (nothing: the key was removed), or a
// whole section block. Each later write of the same file carries them along. Like the
// whole module, used on the window thread only.
struct UnwrittenKey {
    std::string section, key;         // as the writer spelled them
    std::optional<std::string> value;  // nothing: the key was removed
};
struct UnwrittenSection {
    std::string section;
    std::string block;
};
std::map<KeyId, UnwrittenKey> unwrittenKeys;
std::map<SectionId, UnwrittenSection> unwrittenSections;
bool failureReported = false;

void ReportWriteFailure(const std::string &file, DWORD error) {
    if (failureReported) return;
    failureReported = true;
    char reason[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                   sizeof reason, nullptr);
    const std::string message = std::string(text::kSettingsNotWrittenHead) + file + "\r\n" +
                                std::string(TrimBlanks(reason)) + "\r\n\r\n" + text::kSettingsNotWrittenTail;
    ShowMessage(nullptr, message.c_str(), text::kSettingsNotWrittenTitle, MB_OK | MB_ICONEXCLAMATION);
}

// The file's text with the changes that earlier failed applied again (sections first,
// then keys).
std::string WithUnwritten(std::string text, const std::string &foldedFile) {
    for (const auto &[id, kept] : unwrittenSections)
        if (id.first == foldedFile) text = WithProfileSection(text, kept.section, kept.block);
    for (const auto &[id, kept] : unwrittenKeys)
        if (std::get<0>(id) == foldedFile) text = WithProfileKey(text, kept.section, kept.key, kept.value);
    return text;
}

// Writes the file whole with one change made to its text, and the earlier unwritten
// changes with it. On failure the file keeps its old bytes.
bool WriteChange(const std::string &file, const std::function<std::string(std::string)> &change, DWORD &error) {
    std::string text;
    if (!ReadWholeFile(file, text, error)) return false;
    const std::string folded = Folded(file);
    const std::string changed = change(WithUnwritten(text, folded));
    if (changed == text) return true;
    if (!WriteFileReplacing(file, changed, error)) return false;
    for (auto it = unwrittenKeys.begin(); it != unwrittenKeys.end();)
        it = std::get<0>(it->first) == folded ? unwrittenKeys.erase(it) : std::next(it);
    for (auto it = unwrittenSections.begin(); it != unwrittenSections.end();)
        it = it->first.first == folded ? unwrittenSections.erase(it) : std::next(it);
    return true;
}

const std::optional<std::string> *Unwritten(const std::string &file, const char *section, const char *key) {
    if (unwrittenKeys.empty() || !section || !key) return nullptr;
    const auto found = unwrittenKeys.find({Folded(file), Folded(section), Folded(key)});
    return found == unwrittenKeys.end() ? nullptr : &found->second.value;
}

}  // namespace

std::string ReadProfileText(const char *section, const char *key, const char *fallback,
                            const std::string &file, unsigned bufferSize) {
    if (const auto *kept = Unwritten(file, section, key)) {
        std::string value = kept->has_value() ? **kept : std::string(fallback ? fallback : "");
        if (bufferSize && value.size() >= bufferSize) value.resize(bufferSize - 1);
        return value;
    }
    // The system answers size - 1 when the value did not fit; a whole read grows then.
    for (DWORD size = bufferSize ? bufferSize : 1024;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD n = GetPrivateProfileStringA(section, key, fallback ? fallback : "", buffer.data(), size,
                                                 file.c_str());
        if (bufferSize || n + 1 < size || size >= (1u << 24)) return std::string(buffer.data(), n);
    }
}

int ReadProfileInt(const char *section, const char *key, int fallback, const std::string &file) {
    if (const auto *kept = Unwritten(file, section, key))
        return kept->has_value() ? std::atoi(std::string(TrimBlanks(**kept)).c_str()) : fallback;
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file.c_str()));
}

bool WriteProfileText(const char *section, const char *key, std::string_view value, const std::string &file) {
    const std::string keyText = key ? key : "";
    const std::string valueText(value);
    const std::string sectionText = section ? section : "";
    // An empty value removes the key; an empty key removes the section.
    const std::optional<std::string> stored =
        valueText.empty() ? std::nullopt : std::optional<std::string>(valueText);
    DWORD error = 0;
    const bool written = WriteChange(
        file, [&](std::string text) { return WithProfileKey(text, sectionText, keyText, stored); }, error);
    if (!keyText.empty()) {
        const KeyId id{Folded(file), Folded(section ? section : ""), Folded(keyText)};
        if (written)
            unwrittenKeys.erase(id);
        else
            unwrittenKeys[id] = UnwrittenKey{sectionText, keyText, stored};
    }
    if (!written) ReportWriteFailure(file, error);
    return written;
}

bool WriteProfileNumber(const char *section, const char *key, int value, const std::string &file,
                        bool leadingBlank) {
    return WriteProfileText(section, key, FormatProfileNumber(value, leadingBlank), file);
}

std::string ReadProfileSection(const char *section, const std::string &file) {
    if (!unwrittenSections.empty()) {
        const auto found = unwrittenSections.find({Folded(file), Folded(section)});
        if (found != unwrittenSections.end()) return found->second.block;
    }
    // The system answers size - 2 when the section does not fit.
    for (DWORD size = 4096;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD n = GetPrivateProfileSectionA(section, buffer.data(), size, file.c_str());
        if (n + 2 < size || size >= (1u << 26)) return std::string(buffer.data(), n < size ? n + 1 : size);
    }
}

bool WriteProfileSection(const char *section, const std::string &block, const std::string &file) {
    const std::string sectionText = section ? section : "";
    DWORD error = 0;
    const bool written = WriteChange(
        file, [&](std::string text) { return WithProfileSection(text, sectionText, block); }, error);
    const SectionId id{Folded(file), Folded(sectionText)};
    if (written)
        unwrittenSections.erase(id);
    else
        unwrittenSections[id] = UnwrittenSection{sectionText, block};
    if (!written) ReportWriteFailure(file, error);
    return written;
}

void ResetProfileWriteReport() {
    failureReported = false;
    unwrittenKeys.clear();
    unwrittenSections.clear();
}

}  // namespace quillet::platform
