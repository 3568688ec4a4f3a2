// Bookmarks on the active script and their slots in razuvi.ini.
#include "editing/bookmarks.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "editing/bookmark_rules.h"
#include "core/texts.h"
#include "core/token_styles.h"
#include "platform/active_document.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

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

// The bookmark markers of each open document by handle, in the order they were set, so
// a save lists their current lines in that order. A document's go when it is closed.
std::map<HWND, std::vector<int>> markersSet;

// The lines of the document's bookmarks now: those set through here in the order they
// were set, then any other bookmark marker in line order; each line once.
std::vector<int> BookmarkedLines(HWND document, const Editor &editor) {
    std::map<int, int> lines = editor.MarkerLines(kBookmarkMarker);
    std::vector<int> ordered;
    const auto addLine = [&](int line) {
        if (std::find(ordered.begin(), ordered.end(), line) == ordered.end()) ordered.push_back(line);
    };
    std::vector<int> &handles = markersSet[document];
    std::vector<int> alive;
    for (const int handle : handles) {
        const auto found = lines.find(handle);
        if (found == lines.end()) continue;
        addLine(found->second);
        alive.push_back(handle);
        lines.erase(found);
    }
    handles = std::move(alive);
    std::vector<int> others;
    for (const auto &marker : lines) others.push_back(marker.second);
    std::sort(others.begin(), others.end());
    for (const int line : others) addLine(line);
    return ordered;
}

void AddMarker(HWND document, const Editor &editor, sptr_t line) {
    const sptr_t handle = editor.Call(SCI_MARKERADD, static_cast<uptr_t>(line), kBookmarkMarker);
    if (handle >= 0) markersSet[document].push_back(static_cast<int>(handle));
}

sptr_t CaretLine(const Editor &editor) {
    return editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(editor.Call(SCI_GETCURRENTPOS)));
}

bool HasBookmark(const Editor &editor, sptr_t line) {
    return (editor.Call(SCI_MARKERGET, static_cast<uptr_t>(line)) & kBookmarkBit) != 0;
}

// The stored lists belong to scripts with a file: an untitled script (empty path)
// keeps its bookmarks only in its window.
void StoreLine(const std::string &path, int line) {
    if (path.empty()) return;
    const BookmarkTable table = ReadTable();
    WriteTable(TableAfterAdd(table, path, line), table.size());
}

void UnstoreLine(const std::string &path, int line) {
    const BookmarkTable table = ReadTable();
    if (path.empty() || table.empty()) return;
    const BookmarkRemoval removal = TableAfterRemove(table, path, line);
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
    const std::string path = DocumentPath(document);
    if (HasBookmark(editor, line)) {
        // A line marked twice (a list edited by hand) loses every mark at once.
        while (HasBookmark(editor, line)) editor.Call(SCI_MARKERDELETE, static_cast<uptr_t>(line), kBookmarkMarker);
        UnstoreLine(path, static_cast<int>(line));
    } else {
        AddMarker(document, editor, line);
        StoreLine(path, static_cast<int>(line));
    }
}

void ClearBookmarks() {
    HWND document = ActiveDocument();
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return;
    editor.Call(SCI_MARKERDELETEALL, kBookmarkMarker);
    markersSet.erase(document);
    const std::string path = DocumentPath(document);
    if (path.empty()) return;
    const BookmarkTable table = ReadTable();
    if (table.empty()) return;
    WriteTable(TableAfterClear(table, path), table.size());
}

void RestoreBookmarks(HWND document) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return;
    const std::string path = DocumentPath(document);
    if (path.empty()) return;
    const BookmarkTable table = ReadTable();
    const int slot = FindBookmarkSlot(table, path);
    if (slot < 0) return;
    const long lineCount = static_cast<long>(editor.Call(SCI_GETLINECOUNT));
    for (const int line : LinesToRestore(table[static_cast<std::size_t>(slot)].lines, lineCount))
        if (!HasBookmark(editor, line)) AddMarker(document, editor, line);
}

void StoreBookmarksOnSave(HWND document, const std::string &path) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen() || path.empty()) return;
    const auto tracked = markersSet.find(document);
    const bool noneSet = tracked == markersSet.end() || tracked->second.empty();
    // A script that never had a bookmark in this window keeps its slot as it is.
    if (noneSet && editor.Call(SCI_MARKERNEXT, 0, kBookmarkBit) < 0) return;
    const BookmarkTable table = ReadTable();
    const auto saved = TableAfterSave(table, path, BookmarkedLines(document, editor));
    if (!saved) return;
    // Each write rewrites the whole settings file: only the keys that change are written
    // (usually the one line list).
    const std::vector<BookmarkWrite> before = TableWrites(table, table.size());
    const std::vector<BookmarkWrite> after = TableWrites(*saved, table.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        if (i >= before.size() || !(before[i] == after[i]))
            WriteSettingEntryText(text::kSecBookmarks, after[i].key.c_str(), after[i].value);
}

void ForgetBookmarks(HWND document) { markersSet.erase(document); }

int PutBookmarkBack(HWND document, long line, int previousHandle) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return -1;
    const int handle = static_cast<int>(editor.Call(SCI_MARKERADD, static_cast<uptr_t>(line), kBookmarkMarker));
    std::vector<int> &handles = markersSet[document];
    const auto previous = std::find(handles.begin(), handles.end(), previousHandle);
    if (previous != handles.end())
        *previous = handle;
    else
        handles.push_back(handle);
    return handle;
}

}  // namespace quillet
