// The settings-file (INI) functions the whole program uses: reads through the system's
// private-profile functions; writes change the file's text and write it whole, to a
// temporary file beside it that then replaces it, so a failed write (a full disk)
// leaves the old file intact. For the window thread only: the values that could not be
// written are kept in memory without a lock.
#pragma once

#include <string>
#include <string_view>

namespace quillet::platform {

// A text value, read into a buffer of `bufferSize` bytes as the system does (cut to
// fit); with a size of 0 the value is read whole, however long.
std::string ReadProfileText(const char *section, const char *key, const char *fallback,
                            const std::string &file, unsigned bufferSize = 0);
int ReadProfileInt(const char *section, const char *key, int fallback, const std::string &file);

// Writes: false when the file could not be written. The first failure of a run is
// reported to the user (file and the system's reason); what could not be written is
// kept in memory, read back from there for the rest of the run and written with the
// next write of the same file that succeeds.
//
// Writes a text. An empty value removes the key; an empty key (with an empty value)
// removes the whole section.
bool WriteProfileText(const char *section, const char *key, std::string_view value, const std::string &file);
// Writes a number as decimal text; with `leadingBlank`, non-negative numbers get one
// blank in front (" 14").
bool WriteProfileNumber(const char *section, const char *key, int value, const std::string &file,
                        bool leadingBlank = true);

// A whole section as the system gives it: "key=value" texts, each ended by a zero, the
// last by a second zero. The buffer grows until the section fits.
std::string ReadProfileSection(const char *section, const std::string &file);
// Replaces a section's lines with those of `block` (same form) in one write.
bool WriteProfileSection(const char *section, const std::string &block, const std::string &file);

// Starts a new run for the write failure report (the frame calls it when created).
void ResetProfileWriteReport();

}  // namespace quillet::platform
