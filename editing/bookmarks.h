// Bookmarks: marker 0 of the editor on the lines the user marks, remembered per script
// file in razuvi.ini (section "Bookmarks") so they come back when the file is opened
// again. New scripts get markers but nothing is stored for them. Going to the next and
// previous bookmark is the frame's marker navigation.
#pragma once

#include <windows.h>

#include <string>

namespace quillet {

// Ctrl+F2: marks the caret's line of the active script, or takes its mark away, and
// updates the stored list. Does nothing when no document is open.
void ToggleBookmark();

// Ctrl+F3: takes every bookmark of the active script away and drops its stored slot.
void ClearBookmarks();

// Marks the stored lines of a script that was just opened into `document`.
void RestoreBookmarks(HWND document);

// After the document was saved as `path`: its slot lists the lines its bookmarks are on
// now (nothing is written when that is what it lists already).
void StoreBookmarksOnSave(HWND document, const std::string &path);
// The document is going away: what was kept about its markers goes too.
void ForgetBookmarks(HWND document);
// A bookmark put back on `line` where an undo brought its deleted line back; it keeps its
// place in the order the bookmarks were set (`previousHandle`: the handle it had). The
// new marker's handle.
int PutBookmarkBack(HWND document, long line, int previousHandle);

}  // namespace quillet
