// The plug-in's command table as the script checker needs it: every command name the
// plug-in accepts, with the operand counts it takes. Window-free.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Bit n set: the command may be given n operands. Commands without operands are not
// judged (the plug-in ignores what follows their name), so their mask holds every count.
using OperandCounts = unsigned;

// The operand counts of a command (letter case ignored); 0 for a name the plug-in
// does not know.
OperandCounts OperandCountsOf(std::string_view command);

// True when `count` operands are allowed by `counts`.
inline bool CountAllowed(OperandCounts counts, std::size_t count) { return count < 32 && (counts >> count) & 1u; }

// "2 or 3", "1 to 3", "0, 2 or 3": the counts a mask allows, for messages.
std::string DescribeCounts(OperandCounts counts);

// Every command name of the plug-in, upper case, separated by blanks (the form of the
// keyword list a CommandSet is built from).
std::string PluginCommandList();

}  // namespace quillet
