// Pattern paste on any clipboard text: the conversion never crashes or hangs, and a
// pattern it makes is framed by "#" and never longer than the text it came from.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editing/pattern_paste_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view listing(reinterpret_cast<const char *>(data), size);
    const std::string pattern = quillet::PatternFromListing(listing);
    if (pattern.empty()) return 0;
    if (pattern.size() < 3 || pattern.front() != '#' || pattern.back() != '#') std::abort();
    if (pattern.size() > size + 2) std::abort();
    return 0;
}
