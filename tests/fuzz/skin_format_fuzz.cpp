// The skin file parser on any bytes: it never reads past the input or crashes, and a
// failure names its error.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/urf_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // An exact-size copy, so any read past the end is caught.
    std::vector<char> bytes(data, data + size);
    const urf::Result result = urf::Parse(bytes.data(), bytes.size());
    if (!result.ok() && urf::ErrorText(result.error) == nullptr) std::abort();
    return 0;
}
