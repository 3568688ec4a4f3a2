// The script checker: finds the faults the plug-in would stop a script for (unknown
// command, jump to a missing label, label defined twice, label and command on one
// line, variable never declared, a wrong operand count, IFxx/ELSE/ENDIF and EXEC/ENDE
// that do not pair, an included file that is missing or includes itself again, odd
// hex byte strings, unclosed strings, typographic quotes, 0x and h numbers) without
// running it. Window-free: it reads the
// script's bytes as the plug-in does (lines split at LF, comments removed by the
// plug-in's rules, #inc resolved through an IncludeReader) and answers problems as
// byte ranges of the checked text. The text is read twice, line by line, as views:
// once for labels, declarations and includes, once to judge the command lines; each
// included file is read once per check however often it is included; only
// names (labels, declared variables) and the reports are kept. The text may come
// whole or block by block from a TextSource, so a check never needs a copy of it.
// It never reports a line the plug-in accepts: where the plug-in's reading is
// uncertain, the line is taken as correct.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/encodings.h"

namespace quillet {

enum class ProblemKind {
    kUnknownCommand,
    kUndefinedLabel,
    kDuplicateLabel,
    kLabelWithCommand,
    kUndeclaredVariable,
    kBadInclude,
    kOperandCount,      // underlines the command and its operands
    kIfWithoutEndif,    // the IFxx; firstLine: 1 + the line starting with "if" that took its ENDIF, or 0
    kNoOpeningIf,       // an ELSE or ENDIF
    kExecWithoutEnde,   // the EXEC
    kEndeWithoutExec,   // the ENDE
    kIncludeNotFound,   // the #inc line's directive and name; path: where the plug-in looks
    kIncludeCycle,      // the #inc line; path: the file included again; place: where, when in an include
    kOddHexString,      // the #...# byte string
    kUnclosedString,    // from the opening quote to the end of the code
    kTypographicQuote,  // the quote's bytes
    kPrefixedNumber,    // the 0x or h number
};

// How the bytes of the checked script are to be read, for the checks that depend on
// the encoding (typographic quotes): unknown (nothing is judged), UTF-8, or a Windows
// single-byte code page (where bytes 0x93 and 0x94 are typographic quotes).
enum class ScriptBytes { kUnknown, kUtf8, kWindowsSingleByte };
// The reading of an encoding the editor shows; the system's own code page (kAnsi) is
// unknown here (its caller knows which it is).
ScriptBytes ScriptBytesFor(EncodingId encoding);

struct ScriptProblem {
    std::size_t start = 0;   // byte offset in the checked text
    std::size_t length = 0;  // bytes underlined (at least 1)
    std::size_t line = 0;    // 0-based, lines counted at LF as the plug-in counts them
    ProblemKind kind = ProblemKind::kUnknownCommand;
    std::size_t firstLine = 0;  // a label defined twice: 0-based line of the first definition
    std::string path;           // the included file a missing or cyclic include names
    // A problem that lies in an included file (an include cycle or a missing include
    // deeper down) is underlined at the checked script's #inc line that leads there;
    // this is where it really lies (file empty: in the checked text itself).
    std::string placeFile;
    std::size_t placeLine = 0, placeColumn = 0;  // 0-based
};

// The message of a problem, from the problem and the text it underlines (the name
// the message repeats).
std::string ProblemMessage(const ScriptProblem &problem, std::string_view underlined);

// Where a label is defined: in the checked text (empty file) or in an included script.
struct LabelPlace {
    std::string file;
    std::size_t position = 0;  // byte offset of the name's first character
    std::size_t line = 0;
};

// The command names a script may use, from the keyword list of the keyword file
// (upper-cased names separated by blanks; directives and $ variables are skipped).
class CommandSet {
public:
    explicit CommandSet(std::string_view keywordList);
    bool Contains(std::string_view name) const;  // letter case ignored
    bool Empty() const { return names_.empty(); }

private:
    std::vector<std::string> names_;  // upper case, sorted
};

// Supplies the bytes of included scripts; the checker resolves their paths.
class IncludeReader {
public:
    virtual ~IncludeReader() = default;
    // False when the file cannot be read.
    virtual bool Read(const std::string &path, std::string &bytes) = 0;
};

// Supplies the checked text in blocks, in order, for a check that does not hold the
// whole text.
class TextSource {
public:
    virtual ~TextSource() = default;
    // Appends to `buffer` the next bytes of the text from `offset` on (nothing at its
    // end). False when the text can no longer be read (it changed): the check stops.
    virtual bool Append(std::size_t offset, std::string &buffer) = 0;
};

struct ScriptCheck {
    std::vector<ScriptProblem> problems;       // in text order
    std::map<std::string, LabelPlace> labels;  // first definition of each label
    // Label operands that name a known label (start, length), for go-to-label links.
    std::vector<std::pair<std::size_t, std::size_t>> labelLinks;
    // False when an include could not be read: label and variable checks are off then.
    bool includesRead = true;
    // False when the text's source stopped before its end: the answer means nothing.
    bool complete = true;
};

// Checks a script. `scriptPath` names the file the text belongs to (empty for a
// script never saved: includes with a relative name cannot be resolved then).
// `reader` may be null, which counts as "includes cannot be read".
ScriptCheck CheckScript(std::string_view text, const std::string &scriptPath, const CommandSet &commands,
                        IncludeReader *reader, ScriptBytes bytes = ScriptBytes::kUnknown);
// The same check on a text read block by block; `complete` is false in the answer
// when the source stopped answering.
ScriptCheck CheckScript(TextSource &source, const std::string &scriptPath, const CommandSet &commands,
                        IncludeReader *reader, ScriptBytes bytes = ScriptBytes::kUnknown);

// The path of an included file as the plug-in resolves it: a name holding a
// backslash is used as it is, any other name lies in the including script's folder.
std::string ResolveIncludePath(const std::string &includingScript, const std::string &name);

// The files a script includes with #inc (found anywhere in a line, without regard to
// case, with a non-empty name in double quotes), resolved as above, in text order.
std::vector<std::string> IncludedFiles(std::string_view text, const std::string &scriptPath);

// The label named by the operand at `position`, when that position lies on the label
// operand of a jump, call, EOB, EOE or BPGOTO line of `text`; no value otherwise.
std::optional<std::string> LabelOperandAt(std::string_view text, std::size_t position);

}  // namespace quillet
