// Lexers that SciLexer.dll hands to Scintilla by number through the restored
// SCI_SETLEXER message. Window-free: the lexer tests and benchmarks use them natively.
#pragma once

#include "core/token_styles.h"

namespace Scintilla { class ILexer5; }

namespace quillet {

// The script language lexer (word list 0: keywords in lower case; word list 1:
// register and flag names); GetIdentifier() answers kScriptLexerNumber.
// The caller owns the object until it is given to Scintilla.
Scintilla::ILexer5 *CreateScriptLexer();

// Styles everything 0; stands for any lexer number we do not know and answers
// that number from GetIdentifier().
Scintilla::ILexer5 *CreatePlainLexer(int number);

// The lexer for a number: the script lexer for 98, the plain lexer otherwise.
Scintilla::ILexer5 *CreateLexerByNumber(int number);

}  // namespace quillet
