// The window-free rules of working with the debugger: decoding what arrives over the
// WM_COPYDATA link, the debugger's settings file name, the command lines that start
// it, and which dropped files it takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// A WM_COPYDATA message from the debugger side, checked for size and form.
struct DebuggerNotice {
    enum Kind {
        kIgnored,   // unknown code or a malformed block
        kStarted,   // code 126; `path` holds the announced path
        kPosition,  // code 127 with its whole block
        kClosing,   // code 128
        kNoTarget,  // code 129
    };
    Kind kind = kIgnored;
    std::string path;  // up to the block's first zero, at most kDebuggerPathMax characters
};

// Decodes dwData / cbData / lpData. `data` is only read within `size` bytes; a null
// `data` with a non-zero size is ignored.
DebuggerNotice DecodeDebuggerNotice(std::uintptr_t code, const void *data, std::size_t size);

// The debugger's settings file: the path's folder (up to its last backslash), the file
// name without its last extension, then ".INI". Empty for an empty path.
std::string DebuggerIniName(std::string_view debuggerPath);

// Command lines: the debugger path is always quoted, so a path with blanks starts the
// debugger and not a program named after its first word; a target follows, quoted.
std::string DebuggerCommandLine(std::string_view debuggerPath);
std::string DebuggerCommandLine(std::string_view debuggerPath, std::string_view target);

// What a dropped file is, by the extension after its name's last dot (any case).
enum class DroppedKind { kScript, kProgram, kUnsupported };
DroppedKind ClassifyDroppedFile(std::string_view path);

// Where an untitled script is written before a run: the temporary folder followed by
// "Untitled" (every untitled script uses the same file).
std::string UntitledScriptPath(std::string_view tempFolder);

// The 257-byte request block of run and debug: the path, then zero bytes. The path
// must not be longer than kScriptPathMax (callers check; a longer one is refused here
// with an empty block).
std::string ScriptRequestBlock(std::string_view path);

}  // namespace quillet
