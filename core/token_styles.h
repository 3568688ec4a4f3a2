// The style numbers the script lexer gives each token class, the lexer's number and the
// editor's line markers.
// The lexer, the colour set and every typing feature use this one enumeration.
// Window-free; includes nothing of the program.
#pragma once

namespace quillet {

// The lexer number the editor asks for with SCI_SETLEXER (4001, restored by our SciLexer.dll).
constexpr int kScriptLexerNumber = 98;
constexpr unsigned kSciSetLexer = 4001;

// The editor's line markers: a bookmark and a script breakpoint. Both go with their line
// as text is inserted and deleted.
constexpr int kBookmarkMarker = 0;
constexpr int kBreakpointMarker = 1;

enum Style : int {
    kStyleDefault = 0,
    kStyleComment = 1,
    kStyleNumber = 2,
    kStyleString = 4,
    kStyleKeyword = 5,
    kStyleOperator = 6,
    kStyleOpcode = 7,
    kStyleRegister = 9,
    kStyleComment2 = 14,  // block comment
    kStyleLabel = 17,
    kStyleVariable = 18,
};

// The styles drawn in the comment font, and those drawn in the editor font.
inline constexpr int kCommentStyles[] = {kStyleComment, kStyleComment2};
inline constexpr int kCodeStyles[] = {kStyleNumber, kStyleString,   kStyleKeyword, kStyleOperator,
                                      kStyleOpcode, kStyleRegister, kStyleLabel,   kStyleVariable};
// Every token style: the editor font chosen from the menu is given to all of them.
inline constexpr int kTokenStyles[] = {kStyleComment,  kStyleNumber,   kStyleString,   kStyleKeyword, kStyleOperator,
                                       kStyleOpcode,   kStyleRegister, kStyleComment2, kStyleLabel,   kStyleVariable};

}  // namespace quillet
