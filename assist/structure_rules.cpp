#include "assist/structure_rules.h"

#include <algorithm>
#include <cstdio>

#include "assist/script_lines.h"

#include "core/texts.h"

namespace quillet {

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes beyond ASCII count as letters, as the lexer counts them (names such as
// tamaño_real occur in real scripts).
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}
bool IsWordChar(char c) { return IsLetter(c) || IsDecimalDigit(c) || c == '_'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

constexpr std::string_view kRegisters[] = {"eax", "ebx", "ecx", "edx", "esi", "edi", "ebp", "esp", "eip",
                                           "ax",  "bx",  "cx",  "dx",  "si",  "di",  "bp",  "sp",  "al",
                                           "ah",  "bl",  "bh",  "cl",  "ch",  "dl",  "dh",  "cs",  "ds",
                                           "es",  "fs",  "gs",  "ss"};

// Walks the names of a script's code (see NameOccurrences), calling visit(start, end)
// for each word that may be a label or variable.
class NameWalk {
public:
    template <typename Visit>
    void Line(std::string_view text, LineSpan line, Visit &&visit) {
        const bool assembler = insideExec_;
        std::size_t pos = line.start;
        bool firstWord = true;
        while (pos < line.end) {
            const char c = text[pos];
            if (inComment_) {
                const std::size_t close = text.substr(0, line.end).find("*/", pos);
                if (close == std::string_view::npos) return;
                inComment_ = false;
                pos = close + 2;
                continue;
            }
            if (c == ';' || (c == '/' && pos + 1 < line.end && text[pos + 1] == '/')) break;
            if (c == '/' && pos + 1 < line.end && text[pos + 1] == '*') {
                inComment_ = true;
                pos += 2;
                continue;
            }
            if (c == '"') {
                const std::size_t close = text.substr(0, line.end).find('"', pos + 1);
                const std::size_t end = close == std::string_view::npos ? line.end : close;
                BracedNames(text, pos + 1, end, visit);
                pos = end + 1;
                firstWord = false;
                continue;
            }
            if (c == '#') {
                // A byte string or a directive: nothing in it is a name.
                std::size_t end = pos + 1;
                while (end < line.end && text[end] != '#' && text[end] != '"' && !IsBlank(text[end])) ++end;
                pos = end < line.end && text[end] == '#' ? end + 1 : end;
                firstWord = false;
                continue;
            }
            if (!IsWordChar(c) && c != '$' && c != '@') {
                if (assembler && c == '{') {
                    pos = BracedNames(text, pos, line.end, visit, true);
                    continue;
                }
                ++pos;
                continue;
            }
            std::size_t end = pos + 1;
            while (end < line.end && IsWordChar(text[end])) ++end;
            const std::string_view word = text.substr(pos, end - pos);
            if (firstWord && !assembler) {
                std::size_t after = end;
                while (after < line.end && IsBlank(text[after])) ++after;
                const bool label = after < line.end && text[after] == ':';
                if (label) {
                    if (IsLetter(c) || c == '_') visit(pos, end);
                } else if (SameName(word, "exec")) {
                    enterExec_ = true;
                }
            } else if (!assembler && (IsLetter(c) || c == '_')) {
                visit(pos, end);
            } else if (assembler && firstWord && SameName(word, "ende")) {
                insideExec_ = false;
            }
            firstWord = false;
            pos = end;
        }
    }

    // Called after each line: an EXEC line makes the following lines assembler.
    void EndLine() {
        if (enterExec_) insideExec_ = true;
        enterExec_ = false;
    }

private:
    // The `{name}` inside [from, to): visits each name; returns where it stopped (after
    // the first one only, when `one` is set).
    template <typename Visit>
    std::size_t BracedNames(std::string_view text, std::size_t from, std::size_t to, Visit &&visit, bool one = false) {
        std::size_t pos = from;
        while (pos < to) {
            if (text[pos] != '{') {
                if (one) return pos + 1;
                ++pos;
                continue;
            }
            std::size_t end = pos + 1;
            while (end < to && IsWordChar(text[end])) ++end;
            if (end < to && text[end] == '}' && end > pos + 1 && !IsDecimalDigit(text[pos + 1])) visit(pos + 1, end);
            pos = end;
            if (one) return pos;
        }
        return pos;
    }

    bool inComment_ = false;
    bool insideExec_ = false;
    bool enterExec_ = false;
};

template <typename Visit>
void WalkNames(std::string_view text, Visit &&visit) {
    NameWalk walk;
    ForEachLine(text, [&](std::size_t, LineSpan line) {
        walk.Line(text, line, visit);
        walk.EndLine();
    });
}

// Whether a line of the script declares `name` (`var name`) or defines it as a label
// (`name:`), letter case ignored.
bool DeclaredInScript(std::string_view text, std::string_view name) {
    bool declared = false;
    ForEachLine(text, [&](std::size_t, LineSpan line) {
        if (declared) return;
        std::size_t pos = line.start;
        const auto skipBlanks = [&] {
            while (pos < line.end && IsBlank(text[pos])) ++pos;
        };
        const auto nextWord = [&] {
            skipBlanks();
            const std::size_t from = pos;
            while (pos < line.end && IsWordChar(text[pos])) ++pos;
            return text.substr(from, pos - from);
        };
        const std::string_view first = nextWord();
        if (SameName(first, "var")) {
            declared = SameName(nextWord(), name);
        } else if (SameName(first, name)) {
            skipBlanks();
            declared = pos < line.end && text[pos] == ':';
        }
    });
    return declared;
}

int HexDigitValue(char c) {
    if (IsDecimalDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::uint32_t> NumberValue(std::string_view token) {
    const bool negative = !token.empty() && token.front() == '-';
    if (negative) token.remove_prefix(1);
    if (token.empty()) return std::nullopt;
    const std::size_t dot = token.find('.');
    std::uint64_t value = 0;
    if (dot == std::string_view::npos) {
        for (const char c : token) {
            const int digit = HexDigitValue(c);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
    } else {
        if (dot == 0) return std::nullopt;
        for (const char c : token.substr(0, dot)) {
            if (!IsDecimalDigit(c)) return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
        for (const char c : token.substr(dot + 1))
            if (c != '0') return std::nullopt;  // a fraction (or a second dot) is no integer
    }
    auto result = static_cast<std::uint32_t>(value);
    if (negative) result = 0u - result;
    return result;
}

std::vector<TextSpan> NameOccurrences(std::string_view text, std::string_view name) {
    std::vector<TextSpan> found;
    if (name.empty()) return found;
    WalkNames(text, [&](std::size_t start, std::size_t end) {
        if (SameName(text.substr(start, end - start), name)) found.push_back({start, end - start});
    });
    return found;
}

std::optional<TextSpan> NameAt(std::string_view text, std::size_t position) {
    if (position > text.size()) return std::nullopt;
    std::size_t start = position, end = position;
    while (start > 0 && IsWordChar(text[start - 1])) --start;
    while (end < text.size() && IsWordChar(text[end])) ++end;
    if (start == end) return std::nullopt;
    const std::string_view word = text.substr(start, end - start);
    const NameProblem problem = ProblemOfNameSpelling(word);
    // A word of hex digits only is a number, unless the script declares a variable or a
    // label of that spelling: the plug-in tries variables before numbers.
    if (problem != NameProblem::kNone && !(problem == NameProblem::kHexNumber && DeclaredInScript(text, word)))
        return std::nullopt;
    for (const TextSpan &span : NameOccurrences(text, word))
        if (span.start == start) return span;
    return std::nullopt;
}

NameProblem ProblemOfNameSpelling(std::string_view name) {
    if (name.empty() || !(IsLetter(name.front()) || name.front() == '_') ||
        !std::all_of(name.begin(), name.end(), IsWordChar))
        return NameProblem::kNotAName;
    for (const std::string_view reg : kRegisters)
        if (SameName(name, reg)) return NameProblem::kRegister;
    if (std::all_of(name.begin(), name.end(), [](char c) { return HexDigitValue(c) >= 0; }))
        return NameProblem::kHexNumber;
    return NameProblem::kNone;
}

std::string RenameRefusal(NameProblem problem, std::string_view name) {
    const char *reason = text::kRenameNotAName;
    switch (problem) {
    case NameProblem::kRegister: reason = text::kRenameRegister; break;
    case NameProblem::kHexNumber: reason = text::kRenameHexNumber; break;
    case NameProblem::kCommand: reason = text::kRenameCommand; break;
    default: break;
    }
    return std::string(reason) + std::string(name);
}

std::string RenameRefusalUsed(std::string_view name, std::string_view where) {
    return std::string(text::kRenameUsedHead) + std::string(where) + text::kRenameUsedTail + std::string(name);
}

std::optional<std::string> NumberMeaning(std::string_view token) {
    const auto value = NumberValue(token);
    if (!value) return std::nullopt;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(*value));
    std::string tip = std::string(text::kNumberTipHex) + hex + "\n" + text::kNumberTipUnsigned +
                      std::to_string(*value) + "\n" + text::kNumberTipSigned +
                      std::to_string(static_cast<std::int32_t>(*value));
    std::string ascii;
    for (int byte = 0; byte < 4; ++byte) {
        const auto c = static_cast<char>((*value >> (8 * byte)) & 0xFF);
        if (c < 0x20 || c > 0x7E) return tip;
        ascii += c;
    }
    return tip + "\n" + text::kNumberTipAscii + "\"" + ascii + "\"";
}

}  // namespace quillet
