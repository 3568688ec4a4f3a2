// Checking time of the script checker on a script of 50,000 lines made of the corpus
// scripts, against splitting the same text into lines (the least any line-based reading
// of it costs). Prints the median milliseconds of each and their ratio. Then the goals
// of the checks: the 5 MB benchmark script under 300 ms, each corpus script (read in
// its recognised encoding, its includes read from disk) under 10 ms, and a script that
// includes itself three times in the time of one pass.
//
// Usage: script_check_bench [corpus folder] [keyword file] [rounds]
//        (build without sanitizers for figures)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "bench/corpus_script.h"
#include "assist/keyword_file.h"
#include "assist/script_check_rules.h"
#include "documents/encoding_rules.h"

namespace {

constexpr std::size_t kLines = 50000;

using quillet::bench::ReadFile;

// Included files read from disk (the corpus has no absolute include paths).
class DiskReader : public quillet::IncludeReader {
public:
    bool Read(const std::string &path, std::string &bytes) override {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return true;
    }
};

// Serves one script, whatever path is asked for: each read of an include costs a copy.
class LoopReader : public quillet::IncludeReader {
public:
    explicit LoopReader(std::string text) : text_(std::move(text)) {}
    bool Read(const std::string &, std::string &bytes) override {
        ++reads;
        bytes = text_;
        return true;
    }
    std::size_t reads = 0;

private:
    std::string text_;
};

std::size_t SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines.size();
}

template <typename Work>
double MedianMs(int rounds, Work work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The process's CPU time in milliseconds: on a machine shared with other work the
// goals are judged by the time the check itself takes, not by the wall clock.
double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

template <typename Work>
double MedianCpuMs(int rounds, Work work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = CpuMs();
        work();
        times.push_back(CpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
    const std::filesystem::path corpus = argc > 1 ? argv[1] : QUILLET_CORPUS_DIR;
    const std::filesystem::path keywords = argc > 2 ? argv[2] : QUILLET_SOURCE_DIR "/data/qkeywords.txt";
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 21;
    const std::string script = quillet::bench::CorpusScript(corpus, kLines);
    if (script.empty()) {
        std::fprintf(stderr, "no scripts in %s\n", corpus.string().c_str());
        return 1;
    }
    const quillet::CommandSet commands(quillet::ParseKeywordFile(ReadFile(keywords)).keyword_list);
    std::size_t problems = 0, lines = 0;
    const double check = MedianMs(rounds, [&] {
        problems = quillet::CheckScript(script, "", commands, nullptr).problems.size();
    });
    const double split = MedianMs(rounds, [&] { lines = SplitLines(script); });
    std::printf("script: %zu lines, %zu bytes, %zu problems\n", lines, script.size(), problems);
    std::printf("check:       %8.2f ms (median of %d)\n", check, rounds);
    std::printf("line split:  %8.2f ms\n", split);
    std::printf("ratio:       %8.1f\n", check / split);

    const std::string big = quillet::bench::CorpusScriptOfBytes(corpus, 5u * 1024u * 1024u);
    std::size_t bigProblems = 0;
    const double bigWallMs = MedianMs(rounds, [&] {
        quillet::CheckScript(big, "", commands, nullptr, quillet::ScriptBytes::kWindowsSingleByte);
    });
    const double bigMs = MedianCpuMs(rounds, [&] {
        bigProblems = quillet::CheckScript(big, "", commands, nullptr, quillet::ScriptBytes::kWindowsSingleByte)
                          .problems.size();
    });
    std::printf("5 MB script: %zu bytes, %zu problems, %.2f ms of CPU, %.2f ms of wall clock (goal: under 300 ms)\n",
                big.size(), bigProblems, bigMs, bigWallMs);

    double slowest = 0;
    std::string slowestName;
    int scripts = 0;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        const auto ext = entry.path().extension();
        if (ext != ".txt" && ext != ".osc") continue;
        ++scripts;
        const std::string text = ReadFile(entry.path());
        const auto encoding = quillet::RecogniseEncoding(text);
        const quillet::ScriptBytes bytes = encoding ? quillet::ScriptBytesFor(*encoding) : quillet::ScriptBytes::kUnknown;
        DiskReader reader;
        const double ms = MedianCpuMs(rounds, [&] {
            quillet::CheckScript(text, entry.path().string(), commands, &reader, bytes);
        });
        if (ms > slowest) {
            slowest = ms;
            slowestName = entry.path().filename().string();
        }
    }
    std::printf("corpus: slowest of %d scripts %.2f ms of CPU, %s (goal: each under 10 ms)\n", scripts, slowest,
                slowestName.c_str());

    const std::string loop = "#inc \"loop.osc\"\n#inc \"loop.osc\"\n#inc \"loop.osc\"\nret\n";
    LoopReader loopReader(loop);
    std::size_t loopProblems = 0;
    const double loopMs = MedianMs(rounds, [&] {
        loopProblems = quillet::CheckScript(loop, "C:\\s\\loop.osc", commands, &loopReader).problems.size();
    });
    std::printf("self-including script (%zu bytes, 3 #inc of itself): %.3f ms, %zu include reads, %zu problems\n",
                loop.size(), loopMs, loopReader.reads, loopProblems);
    return 0;
}
