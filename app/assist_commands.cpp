// The frame's hand-over of the typing aids' commands: block comments and bookmarks
// work on the active script (each does nothing without one).
#include "app/command_handlers.h"
#include "assist/block_comments.h"
#include "assist/bookmarks.h"

namespace quillet {

CommandReply OnBlockComment(CommandContext &) {
    CommentSelectedLines();
    return CommandReply::kOne;
}

CommandReply OnBlockUncomment(CommandContext &) {
    UncommentSelectedLines();
    return CommandReply::kOne;
}

CommandReply OnToggleBookmark(CommandContext &) {
    ToggleBookmark();
    return CommandReply::kOne;
}

CommandReply OnClearBookmarks(CommandContext &) {
    ClearBookmarks();
    return CommandReply::kOne;
}

}  // namespace quillet
