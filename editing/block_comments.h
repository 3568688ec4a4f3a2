// Block comments: F4 puts "//" at the start of every selected line of the active
// script, F5 takes one "//" away from each. Both leave the whole block selected unless
// the "BlockCommnetRazuviOff" switch is on.
#pragma once

namespace quillet {

void CommentSelectedLines();
void UncommentSelectedLines();

}  // namespace quillet
