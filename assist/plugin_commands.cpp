// The plug-in's command table with each command's operand counts (see plugin_commands.h).
// The counts are those of the plug-in's command reference, optional operands in
// brackets; where the plug-in's code accepts more than the reference shows (FIND takes
// a maximum size, BPX a second operand), the wider count is taken, so a line the
// plug-in runs is never reported. EOB and EOE are also taken without a label: real
// scripts write them alone to drop the jump set earlier.
#include "assist/plugin_commands.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace quillet {

namespace {

constexpr OperandCounts One(unsigned n) { return 1u << n; }
constexpr OperandCounts Between(unsigned low, unsigned high) { return ((1u << (high + 1)) - 1u) & ~((1u << low) - 1u); }
// A command without operands: whatever follows its name is ignored.
constexpr OperandCounts kNone = ~0u;
// The IFxx commands: no operands (the last CMP decides) or the operands of CMP.
constexpr OperandCounts kIf = One(0) | Between(2, 3);

struct CommandEntry {
    std::string_view name;  // upper case; the table is sorted by name
    OperandCounts counts;
};

constexpr CommandEntry kCommands[] = {
    {"ADD", One(2)},         {"AI", kNone},           {"ALLOC", One(1)},       {"AN", One(1)},
    {"ANA", One(1)},         {"AND", One(2)},         {"AO", kNone},           {"ASK", One(1)},
    {"ASM", Between(2, 3)},  {"ASMTXT", One(2)},      {"ATOI", Between(1, 2)}, {"BACKUP", Between(1, 3)},
    {"BC", Between(0, 1)},   {"BD", Between(0, 1)},   {"BEGINSEARCH", Between(0, 1)},
    {"BP", One(1)},          {"BPCND", One(2)},       {"BPD", One(1)},         {"BPGOTO", One(2)},
    {"BPHWC", Between(0, 1)}, {"BPHWCALL", kNone},    {"BPHWS", Between(1, 2)}, {"BPL", One(2)},
    {"BPLCND", One(3)},      {"BPMC", kNone},         {"BPRM", One(2)},        {"BPWM", One(2)},
    {"BPX", Between(1, 2)},  {"BUF", One(1)},         {"CALL", One(1)},        {"CLOSE", One(1)},
    {"CMP", Between(2, 3)},  {"CMT", One(2)},         {"COB", kNone},          {"COE", kNone},
    {"CRET", kNone},         {"DBH", kNone},          {"DBS", kNone},          {"DEC", One(1)},
    {"DIV", One(2)},         {"DM", One(3)},          {"DMA", One(3)},         {"DPE", One(2)},
    {"ELSE", kNone},         {"ENDE", kNone},         {"ENDIF", kNone},        {"ENDSEARCH", kNone},
    {"EOB", Between(0, 1)},  {"EOE", Between(0, 1)},         {"ERUN", kNone},         {"ESTEP", kNone},
    {"ESTI", kNone},         {"ESTO", kNone},         {"EVAL", One(1)},        {"EXEC", kNone},
    {"FILL", One(3)},        {"FIND", Between(2, 3)}, {"FINDCALLS", Between(1, 2)},
    {"FINDCMD", One(2)},     {"FINDCMDS", One(2)},    {"FINDMEM", Between(1, 2)},
    {"FINDOP", Between(2, 3)}, {"FINDOPREV", One(2)}, {"FREE", Between(1, 2)}, {"GAPI", One(1)},
    {"GBPM", kNone},         {"GBPR", kNone},         {"GCI", One(2)},         {"GCMT", One(1)},
    {"GFO", One(1)},         {"GLBL", One(1)},        {"GMA", One(2)},         {"GMEMI", One(2)},
    {"GMEXP", Between(2, 3)}, {"GMI", One(2)},        {"GMIMP", Between(2, 3)}, {"GN", One(1)},
    {"GO", One(1)},          {"GOPI", One(3)},        {"GOTO", One(1)},        {"GPA", Between(2, 3)},
    {"GPI", One(1)},         {"GPP", Between(2, 3)},  {"GREF", Between(0, 1)}, {"GRO", One(1)},
    {"GSL", Between(0, 1)},  {"GSTR", Between(1, 2)}, {"GSTRW", Between(1, 2)}, {"HANDLE", One(3)},
    {"HISTORY", One(1)},     {"IFA", kIf},            {"IFAE", kIf},           {"IFB", kIf},
    {"IFBE", kIf},           {"IFE", kIf},            {"IFEQ", kIf},           {"IFG", kIf},
    {"IFGE", kIf},           {"IFL", kIf},            {"IFLE", kIf},           {"IFNE", kIf},
    {"IFNEQ", kIf},          {"INC", One(1)},         {"INIR", One(2)},        {"INIW", One(2)},
    {"ITOA", Between(1, 2)}, {"JA", One(1)},          {"JAE", One(1)},         {"JB", One(1)},
    {"JBE", One(1)},         {"JE", One(1)},          {"JG", One(1)},          {"JGE", One(1)},
    {"JL", One(1)},          {"JLE", One(1)},         {"JMP", One(1)},         {"JNE", One(1)},
    {"JNZ", One(1)},         {"JZ", One(1)},          {"KEY", Between(1, 3)},  {"LBL", One(2)},
    {"LC", kNone},           {"LCLR", kNone},         {"LEN", One(1)},         {"LM", One(3)},
    {"LOADLIB", One(1)},     {"LOG", Between(1, 2)},  {"LOGBUF", Between(1, 3)}, {"MEMCPY", One(3)},
    {"MOV", Between(2, 3)},  {"MSG", One(1)},         {"MSGYN", One(1)},       {"MUL", One(2)},
    {"NAMES", One(1)},       {"NEG", One(1)},         {"NOT", One(1)},         {"OLLY", One(1)},
    {"OPCODE", One(1)},      {"OPENDUMP", Between(1, 3)}, {"OPENTRACE", kNone}, {"OR", One(2)},
    {"PAUSE", kNone},        {"POP", One(1)},         {"POPA", kNone},         {"PREOP", One(1)},
    {"PUSH", One(1)},        {"PUSHA", kNone},        {"RBP", Between(0, 1)},  {"READSTR", One(2)},
    {"REF", Between(1, 2)},  {"REFRESH", kNone},      {"REPL", One(4)},        {"RESET", kNone},
    {"RET", kNone},          {"REV", One(1)},         {"ROL", One(2)},         {"ROR", One(2)},
    {"RTR", kNone},          {"RTU", kNone},          {"RUN", kNone},          {"SBP", kNone},
    {"SCMP", Between(2, 3)}, {"SCMPI", Between(2, 3)}, {"SETOPTION", kNone},   {"SHL", One(2)},
    {"SHR", One(2)},         {"STEP", kNone},         {"STI", kNone},          {"STO", kNone},
    {"STR", One(1)},         {"SUB", One(2)},         {"TC", kNone},           {"TEST", One(2)},
    {"TI", kNone},           {"TICK", Between(0, 2)}, {"TICND", One(1)},       {"TO", kNone},
    {"TOCND", One(1)},       {"UBP", One(1)},         {"UNICODE", One(1)},     {"VAR", One(1)},
    {"WRT", One(2)},         {"WRTA", Between(2, 3)}, {"XCHG", One(2)},        {"XOR", One(2)},
};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

OperandCounts OperandCountsOf(std::string_view command) {
    std::array<char, 16> upper{};
    if (command.empty() || command.size() > upper.size()) return 0;
    for (std::size_t i = 0; i < command.size(); ++i) upper[i] = Upper(command[i]);
    const std::string_view key(upper.data(), command.size());
    const auto found = std::lower_bound(std::begin(kCommands), std::end(kCommands), key,
                                        [](const CommandEntry &entry, std::string_view name) { return entry.name < name; });
    return found != std::end(kCommands) && found->name == key ? found->counts : 0;
}

std::string DescribeCounts(OperandCounts counts) {
    std::string text;
    unsigned listed = 0, total = 0;
    for (unsigned n = 0; n < 8; ++n) total += CountAllowed(counts, n);
    for (unsigned n = 0; n < 8; ++n) {
        if (!CountAllowed(counts, n)) continue;
        // A run of three or more counts reads "1 to 3".
        unsigned last = n;
        while (last + 1 < 8 && CountAllowed(counts, last + 1)) ++last;
        const bool run = last >= n + 2;
        if (listed > 0) text += (listed + (run ? last - n + 1 : 1) == total) ? " or " : ", ";
        text += std::to_string(n);
        if (run) {
            text += " to " + std::to_string(last);
            listed += last - n + 1;
            n = last;
        } else {
            ++listed;
        }
    }
    return text;
}

std::string PluginCommandList() {
    std::string list;
    for (const CommandEntry &entry : kCommands) {
        if (!list.empty()) list += ' ';
        list += entry.name;
    }
    return list;
}

}  // namespace quillet
