// A window-free document for running lexers outside Scintilla: the text, one style
// byte per character and the line states, with Scintilla's rules for line ends (CR LF,
// CR and LF each end a line) and code pages (0 single byte, 65001 UTF-8, 932/936/949/
// 950/1361 double byte). Header-only, so the native tests, the Windows tests and the
// benchmark all drive the lexer through the same harness.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ILexer.h"

namespace quillet::lexertest {

class LexerDocument : public Scintilla::IDocument {
public:
    explicit LexerDocument(std::string_view text, int codePage = 0)
        : text_(text), styles_(text.size(), '\0'), codePage_(codePage) {
        lineStarts_.push_back(0);
        for (size_t i = 0; i < text_.size(); i++) {
            if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n')
                continue;
            if (text_[i] == '\r' || text_[i] == '\n')
                lineStarts_.push_back(static_cast<Sci_Position>(i + 1));
        }
        // The last line always exists, empty when the text ends with a line end.
        lineStates_.assign(lineStarts_.size(), 0);
        levels_.assign(lineStarts_.size(), 0x400);
    }

    const std::string &Text() const { return text_; }
    const std::string &Styles() const { return styles_; }
    Sci_Position LineCount() const { return static_cast<Sci_Position>(lineStarts_.size()); }

    int SCI_METHOD Version() const override { return Scintilla::dvRelease4; }
    void SCI_METHOD SetErrorStatus(int) override {}
    Sci_Position SCI_METHOD Length() const override { return static_cast<Sci_Position>(text_.size()); }
    void SCI_METHOD GetCharRange(char *buffer, Sci_Position position, Sci_Position length) const override {
        std::memcpy(buffer, text_.data() + position, static_cast<size_t>(length));
    }
    char SCI_METHOD StyleAt(Sci_Position position) const override {
        return (position < 0 || position >= Length()) ? 0 : styles_[static_cast<size_t>(position)];
    }
    Sci_Position SCI_METHOD LineFromPosition(Sci_Position position) const override {
        if (position <= 0)
            return 0;
        // The last line start not after position.
        size_t lo = 0;
        size_t hi = lineStarts_.size();
        while (hi - lo > 1) {
            const size_t mid = (lo + hi) / 2;
            if (lineStarts_[mid] <= position)
                lo = mid;
            else
                hi = mid;
        }
        return static_cast<Sci_Position>(lo);
    }
    Sci_Position SCI_METHOD LineStart(Sci_Position line) const override {
        if (line < 0)
            return 0;
        if (line >= LineCount())
            return Length();
        return lineStarts_[static_cast<size_t>(line)];
    }
    Sci_Position SCI_METHOD LineEnd(Sci_Position line) const override {
        if (line >= LineCount() - 1)
            return Length();
        Sci_Position end = LineStart(line + 1) - 1;
        if (end > LineStart(line) && text_[static_cast<size_t>(end)] == '\n' &&
            text_[static_cast<size_t>(end - 1)] == '\r')
            end--;
        return end;
    }
    int SCI_METHOD GetLevel(Sci_Position line) const override { return InLines(line) ? levels_[line] : 0x400; }
    int SCI_METHOD SetLevel(Sci_Position line, int level) override {
        if (InLines(line))
            levels_[static_cast<size_t>(line)] = level;
        return level;
    }
    int SCI_METHOD GetLineState(Sci_Position line) const override { return InLines(line) ? lineStates_[line] : 0; }
    int SCI_METHOD SetLineState(Sci_Position line, int state) override {
        if (!InLines(line))
            return 0;
        const int previous = lineStates_[static_cast<size_t>(line)];
        lineStates_[static_cast<size_t>(line)] = state;
        return previous;
    }
    void SCI_METHOD StartStyling(Sci_Position position) override { endStyled_ = position; }
    bool SCI_METHOD SetStyleFor(Sci_Position length, char style) override {
        if (length < 0 || endStyled_ + length > Length())
            return false;
        std::memset(&styles_[static_cast<size_t>(endStyled_)], style, static_cast<size_t>(length));
        endStyled_ += length;
        return true;
    }
    bool SCI_METHOD SetStyles(Sci_Position length, const char *styles) override {
        if (length < 0 || endStyled_ + length > Length())
            return false;
        std::memcpy(&styles_[static_cast<size_t>(endStyled_)], styles, static_cast<size_t>(length));
        endStyled_ += length;
        return true;
    }
    void SCI_METHOD DecorationSetCurrentIndicator(int) override {}
    void SCI_METHOD DecorationFillRange(Sci_Position, int, Sci_Position) override {}
    void SCI_METHOD ChangeLexerState(Sci_Position, Sci_Position) override {}
    int SCI_METHOD CodePage() const override { return codePage_; }
    bool SCI_METHOD IsDBCSLeadByte(char ch) const override {
        const unsigned char uch = static_cast<unsigned char>(ch);
        return IsDbcs() && uch >= 0x81 && uch <= 0xFE;
    }
    const char *SCI_METHOD BufferPointer() override { return text_.c_str(); }
    int SCI_METHOD GetLineIndentation(Sci_Position) override { return 0; }
    Sci_Position SCI_METHOD GetRelativePosition(Sci_Position start, Sci_Position offset) const override {
        Sci_Position pos = start;
        for (; offset > 0 && pos < Length(); offset--) {
            Sci_Position width = 1;
            GetCharacterAndWidth(pos, &width);
            pos += width;
        }
        for (; offset < 0 && pos > 0; offset++) {
            pos--;
            while (pos > 0 && codePage_ == 65001 && (Byte(pos) & 0xC0) == 0x80)
                pos--;
        }
        return pos;
    }
    int SCI_METHOD GetCharacterAndWidth(Sci_Position position, Sci_Position *pWidth) const override {
        Sci_Position width = 1;
        int ch = 0;
        if (position >= 0 && position < Length()) {
            ch = Byte(position);
            if (codePage_ == 65001 && ch >= 0x80)
                ch = DecodeUtf8(position, width);
            else if (IsDbcs() && ch >= 0x81 && ch <= 0xFE && position + 1 < Length() &&
                     IsDbcsTrail(Byte(position + 1))) {
                ch = (ch << 8) | Byte(position + 1);
                width = 2;
            }
        }
        if (pWidth)
            *pWidth = width;
        return ch;
    }

private:
    bool InLines(Sci_Position line) const { return line >= 0 && line < LineCount(); }
    bool IsDbcs() const {
        return codePage_ == 932 || codePage_ == 936 || codePage_ == 949 || codePage_ == 950 || codePage_ == 1361;
    }
    // Line ends and most ASCII punctuation never end a double-byte character.
    static bool IsDbcsTrail(int b) { return b >= 0x40 && b != 0x7F && b <= 0xFE; }
    int Byte(Sci_Position pos) const { return static_cast<unsigned char>(text_[static_cast<size_t>(pos)]); }
    // A well-formed UTF-8 sequence gives its code point; a bad byte stands alone,
    // reported as Scintilla does (0xDC80 + byte).
    int DecodeUtf8(Sci_Position pos, Sci_Position &width) const {
        const int lead = Byte(pos);
        const int trail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
        if (trail == 0 || lead > 0xF4 || pos + trail >= Length()) {
            width = 1;
            return 0xDC80 + lead;
        }
        int value = lead & (0x3F >> trail);
        for (int i = 1; i <= trail; i++) {
            const int b = Byte(pos + i);
            if ((b & 0xC0) != 0x80) {
                width = 1;
                return 0xDC80 + lead;
            }
            value = (value << 6) | (b & 0x3F);
        }
        width = trail + 1;
        return value;
    }

    std::string text_;
    std::string styles_;
    std::vector<Sci_Position> lineStarts_;
    std::vector<int> lineStates_;
    std::vector<int> levels_;
    Sci_Position endStyled_ = 0;
    int codePage_;
};

// Lexilla's `.styled` form: the text with `{style}` put in front of every run of one style.
inline std::string MarkStyles(std::string_view text, std::string_view styles) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    int previous = -1;
    for (size_t i = 0; i < text.size(); i++) {
        const int style = static_cast<unsigned char>(styles[i]);
        if (style != previous) {
            out += '{';
            out += std::to_string(style);
            out += '}';
            previous = style;
        }
        out += text[i];
    }
    return out;
}

}  // namespace quillet::lexertest
