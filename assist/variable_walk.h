// Window-free walk of the variable scan: it reads a script's text and the style of
// every character (as the editing control styled them) and finds the variables the
// way the editor's word positions would, without touching the control, so it can run
// on a worker thread over a copy taken on the window thread.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "assist/script_lines.h"

namespace quillet {

// Found-variables text: names separated by single spaces, in order of first
// appearance, each name once regardless of case, spelled as first met.
class FoundVariables {
public:
    void Add(std::string_view name);
    const std::string &Text() const { return text_; }

private:
    std::string text_;
    std::unordered_set<std::string> seenUpper_;
};

// A word-character set as SCI_SETWORDCHARS makes it: only the listed bytes are word
// characters.
class WordChars {
public:
    explicit WordChars(std::string_view chars);
    bool Has(char c) const { return word_[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> word_{};
};

// The progress bar position the scan sets before line `line` of `lines`: 25, 50 and
// 75 exactly at the quarter points, 100 past 99 %, otherwise none.
std::optional<int> ScanProgressAt(std::size_t line, std::size_t lines);

// Walks one line: from the line's start, take the word at the position and step past
// it and one more character; end the line at a word whose last character (for a
// non-word character: the character before it) has a stop style; collect the words
// whose last character has the variable style. `styles` holds one style per byte of
// `text`.
void WalkLine(std::string_view text, std::string_view styles, const WordChars &wordChars, LineSpan line,
              FoundVariables &found);

// The found-variables text of a whole script.
std::string WalkVariables(std::string_view text, std::string_view styles, std::string_view wordChars);

}  // namespace quillet
