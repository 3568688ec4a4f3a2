// Toggling a script breakpoint in a list of 500 entries kept in a real debugger settings
// file, as Quillet does it (the plug-in's section read once, changed, written once),
// side by side with the same change made key by key through the profile functions
// (each entry read, deleted and written again on its own). Prints the median time of a
// toggle for both and their ratio.
//
// Usage (under Wine): breakpoint_bench [entries] [rounds]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/texts.h"
#include "debugger/breakpoint_rules.h"
#include "debugger/debugger.h"

namespace {

using quillet::BreakpointEntry;
using quillet::BreakpointKey;

const char *const kSection = quillet::text::kSecBreakpoints;
const char kScript[] = "C:\\scripts\\unpack.osc";

std::string WriteList(const std::string &ini, int entries) {
    DeleteFileA(ini.c_str());
    quillet::ProfileSection section{{quillet::text::kKeyBreakpointFile, kScript}};
    for (int n = 1; n <= entries; ++n)
        section.push_back(
            {BreakpointKey(n), BreakpointEntry(n * 2, "mov eax, dword ptr [esi+" + std::to_string(n) + "]")});
    section.push_back({BreakpointKey(entries + 1), " "});
    quillet::WriteBreakpointSection(ini, section);
    return ini;
}

// Quillet's way: one read and one write of the section per toggle.
void ToggleWhole(const std::string &ini, int line, bool add) {
    const quillet::ProfileSection section = quillet::ReadBreakpointSection(ini);
    if (add) {
        const auto added = quillet::AddBreakpoint(section, kScript, line, BreakpointEntry(line, "nop"));
        quillet::WriteBreakpointSection(ini, added.section);
    } else if (const auto removed = quillet::RemoveBreakpoint(section, kScript, BreakpointEntry(line, "nop"))) {
        quillet::WriteBreakpointSection(ini, *removed);
    }
}

// The peer: every entry read, deleted and written again with its own profile call.
void ToggleKeyByKey(const std::string &ini, int line, int count) {
    std::vector<std::string> kept;
    char value[260];
    for (int n = 1; n <= count; ++n) {
        GetPrivateProfileStringA(kSection, BreakpointKey(n).c_str(), "", value, sizeof value, ini.c_str());
        if (value[0] && std::atoi(value) != line) kept.push_back(value);
    }
    for (int n = 1; n <= count; ++n)
        WritePrivateProfileStringA(kSection, BreakpointKey(n).c_str(), nullptr, ini.c_str());
    int n = 0;
    for (const std::string &entry : kept)
        WritePrivateProfileStringA(kSection, BreakpointKey(++n).c_str(), entry.c_str(), ini.c_str());
    WritePrivateProfileStringA(kSection, BreakpointKey(n + 1).c_str(), " ", ini.c_str());
}

template <typename F>
double Median(int rounds, F &&run) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run(i);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 500;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 21;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string ini = WriteList(std::string(temp) + "breakpoint_bench.INI", entries);

    // Each round adds line 3 or takes it away again, so the list stays at its size.
    const double whole = Median(rounds, [&](int i) { ToggleWhole(ini, 3, i % 2 == 0); });
    WriteList(ini, entries);
    const int peerRounds = std::max(1, rounds / 4);
    const double keyByKey = Median(peerRounds, [&](int) { ToggleKeyByKey(ini, 2, entries + 1); });
    DeleteFileA(ini.c_str());

    std::printf("breakpoint toggle, %d entries: section read and written once %.2f ms (median of %d); "
                "key by key %.2f ms (median of %d); ratio %.1fx\n",
                entries, whole, rounds, keyByKey, peerRounds, keyByKey / whole);
    return 0;
}
