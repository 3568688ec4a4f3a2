// The plug-in's breakpoint section as read from the debugger's settings file, in any
// form: parsing, counting, adding and removing never crash, and a section written back
// reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "debugger/breakpoint_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view block(reinterpret_cast<const char *>(data), size);
    const quillet::ProfileSection section = quillet::ParseProfileSection(block);
    const std::string written = quillet::FormatProfileSection(section);
    if (quillet::FormatProfileSection(quillet::ParseProfileSection(written)) != written) std::abort();
    quillet::BreakpointKeyCount(section);
    quillet::BreakpointOwner(section);
    const int line = size > 0 ? data[0] : 1;
    const auto added = quillet::AddBreakpoint(section, "C:\\s.txt", line, "mov eax, 1");
    quillet::RemoveBreakpoint(section, "C:\\s.txt", block.substr(0, line));
    quillet::ClearBreakpoints(section, "C:\\s.txt");
    quillet::BreakpointLines(section, "C:\\s.txt");
    // Opening and saving with lists of any form: re-anchoring and rewriting never crash.
    const auto restored = quillet::RestoreBreakpoints(section, "C:\\s.txt", line,
                                                      [&](long n) { return std::string(block.substr(0, n % 300)); });
    std::vector<quillet::BreakpointMove> moves;
    for (const auto &placed : restored.placed) moves.push_back({placed.entry, ""});
    quillet::RewriteBreakpoints(section, "C:\\s.txt", moves);
    (void)added;
    return 0;
}
