// Window-free rules of the debugger link and launching.
#include "debugger/link_rules.h"

#include <cstring>

#include "core/debugger_link.h"
#include "core/texts.h"
#include "platform/text.h"

namespace quillet {

DebuggerNotice DecodeDebuggerNotice(std::uintptr_t code, const void *data, std::size_t size) {
    DebuggerNotice notice;
    if (!data && size != 0) return notice;
    const char *bytes = static_cast<const char *>(data);
    switch (code) {
    case kDebuggerStarted: {
        // The path ends at its first zero, or at the block's end when it has none.
        const void *zero = size ? std::memchr(bytes, '\0', size) : nullptr;
        const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - bytes) : size;
        notice.kind = DebuggerNotice::kStarted;
        notice.path.assign(bytes ? bytes : "", length < kDebuggerPathMax ? length : kDebuggerPathMax);
        break;
    }
    case kDebuggerPosition:
        if (size >= kPositionReportSize) notice.kind = DebuggerNotice::kPosition;
        break;
    case kDebuggerClosing: notice.kind = DebuggerNotice::kClosing; break;
    case kDebuggerNoTarget: notice.kind = DebuggerNotice::kNoTarget; break;
    default: break;
    }
    return notice;
}

std::string DebuggerIniName(std::string_view debuggerPath) {
    if (debuggerPath.empty()) return {};
    const std::string_view name = FileNamePart(debuggerPath);
    const std::string_view folder = debuggerPath.substr(0, debuggerPath.size() - name.size());
    const auto dot = name.find_last_of('.');
    const std::string_view base = dot == std::string_view::npos ? name : name.substr(0, dot);
    return std::string(folder) + std::string(base) + kDebuggerIniExtension;
}

std::string DebuggerCommandLine(std::string_view debuggerPath) {
    return "\"" + std::string(debuggerPath) + "\"";
}

std::string DebuggerCommandLine(std::string_view debuggerPath, std::string_view target) {
    return DebuggerCommandLine(debuggerPath) + " \"" + std::string(target) + "\"";
}

DroppedKind ClassifyDroppedFile(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return DroppedKind::kUnsupported;
    const std::string extension = ToLowerAscii(TrimBlanks(name.substr(dot + 1)));
    if (extension == "txt" || extension == "osc") return DroppedKind::kScript;
    if (extension == "exe" || extension == "lnk") return DroppedKind::kProgram;
    return DroppedKind::kUnsupported;
}

std::string UntitledScriptPath(std::string_view tempFolder) { return std::string(tempFolder) + text::kUntitled; }

std::string ScriptRequestBlock(std::string_view path) {
    std::string block(kScriptBlockSize, '\0');
    if (path.size() <= kScriptPathMax) block.replace(0, path.size(), path);
    return block;
}

}  // namespace quillet
