// The window-free rules of find and replace: the text a dialog opens with, and where
// each "find next" searches from, with its kept search anchor.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The dialogs' text buffers hold 256 bytes: texts of at most 255 characters.
inline constexpr std::size_t kFindTextLimit = 255;

// The find text a dialog opens with. `selection` is the selected text (empty when
// nothing is selected), `caretWord` the word at the caret. A selection without a CR LF
// becomes the find text; without a selection, or with one of blanks only, a non-empty
// word at the caret does; otherwise the text stays what it was (`previous`, or the
// blank selection). The word is cut at its first zero byte; both are cut to 255.
std::string PrefilledFindText(std::string_view previous, std::string_view selection, std::string_view caretWord);

// One "find next": the anchor kept afterwards until a match moves it, and the target
// to search (start > end searches backwards). `searchable` is false when the target
// lies before the text (going up from position 0): nothing can be found there.
struct FindNextTarget {
    long anchor;
    long start;
    long end;
    bool searchable;
};
// Going down the search starts one character after the anchor (at 0 when the anchor is
// 0); going up it runs from the character before the anchor back to 0. A caret that
// moved away from the anchor becomes the anchor: always going down; going up when the
// anchor lay after it or was 0.
FindNextTarget FindNextTargetFor(long anchor, long caret, long textLength, bool down);

}  // namespace quillet
