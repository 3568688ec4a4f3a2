// A script's encoding, window-free: which encoding its bytes are in (recognised when it
// is opened), how the editor shows each encoding (a code page, and a character set for
// every style), and the bounded per-script list of encodings the user chose with
// "Reopen As". The document's bytes are never converted: an encoding only decides how
// the editor turns them into characters.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/encodings.h"

namespace quillet {


// How the editor shows an encoding: SCI_SETCODEPAGE with `codePage` (0 for single-byte
// encodings, 65001, or a double-byte code page) and SCI_STYLESETCHARACTERSET with
// `characterSet` (a Windows character set) on every style, which is what makes the
// bytes show right whatever the system's own code page is.
struct EncodingLook {
    int codePage;
    int characterSet;
    const char *name;  // the short name of the status bar and of the menu
};
const EncodingLook &LookOf(EncodingId id);
std::optional<EncodingId> EncodingNamed(std::string_view name);

// The encoding that a language setting (a code page) stands for; unknown code pages
// count as the system's own.
EncodingId EncodingForCodePage(int codePage);

// What a script's bytes say about their encoding: a UTF-8 byte order mark, or valid
// UTF-8 holding a multi-byte sequence (a sequence cut short by the end of the file
// still counts), is UTF-8; other text with bytes above 127 is what the detector finds,
// when it is confident and the editor can show it. Nothing (the language setting
// decides) for plain ASCII and for an unsure or unshowable guess.
std::optional<EncodingId> RecogniseEncoding(std::string_view bytes);

// The detector's charset name (uchardet's spelling, any case) as an encoding the editor
// can show, or nothing.
std::optional<EncodingId> EncodingForDetectorName(std::string_view name);

// "Reopen As" with UTF-8 on bytes that start with a byte order mark names it "UTF-8 BOM",
// and the other way round.
EncodingId ReopenedEncoding(EncodingId chosen, std::string_view bytes);

// The remembered choices, most recent first: razuvi.ini's section "Encodings" holds
// "ENCfile<n>" (a script's path) and "ENC<n>" (the encoding's name), n from 1.
struct EncodingChoice {
    std::string file;
    std::string name;
    bool operator==(const EncodingChoice &other) const { return file == other.file && name == other.name; }
};
using EncodingChoices = std::vector<EncodingChoice>;
inline constexpr std::size_t kMaxEncodingChoices = 50;

// The remembered encoding of `path` (compared ignoring ASCII case), if it names one.
std::optional<EncodingId> RememberedEncoding(const EncodingChoices &choices, std::string_view path);
// The list after choosing `id` for `path`: its entry first, older entries after it,
// the oldest dropped beyond the bound.
EncodingChoices ChoicesAfterChoosing(const EncodingChoices &choices, std::string_view path, EncodingId id);

}  // namespace quillet
