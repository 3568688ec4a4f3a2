// The keyword file parser on any bytes: it never crashes, and what it publishes keeps
// its documented bounds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "assist/keyword_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto parsed = quillet::ParseKeywordFile(std::string_view(reinterpret_cast<const char *>(data), size));
    if (!parsed.ok() && (!parsed.keyword_list.empty() || !parsed.tips.empty())) std::abort();
    for (const auto &tip : parsed.tips)
        if (tip.keyword.size() > quillet::kTipKeywordWidth || tip.text.size() > quillet::kTipTextWidth) std::abort();
    return 0;
}
