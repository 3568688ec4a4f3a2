// The encodings a script's bytes can be shown in. A document keeps one of them; the
// bytes themselves are never converted.
#pragma once

#include <cstddef>

namespace quillet {

// The encodings the editor can show, in the order of the "Reopen As" menu.
enum class EncodingId : unsigned char {
    kAnsi,  // the system's own code page: code page 0, default character set
    kUtf8,
    kUtf8Bom,
    kGbk,
    kBig5,
    kShiftJis,
    kEucKr,
    kJohab,
    kWindows1250,
    kWindows1251,
    kWindows1252,
    kWindows1253,
    kWindows1254,
    kWindows1255,
    kWindows1256,
    kWindows1257,
    kWindows1258,
    kWindows874,
};
inline constexpr std::size_t kEncodingCount = 18;

}  // namespace quillet
