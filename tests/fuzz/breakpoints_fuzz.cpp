// The plug-in's breakpoint section as read from the debugger's settings file, in any
// form: parsing, counting, adding and removing never crash, and a section written back
// reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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
    quillet::RemoveBreakpoint(section, "C:\\s.txt", line);
    quillet::ClearBreakpoints(section, "C:\\s.txt");
    quillet::BreakpointLines(section, "C:\\s.txt");
    (void)added;
    return 0;
}
