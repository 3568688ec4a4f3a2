// WM_COPYDATA blocks from the debugger side in any form: decoding reads only within the
// block, and an announced path is bounded and holds no zero byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "debugger/link_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return 0;
    const std::uintptr_t code = 124 + data[0] % 8;
    // An exact-size copy, so a read past the block is caught.
    std::vector<std::uint8_t> block(data + 1, data + size);
    const auto notice = quillet::DecodeDebuggerNotice(code, block.empty() ? nullptr : block.data(), block.size());
    if (notice.path.size() > 259 || std::memchr(notice.path.data(), 0, notice.path.size())) std::abort();
    if (notice.kind != quillet::DebuggerNotice::kStarted && !notice.path.empty()) std::abort();
    return 0;
}
