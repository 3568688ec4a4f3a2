// The line rules of the block comment commands.
#include "editing/block_comment_rules.h"

namespace quillet {

bool FirstLineRefusesComment(char first, char second) { return first == '/' || second == '/'; }

bool LineStartsWithMarker(char first, char second) { return first == '/' && second == '/'; }

}  // namespace quillet
