// The text of an INI file changed the way the system's profile functions change it,
// window-free: the program writes its settings files whole (to a temporary file that
// then replaces the old one), so the change is made to the file's text in memory.
// Sections and keys are found without regard to case, blanks and tabs around names
// do not count, the first matching section is the one changed, and every line that
// the change does not touch keeps its bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// A key's value set (`value` given) or the key removed (no value). An empty `key`
// removes the whole section. Adding to a missing section appends it at the end; a new
// key goes after the section's last line that is not blank. Lines the program adds
// end with CR LF.
std::string WithProfileKey(std::string_view file, std::string_view section, std::string_view key,
                           const std::optional<std::string> &value);
// The section's lines replaced by those of `block` ("key=value" texts each ended by a
// zero, the last by a second zero, as the system's section functions take them); a
// missing section is appended.
std::string WithProfileSection(std::string_view file, std::string_view section, std::string_view block);

}  // namespace quillet
