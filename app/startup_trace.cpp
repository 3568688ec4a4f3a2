// Start-up timing (see startup_trace.h). The marks are kept in memory and written only
// after the first paint, so the trace itself adds no file work to what it measures.
#include "app/startup_trace.h"

#include <windows.h>

#include <cstdio>

namespace quillet {

namespace {

constexpr char kTraceVariable[] = "QUILLET_STARTUP_TRACE";
constexpr int kMaxMarks = 32;

struct Mark {
    const char *step;
    LONGLONG counter;
};

struct Trace {
    bool on = false;
    char path[MAX_PATH] = "";
    Mark marks[kMaxMarks] = {};
    int count = 0;
};

Trace &TheTrace() {
    static Trace trace = [] {
        Trace t;
        const DWORD length = GetEnvironmentVariableA(kTraceVariable, t.path, sizeof t.path);
        t.on = length > 0 && length < sizeof t.path;
        return t;
    }();
    return trace;
}

LONGLONG Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG FileTimeOf(const FILETIME &time) {
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

// The system time now: the precise clock where the system has it (Windows 8 and later),
// looked up at run time so that the program still loads on Windows 7.
void SystemTimeNow(FILETIME *now) {
    using PreciseClock = void(WINAPI *)(FILETIME *);
    static const PreciseClock precise = [] {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        return kernel ? reinterpret_cast<PreciseClock>(
                            reinterpret_cast<void *>(GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime")))
                      : nullptr;
    }();
    if (precise) precise(now);
    else GetSystemTimeAsFileTime(now);
}

// The counter's value when the process was created, from the process's creation time
// and the system time now (both in 100 ns units).
LONGLONG CounterAtProcessCreation(LONGLONG frequency) {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    const LONGLONG counterNow = Counter();
    SystemTimeNow(&now);
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return counterNow;
    const LONGLONG ageIn100ns = FileTimeOf(now) - FileTimeOf(created);
    return counterNow - ageIn100ns * frequency / 10000000;
}

}  // namespace

void MarkStartupStep(const char *step) {
    Trace &trace = TheTrace();
    if (!trace.on || trace.count == kMaxMarks) return;
    trace.marks[trace.count++] = {step, Counter()};
}

void WriteStartupTrace() {
    Trace &trace = TheTrace();
    if (!trace.on || trace.count == 0) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double msPerCount = 1000.0 / static_cast<double>(frequency.QuadPart);
    const LONGLONG created = CounterAtProcessCreation(frequency.QuadPart);
    if (FILE *out = std::fopen(trace.path, "a")) {
        LONGLONG previous = created;
        for (int i = 0; i < trace.count; ++i) {
            const Mark &mark = trace.marks[i];
            std::fprintf(out, "%s\t%.2f\t%.2f\n", mark.step, (mark.counter - previous) * msPerCount,
                         (mark.counter - created) * msPerCount);
            previous = mark.counter;
        }
        std::fclose(out);
    }
    trace.count = 0;
}

}  // namespace quillet
