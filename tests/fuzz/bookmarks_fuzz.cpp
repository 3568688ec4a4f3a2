// A stored bookmark list edited by hand: any text and any script length give only
// lines that exist in the script, each once.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

#include "editing/bookmark_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    const long lineCount = data[0] * 256 + data[1];
    const std::string_view lines(reinterpret_cast<const char *>(data) + 2, size - 2);
    std::set<int> seen;
    for (int line : quillet::LinesToRestore(lines, lineCount)) {
        if (line < 0 || line >= lineCount || !seen.insert(line).second) std::abort();
    }
    return 0;
}
