// The script checker: reads a script line by line the way the plug-in reads it and
// reports what the plug-in would stop for. See script_check_rules.h.
#include "assist/script_check_rules.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>

#include "assist/plugin_commands.h"
#include "core/texts.h"

namespace quillet {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
// The plug-in reads a UTF-8 byte order mark as three characters of the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\r' || c == '\n'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

// `what` starts with a character that has no case (the directives' '#'), so its
// first character is searched for directly.
std::size_t FindNoCase(std::string_view text, std::string_view what) {
    for (std::size_t i = text.find(what[0]); i != kNone && i + what.size() <= text.size(); i = text.find(what[0], i + 1))
        if (EqualsNoCase(text.substr(i, what.size()), what)) return i;
    return kNone;
}

bool InList(std::string_view word, std::initializer_list<std::string_view> list) {
    for (std::string_view item : list)
        if (EqualsNoCase(word, item)) return true;
    return false;
}

// A piece of a line: offset from the line's start and text.
struct Span {
    std::size_t offset = 0;
    std::string_view text;
};

Span Trim(Span span) {
    std::size_t begin = 0, end = span.text.size();
    while (begin < end && IsTrimmed(span.text[begin])) ++begin;
    while (end > begin && IsTrimmed(span.text[end - 1])) --end;
    return {span.offset + begin, span.text.substr(begin, end - begin)};
}

// A line after comment removal, without a copy: the removed comment (at most one range
// per line) reads as blanks, so offsets stay those of the line.
struct CodeLine {
    std::string_view raw;
    std::size_t blankFrom = 0, blankTo = 0;  // the removed comment text
    bool comment = false;  // nothing of the line is executed
    bool uncertain = false;  // the plug-in's reading of this line's comments is not certain

    std::size_t size() const { return raw.size(); }
    char At(std::size_t i) const { return i >= blankFrom && i < blankTo ? ' ' : raw[i]; }
};

// The code of a line without the blanks around it, as a piece of the raw line.
Span TrimCode(const CodeLine &code) {
    std::size_t begin = 0, end = code.size();
    while (begin < end && IsTrimmed(code.At(begin))) ++begin;
    while (end > begin && IsTrimmed(code.At(end - 1))) --end;
    return {begin, code.raw.substr(begin, end - begin)};
}

// The first `marker` of the line is a comment start unless it lies between the
// line's first and last double quote.
bool QuoteProtected(std::string_view line, std::size_t at) {
    const std::size_t first = line.find('"');
    const std::size_t last = line.rfind('"');
    return first != kNone && first < at && at < last;
}

// True when an odd number of double quotes precede `at`.
bool InsideString(std::string_view line, std::size_t at) {
    return std::count(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(at), '"') % 2 == 1;
}

void Blank(CodeLine &code, std::size_t from, std::size_t to) {
    code.blankFrom = from;
    code.blankTo = std::min(to, code.size());
}

// Removes `//` or `;` comments, one kind per line, as the plug-in does. Where the
// first `//` is protected by quotes the `;` rule is still tried: taking a little more
// as comment than the plug-in can only hide a fault, never invent one.
void RemoveLineComment(std::string_view line, std::size_t lead, CodeLine &result) {
    const std::size_t slashes = line.find("//");
    if (slashes != kNone && !QuoteProtected(line, slashes)) {
        Blank(result, lead + slashes, result.size());
        return;
    }
    // A protected `//` stays code; the line is judged only when that `//` really lies
    // inside a string and no other one follows the last quote.
    if (slashes != kNone && (!InsideString(line, slashes) || line.find("//", line.rfind('"')) != kNone)) {
        result.uncertain = true;
        return;
    }
    const std::size_t semicolon = line.find(';');
    if (semicolon == kNone) return;
    if (semicolon == 0 || !QuoteProtected(line, semicolon)) Blank(result, lead + semicolon, result.size());
    else if (!InsideString(line, semicolon) || line.find(';', line.rfind('"')) != kNone) result.uncertain = true;
}

// Applies the plug-in's comment rules to one raw line (without its LF).
CodeLine RemoveComments(std::string_view raw, bool &inBlock) {
    CodeLine result;
    result.raw = raw;
    const Span trimmed = Trim({0, raw});
    const std::string_view line = trimmed.text;
    const std::size_t lead = trimmed.offset;
    if (line.empty()) {
        result.comment = true;
        return result;
    }
    const std::size_t close = line.find("*/");
    // The plug-in compares the position of "*/" with length - 2, which also holds for a
    // line of one character.
    if (close == line.size() - 2 || line.size() == 1) {
        inBlock = false;
        result.comment = true;
        return result;
    }
    if (inBlock) {
        if (close == kNone) {
            result.comment = true;
        } else {
            Blank(result, 0, lead + close + 2);
            inBlock = false;
        }
        return result;
    }
    const std::size_t open = line.find("/*");
    if (open != kNone && close == kNone) {
        Blank(result, lead + open, result.size());
        inBlock = true;
        result.comment = open == 0;
    } else if (open == kNone && close != kNone) {
        Blank(result, 0, lead + close + 2);
    } else if (open != kNone) {
        if (open < close) {
            Blank(result, lead + open, lead + close + 2);
            const bool joined = open > 0 && close + 2 < line.size() && !IsTrimmed(line[open - 1]) &&
                                !IsTrimmed(line[close + 2]);
            result.uncertain = joined;
        } else {
            result.uncertain = true;
        }
    } else {
        RemoveLineComment(line, lead, result);
    }
    if (TrimCode(result).text.empty()) result.comment = true;
    return result;
}

// The words that name a label operand, by command.
bool TakesLabelFirst(std::string_view command) {
    return InList(command, {"JMP", "GOTO", "JA", "JAE", "JB", "JBE", "JE", "JNE", "JZ", "JNZ", "JG", "JGE", "JL",
                            "JLE", "CALL", "EOB", "EOE"});
}
bool IsBpGoto(std::string_view command) { return EqualsNoCase(command, "BPGOTO"); }

// Commands whose operands may be constant words, and the words.
bool TakesConstantWords(std::string_view command) {
    return InList(command, {"GMI", "GMA", "GMEMI", "GPI", "OLLY", "GCI", "GOPI", "GMEXP", "GMIMP", "REF", "GSL",
                            "CLOSE", "RBP"});
}
bool IsConstantWord(std::string_view word) {
    return InList(word, {"MODULEBASE", "MODULESIZE", "CODEBASE", "CODESIZE", "ENTRY", "NSECT", "DATABASE",
                         "EDATATABLE", "EDATASIZE", "IDATABASE", "IDATATABLE", "RESBASE", "RESSIZE", "RELOCTABLE",
                         "RELOCSIZE", "NAME", "PATH", "VERSION", "MEMORYBASE", "MEMORYSIZE", "MEMORYOWNER",
                         "HPROCESS", "PROCESSID", "HMAINTHREAD", "MAINTHREADID", "MAINBASE", "PROCESSNAME",
                         "EXEFILENAME", "CURRENTDIR", "SYSTEMDIR", "PID", "HWND", "THREAD", "THREADID", "EXE", "INI",
                         "DIR", "COMMAND", "CONDITION", "DESTINATION", "SIZE", "TYPE", "GOOD", "ADDR", "DATA",
                         "ADDRESS", "LABEL", "COUNT", "MODULE", "MEMORY", "CODE", "CPUDASM", "CPUDUMP", "CPUSTACK",
                         "SCRIPT", "SCRIPTLOG", "LOG", "CPU", "MODULES", "THREADS", "BREAKPOINTS", "REFERENCES",
                         "SOURCELIST", "WATCHES", "WINDOWS", "PATCHES", "RUNTRACE", "CALLSTACK", "TEXT", "FILE",
                         "HANDLES", "SEH", "SOURCE", "STRICT"});
}

// Operands that hold a text (a file, API or module name, a message, a condition, an
// assembler line): written as strings or variables. How the plug-in takes a bare word
// there is not certain, so their words are not judged.
struct TextOperands {
    std::string_view command;
    unsigned indexes;  // bit i: operand i
};
constexpr TextOperands kTextOperands[] = {
    {"ASK", 1}, {"ASM", 2}, {"ASMTXT", 2}, {"BPCND", 2}, {"BPD", 1}, {"BPHWS", 2},
    {"BPL", 2}, {"BPLCND", 6}, {"BPX", 1}, {"CMT", 2}, {"DM", 4}, {"DMA", 4},
    {"DPE", 1}, {"EVAL", 1}, {"FINDCALLS", 2}, {"FINDCMD", 2}, {"FINDCMDS", 2}, {"GMA", 1},
    {"GPA", 3}, {"GPP", 3}, {"HANDLE", 4}, {"INIR", 1}, {"INIW", 1}, {"LBL", 2},
    {"LM", 4}, {"LOADLIB", 1}, {"LOG", 2}, {"LOGBUF", 4}, {"MSG", 1}, {"MSGYN", 1},
    {"TICND", 1}, {"TOCND", 1}, {"WRT", 1}, {"WRTA", 5},
};

bool IsTextOperand(std::string_view command, std::size_t index) {
    for (const TextOperands &entry : kTextOperands)
        if (EqualsNoCase(command, entry.command)) return index < 32 && (entry.indexes >> index) & 1u;
    return false;
}

bool IsRegister(std::string_view word) {
    return InList(word, {"eax", "ebx", "ecx", "edx", "esi", "edi", "esp", "ebp", "eip", "ax", "bx", "cx", "dx",
                         "bp", "si", "di", "sp", "al", "ah", "bl", "bh", "cl", "ch", "dl", "dh", "es", "cs", "ss",
                         "ds", "fs", "gs", "st"});
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (Upper(c) >= 'A' && Upper(c) <= 'F'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Hex (the default), decimal with a trailing dot, or a float.
bool IsNumber(std::string_view word) {
    if (!word.empty() && word[0] == '-') word.remove_prefix(1);
    if (word.empty()) return false;
    if (std::all_of(word.begin(), word.end(), IsHexDigit)) return true;
    const std::size_t dot = word.find('.');
    if (dot == kNone || dot == 0) return false;
    const std::string_view whole = word.substr(0, dot), fraction = word.substr(dot + 1);
    return std::all_of(whole.begin(), whole.end(), IsDigit) && std::all_of(fraction.begin(), fraction.end(), IsDigit);
}

// Operators and brackets that separate the words of an expression.
bool IsSeparator(char c) {
    switch (c) {
    case ',': case '+': case '-': case '*': case '/': case '&': case '|': case '^': case '<': case '>':
    case '[': case ']': case '(': case ')': case ':': case ' ': case '\t': case '\f': case '\r': case '\n':
        return true;
    default: return false;
    }
}

// Splits operand text at commas outside double quotes, as the plug-in does.
std::vector<Span> SplitOperands(Span operands) {
    std::vector<Span> parts;
    if (Trim(operands).text.empty()) return parts;
    bool quoted = false;
    std::size_t start = 0;
    const std::string_view text = operands.text;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '"') quoted = !quoted;
        if (i == text.size() || (text[i] == ',' && !quoted)) {
            parts.push_back(Trim({operands.offset + start, text.substr(start, i - start)}));
            start = i + 1;
        }
    }
    return parts;
}

// One command line, parsed, as views on the line (valid while the line is visited).
// A line whose comments the plug-in may read otherwise still declares what it seems
// to declare, but is not judged.
struct Statement {
    std::size_t lineStart = 0;  // offset of the line in its text
    std::size_t line = 0;
    Span name;
    Span operands;  // trimmed text after the name
    bool judged = true;
    bool commentInside = false;  // a block comment cut out of the middle of the code
};

// An #inc directive with a quoted name: the name, and the directive's place in its text.
struct IncludeLine {
    std::string_view name;
    std::size_t start = 0;   // offset of "#inc" in the text
    std::size_t length = 0;  // up to the closing quote
    std::size_t line = 0;
    std::size_t column = 0;
};

// A label definition line.
struct LabelLine {
    Span name;
    std::size_t lineStart = 0;
    std::size_t line = 0;
    bool judged = true;
};

// One line of a text: its bytes without the LF, where it starts, its number.
struct TextLine {
    std::string_view bytes;
    std::size_t start = 0;
    std::size_t number = 0;
};

// Hands out the lines of a text in order, split at LF; the text after the last LF is
// one more line (possibly empty). The text is either at hand as a whole, or read from
// a TextSource into a buffer that holds only the line being read and the rest of the
// last block. A line's bytes stay valid until the next line is asked for.
class LineReader {
public:
    explicit LineReader(std::string_view whole) : text_(whole) {}
    explicit LineReader(TextSource &source) : source_(&source) {}

    bool Next(TextLine &line) {
        while (!done_) {
            const std::size_t lf = text_.find('\n', std::max(position_, searched_));
            if (lf != kNone) {
                line = {text_.substr(position_, lf - position_), base_ + position_, number_++};
                position_ = lf + 1;
                return true;
            }
            if (!source_ || sourceEnded_) {
                line = {text_.substr(position_), base_ + position_, number_++};
                done_ = true;
                return true;
            }
            Refill();
        }
        return false;
    }

    // The source stopped answering before the text's end.
    bool Failed() const { return failed_; }

private:
    // Drops the lines already handed out and appends the next block.
    void Refill() {
        buffer_.erase(0, position_);
        base_ += position_;
        position_ = 0;
        searched_ = buffer_.size();  // no LF in what is left
        if (!source_->Append(base_ + buffer_.size(), buffer_)) {
            failed_ = done_ = true;
        } else if (buffer_.size() == searched_) {
            sourceEnded_ = true;
        }
        text_ = buffer_;
    }

    TextSource *source_ = nullptr;
    std::string buffer_;
    std::string_view text_;
    std::size_t base_ = 0;      // offset of text_[0] in the whole text
    std::size_t position_ = 0;  // start of the next line in text_
    std::size_t searched_ = 0;  // text_ holds no LF between position_ and this
    std::size_t number_ = 0;
    bool sourceEnded_ = false, done_ = false, failed_ = false;
};

// Reads the lines of a script and tells the visitor what each one is: an #inc
// directive (well-formed or not), a label definition or a command line. Comment lines
// and lines of EXEC blocks go to OnUnjudged (their raw text); #log lines are left
// out. At the end OnEnd says whether an EXEC block is still open. The views handed
// over are valid during the call only.
template <typename Visitor>
void ReadScript(LineReader &reader, Visitor &visitor) {
    bool inBlock = false, inExec = false;
    TextLine text;
    while (reader.Next(text)) {
        const std::string_view raw = text.bytes;
        // #inc is found anywhere, even in comments; the included lines replace the line.
        const std::size_t inc = FindNoCase(raw, "#inc");
        if (inc != kNone) {
            const std::size_t open = raw.find('"', inc);
            const std::size_t close = open == kNone ? kNone : raw.find('"', open + 1);
            if (close == kNone || close == open + 1)
                visitor.OnBadInclude(text.start + inc, text.number);
            else
                visitor.OnInclude(IncludeLine{raw.substr(open + 1, close - open - 1), text.start + inc,
                                              close + 1 - inc, text.number, inc});
            continue;
        }
        const CodeLine code = RemoveComments(raw, inBlock);
        if (code.comment) {
            visitor.OnUnjudged(raw);
            continue;
        }
        if (FindNoCase(raw, "#log") != kNone) continue;
        const Span onText = TrimCode(code);
        const std::size_t nameEnd = std::min(onText.text.find(' '), onText.text.find('\t'));
        const std::string_view name = onText.text.substr(0, nameEnd);
        if (inExec) {
            if (nameEnd == kNone && EqualsNoCase(name, "ENDE")) inExec = false;
            else visitor.OnUnjudged(raw);
            continue;
        }
        if (onText.text.back() == ':') {
            const Span labelName{onText.offset, onText.text.substr(0, onText.text.size() - 1)};
            visitor.OnLabel(LabelLine{labelName, text.start, text.number, !code.uncertain});
            continue;
        }
        Statement statement;
        statement.lineStart = text.start;
        statement.line = text.number;
        statement.name = {onText.offset, name};
        statement.judged = !code.uncertain;
        statement.commentInside = code.blankTo > code.blankFrom && code.blankFrom > onText.offset &&
                                  code.blankFrom < onText.offset + onText.text.size();
        if (nameEnd != kNone)
            statement.operands = Trim({onText.offset + nameEnd, onText.text.substr(nameEnd)});
        if (EqualsNoCase(name, "EXEC") && nameEnd == kNone) inExec = true;
        visitor.OnStatement(statement);
    }
    visitor.OnEnd(inExec);
}

// True when the plug-in's search for an ELSE or ENDIF counts the line as an IF: its
// lower-cased text begins with "if".
bool StartsLikeIf(std::string_view text) { return text.size() >= 2 && Upper(text[0]) == 'I' && Upper(text[1]) == 'F'; }

bool IsIfCommand(std::string_view name) {
    return InList(name, {"IFA", "IFAE", "IFB", "IFBE", "IFE", "IFEQ", "IFG", "IFGE", "IFL", "IFLE", "IFNE", "IFNEQ"});
}

// A line that opens, splits or closes an IFxx or EXEC block in the plug-in's reading.
bool TouchesBlocks(std::string_view text) {
    const Span trimmed = Trim({0, text});
    if (StartsLikeIf(trimmed.text)) return true;
    const std::string_view word = trimmed.text.substr(0, std::min(trimmed.text.find(' '), trimmed.text.find('\t')));
    return InList(word, {"ELSE", "ENDIF", "EXEC", "ENDE"});
}

// "0x1F", "-0x1F", "1Fh": a number written with a prefix or suffix the plug-in does not
// read, and the digits it would want.
std::optional<std::string_view> PrefixedNumberDigits(std::string_view word) {
    if (!word.empty() && word[0] == '-') word.remove_prefix(1);
    if (word.size() > 2 && word[0] == '0' && Upper(word[1]) == 'X') {
        const std::string_view digits = word.substr(2);
        if (std::all_of(digits.begin(), digits.end(), IsHexDigit)) return digits;
    }
    if (word.size() >= 2 && IsDigit(word[0]) && Upper(word.back()) == 'H') {
        const std::string_view digits = word.substr(0, word.size() - 1);
        if (std::all_of(digits.begin(), digits.end(), IsHexDigit)) return digits;
    }
    return std::nullopt;
}

// The length of a typographic double quote starting at `at`, or 0.
std::size_t TypographicQuoteAt(std::string_view text, std::size_t at, ScriptBytes bytes) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (bytes == ScriptBytes::kWindowsSingleByte) return c == 0x93 || c == 0x94 ? 1 : 0;
    if (bytes == ScriptBytes::kUtf8 && c == 0xE2 && at + 2 < text.size() &&
        static_cast<unsigned char>(text[at + 1]) == 0x80) {
        const unsigned char last = static_cast<unsigned char>(text[at + 2]);
        return last == 0x9C || last == 0x9D || last == 0x9E ? 3 : 0;
    }
    return 0;
}

// A name of an included file as the check compares it: Windows paths ignore case and
// take either slash.
std::string IncludeKey(const std::string &path) {
    std::string key = path;
    for (char &c : key) c = c == '/' ? '\\' : static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return key;
}

class Checker {
public:
    Checker(const CommandSet &commands, IncludeReader *reader, ScriptBytes bytes)
        : commands_(commands), reader_(reader), bytes_(bytes) {}

    // `makeReader` gives a new reader at the text's start for each pass.
    template <typename MakeReader>
    ScriptCheck Run(MakeReader makeReader, const std::string &scriptPath) {
        {
            LineReader lines = makeReader();
            Gatherer gatherer(*this, std::string(), true);
            ReadScript(lines, gatherer);
            if (lines.Failed()) return Incomplete();
            if (!scriptPath.empty()) including_.push_back(IncludeKey(scriptPath));
            FollowIncludes(gatherer.includes, scriptPath, nullptr);
        }
        LineReader lines = makeReader();
        Judge judge{*this};
        ReadScript(lines, judge);
        if (lines.Failed()) return Incomplete();
        judge.Finish();
        std::stable_sort(result_.problems.begin(), result_.problems.end(),
                         [](const ScriptProblem &a, const ScriptProblem &b) { return a.start < b.start; });
        result_.labels.insert(labelPlaces_.begin(), labelPlaces_.end());
        return std::move(result_);
    }

private:
    // An #inc directive of the checked script or an include, kept past its line.
    struct Include {
        std::string name;
        std::size_t start = 0, length = 0, line = 0, column = 0;
    };

    // The first pass, over the checked script or an include: labels, declarations and
    // includes; in the checked script also bad includes and labels defined twice.
    struct Gatherer {
        Checker &checker;
        std::string file;  // empty for the checked script
        bool checked;
        std::vector<Include> includes;  // in order
        std::unordered_map<std::string, std::size_t> firstLine;  // of each label of the checked script

        Gatherer(Checker &owner, std::string path, bool isChecked)
            : checker(owner), file(std::move(path)), checked(isChecked) {}

        void OnBadInclude(std::size_t start, std::size_t line) {
            if (checked) checker.Report(start, 4, line, ProblemKind::kBadInclude);
        }
        void OnInclude(const IncludeLine &include) {
            includes.push_back({std::string(include.name), include.start, include.length, include.line,
                                include.column});
        }
        void OnUnjudged(std::string_view raw) { NoteBlockLine(raw); }
        void OnEnd(bool) {}
        // An included file's lines go where its #inc stands: one that opens or closes
        // blocks makes the pairing of the checked script's blocks uncertain.
        void NoteBlockLine(std::string_view text) {
            if (!checked && TouchesBlocks(text)) checker.includesTouchBlocks_ = true;
        }
        void OnLabel(const LabelLine &label) {
            NoteBlockLine(label.name.text);
            checker.AddLabel(label, file);
            if (!checked) return;
            const auto [first, added] = firstLine.emplace(std::string(label.name.text), label.line);
            if (added || !label.judged) return;
            checker.Report(label.lineStart + label.name.offset, label.name.text.size(), label.line,
                           ProblemKind::kDuplicateLabel, first->second);
        }
        void OnStatement(const Statement &statement) {
            NoteBlockLine(statement.name.text);
            checker.CollectDeclarations(statement);
        }
    };

    // A line that the plug-in's search for ELSE and ENDIF counts as an IF.
    struct OpenIf {
        bool command;  // an IFxx (else a label or unknown word starting with "if")
        std::size_t start, length, line;
        std::size_t tookEndif = 0;  // 1 + the line of an "if" line that took this one's ENDIF
    };

    // The second pass, over the checked script: judges its command lines and pairs its
    // IFxx/ELSE/ENDIF and EXEC/ENDE as the plug-in does.
    struct Judge {
        Checker &checker;
        std::vector<OpenIf> openIfs{};
        std::vector<ScriptProblem> pairing{};  // kept until the whole text is seen
        bool pairingUncertain = false;
        std::size_t execStart = 0, execLine = 0;

        void OnBadInclude(std::size_t, std::size_t) {}
        void OnInclude(const IncludeLine &) {}
        void OnUnjudged(std::string_view raw) {
            // A comment or assembler line the plug-in may still see when it searches.
            if (TouchesBlocks(raw)) pairingUncertain = true;
        }
        void OnLabel(const LabelLine &label) {
            if (StartsLikeIf(label.name.text))
                openIfs.push_back({false, label.lineStart + label.name.offset, label.name.text.size(), label.line});
        }
        void OnStatement(const Statement &statement) {
            Pair(statement);
            if (statement.judged) checker.CheckStatement(statement);
        }
        void OnEnd(bool inExec) {
            if (inExec) pairing.push_back(checker.MakeProblem(execStart, 4, execLine, ProblemKind::kExecWithoutEnde));
        }

        void Pair(const Statement &statement) {
            const std::string_view name = statement.name.text;
            const std::size_t at = statement.lineStart + statement.name.offset;
            const bool alone = statement.operands.text.empty();
            if (StartsLikeIf(name)) {
                openIfs.push_back({IsIfCommand(name), at, name.size(), statement.line});
            } else if (EqualsNoCase(name, "ELSE") || EqualsNoCase(name, "ENDIF")) {
                if (!alone) pairingUncertain = true;
                const bool endif = EqualsNoCase(name, "ENDIF");
                if (openIfs.empty()) {
                    pairing.push_back(checker.MakeProblem(at, name.size(), statement.line, ProblemKind::kNoOpeningIf));
                } else if (endif) {
                    const OpenIf closed = openIfs.back();
                    openIfs.pop_back();
                    if (!closed.command && !openIfs.empty() && openIfs.back().tookEndif == 0)
                        openIfs.back().tookEndif = closed.line + 1;
                }
            } else if (EqualsNoCase(name, "EXEC") && alone) {
                execStart = at;
                execLine = statement.line;
            } else if (EqualsNoCase(name, "ENDE")) {
                if (!alone) pairingUncertain = true;
                pairing.push_back(checker.MakeProblem(at, name.size(), statement.line, ProblemKind::kEndeWithoutExec));
            }
        }

        // Reports what did not pair, unless lines the check cannot place (comments or
        // assembler that look like block lines, includes that hold such lines, includes
        // that could not be read) may change the plug-in's pairing.
        void Finish() {
            for (const OpenIf &open : openIfs)
                if (open.command)
                    pairing.push_back(checker.MakeProblem(open.start, open.length, open.line,
                                                          ProblemKind::kIfWithoutEndif, open.tookEndif));
            if (pairingUncertain || checker.includesTouchBlocks_ || !checker.result_.includesRead) return;
            for (ScriptProblem &problem : pairing) checker.result_.problems.push_back(std::move(problem));
        }
    };

    ScriptCheck Incomplete() {
        ScriptCheck incomplete;
        incomplete.complete = false;
        return incomplete;
    }

    void AddLabel(const LabelLine &label, const std::string &file) {
        const Span &name = label.name;
        const LabelPlace place{file, label.lineStart + name.offset, label.line};
        labelPlaces_.emplace(std::string(name.text), place);
        // A blank before the colon belongs to the name; accept the trimmed spelling too
        // rather than guess how a jump to it was meant.
        const std::string_view trimmed = Trim({0, name.text}).text;
        if (trimmed.size() != name.text.size()) labelPlaces_.emplace(std::string(trimmed), place);
    }

    // The names a line declares: VAR, and the implicit declarations of MOV, TICK and POP.
    void CollectDeclarations(const Statement &statement) {
        const std::string_view name = statement.name.text;
        const bool isVar = EqualsNoCase(name, "VAR");
        if (isVar) declared_.emplace(statement.operands.text);
        if (!isVar && !InList(name, {"MOV", "TICK", "POP"})) return;
        for (const Span &operand : SplitOperands(statement.operands)) {
            declared_.emplace(operand.text);
            if (!isVar) break;
        }
    }

    // Reads each included file once, however often and however deep it is included.
    // An #inc naming a file that is being included (the checked script or one of the
    // includes that led here) closes a cycle the plug-in would follow without end.
    // `entry` is the checked script's #inc that led to `includingPath` (null while
    // following the checked script's own includes); problems found deeper are
    // underlined there and carry their real place.
    void FollowIncludes(const std::vector<Include> &includes, const std::string &includingPath, const Include *entry) {
        for (const Include &include : includes) {
            const Include &underline = entry ? *entry : include;
            const std::string path = ResolveIncludePath(includingPath, include.name);
            const bool relativeWithoutFolder = include.name.find('\\') == kNone && includingPath.empty();
            if (!reader_ || relativeWithoutFolder) {
                result_.includesRead = false;
                continue;
            }
            const std::string key = IncludeKey(path);
            if (std::find(including_.begin(), including_.end(), key) != including_.end()) {
                ReportInclude(underline, include, entry ? includingPath : std::string(), path,
                              ProblemKind::kIncludeCycle);
                continue;
            }
            if (!read_.insert(key).second) continue;
            std::string bytes;
            if (!reader_->Read(path, bytes)) {
                result_.includesRead = false;
                ReportInclude(underline, include, entry ? includingPath : std::string(), path,
                              ProblemKind::kIncludeNotFound);
                continue;
            }
            std::vector<Include> nested;
            {
                LineReader lines(bytes);
                Gatherer included(*this, path, false);
                ReadScript(lines, included);
                nested = std::move(included.includes);
            }
            bytes.clear();
            bytes.shrink_to_fit();
            including_.push_back(key);
            FollowIncludes(nested, path, &underline);
            including_.pop_back();
        }
    }

    void ReportInclude(const Include &underline, const Include &include, const std::string &placeFile,
                       const std::string &path, ProblemKind kind) {
        ScriptProblem problem = MakeProblem(underline.start, underline.length, underline.line, kind);
        problem.path = path;
        if (!placeFile.empty()) {
            problem.placeFile = placeFile;
            problem.placeLine = include.line;
            problem.placeColumn = include.column;
        }
        result_.problems.push_back(std::move(problem));
    }

    ScriptProblem MakeProblem(std::size_t start, std::size_t length, std::size_t line, ProblemKind kind,
                              std::size_t firstLine = 0) const {
        ScriptProblem problem;
        problem.start = start;
        problem.length = std::max<std::size_t>(length, 1);
        problem.line = line;
        problem.kind = kind;
        problem.firstLine = firstLine;
        return problem;
    }

    void Report(std::size_t start, std::size_t length, std::size_t line, ProblemKind kind, std::size_t firstLine = 0) {
        result_.problems.push_back(MakeProblem(start, length, line, kind, firstLine));
    }

    bool LabelKnown(std::string_view name) const { return labelPlaces_.count(std::string(name)) != 0; }
    bool Declared(std::string_view name) const { return declared_.count(std::string(name)) != 0; }

    void CheckStatement(const Statement &statement) {
        const std::string_view name = statement.name.text;
        const std::size_t at = statement.lineStart + statement.name.offset;
        if (!commands_.Contains(name)) {
            const std::size_t colon = name.find(':');
            if (colon != kNone && colon > 0)
                Report(at, colon + 1, statement.line, ProblemKind::kLabelWithCommand);
            else if (name.substr(0, kByteOrderMark.size()) == kByteOrderMark)
                Report(at, kByteOrderMark.size(), statement.line, ProblemKind::kUnknownCommand);
            else
                Report(at, name.size(), statement.line, ProblemKind::kUnknownCommand);
            return;
        }
        if (!statement.commentInside && !CheckOperandText(statement)) return;
        if (!result_.includesRead || EqualsNoCase(name, "VAR")) return;
        const std::vector<Span> operands = SplitOperands(statement.operands);
        const std::size_t labelIndex = TakesLabelFirst(name) ? 0 : IsBpGoto(name) ? 1 : kNone;
        const bool constants = TakesConstantWords(name);
        const bool declares = InList(name, {"MOV", "TICK", "POP"});
        for (std::size_t i = 0; i < operands.size(); ++i) {
            const Span &operand = operands[i];
            if (i == labelIndex) {
                CheckLabelOperand(statement, operand);
                continue;
            }
            if (i == 0 && declares && operand.text.substr(0, 1) != "[") continue;  // names the variable it declares
            if (IsTextOperand(name, i)) continue;
            CheckWords(statement, operand, constants);
        }
    }

    // The checks on a command's operand text that need no declarations: an unclosed
    // string, typographic quotes, the operand count, odd byte strings and 0x or h
    // numbers. False when the line holds an unclosed string or a typographic quote
    // (nothing else of it is judged then).
    bool CheckOperandText(const Statement &statement) {
        const std::string_view name = statement.name.text;
        const Span &operands = statement.operands;
        const std::string_view text = operands.text;
        const std::size_t base = statement.lineStart + operands.offset;
        bool quoted = false, typographic = false;
        std::size_t open = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '"') {
                quoted = !quoted;
                open = i;
            } else if (!quoted) {
                const std::size_t quote = TypographicQuoteAt(text, i, bytes_);
                if (quote > 0) {
                    Report(base + i, quote, statement.line, ProblemKind::kTypographicQuote);
                    typographic = true;
                    i += quote - 1;
                }
            }
        }
        if (quoted) Report(base + open, text.size() - open, statement.line, ProblemKind::kUnclosedString);
        if (quoted || typographic) return false;  // its operands are not what the author meant
        const std::vector<Span> parts = SplitOperands(operands);
        const OperandCounts counts = OperandCountsOf(name);
        const bool emptyPart = std::any_of(parts.begin(), parts.end(), [](const Span &part) { return part.text.empty(); });
        if (counts != 0 && !emptyPart && !CountAllowed(counts, parts.size())) {
            const std::size_t at = statement.lineStart + statement.name.offset;
            Report(at, operands.text.empty() ? name.size() : operands.offset + text.size() - statement.name.offset,
                   statement.line, ProblemKind::kOperandCount);
        }
        const std::size_t labelIndex = TakesLabelFirst(name) ? 0 : IsBpGoto(name) ? 1 : kNone;
        for (std::size_t index = 0; index < parts.size(); ++index)
            if (index != labelIndex && !IsTextOperand(name, index)) CheckNumbersAndBytes(statement, parts[index]);
        return true;
    }

    // Odd hex byte strings and numbers with 0x or h in one operand, outside strings.
    void CheckNumbersAndBytes(const Statement &statement, const Span &operand) {
        const std::string_view text = operand.text;
        const std::size_t base = statement.lineStart + operand.offset;
        std::size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '"' || c == '#') {
                const std::size_t end = text.find(c, i + 1);
                if (end == kNone) return;
                const std::string_view digits = text.substr(i + 1, end - i - 1);
                const bool bytes = std::all_of(digits.begin(), digits.end(), [](char d) { return IsHexDigit(d) || d == '?'; });
                if (c == '#' && bytes && digits.size() % 2 == 1)
                    Report(base + i, end + 1 - i, statement.line, ProblemKind::kOddHexString);
                i = end + 1;
                continue;
            }
            if (IsSeparator(c) && c != '-') {
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < text.size() && !IsSeparator(text[end]) && text[end] != '"' && text[end] != '#') ++end;
            const std::string_view word = text.substr(i, end - i);
            if (PrefixedNumberDigits(word) && !Declared(word) && !LabelKnown(word))
                Report(base + i, word.size(), statement.line, ProblemKind::kPrefixedNumber);
            i = end;
        }
    }

    // A label operand may also be a quoted string or a variable holding the name.
    void CheckLabelOperand(const Statement &statement, const Span &operand) {
        const std::string_view label = operand.text;
        const std::size_t start = statement.lineStart + operand.offset;
        if (!label.empty() && LabelKnown(label)) result_.labelLinks.emplace_back(start, label.size());
        if (label.empty() || label[0] == '"' || label[0] == '$' || LabelKnown(label) || Declared(label)) return;
        Report(start, label.size(), statement.line, ProblemKind::kUndefinedLabel);
    }

    // Reports the words of an operand that can only be variables and are never declared.
    void CheckWords(const Statement &statement, const Span &operand, bool constants) {
        const std::string_view text = operand.text;
        std::size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '"' || c == '#') {  // string or hex byte string: skip to its end
                const std::size_t end = text.find(c, i + 1);
                i = end == kNone ? text.size() : end + 1;
                continue;
            }
            if (IsSeparator(c)) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < text.size() && !IsSeparator(text[end]) && text[end] != '"' && text[end] != '#') ++end;
            const std::string_view word = text.substr(i, end - i);
            if (OnlyAVariable(word, constants) && !Declared(word) && !PrefixedNumberDigits(word))
                Report(statement.lineStart + operand.offset + i, word.size(), statement.line,
                       ProblemKind::kUndeclaredVariable);
            i = end;
        }
    }

    bool OnlyAVariable(std::string_view word, bool constants) const {
        if (word[0] == '$' || word[0] == '!' || word[0] == '{') return false;
        if (IsRegister(word) || IsNumber(word) || LabelKnown(word)) return false;
        if (constants && IsConstantWord(word)) return false;
        return true;
    }

    const CommandSet &commands_;
    IncludeReader *reader_;
    ScriptBytes bytes_;
    ScriptCheck result_;
    std::vector<std::string> including_;     // keys of the files being included, outermost first
    std::unordered_set<std::string> read_;   // keys of the included files read so far
    bool includesTouchBlocks_ = false;       // an included file opens or closes blocks
    std::unordered_map<std::string, LabelPlace> labelPlaces_;
    std::unordered_set<std::string> declared_;
};

}  // namespace

ScriptBytes ScriptBytesFor(EncodingId encoding) {
    switch (encoding) {
    case EncodingId::kUtf8:
    case EncodingId::kUtf8Bom: return ScriptBytes::kUtf8;
    case EncodingId::kWindows1250: case EncodingId::kWindows1251: case EncodingId::kWindows1252:
    case EncodingId::kWindows1253: case EncodingId::kWindows1254: case EncodingId::kWindows1255:
    case EncodingId::kWindows1256: case EncodingId::kWindows1257: case EncodingId::kWindows1258:
    case EncodingId::kWindows874: return ScriptBytes::kWindowsSingleByte;
    default: return ScriptBytes::kUnknown;
    }
}

CommandSet::CommandSet(std::string_view keywordList) {
    std::size_t start = 0;
    while (start < keywordList.size()) {
        std::size_t end = keywordList.find(' ', start);
        if (end == kNone) end = keywordList.size();
        const std::string_view item = keywordList.substr(start, end - start);
        if (!item.empty() && item[0] != '#' && item[0] != '$') {
            std::string name(item);
            for (char &c : name) c = Upper(c);
            names_.push_back(std::move(name));
        }
        start = end + 1;
    }
    std::sort(names_.begin(), names_.end());
    names_.erase(std::unique(names_.begin(), names_.end()), names_.end());
}

bool CommandSet::Contains(std::string_view name) const {
    std::array<char, 32> upper{};
    if (name.empty() || name.size() > upper.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) upper[i] = Upper(name[i]);
    return std::binary_search(names_.begin(), names_.end(), std::string_view(upper.data(), name.size()),
                              [](std::string_view a, std::string_view b) { return a < b; });
}

std::string ResolveIncludePath(const std::string &includingScript, const std::string &name) {
    if (name.find('\\') != std::string::npos) return name;
    const std::size_t slash = includingScript.find_last_of("\\/");
    if (slash == std::string::npos) return name;
    return includingScript.substr(0, slash + 1) + name;
}

std::vector<std::string> IncludedFiles(std::string_view text, const std::string &scriptPath) {
    std::vector<std::string> files;
    for (std::size_t lineStart = 0; lineStart <= text.size();) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == kNone) lineEnd = text.size();
        const std::string_view raw = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        const std::size_t inc = FindNoCase(raw, "#inc");
        const std::size_t open = inc == kNone ? kNone : raw.find('"', inc);
        const std::size_t close = open == kNone ? kNone : raw.find('"', open + 1);
        if (close != kNone && close > open + 1)
            files.push_back(ResolveIncludePath(scriptPath, std::string(raw.substr(open + 1, close - open - 1))));
    }
    return files;
}

ScriptCheck CheckScript(std::string_view text, const std::string &scriptPath, const CommandSet &commands,
                        IncludeReader *reader, ScriptBytes bytes) {
    return Checker(commands, reader, bytes).Run([text] { return LineReader(text); }, scriptPath);
}

ScriptCheck CheckScript(TextSource &source, const std::string &scriptPath, const CommandSet &commands,
                        IncludeReader *reader, ScriptBytes bytes) {
    return Checker(commands, reader, bytes).Run([&source] { return LineReader(source); }, scriptPath);
}

namespace {

// " (#inc in FILE, line N)" for a problem that lies in an included file.
std::string PlaceOf(const ScriptProblem &problem) {
    if (problem.placeFile.empty()) return std::string();
    return text::kProblemPlaceOpen + problem.placeFile + text::kProblemPlaceLine +
           std::to_string(problem.placeLine + 1) + ")";
}

std::string OperandCountMessage(std::string_view underlined) {
    const std::size_t blank = std::min(underlined.find(' '), underlined.find('\t'));
    const std::string_view name = underlined.substr(0, blank);
    const std::size_t given =
        blank == kNone ? 0 : SplitOperands(Trim({0, underlined.substr(blank)})).size();
    const OperandCounts counts = OperandCountsOf(name);
    std::string upper(name);
    for (char &c : upper) c = Upper(c);
    return text::kProblemOperandCount + upper + text::kProblemOperandCountTakes + DescribeCounts(counts) +
           (counts == 2u ? text::kProblemOperand : text::kProblemOperands) + std::to_string(given);
}

}  // namespace

std::string ProblemMessage(const ScriptProblem &problem, std::string_view underlined) {
    const std::string name(underlined);
    const std::size_t firstLine = problem.firstLine;
    switch (problem.kind) {
    case ProblemKind::kUnknownCommand:
        return underlined == kByteOrderMark ? text::kProblemByteOrderMark : text::kProblemUnknownCommand + name;
    case ProblemKind::kUndefinedLabel: return text::kProblemUndefinedLabel + name;
    case ProblemKind::kDuplicateLabel:
        return text::kProblemDuplicateLabel + std::to_string(firstLine + 1) + ": " + name;
    case ProblemKind::kLabelWithCommand: return text::kProblemLabelWithCommand + name;
    case ProblemKind::kUndeclaredVariable: return text::kProblemUndeclared + name;
    case ProblemKind::kBadInclude: return text::kProblemBadInclude;
    case ProblemKind::kOperandCount: return OperandCountMessage(underlined);
    case ProblemKind::kIfWithoutEndif:
        return text::kProblemIfWithoutEndif + name +
               (firstLine == 0 ? std::string()
                               : text::kProblemEndifTaken + std::to_string(firstLine) + text::kProblemEndifTakenEnd);
    case ProblemKind::kNoOpeningIf: return text::kProblemNoOpeningIf + name;
    case ProblemKind::kExecWithoutEnde: return text::kProblemExecWithoutEnde;
    case ProblemKind::kEndeWithoutExec: return text::kProblemEndeWithoutExec;
    case ProblemKind::kIncludeNotFound: return text::kProblemIncludeNotFound + problem.path + PlaceOf(problem);
    case ProblemKind::kIncludeCycle: return text::kProblemIncludeCycle + problem.path + PlaceOf(problem);
    case ProblemKind::kOddHexString: return text::kProblemOddHexString + name;
    case ProblemKind::kUnclosedString: return text::kProblemUnclosedString;
    case ProblemKind::kTypographicQuote: return text::kProblemTypographicQuote;
    case ProblemKind::kPrefixedNumber: {
        const std::string digits(PrefixedNumberDigits(underlined).value_or(underlined));
        return text::kProblemPrefixedNumber + digits + "): " + name;
    }
    }
    return name;
}

std::optional<std::string> LabelOperandAt(std::string_view text, std::size_t position) {
    if (position > text.size()) return std::nullopt;
    const std::size_t lineStart = position == 0 ? 0 : text.rfind('\n', position - 1) + 1;
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == kNone) lineEnd = text.size();
    const std::string_view raw = text.substr(lineStart, lineEnd - lineStart);
    bool inBlock = false;
    const CodeLine code = RemoveComments(raw, inBlock);
    if (code.comment) return std::nullopt;
    const Span line = TrimCode(code);
    // The name ends at the first blank of the code (a removed comment counts as blanks).
    std::size_t nameEnd = kNone;
    for (std::size_t i = 0; i < line.text.size() && nameEnd == kNone; ++i) {
        const char c = code.At(line.offset + i);
        if (c == ' ' || c == '\t') nameEnd = i;
    }
    if (nameEnd == kNone) return std::nullopt;
    const std::string_view name = line.text.substr(0, nameEnd);
    const std::size_t labelIndex = TakesLabelFirst(name) ? 0 : IsBpGoto(name) ? 1 : kNone;
    if (labelIndex == kNone) return std::nullopt;
    const Span operands = Trim({line.offset + nameEnd, raw.substr(line.offset + nameEnd, line.text.size() - nameEnd)});
    const std::vector<Span> parts = SplitOperands(operands);
    if (labelIndex >= parts.size()) return std::nullopt;
    const Span &label = parts[labelIndex];
    const std::size_t column = position - lineStart;
    const std::size_t from = label.offset;
    if (column < from || column > from + label.text.size() || label.text.empty() || label.text[0] == '"')
        return std::nullopt;
    return std::string(label.text);
}

}  // namespace quillet
