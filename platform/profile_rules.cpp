// Changing the text of an INI file as the profile functions change it.
#include "platform/profile_rules.h"

#include <vector>

#include "platform/text.h"

namespace quillet {

namespace {

constexpr std::string_view kNewLine = "\r\n";

// One line of the file with its own ending ("\r\n", "\n", "\r" or none at the end).
struct Line {
    std::string_view text;
    std::string_view ending;
};

std::vector<Line> SplitLines(std::string_view file) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = file.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({file.substr(start), {}});
            break;
        }
        const std::size_t endingSize = (file[end] == '\r' && end + 1 < file.size() && file[end + 1] == '\n') ? 2 : 1;
        lines.push_back({file.substr(start, end - start), file.substr(end, endingSize)});
        start = end + endingSize;
    }
    return lines;
}

std::string_view TrimSpace(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The name of a section header line ("[name]"), or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = TrimSpace(line);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    const std::string_view inside = trimmed.substr(1);
    return TrimSpace(inside.substr(0, inside.find(']')));
}

// The key of a line in a section (the text before "=", or the whole line), or nothing
// for a comment.
std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view trimmed = TrimSpace(line);
    if (!trimmed.empty() && trimmed.front() == ';') return std::nullopt;
    return TrimSpace(trimmed.substr(0, trimmed.find('=')));
}

// Where a section lies: its header line and the line after its body.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> FindSection(const std::vector<Line> &lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].text);
        if (!name || !EqualsNoCase(*name, TrimSpace(section))) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end].text)) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

// The section's line after its last line that is not blank (its header at least).
std::size_t AfterLastFilledLine(const std::vector<Line> &lines, const SectionSpan &span) {
    std::size_t after = span.header + 1;
    for (std::size_t i = span.header + 1; i < span.end; ++i)
        if (!TrimSpace(lines[i].text).empty()) after = i + 1;
    return after;
}

// The file's lines joined again: those before `from`, then `insert` (whole lines with
// their endings), then those from `resume` on.
class Rebuilt {
public:
    explicit Rebuilt(std::string_view file) : file_(file), lines_(SplitLines(file)) {}
    const std::vector<Line> &Lines() const { return lines_; }
    std::string Join(std::size_t from, std::string_view insert, std::size_t resume) const {
        std::string out;
        out.reserve(file_.size() + insert.size() + 8);
        for (std::size_t i = 0; i < from; ++i) Append(out, i, i + 1 == from && !insert.empty());
        out += insert;
        for (std::size_t i = resume; i < lines_.size(); ++i) Append(out, i, false);
        return out;
    }
    // The whole file with `insert` appended as new lines at the end.
    std::string Appended(std::string_view insert) const {
        return Join(lines_.size(), insert, lines_.size());
    }

private:
    // A line with its ending; a last line without one gets CR LF when more follows.
    void Append(std::string &out, std::size_t i, bool moreFollows) const {
        out += lines_[i].text;
        out += lines_[i].ending.empty() && moreFollows ? kNewLine : lines_[i].ending;
    }
    std::string_view file_;
    std::vector<Line> lines_;
};

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    line += kNewLine;
    return line;
}

}  // namespace

std::string WithProfileKey(std::string_view file, std::string_view section, std::string_view key,
                           const std::optional<std::string> &value) {
    const Rebuilt text(file);
    const std::vector<Line> &lines = text.Lines();
    const auto span = FindSection(lines, section);
    const std::string_view wantedKey = TrimSpace(key);
    if (wantedKey.empty()) {  // the whole section goes
        if (!span) return std::string(file);
        return text.Join(span->header, {}, span->end);
    }
    if (!span) {
        if (!value) return std::string(file);
        return text.Appended("[" + std::string(TrimSpace(section)) + "]" + std::string(kNewLine) +
                             KeyLine(wantedKey, *value));
    }
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const auto name = KeyName(lines[i].text);
        if (!name || !EqualsNoCase(*name, wantedKey)) continue;
        // The key keeps the spelling it has in the file.
        return text.Join(i, value ? KeyLine(*name, *value) : std::string(), i + 1);
    }
    if (!value) return std::string(file);
    const std::size_t at = AfterLastFilledLine(lines, *span);
    return text.Join(at, KeyLine(wantedKey, *value), at);
}

std::string WithProfileSection(std::string_view file, std::string_view section, std::string_view block) {
    std::string body;
    for (std::size_t start = 0; start < block.size() && block[start] != '\0';) {
        std::size_t end = block.find('\0', start);
        if (end == std::string_view::npos) end = block.size();
        body += block.substr(start, end - start);
        body += kNewLine;
        start = end + 1;
    }
    const Rebuilt text(file);
    const auto span = FindSection(text.Lines(), section);
    if (!span) return text.Appended("[" + std::string(TrimSpace(section)) + "]" + std::string(kNewLine) + body);
    // The blank lines that close the section stay, keeping it apart from the next one.
    const std::size_t filledEnd = AfterLastFilledLine(text.Lines(), *span);
    return text.Join(span->header + 1, body, filledEnd);
}

}  // namespace quillet
