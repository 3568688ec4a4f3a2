// The script lexer on any bytes, with restart identity as the oracle: styling the text
// in one pass and styling it again in pieces that start at line starts (as Scintilla
// restarts) must give the same styles and fold levels. The first byte picks the code
// page and the piece sizes.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "scilexer/script_lexer.h"
#include "tests/native/lexer_document.h"
#include "tests/native/lexer_keywords.h"

namespace {

using quillet::lexertest::LexerDocument;

struct ReleaseLexer {
    void operator()(Scintilla::ILexer5 *lexer) const { lexer->Release(); }
};
using LexerPtr = std::unique_ptr<Scintilla::ILexer5, ReleaseLexer>;

LexerPtr MakeLexer() {
    LexerPtr lexer(quillet::CreateScriptLexer());
    lexer->WordListSet(0, quillet::lexertest::kCommandWords);
    lexer->WordListSet(1, quillet::lexertest::kRegisterWords);
    return lexer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0) return 0;
    static const int kCodePages[] = {0, 65001, 936, 932};
    const int codePage = kCodePages[data[0] % 4];
    const unsigned step = 1 + data[0] / 4;  // lines per piece
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);

    LexerDocument once(text, codePage);
    LexerPtr onePass = MakeLexer();
    onePass->Lex(0, once.Length(), 0, &once);
    onePass->Fold(0, once.Length(), 0, &once);

    LexerDocument pieces(text, codePage);
    LexerPtr lexer = MakeLexer();
    for (Sci_Position line = 0; line < pieces.LineCount(); line += step) {
        const Sci_Position start = pieces.LineStart(line);
        const Sci_Position end = pieces.LineStart(line + step);
        if (end > start) {
            const int initStyle = start > 0 ? pieces.StyleAt(start - 1) : 0;
            lexer->Lex(static_cast<Sci_PositionU>(start), end - start, initStyle, &pieces);
            lexer->Fold(static_cast<Sci_PositionU>(start), end - start, initStyle, &pieces);
        }
    }
    if (pieces.Styles() != once.Styles()) std::abort();
    // Folding restarted at each piece gives the levels of one pass.
    for (Sci_Position line = 0; line < once.LineCount(); ++line)
        if (pieces.GetLevel(line) != once.GetLevel(line)) std::abort();
    return 0;
}
