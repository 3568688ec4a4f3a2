// Encoding recognition on any bytes: no crash, and a verdict that agrees with the
// rules that need no detector (a byte order mark is UTF-8; ASCII is left alone).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "documents/encoding_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto id = quillet::RecogniseEncoding(bytes);
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF" && id != quillet::EncodingId::kUtf8Bom) std::abort();
    if (ascii && id) std::abort();
    if (id && quillet::LookOf(*id).name == nullptr) std::abort();
    return 0;
}
