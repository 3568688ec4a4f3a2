// Small text helpers shared by every subsystem. Window-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// Blanks (spaces only) removed at both ends, as the program's "trimmed" means.
std::string_view TrimBlanks(std::string_view text);

std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Copies text into a fixed buffer of `size` bytes, cut to fit, always zero-terminated.
// Returns the number of characters copied.
std::size_t CopyBounded(char *dest, std::size_t size, std::string_view text);
template <std::size_t N>
std::size_t CopyBounded(char (&dest)[N], std::string_view text) { return CopyBounded(dest, N, text); }

// The text of a fixed buffer up to its first zero byte (never reading past N).
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != '\0') ++n;
    return std::string_view(field, n);
}

// The file-name part of a path: the text after the last backslash or slash.
std::string_view FileNamePart(std::string_view path);

// A number as the settings file stores it: decimal, with one leading blank for
// non-negative values when `leadingBlank` is set (" 14", "-3").
std::string FormatProfileNumber(int value, bool leadingBlank);

}  // namespace quillet
