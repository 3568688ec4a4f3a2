// The recent-files list in mru.ini beside the program: add, remove, the pop-up that
// opens a chosen entry, and clearing. Nothing is cached; every operation reads the file.
#include <windows.h>

#include <string>
#include <vector>

#include "core/texts.h"
#include "documents/document_parts.h"
#include "documents/documents.h"
#include "documents/recent_rules.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/ui.h"

namespace quillet {

namespace {

// Room for any stored path (the system cuts a value to the buffer).
constexpr unsigned kValueSize = 4096;
// A hand-edited file may number more entries; no more than this many are read.
constexpr int kRemoveReadLimit = 1000;

std::string RecentFile() { return platform::ProgramFile(text::kRecentFile); }

std::string Key(const char *prefix, int slot) { return prefix + std::to_string(slot); }

std::string ReadSlot(int slot, const char *fallback) {
    return platform::ReadProfileText(text::kSecLastOpened, Key(text::kKeyFilePrefix, slot).c_str(), fallback,
                                     RecentFile(), kValueSize);
}

bool FileExists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void AddRecentFile(std::string_view path) {
    RecentSlots slots;
    for (int i = 0; i < kRecentSlots; ++i) slots[i] = ReadSlot(i + 1, "");
    const RecentSlots updated = RecentAfterAdd(slots, path);
    // An empty slot removes its key, so a gap moves down with the entries behind it.
    for (int i = 0; i < kRecentSlots; ++i)
        if (!updated[i].empty() || !slots[i].empty())
            platform::WriteProfileText(text::kSecLastOpened, Key(text::kKeyFilePrefix, i + 1).c_str(), updated[i],
                                       RecentFile());
}

void RemoveRecentFile(std::string_view path) {
    std::vector<std::string> values;
    for (int i = 1; i <= kRemoveReadLimit; ++i) {
        std::string value = ReadSlot(i, "");
        if (value.empty()) break;
        values.push_back(std::move(value));
    }
    const std::vector<std::string> kept = RecentAfterRemove(values, path);
    DeleteFileA(RecentFile().c_str());
    for (size_t i = 0; i < kept.size(); ++i)
        platform::WriteProfileText(text::kSecLastOpened, Key(text::kKeyFilePrefixLower, static_cast<int>(i) + 1).c_str(),
                                   kept[i], RecentFile());
}

void ShowRecentFilesMenu(HWND frame) {
    std::vector<std::string> values;
    for (int i = 1; i <= kRecentSlots; ++i) values.push_back(ReadSlot(i, text::kFreeSlot));
    const std::vector<RecentMenuEntry> entries = RecentMenuEntries(values, FileExists);

    std::vector<platform::PopupItem> items;
    for (const RecentMenuEntry &entry : entries) items.push_back({static_cast<UINT>(entry.id), entry.text.c_str()});
    const UINT chosen = platform::ChooseFromPopupMenu(frame, items);
    if (chosen == 0 || chosen > entries.size()) return;

    const std::string path = entries[chosen - 1].path;
    std::vector<std::string> current;
    for (int i = 1; i <= kRecentSlots; ++i) current.push_back(ReadSlot(i, ""));
    const std::vector<std::string> order = RecentAfterChoice(path, current, FileExists);
    platform::WriteProfileText(text::kSecLastOpened, "", "", RecentFile());
    for (size_t i = 0; i < order.size(); ++i)
        platform::WriteProfileText(text::kSecLastOpened, Key(text::kKeyFilePrefix, static_cast<int>(i) + 1).c_str(),
                                   order[i], RecentFile());
    OpenScriptPath(path.c_str());
}

void ClearRecentFiles() { DeleteFileA(RecentFile().c_str()); }

}  // namespace quillet
