// Parser of the keyword-and-tips data file qkeywords.txt. Window-free: it turns the
// file's bytes into the keyword list, the tip records and the status note; the
// Win32 loader reads the file, reports failures and publishes the stores.
//
// File format, in short: lines end at CR (an LF right after the CR belongs to the
// line end; any other LF is an ordinary character); a Ctrl-Z byte ends the text.
// Lines up to the first blank line (empty or spaces only) form the keyword section:
// comma-separated keywords, lines joined with nothing between them. The rest is tip
// blocks separated by lines containing ";;". A line whose text before its first
// colon reads CREATED (any case) carries the creation remark.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Widths of a stored tip record and of the status note.
constexpr std::size_t kTipKeywordWidth = 30;
constexpr std::size_t kTipTextWidth = 1400;
constexpr std::size_t kStatusNoteMax = 255;

// The status note is this prefix followed by the creation remark.
constexpr std::string_view kStatusNotePrefix = "Keywords and tips data file is created ";

enum class KeywordFileError {
    kNone,
    kEmptyKeywordSection,  // line 1 is blank or the file has no text
};

// One tip block: keyword = text before the block's first colon (the whole block when
// it has none), unchanged, at most kTipKeywordWidth characters; text = the block's
// lines each followed by LF, at most kTipTextWidth characters.
struct TipRecord {
    std::string keyword;
    std::string text;
};

struct KeywordFile {
    KeywordFileError error = KeywordFileError::kNone;
    // Items upper-cased, sorted ascending by byte value, joined by single spaces
    // (empty items are kept, so the list may start with or hold double spaces).
    std::string keyword_list;
    std::vector<TipRecord> tips;  // in file order
    // kStatusNotePrefix + creation remark, at most kStatusNoteMax characters;
    // empty when the file has no creation line.
    std::string status_note;

    bool ok() const { return error == KeywordFileError::kNone; }
};

// Parses the whole file. Linear in the size of the input (apart from sorting the
// keyword items); any bytes are accepted. On failure every store is empty.
KeywordFile ParseKeywordFile(std::string_view bytes);

}  // namespace quillet
