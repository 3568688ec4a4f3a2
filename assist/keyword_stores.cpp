// The Win32 side of the keyword file: reading qkeywords.txt, reporting failures and
// publishing the parsed stores on the frame. The stores live until the program ends
// (a later load, which only tests do, replaces them).
#include "assist/keyword_stores.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "core/texts.h"
#include "platform/frame_state.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

struct KeywordStores {
    std::string keywordList;
    std::string keywordAdded;
    TipTable tips;
    std::string statusNote;
};

std::unique_ptr<KeywordStores> &CurrentStores() {
    static std::unique_ptr<KeywordStores> stores;
    return stores;
}

// The file's bytes (up to the read limit), or nothing when no plain file of that
// name can be read.
std::optional<std::string> ReadKeywordFile(const std::string &path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char chunk[64 * 1024];
    DWORD got = 0;
    while (bytes.size() < kKeywordFileReadLimit && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, std::min<std::size_t>(got, kKeywordFileReadLimit - bytes.size()));
    CloseHandle(file);
    return bytes;
}

}  // namespace

bool LoadKeywordFile(HWND frame) {
    const std::string path = std::string(TrimBlanks(platform::ExeFolder())) + text::kKeywordFile;
    const std::optional<std::string> bytes = ReadKeywordFile(path);
    if (!bytes) {
        platform::ShowMessage(nullptr, text::kKeywordFileMissing, text::kKeywordFileMissingTitle, MB_OK);
        return false;
    }
    KeywordFile parsed = ParseKeywordFile(*bytes);
    if (!parsed.ok()) {
        platform::ShowMessage(nullptr, text::kKeywordSectionEmpty, text::kKeywordSectionEmptyTitle, MB_OK);
        return false;
    }

    auto stores = std::make_unique<KeywordStores>();
    stores->keywordList = std::move(parsed.keyword_list);
    stores->keywordAdded = stores->keywordList;
    stores->tips.records = std::move(parsed.tips);
    stores->statusNote = std::move(parsed.status_note);
    KeywordStores &published = *stores;
    CurrentStores() = std::move(stores);

    PublishKeywordList(frame, published.keywordList.c_str());
    PublishKeywordAdded(frame, published.keywordAdded.c_str());
    const FrameHandles *handles = GetFrameHandles(frame);
    if (!published.statusNote.empty() && handles && handles->statusBar)
        SendMessageA(handles->statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(published.statusNote.c_str()));
    PublishTipTable(frame, &published.tips);
    PublishStatusNote(frame, published.statusNote.c_str());
    return true;
}

void ReplaceKeywordAdded(HWND frame, std::string list) {
    std::unique_ptr<KeywordStores> &stores = CurrentStores();
    if (!stores) stores = std::make_unique<KeywordStores>();
    stores->keywordAdded = std::move(list);
    PublishKeywordAdded(frame, stores->keywordAdded.c_str());
}

}  // namespace quillet
