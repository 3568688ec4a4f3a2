// Start-up timing, to see where the time goes before the frame is visible. With the
// environment variable QUILLET_STARTUP_TRACE naming a file, each step of the start-up
// notes when it ended (QueryPerformanceCounter); once the first paint is done, the
// steps are appended to that file with their durations and the time since the process
// was created. Without the variable a mark costs one test of a flag.
#pragma once

namespace quillet {

// Notes that the named step ended now; `step` must be a literal.
void MarkStartupStep(const char *step);
// Appends the noted steps to the trace file (once; nothing when tracing is off).
void WriteStartupTrace();

}  // namespace quillet
