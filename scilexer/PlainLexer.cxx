// The lexer for lexer numbers we do not know: every character gets style 0, as the
// older component's null lexer did. (Scintilla 5 treats a missing lexer as container
// lexing, which would send SCN_STYLENEEDED to a parent that does not answer it.)
#include <cassert>
#include <string>
#include <string_view>

#include "ILexer.h"
#include "Scintilla.h"
#include "LexAccessor.h"
#include "Accessor.h"
#include "DefaultLexer.h"

#include "scilexer/script_lexer.h"

using namespace Scintilla;
using namespace Lexilla;

namespace {

class PlainLexer : public DefaultLexer {
public:
    // The number it stands for is its identifier, so the adapter can tell that a
    // control already holds the lexer it is asked for.
    explicit PlainLexer(int number) : DefaultLexer("plain", number) {}
    void SCI_METHOD Lex(Sci_PositionU startPos, Sci_Position length, int, IDocument *pAccess) override {
        Accessor styler(pAccess, nullptr);
        styler.StartAt(startPos);
        styler.StartSegment(startPos);
        styler.ColourTo(startPos + length - 1, 0);
        styler.Flush();
    }
    void SCI_METHOD Fold(Sci_PositionU, Sci_Position, int, IDocument *) override {}
    const char *SCI_METHOD PropertyGet(const char *) override { return ""; }
};

}  // namespace

namespace quillet {

ILexer5 *CreatePlainLexer(int number) { return new PlainLexer(number); }

ILexer5 *CreateLexerByNumber(int number) {
    return number == kScriptLexerNumber ? CreateScriptLexer() : CreatePlainLexer(number);
}

}  // namespace quillet
