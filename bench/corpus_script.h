// Large scripts for benchmarks, made of the corpus scripts (sorted by name) one after the
// other, repeated and cut after a number of line ends. Header-only, native and Win32.
#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillet::bench {

inline std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The corpus scripts (.txt and .osc) in name order, each followed by a line end.
inline std::string CorpusScriptsJoined(const std::filesystem::path &corpus) {
    std::vector<std::filesystem::path> scripts;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        const auto ext = entry.path().extension();
        if (ext == ".txt" || ext == ".osc") scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    std::string all;
    for (const auto &path : scripts) all += ReadFile(path) + "\r\n";
    return all;
}

inline std::string CorpusScript(const std::filesystem::path &corpus, std::size_t lineCount) {
    const std::string all = CorpusScriptsJoined(corpus);
    std::string text;
    std::size_t lines = 0;
    while (!all.empty() && lines < lineCount) {
        for (char c : all) {
            text += c;
            if (c == '\n' && ++lines == lineCount) break;
        }
    }
    return text;
}

// The corpus scripts one after another, each starting on a line of its own, repeated
// until `minBytes` are reached: the 5 MB script of bench/run.sh.
inline std::string CorpusScriptOfBytes(const std::filesystem::path &corpus, std::size_t minBytes) {
    const std::string all = CorpusScriptsJoined(corpus);
    std::string text;
    while (!all.empty() && text.size() < minBytes) text += all;
    return text;
}

}  // namespace quillet::bench
