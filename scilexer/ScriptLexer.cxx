// The script language lexer, lexer number 98 of SciLexer.dll.
//
// Styles: 1 `;` and `//` comments, 14 `/* */` block comments, 4 strings, 2 numbers,
// 5 keywords (word list 0, lower case) and the `#inc`/`#log` directives, 9 registers
// and flags (word list 1), 7 byte strings `#..#` and the assembler lines of an
// EXEC..ENDE block, 17 label definitions, 18 variables, 6 operators, 0 the rest.
//
// Styling is restartable at any line start: what a line needs from the lines before
// it (an open block comment, being inside an EXEC block) is kept in the line state of
// the previous line. Whether a line is a label, and whether it opens or closes an
// EXEC block, is decided by a look-ahead over the line before it is styled, because
// a label is only known by the colon at its end.
//
// Fold levels: each label's section, IFxx..ELSE..ENDIF, EXEC..ENDE and block comments
// of several lines (FoldLine). What a line opens or closes is noted in its line state
// while it is styled, so folding reads no text. Folding is on unless the property
// "fold" is set to 0 (which the editor never does; its benchmark does, to compare).
#include <cassert>
#include <cstddef>
#include <string>
#include <string_view>

#include "ILexer.h"
#include "Scintilla.h"

#include "WordList.h"
#include "LexAccessor.h"
#include "Accessor.h"
#include "StyleContext.h"
#include "LexerModule.h"
#include "DefaultLexer.h"

#include "scilexer/script_lexer.h"

using namespace Scintilla;
using namespace Lexilla;

namespace {

// The token styles, by their short names in this file.
enum Style {
    kDefault = quillet::kStyleDefault,
    kComment = quillet::kStyleComment,
    kNumber = quillet::kStyleNumber,
    kString = quillet::kStyleString,
    kKeyword = quillet::kStyleKeyword,
    kOperator = quillet::kStyleOperator,
    kOpcode = quillet::kStyleOpcode,
    kRegister = quillet::kStyleRegister,
    kBlockComment = quillet::kStyleComment2,
    kLabel = quillet::kStyleLabel,
    kVariable = quillet::kStyleVariable,
};

// Line state bits: what holds at the end of a line.
constexpr int kOpenBlockComment = 1;  // a `/*` is not yet closed
constexpr int kInsideExec = 2;        // the next line belongs to an EXEC block
// ... and what the folding needs to know of the line, found while it is styled.
constexpr int kLabelLine = 4;   // the line defines a label: a new section starts
constexpr int kInSection = 8;   // a label stands on this line or above it
constexpr int kOpensIf = 16;    // the line's command is one of the IFxx
constexpr int kElseLine = 32;   // ... is ELSE
constexpr int kEndIfLine = 64;  // ... is ENDIF

// Longest word looked up in the word lists; longer words are variables.
constexpr size_t kMaxWord = 64;

const LexicalClass kLexicalClasses[] = {
    {0, "SCE_SCRIPT_DEFAULT", "default", "White space and anything unclassified"},
    {1, "SCE_SCRIPT_COMMENT", "comment line", "Comment: ; or // to the end of the line"},
    {2, "SCE_SCRIPT_NUMBER", "literal numeric", "Number"},
    {3, "SCE_SCRIPT_UNUSED3", "", ""},
    {4, "SCE_SCRIPT_STRING", "literal string", "String"},
    {5, "SCE_SCRIPT_KEYWORD", "keyword", "Command or directive"},
    {6, "SCE_SCRIPT_OPERATOR", "operator", "Operator and punctuation"},
    {7, "SCE_SCRIPT_OPCODE", "literal", "Byte string or assembler line"},
    {8, "SCE_SCRIPT_UNUSED8", "", ""},
    {9, "SCE_SCRIPT_REGISTER", "identifier", "Register or flag"},
    {10, "SCE_SCRIPT_UNUSED10", "", ""},
    {11, "SCE_SCRIPT_UNUSED11", "", ""},
    {12, "SCE_SCRIPT_UNUSED12", "", ""},
    {13, "SCE_SCRIPT_UNUSED13", "", ""},
    {14, "SCE_SCRIPT_COMMENTBLOCK", "comment", "Block comment"},
    {15, "SCE_SCRIPT_UNUSED15", "", ""},
    {16, "SCE_SCRIPT_UNUSED16", "", ""},
    {17, "SCE_SCRIPT_LABEL", "label", "Label definition"},
    {18, "SCE_SCRIPT_VARIABLE", "identifier", "Variable or other name"},
};

// The commands that open a conditional block, lower case.
constexpr std::string_view kIfCommands[] = {"ifa", "ifae", "ifb", "ifbe", "ife",  "ifeq",
                                            "ifg", "ifge", "ifl", "ifle", "ifne", "ifneq"};

const char *const kWordListDescriptions = "Keywords\nRegisters and flags\n";

constexpr bool IsBlank(int ch) noexcept {
    return ch == ' ' || ch == '\t' || ch == '\f' || ch == '\v';
}

constexpr bool IsDigit(int ch) noexcept { return ch >= '0' && ch <= '9'; }

constexpr bool IsHexDigit(int ch) noexcept {
    return IsDigit(ch) || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

constexpr bool IsLetter(int ch) noexcept {
    // Bytes (or characters) beyond ASCII count as letters: names such as
    // tamaño_real occur in real scripts.
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch >= 0x80;
}

constexpr bool IsWordStart(int ch) noexcept {
    return IsLetter(ch) || ch == '_' || ch == '$' || ch == '@';
}

constexpr bool IsWordChar(int ch) noexcept { return IsLetter(ch) || IsDigit(ch) || ch == '_'; }

// Printable ASCII punctuation; everything of it that starts no other token is an operator.
constexpr bool IsPunctuation(int ch) noexcept {
    return (ch >= '!' && ch <= '/') || (ch >= ':' && ch <= '@') || (ch >= '[' && ch <= '`') ||
           (ch >= '{' && ch <= '~');
}

constexpr int LowerAscii(int ch) noexcept { return (ch >= 'A' && ch <= 'Z') ? ch + ('a' - 'A') : ch; }

// The document's bytes seen through the lexer's accessor, as unsigned values.
class Bytes {
public:
    explicit Bytes(LexAccessor &styler) : styler_(styler) {}
    int operator()(Sci_Position pos) const {
        return static_cast<unsigned char>(styler_.SafeGetCharAt(pos, '\0'));
    }

private:
    LexAccessor &styler_;
};

// What the look-ahead found out about one line.
struct LinePlan {
    bool assembler = false;        // an assembler line inside an EXEC block
    bool execAfter = false;        // the next line is inside an EXEC block
    Sci_Position first = -1;       // first character of code (not blank, not comment)
    Sci_Position labelStart = -1;  // label definition, both ends inclusive
    Sci_Position labelEnd = -1;
    int structure = 0;             // the folding's line state bits
};

// True when the word at pos is `word` (lower case) in any letter case, not followed
// by another word character.
bool WordAtIs(const Bytes &at, Sci_Position pos, std::string_view word) {
    for (size_t i = 0; i < word.size(); i++) {
        if (LowerAscii(at(pos + static_cast<Sci_Position>(i))) != word[i])
            return false;
    }
    return !IsWordChar(at(pos + static_cast<Sci_Position>(word.size())));
}

// A UTF-8 byte order mark at the start of the text is no part of the script: the
// position after it when there is one, else pos.
Sci_Position AfterByteOrderMark(const Bytes &at, Sci_Position pos) {
    if (pos == 0 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF)
        return 3;
    return pos;
}

// The folding's bits of a planned line: a label line, or the block command it starts
// with (EXEC and ENDE show in the kInsideExec bits already).
int StructureOf(const Bytes &at, const LinePlan &plan, int stateBefore) {
    const int bits = stateBefore & kInSection;
    if (plan.labelStart >= 0)
        return bits | kLabelLine | kInSection;
    if (plan.assembler || plan.first < 0)
        return bits;
    const int ch = LowerAscii(at(plan.first));
    if (ch == 'i' && LowerAscii(at(plan.first + 1)) == 'f') {
        for (const std::string_view command : kIfCommands) {
            if (WordAtIs(at, plan.first, command))
                return bits | kOpensIf;
        }
    } else if (ch == 'e') {
        if (WordAtIs(at, plan.first, "else"))
            return bits | kElseLine;
        if (WordAtIs(at, plan.first, "endif"))
            return bits | kEndIfLine;
    }
    return bits;
}

// Looks over one line [start, end) the way the styling loop will see it (comments,
// strings, block comments) to find its first and last code characters.
LinePlan PlanLine(const Bytes &at, Sci_Position start, Sci_Position end, int stateBefore) {
    bool inBlock = (stateBefore & kOpenBlockComment) != 0;
    Sci_Position first = -1;
    Sci_Position last = -1;
    Sci_Position pos = AfterByteOrderMark(at, start);
    while (pos < end) {
        const int ch = at(pos);
        if (inBlock) {
            if (ch == '*' && at(pos + 1) == '/') {
                inBlock = false;
                pos += 2;
            } else {
                pos++;
            }
            continue;
        }
        if (ch == ';' || (ch == '/' && at(pos + 1) == '/'))
            break;
        if (ch == '/' && at(pos + 1) == '*') {
            inBlock = true;
            pos += 2;
            continue;
        }
        if (ch == '"') {
            // Up to the closing quote, or the end of the line when there is none.
            if (first < 0)
                first = pos;
            last = pos;
            pos++;
            while (pos < end && at(pos) != '"') {
                if (!IsBlank(at(pos)))
                    last = pos;
                pos++;
            }
            if (pos < end)
                last = pos++;
            continue;
        }
        if (!IsBlank(ch)) {
            if (first < 0)
                first = pos;
            last = pos;
        }
        pos++;
    }

    LinePlan plan;
    plan.first = first;
    const bool isLabel = last >= 0 && at(last) == ':';
    if (stateBefore & kInsideExec) {
        const bool ende = first >= 0 && WordAtIs(at, first, "ende");
        plan.assembler = !ende;
        plan.execAfter = !ende;
    } else {
        plan.execAfter = !isLabel && first >= 0 && WordAtIs(at, first, "exec");
    }
    if (!plan.assembler && isLabel) {
        plan.labelStart = first;
        plan.labelEnd = last;
    }
    plan.structure = StructureOf(at, plan, stateBefore);
    return plan;
}

// End (exclusive) of a byte string `#...#` starting at pos, or -1 when the `#` opens
// none: only hex digits, `?` and blanks may stand before the closing `#` on the line.
Sci_Position ByteStringEnd(const Bytes &at, Sci_Position pos, Sci_Position lineEnd) {
    for (Sci_Position p = pos + 1; p < lineEnd; p++) {
        const int ch = at(p);
        if (ch == '#')
            return p + 1;
        if (!IsHexDigit(ch) && ch != '?' && !IsBlank(ch))
            return -1;
    }
    return -1;
}

// End (exclusive) of a string at pos: after its closing quote, or the line end.
Sci_Position StringEnd(const Bytes &at, Sci_Position pos, Sci_Position lineEnd) {
    for (Sci_Position p = pos + 1; p < lineEnd; p++) {
        if (at(p) == '"')
            return p + 1;
    }
    return lineEnd;
}

// End (exclusive) of `{name}` at pos inside an assembler line, or -1.
Sci_Position BracedNameEnd(const Bytes &at, Sci_Position pos, Sci_Position lineEnd) {
    Sci_Position p = pos + 1;
    if (p >= lineEnd || !IsWordStart(at(p)))
        return -1;
    while (p < lineEnd && IsWordChar(at(p)))
        p++;
    return (p < lineEnd && at(p) == '}') ? p + 1 : -1;
}

bool StartsComment(const Bytes &at, Sci_Position pos) {
    const int ch = at(pos);
    return ch == ';' || (ch == '/' && (at(pos + 1) == '/' || at(pos + 1) == '*'));
}

// End (exclusive) of one run of assembler text at pos: up to a blank, a comment or a
// `{name}` that is styled as a variable.
Sci_Position AssemblerRunEnd(const Bytes &at, Sci_Position pos, Sci_Position lineEnd) {
    Sci_Position p = pos + 1;
    while (p < lineEnd) {
        const int ch = at(p);
        if (IsBlank(ch) || StartsComment(at, p) || (ch == '{' && BracedNameEnd(at, p, lineEnd) > 0))
            break;
        p++;
    }
    return p;
}

// A number: hex digits (`0040FF`), or decimal digits with a dot and maybe a fraction
// (`10.`, `5.0`). Returns its end (exclusive) and whether it is well formed; a token
// that starts with a digit but is neither is left unstyled as a whole.
Sci_Position NumberEnd(const Bytes &at, Sci_Position pos, bool &valid) {
    bool allHex = true;
    bool allDecimal = true;
    Sci_Position p = pos;
    while (IsWordChar(at(p))) {
        allHex = allHex && IsHexDigit(at(p));
        allDecimal = allDecimal && IsDigit(at(p));
        p++;
    }
    if (at(p) != '.') {
        valid = allHex;
        return p;
    }
    p++;
    bool fraction = true;
    while (IsWordChar(at(p))) {
        fraction = fraction && IsDigit(at(p));
        p++;
    }
    valid = allDecimal && fraction;
    return p;
}

// The word at pos (its first character taken as it is, then word characters), in
// lower case when it is short enough to be looked up.
struct LoweredWord {
    LoweredWord(const Bytes &at, Sci_Position pos) {
        size_t n = 0;
        int ch = at(pos);
        end = pos;
        do {
            if (n < kMaxWord - 1)
                text[n] = static_cast<char>(LowerAscii(ch));
            n++;
            ch = at(++end);
        } while (IsWordChar(ch));
        fits = n < kMaxWord - 1;
        text[fits ? n : 0] = '\0';
    }
    char text[kMaxWord];
    Sci_Position end;  // exclusive
    bool fits;
};

// True when the character after the current one starts before `limit` and is still
// within the range being styled: stepping there stays inside a token or comment.
bool NextStartsBefore(const StyleContext &sc, Sci_Position limit) {
    return static_cast<Sci_Position>(sc.currentPos) + sc.width < limit && sc.More();
}

class ScriptLexer : public DefaultLexer {
public:
    ScriptLexer()
        : DefaultLexer("odbgscript", quillet::kScriptLexerNumber, kLexicalClasses,
                       sizeof(kLexicalClasses) / sizeof(kLexicalClasses[0])) {}

    const char *SCI_METHOD PropertyNames() override { return kFoldProperty; }
    int SCI_METHOD PropertyType(const char *name) override;
    const char *SCI_METHOD DescribeProperty(const char *name) override;
    Sci_Position SCI_METHOD PropertySet(const char *key, const char *val) override;
    const char *SCI_METHOD PropertyGet(const char *key) override;
    const char *SCI_METHOD DescribeWordListSets() override { return kWordListDescriptions; }
    Sci_Position SCI_METHOD WordListSet(int n, const char *wl) override;
    void SCI_METHOD Lex(Sci_PositionU startPos, Sci_Position length, int initStyle,
                        IDocument *pAccess) override;
    void SCI_METHOD Fold(Sci_PositionU startPos, Sci_Position length, int initStyle,
                         IDocument *pAccess) override;

private:
    // Style of a word that starts with a word character.
    int ClassifyWord(const LoweredWord &word) const;
    // Style of `!` and the word after it: a flag, or -1.
    int ClassifyFlag(const LoweredWord &word) const;

    static constexpr const char *kFoldProperty = "fold";

    WordList keywords_;
    WordList registers_;
    bool fold_ = true;
};

int SCI_METHOD ScriptLexer::PropertyType(const char *name) {
    return std::string_view(name ? name : "") == kFoldProperty ? SC_TYPE_BOOLEAN : -1;
}

const char *SCI_METHOD ScriptLexer::DescribeProperty(const char *name) {
    return std::string_view(name ? name : "") == kFoldProperty
               ? "Fold levels for label sections, IFxx, EXEC and block comments (0 leaves them alone)"
               : "";
}

// Only "fold" is known; switching it restyles from the start so the levels follow.
Sci_Position SCI_METHOD ScriptLexer::PropertySet(const char *key, const char *val) {
    if (!key || !val || std::string_view(key) != kFoldProperty)
        return -1;
    const bool fold = std::string_view(val) != "0";
    if (fold == fold_)
        return -1;
    fold_ = fold;
    return 0;
}

const char *SCI_METHOD ScriptLexer::PropertyGet(const char *key) {
    if (!key || std::string_view(key) != kFoldProperty)
        return "";
    return fold_ ? "1" : "0";
}

Sci_Position SCI_METHOD ScriptLexer::WordListSet(int n, const char *wl) {
    WordList *target = n == 0 ? &keywords_ : n == 1 ? &registers_ : nullptr;
    if (!target || !wl)
        return -1;
    // Words are matched in lower case whatever case the caller gives them in.
    std::string lowered(wl);
    for (char &c : lowered)
        c = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
    WordList fresh;
    fresh.Set(lowered.c_str());
    if (*target != fresh) {
        target->Set(lowered.c_str());
        return 0;
    }
    return -1;
}

int ScriptLexer::ClassifyWord(const LoweredWord &word) const {
    // Reserved variables ($RESULT and its relatives) are variables even when the
    // keyword list names them so that completion offers them.
    if (!word.fits || word.text[0] == '$')
        return kVariable;
    if (keywords_.InList(word.text))
        return kKeyword;
    if (registers_.InList(word.text))
        return kRegister;
    return kVariable;
}

int ScriptLexer::ClassifyFlag(const LoweredWord &word) const {
    return (word.fits && word.text[1] != '\0' && registers_.InList(word.text)) ? kRegister : -1;
}

void SCI_METHOD ScriptLexer::Lex(Sci_PositionU startPos, Sci_Position length, int,
                                 IDocument *pAccess) {
    LexAccessor styler(pAccess);
    const Bytes at(styler);

    // Always start at a line start, with what the line before left behind.
    const Sci_Position firstLine = styler.GetLine(static_cast<Sci_Position>(startPos));
    const Sci_PositionU lineStart = static_cast<Sci_PositionU>(styler.LineStart(firstLine));
    length += static_cast<Sci_Position>(startPos - lineStart);
    startPos = lineStart;
    int lineState = firstLine > 0 ? styler.GetLineState(firstLine - 1) : 0;

    StyleContext sc(startPos, static_cast<Sci_PositionU>(length),
                    (lineState & kOpenBlockComment) ? kBlockComment : kDefault, styler);
    LinePlan plan;
    Sci_Position tokenEnd = 0;  // end (exclusive) of a token whose extent was looked up
    bool labelString = false;   // inside a string that is part of a label definition

    for (; sc.More(); sc.Forward()) {
        const Sci_Position pos = static_cast<Sci_Position>(sc.currentPos);
        if (sc.atLineStart) {
            plan = PlanLine(at, pos, sc.lineEnd, lineState);
            tokenEnd = AfterByteOrderMark(at, pos);  // left default
        }

        // Everything but a block comment ends with its line; line ends are default.
        if (pos >= sc.lineEnd && sc.state != kBlockComment) {
            sc.SetState(kDefault);
            tokenEnd = 0;
        }

        switch (sc.state) {
        case kComment:
            break;
        case kBlockComment:
            while (!sc.Match('*', '/') && NextStartsBefore(sc, sc.lineEnd))
                sc.Forward();
            if (sc.Match('*', '/')) {
                sc.Forward();
                sc.ForwardSetState(kDefault);
            }
            break;
        case kLabel:
            if (labelString) {
                labelString = sc.ch != '"';
            } else if (pos > plan.labelEnd) {
                sc.SetState(kDefault);
            } else if (sc.Match('/', '*')) {
                sc.SetState(kBlockComment);
                sc.Forward();
            } else {
                labelString = sc.ch == '"';
            }
            break;
        default:  // a token whose end was looked up
            if (pos >= tokenEnd)
                sc.SetState(kDefault);
            break;
        }

        const Sci_Position here = static_cast<Sci_Position>(sc.currentPos);
        if (sc.state == kDefault && here >= tokenEnd && here < sc.lineEnd) {
            const int ch = sc.ch;
            if (ch == ';' || sc.Match('/', '/')) {
                sc.SetState(kComment);
            } else if (sc.Match('/', '*')) {
                sc.SetState(kBlockComment);
                sc.Forward();
            } else if (plan.assembler) {
                // x86 text between EXEC and ENDE; `{name}` puts a variable's value in.
                if (ch == '{' && (tokenEnd = BracedNameEnd(at, here, sc.lineEnd)) > 0) {
                    sc.SetState(kVariable);
                } else if (!IsBlank(ch)) {
                    tokenEnd = AssemblerRunEnd(at, here, sc.lineEnd);
                    sc.SetState(kOpcode);
                }
            } else if (here >= plan.labelStart && here <= plan.labelEnd) {
                sc.SetState(kLabel);
                labelString = ch == '"';
            } else if (ch == '"') {
                tokenEnd = StringEnd(at, here, sc.lineEnd);
                sc.SetState(kString);
            } else if (ch == '#') {
                tokenEnd = ByteStringEnd(at, here, sc.lineEnd);
                if (tokenEnd > 0) {
                    sc.SetState(kOpcode);
                } else if (here == plan.first &&
                           (WordAtIs(at, here + 1, "inc") || WordAtIs(at, here + 1, "log"))) {
                    tokenEnd = here + 4;
                    sc.SetState(kKeyword);
                } else {
                    tokenEnd = here + 1;
                    sc.SetState(kOperator);
                }
            } else if (IsDigit(ch)) {
                bool valid = false;
                tokenEnd = NumberEnd(at, here, valid);
                // A malformed number stays default as a whole, so its letters are no name.
                sc.SetState(valid ? kNumber : kDefault);
            } else if (IsWordStart(ch)) {
                const LoweredWord word(at, here);
                tokenEnd = word.end;
                sc.SetState(ClassifyWord(word));
            } else if (ch == '!') {
                const LoweredWord word(at, here);
                const int flag = ClassifyFlag(word);
                tokenEnd = flag >= 0 ? word.end : here + 1;
                sc.SetState(flag >= 0 ? flag : kOperator);
            } else if (IsPunctuation(ch)) {
                tokenEnd = here + 1;
                sc.SetState(kOperator);
            }

            // The inside of a token or line comment needs no look: step over it.
            const Sci_Position skipTo = sc.state == kComment ? sc.lineEnd : tokenEnd;
            while (NextStartsBefore(sc, skipTo))
                sc.Forward();
        }

        if (sc.atLineEnd) {
            lineState = (sc.state == kBlockComment ? kOpenBlockComment : 0) |
                        (plan.execAfter ? kInsideExec : 0) | plan.structure;
            styler.SetLineState(sc.currentLine, lineState);
        }
    }
    sc.Complete();
}

// One line's fold level and the level of the line after it (kept in the upper half
// of the line's level, so folding can restart at any line).
struct FoldStep {
    int level;
    int next;
};

// Each label's section is the outermost fold: a label line stands at the base level
// and what follows it one deeper. Inside, every IFxx, EXEC and block comment of several
// lines opens a fold that its ENDIF, ENDE or `*/` line still belongs to; an ELSE line
// stands at its IFxx's level and opens the fold of the other branch. A closing line
// without its opening one goes no shallower than its section.
FoldStep FoldLine(int stateBefore, int state, int levelNext) {
    const bool commentOpens = (state & kOpenBlockComment) && !(stateBefore & kOpenBlockComment);
    const bool commentCloses = !(state & kOpenBlockComment) && (stateBefore & kOpenBlockComment);
    if (state & kLabelLine) {
        const int next = SC_FOLDLEVELBASE + 1 + (commentOpens ? 1 : 0);
        return {SC_FOLDLEVELBASE | SC_FOLDLEVELHEADERFLAG, next};
    }
    const bool execOpens = (state & kInsideExec) && !(stateBefore & kInsideExec);
    const bool execCloses = !(state & kInsideExec) && (stateBefore & kInsideExec);
    const int floor = SC_FOLDLEVELBASE + ((stateBefore & kInSection) ? 1 : 0);
    const int opens = ((state & kOpensIf) ? 1 : 0) + (execOpens ? 1 : 0) + (commentOpens ? 1 : 0);
    const int closes = ((state & kEndIfLine) ? 1 : 0) + (execCloses ? 1 : 0) + (commentCloses ? 1 : 0);
    int level = levelNext;
    if ((state & kElseLine) && level > floor)
        level--;
    int next = levelNext + opens - closes;
    if (next < floor)
        next = floor;
    if (next > SC_FOLDLEVELNUMBERMASK)
        next = SC_FOLDLEVELNUMBERMASK;
    return {level | (next > level ? SC_FOLDLEVELHEADERFLAG : 0), next};
}

// Folding reads only the line states the styling left, so it costs one pass over the
// lines of the range.
void SCI_METHOD ScriptLexer::Fold(Sci_PositionU startPos, Sci_Position length, int,
                                  IDocument *pAccess) {
    if (length <= 0 || !fold_)
        return;
    LexAccessor styler(pAccess);
    const Sci_Position endPos = static_cast<Sci_Position>(startPos) + length;
    Sci_Position line = styler.GetLine(static_cast<Sci_Position>(startPos));
    const Sci_Position lastLine = styler.GetLine(endPos - 1);
    int levelNext = SC_FOLDLEVELBASE;
    int stateBefore = 0;
    if (line > 0) {
        levelNext = (styler.LevelAt(line - 1) >> 16) & SC_FOLDLEVELNUMBERMASK;
        if (levelNext < SC_FOLDLEVELBASE)
            levelNext = SC_FOLDLEVELBASE;
        stateBefore = styler.GetLineState(line - 1);
    }
    for (; line <= lastLine; line++) {
        const int state = styler.GetLineState(line);
        const FoldStep step = FoldLine(stateBefore, state, levelNext);
        styler.SetLevel(line, step.level | (step.next << 16));
        levelNext = step.next;
        stateBefore = state;
    }
    // The empty line after a final line end is never styled: it stays in the fold above.
    if (endPos >= styler.Length() && styler.GetLine(styler.Length()) > lastLine)
        styler.SetLevel(lastLine + 1, levelNext | (levelNext << 16));
}

}  // namespace

namespace quillet {
Scintilla::ILexer5 *CreateScriptLexer() { return new ScriptLexer(); }
}  // namespace quillet
