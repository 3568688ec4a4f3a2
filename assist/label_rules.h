// Window-free rules of the labels pane: which script lines are labels, the text an
// item shows and the line each item jumps to.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Items are cut to this many characters.
inline constexpr std::size_t kLabelTextMax = 255;

// The label of one line (without its line end): leading blanks and tabs removed, the
// text up to and including the first colon, trimmed of blanks, upper-cased and cut to
// kLabelTextMax. None when there is no colon or that text holds a blank.
std::optional<std::string> LabelOfLine(std::string_view line);

struct LabelItem {
    std::string text;
    int line;  // 0-based line of the first label with this text
};

// The labels of a script in the order the pane lists them (ascending by the character
// codes of the upper-cased texts), each carrying the line of the first label line with
// the same text. Linear in the text plus sorting the labels.
std::vector<LabelItem> CollectLabelItems(std::string_view script);

}  // namespace quillet
