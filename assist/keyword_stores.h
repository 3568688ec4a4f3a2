// The keyword stores built from qkeywords.txt at start-up and published on the frame:
// base keyword list ("keyword"), extended keyword list ("keywordadded"), tip table
// ("tips") and status note ("statustxt").
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "assist/keyword_file.h"

namespace quillet {

// The tip records in file order. Each record keeps its parsed keyword (at most 30
// characters) and text (at most 1400) as variable-length strings rather than fixed
// blank-padded records, so a hostile file with millions of tiny blocks costs memory in
// proportion to its size, not 1430 bytes per block.
struct TipTable {
    std::vector<TipRecord> records;
    std::size_t Count() const { return records.size(); }
};

// Files larger than this are read only up to it: the keyword section and tips of a
// real file are a few tens of kilobytes.
constexpr std::size_t kKeywordFileReadLimit = 16u * 1024u * 1024u;

// Reads qkeywords.txt from the program's folder, publishes the four stores on the
// frame and writes the status note into its status bar. False (after telling the
// user) when the file is missing or its keyword section is empty; no store is set then.
bool LoadKeywordFile(HWND frame);

// Makes `list` the extended keyword list and publishes it on the frame ("keywordadded").
void ReplaceKeywordAdded(HWND frame, std::string list);

}  // namespace quillet
