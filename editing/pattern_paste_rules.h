// The pattern conversion, window-free: instruction lines copied from the debugger's
// CPU window (address, instruction bytes, mnemonic and operands, one per line) become
// one byte search pattern enclosed in "#", in which the bytes of the first one or two
// operand groups are wildcards: "68 00304000  PUSH 00403000" gives #68????????#.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// One listing line's share of the pattern: the instruction bytes followed by "??" for
// every byte of its operand groups; empty when the line has no second token.
std::string PatternOfListingLine(std::string_view line);

// The whole pattern: the shares of all lines joined, with "#" before and after; empty
// when no line contributes. Lines end at CR LF, or at a lone LF or CR.
std::string PatternFromListing(std::string_view listing);

// True when the text holds nothing but blanks (the clipboard gives nothing to convert).
bool IsBlankListing(std::string_view listing);

}  // namespace quillet
