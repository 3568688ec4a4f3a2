// The frame's command table: every WM_COMMAND id that reaches the frame, the handler
// that carries it out and the module that owns it. Commands of modules that are not
// part of the program yet have no handler and get the frame's default processing.
#pragma once

#include <windows.h>

#include <string>

#include "app/frame_window.h"

namespace quillet {

// What the frame procedure answers once a handler has run.
enum class CommandReply {
    kOne,      // return 1, no default processing
    kZero,     // return 0, no default processing
    kDefault,  // default frame processing follows
};

struct CommandContext {
    HWND frame;
    FrameState &state;
    int id;
    std::string exeFolder;  // taken afresh for every command
};

using CommandHandler = CommandReply (*)(CommandContext &context);

struct CommandEntry {
    int id;
    CommandHandler handler;  // null: nothing carries it out yet
    const char *owner;
};

// The entry of an id, or null when the frame does not know it.
const CommandEntry *FindCommand(int id);

// Runs the command's handler; kDefault for unknown ids and ids without a handler.
CommandReply RunCommand(HWND frame, FrameState &state, int id);

}  // namespace quillet
