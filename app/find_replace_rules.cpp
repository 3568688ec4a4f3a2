// The window-free rules of find and replace.
#include "app/find_replace_rules.h"

#include <algorithm>

#include "platform/text.h"

namespace quillet {

std::string PrefilledFindText(std::string_view previous, std::string_view selection, std::string_view caretWord) {
    std::string find(previous.substr(0, kFindTextLimit));
    if (!selection.empty() && selection.find("\r\n") == std::string_view::npos)
        find = std::string(selection.substr(0, kFindTextLimit));
    if (selection.empty() || TrimBlanks(selection).empty()) {
        const std::string_view word = caretWord.substr(0, caretWord.find('\0'));
        if (!word.empty()) find = std::string(word.substr(0, kFindTextLimit));
    }
    return find;
}

FindNextTarget FindNextTargetFor(long anchor, long caret, long textLength, bool down) {
    if (caret != anchor) {
        if (down) {
            anchor = caret;
        } else {
            if (anchor > caret) anchor = caret;
            if (anchor == 0) anchor = caret;
        }
    }
    if (!down) return {anchor, std::min(anchor - 1, textLength), 0, anchor - 1 >= 0};
    const long start = anchor == 0 ? 0 : anchor + 1;
    return {anchor, std::min(start, textLength), textLength, true};
}

}  // namespace quillet
