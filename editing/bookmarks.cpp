// Bookmarks on the active script and their slots in razuvi.ini.
#include "editing/bookmarks.h"

#include <string>

#include "editing/bookmark_rules.h"
#include "core/texts.h"
#include "platform/active_document.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr int kBookmarkMarker = 0;
constexpr int kBookmarkBit = 1 << kBookmarkMarker;
// Lists are read whole: a list cut to a short buffer would lose its tail when written
// back, and its last item could name a wrong line.
constexpr unsigned kListBuffer = 65536;

std::string SlotKey(const char *prefix, std::size_t number) { return prefix + std::to_string(number); }

BookmarkTable ReadTable() {
    BookmarkTable table;
    for (std::size_t n = 1;; ++n) {
        std::string file = ReadSettingEntryText(text::kSecBookmarks, SlotKey(text::kKeyBookmarkFile, n).c_str(), "",
                                                kListBuffer);
        if (TrimBlanks(file).empty()) break;
        std::string lines = ReadSettingEntryText(text::kSecBookmarks, SlotKey(text::kKeyBookmarkLines, n).c_str(),
                                                 "", kListBuffer);
        table.push_back({std::move(file), std::move(lines)});
    }
    return table;
}

void WriteTable(const BookmarkTable &table, std::size_t storedCount) {
    for (const BookmarkWrite &write : TableWrites(table, storedCount))
        WriteSettingEntryText(text::kSecBookmarks, write.key.c_str(), write.value);
}

sptr_t CaretLine(const Editor &editor) {
    return editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(editor.Call(SCI_GETCURRENTPOS)));
}

bool HasBookmark(const Editor &editor, sptr_t line) {
    return (editor.Call(SCI_MARKERGET, static_cast<uptr_t>(line)) & kBookmarkBit) != 0;
}

void StoreLine(const std::string &title, int line) {
    if (IsUntitledTitle(title)) return;
    const BookmarkTable table = ReadTable();
    WriteTable(TableAfterAdd(table, title, line), table.size());
}

void UnstoreLine(const std::string &title, int line) {
    const BookmarkTable table = ReadTable();
    if (IsUntitledTitle(title) || table.empty()) return;
    const BookmarkRemoval removal = TableAfterRemove(table, title, line);
    if (removal.blankList) {
        platform::ShowMessage(nullptr, text::kBookmarkListBlank, text::kBookmarkListBlankTitle, MB_OK);
        return;
    }
    WriteTable(removal.table, table.size());
}

}  // namespace

void ToggleBookmark() {
    HWND document = ActiveDocument();
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return;
    const sptr_t line = CaretLine(editor);
    const std::string title = DocumentName(document);
    if (HasBookmark(editor, line)) {
        // A line marked twice (a list edited by hand) loses every mark at once.
        while (HasBookmark(editor, line)) editor.Call(SCI_MARKERDELETE, static_cast<uptr_t>(line), kBookmarkMarker);
        UnstoreLine(title, static_cast<int>(line));
    } else {
        editor.Call(SCI_MARKERADD, static_cast<uptr_t>(line), kBookmarkMarker);
        StoreLine(title, static_cast<int>(line));
    }
}

void ClearBookmarks() {
    HWND document = ActiveDocument();
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return;
    editor.Call(SCI_MARKERDELETEALL, kBookmarkMarker);
    const std::string title = DocumentName(document);
    const BookmarkTable table = ReadTable();
    if (IsUntitledTitle(title) || table.empty()) return;
    WriteTable(TableAfterClear(table, title), table.size());
}

void RestoreBookmarks(HWND document) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return;
    const BookmarkTable table = ReadTable();
    const int slot = FindBookmarkSlot(table, DocumentName(document));
    if (slot < 0) return;
    const long lineCount = static_cast<long>(editor.Call(SCI_GETLINECOUNT));
    for (const int line : LinesToRestore(table[static_cast<std::size_t>(slot)].lines, lineCount))
        if (!HasBookmark(editor, line)) editor.Call(SCI_MARKERADD, static_cast<uptr_t>(line), kBookmarkMarker);
}

}  // namespace quillet
