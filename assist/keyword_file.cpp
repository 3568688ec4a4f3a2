// Parser of the keyword-and-tips data file: keyword section, tip blocks and
// creation line. Works on string views into the caller's bytes and never keeps
// more than one tip block of bounded size under construction, so huge lines and
// huge files cost time and memory in proportion to their size only.
#include "assist/keyword_file.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/text.h"

namespace quillet {

namespace {

constexpr char kCtrlZ = '\x1A';
constexpr std::string_view kSeparatorMark = ";;";
constexpr std::string_view kCreatedWord = "CREATED";

// Walks the lines of a text: a line ends at CR, and an LF directly after that CR
// is part of the line end. A last line without a line end is still a line; a text
// that ends with a line end has no empty line after it.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(std::string_view &line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t cr = text_.find('\r', pos_);
        if (cr == std::string_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
            return true;
        }
        line = text_.substr(pos_, cr - pos_);
        pos_ = cr + 1;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return true;
    }

    // Byte offset of the start of the next line.
    std::size_t Position() const { return pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Empty or spaces only; a tab is not a blank.
bool IsBlankLine(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

bool IsSeparatorLine(std::string_view line) { return line.find(kSeparatorMark) != std::string_view::npos; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Appends as much of `piece` as still fits below `limit` characters.
void AppendBounded(std::string &out, std::string_view piece, std::size_t limit) {
    if (out.size() >= limit) return;
    out.append(piece.substr(0, limit - out.size()));
}

// Splits the upper-cased keyword text at every comma (k - 1 commas give k items,
// empty ones included), sorts the items by byte value and joins them with blanks.
std::string BuildKeywordList(std::string_view keyword_text) {
    std::vector<std::string_view> items;
    items.reserve(static_cast<std::size_t>(std::count(keyword_text.begin(), keyword_text.end(), ',')) + 1);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = keyword_text.find(',', start);
        if (comma == std::string_view::npos) {
            items.push_back(keyword_text.substr(start));
            break;
        }
        items.push_back(keyword_text.substr(start, comma - start));
        start = comma + 1;
    }
    // string_view compares like memcmp: by unsigned byte value, case-sensitive.
    std::sort(items.begin(), items.end());

    std::string list;
    list.reserve(keyword_text.size() + 1);  // each comma becomes exactly one blank
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) list.push_back(' ');
        list.append(items[i]);
    }
    return list;
}

TipRecord MakeTipRecord(const std::string &block) {
    TipRecord tip;
    const std::size_t colon = block.find(':');
    tip.keyword = block.substr(0, std::min(colon, kTipKeywordWidth));
    tip.text = block;  // already bounded to kTipTextWidth while it was collected
    return tip;
}

// Returns the tip records of the lines that the reader still has: blocks of lines,
// each line followed by LF, separated by separator lines (which are dropped).
std::vector<TipRecord> ReadTipBlocks(LineReader &reader) {
    std::vector<TipRecord> tips;
    std::string block;
    block.reserve(kTipTextWidth);
    bool block_has_lines = false;
    const auto flush = [&] {
        if (block_has_lines) tips.push_back(MakeTipRecord(block));
        block.clear();
        block_has_lines = false;
    };
    std::string_view line;
    while (reader.Next(line)) {
        if (IsSeparatorLine(line)) {
            flush();
            continue;
        }
        // Only the first kTipTextWidth characters of a block are ever stored, and the
        // keyword lies within them, so the rest of a long block is not collected.
        AppendBounded(block, line, kTipTextWidth);
        AppendBounded(block, "\n", kTipTextWidth);
        block_has_lines = true;
    }
    flush();
    return tips;
}

// Looks for the creation line among lines first_line..n (numbered from 1) and
// returns the status note, or an empty text when there is none.
std::string FindStatusNote(std::string_view text, std::size_t first_line) {
    LineReader reader(text);
    std::string_view line;
    for (std::size_t number = 1; reader.Next(line); ++number) {
        if (number < first_line) continue;
        const std::string_view trimmed = TrimBlanks(line);
        const std::size_t colon = trimmed.find(':');
        if (!EqualsNoCase(trimmed.substr(0, colon), kCreatedWord)) continue;
        const std::string_view remark =
            colon == std::string_view::npos ? std::string_view() : TrimBlanks(trimmed.substr(colon + 1));
        std::string note(kStatusNotePrefix);
        AppendBounded(note, remark, kStatusNoteMax);
        return note;
    }
    return {};
}

}  // namespace

KeywordFile ParseKeywordFile(std::string_view bytes) {
    KeywordFile result;
    const std::string_view text = bytes.substr(0, bytes.find(kCtrlZ));

    // Keyword section: the lines before the first blank line, upper-cased and joined
    // with nothing between them. The section's byte length bounds the joined text.
    LineReader reader(text);
    std::string_view line;
    std::size_t section_end = 0;
    while (reader.Next(line) && !IsBlankLine(line)) section_end = reader.Position();

    std::string keyword_text;
    keyword_text.reserve(section_end);
    LineReader keyword_reader(text.substr(0, section_end));
    while (keyword_reader.Next(line)) std::transform(line.begin(), line.end(), std::back_inserter(keyword_text), UpperAscii);

    if (IsBlankLine(keyword_text)) {
        result.error = KeywordFileError::kEmptyKeywordSection;
        return result;
    }
    result.keyword_list = BuildKeywordList(keyword_text);

    // Tip section: from the blank line that ended the keyword section (it is the
    // first line of the first block) to the end of the text.
    LineReader tip_reader(text.substr(section_end));
    result.tips = ReadTipBlocks(tip_reader);

    // The creation line is searched from line N on, N being the number of tip
    // records but at least 1.
    result.status_note = FindStatusNote(text, std::max<std::size_t>(1, result.tips.size()));
    return result;
}

}  // namespace quillet
