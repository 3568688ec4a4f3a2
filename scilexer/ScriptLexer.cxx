// Placeholder until the script lexer lands: styles like the plain lexer.
#include "ILexer.h"
#include "scilexer/script_lexer.h"
namespace quillet {
Scintilla::ILexer5 *CreateScriptLexer() { return CreatePlainLexer(kScriptLexerNumber); }
}
