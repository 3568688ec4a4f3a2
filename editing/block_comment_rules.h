// The line rules of the block comment commands, window-free: the comment marker is
// "//" at the very start of a line, before any indentation.
#pragma once

namespace quillet {

inline constexpr char kLineCommentMarker[] = "//";

// Commenting a block is refused when its first line already begins with a "/" in
// either of its first two characters (a commented or half-commented line).
bool FirstLineRefusesComment(char first, char second);

// Uncommenting removes the marker only from a line whose first two characters are it.
bool LineStartsWithMarker(char first, char second);

}  // namespace quillet
