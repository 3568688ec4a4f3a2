// Checking time of the script checker on a script of 50,000 lines made of the corpus
// scripts, against splitting the same text into lines (the least any line-based reading
// of it costs). Prints the median milliseconds of each and their ratio.
//
// Usage: script_check_bench [corpus folder] [keyword file] [rounds]
//        (build without sanitizers for figures)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "bench/corpus_script.h"
#include "assist/keyword_file.h"
#include "assist/script_check_rules.h"

namespace {

constexpr std::size_t kLines = 50000;

using quillet::bench::ReadFile;

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
    return 0;
}
