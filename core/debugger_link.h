// The WM_COPYDATA link between Quillet's frame and the debugger side: the request codes
// in both directions and the layouts of their data blocks. Quillet and the debugger
// simulator (tools/) both build their messages from this one header. Window-free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet {

// dwData of the requests Quillet sends to the debugger window (wParam: the frame).
enum DebuggerRequest : unsigned {
    kRequestRun = 124,             // script path block (kScriptBlockSize bytes)
    kRequestEditorClosing = 125,   // no data
    kRequestStop = 127,            // no data
    kRequestDebug = 128,           // script path block (kScriptBlockSize bytes)
    kRequestForgetDebugger = 129,  // no data
    kRequestCloseDebugger = 130,   // no data
};

// dwData of the messages the debugger side sends to the frame (wParam: its window).
enum DebuggerMessage : unsigned {
    kDebuggerStarted = 126,    // the debugger's executable path, zero-terminated
    kDebuggerPosition = 127,   // PositionReport
    kDebuggerClosing = 128,    // no data
    kDebuggerNoTarget = 129,   // no data
};

// The script path of run and debug: at most kScriptPathMax characters, zero-terminated,
// in a block of kScriptBlockSize bytes whose unused bytes are zero.
inline constexpr std::size_t kScriptPathMax = 255;
inline constexpr std::size_t kScriptBlockSize = 257;

// The announced debugger path is taken up to its first zero and at most this long.
inline constexpr std::size_t kDebuggerPathMax = 259;

// Code 127's block: a window handle followed by a point in that window's client area.
struct PositionReport {
    std::uint32_t window;
    std::int32_t x;
    std::int32_t y;
};
inline constexpr std::size_t kPositionReportSize = 12;
static_assert(sizeof(PositionReport) == kPositionReportSize, "the block layout is fixed");

// The debugger's own settings file: where its last target is kept.
inline constexpr char kDebuggerIniExtension[] = ".INI";
inline constexpr char kDebuggerHistorySection[] = "History";
inline constexpr char kDebuggerLastTargetKey[] = "Executable[0]";

}  // namespace quillet
