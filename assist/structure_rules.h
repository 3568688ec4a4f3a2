// Window-free rules of the structure aids: what a number written in a script means,
// and (for references and rename) where a label or variable occurs in a script and
// which new names the language would read as that same kind of name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The value of a number as the language reads it: hex digits by default (`3E8`),
// decimal when digits end in a dot (`100.`, also `100.0`), with an optional leading
// `-` taken modulo 2^32. None for anything else, for a fraction that is not zero and
// for a value beyond 32 bits.
std::optional<std::uint32_t> NumberValue(std::string_view token);

// The call tip of a number: hex, unsigned and signed decimal, and the four bytes
// (little endian, as the value lies in memory) as ASCII when all four are printable.
// None when `token` is no number (NumberValue).
std::optional<std::string> NumberMeaning(std::string_view token);

// A stretch of a script's text, in bytes.
struct TextSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const TextSpan &other) const { return start == other.start && length == other.length; }
};

// Where a label or variable of this spelling (letter case ignored) occurs in a script:
// every whole word of the code that is not a line's command (label definitions, jump,
// call, BPGOTO, EOB and EOE operands, declarations, other operands), and every
// `{name}` in strings and in the assembler lines of EXEC blocks. Comments, the rest of
// strings and assembler lines, byte strings and numbers are passed over. In text order.
std::vector<TextSpan> NameOccurrences(std::string_view text, std::string_view name);

// The label or variable the position lies on (at its first character up to just after
// its last): the word there when NameOccurrences counts it there. None elsewhere.
std::optional<TextSpan> NameAt(std::string_view text, std::size_t position);

// Why the language would not read `name` as a label or variable of its own.
enum class NameProblem {
    kNone,
    kNotAName,   // empty, or not a letter or _ followed by letters, digits and _
    kRegister,   // a register of 32, 16 or 8 bits, or a segment register
    kHexNumber,  // only hex digits: read as a number
    kCommand,    // a command of the keyword list
};

// The problem of a name, checked in that order. `isCommand` answers whether a word is
// a command (letter case ignored).
template <typename IsCommand>
NameProblem ProblemOfName(std::string_view name, IsCommand &&isCommand);
NameProblem ProblemOfNameSpelling(std::string_view name);

// The message that tells the user why the new name is refused; `used` for a name the
// script or its included files already use.
std::string RenameRefusal(NameProblem problem, std::string_view name);
std::string RenameRefusalUsed(std::string_view name, std::string_view where);

template <typename IsCommand>
NameProblem ProblemOfName(std::string_view name, IsCommand &&isCommand) {
    const NameProblem spelling = ProblemOfNameSpelling(name);
    if (spelling != NameProblem::kNone) return spelling;
    return isCommand(name) ? NameProblem::kCommand : NameProblem::kNone;
}

}  // namespace quillet
