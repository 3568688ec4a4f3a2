// Files written whole and safely: the new bytes go to a temporary file beside the
// target, every write checked, and only a complete file then takes the target's place.
// A failure leaves the old file as it was and no temporary file behind. Scripts and the
// settings files are written this way.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quillet::platform {

// Writes `bytes` as the whole new content of `path`; false with the system error.
bool WriteFileReplacing(const std::string &path, std::string_view bytes, DWORD &error);
// Reads a whole file; a file that does not exist reads as empty. False with the system
// error when it exists but cannot be read.
bool ReadWholeFile(const std::string &path, std::string &bytes, DWORD &error);

}  // namespace quillet::platform
