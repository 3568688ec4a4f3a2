// Window-free rules of the call tips: which tip record belongs to the word at the
// caret, and how its text is shown.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assist/keyword_file.h"

namespace quillet {

// The tip of a word: none when the trimmed word is shorter than 2 characters, when it
// does not occur (ignoring case) anywhere in the base keyword list, or when no tip
// record's keyword (text before its first colon, trimmed) equals it ignoring case.
// The first such record in file order gives the tip.
std::optional<std::string> CallTipForWord(std::string_view word, std::string_view baseList,
                                          const std::vector<TipRecord> &tips);

// A record's text as shown: colons deleted in the first line (up to and including the
// first LF), every CR deleted, trailing blanks removed. Line feeds stay.
std::string FormatTipText(std::string_view recordText);

}  // namespace quillet
