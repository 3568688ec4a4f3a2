// Where the program's own files live: the folder of its executable.
#pragma once

#include <string>

namespace quillet::platform {

// The folder of the running executable, with its trailing backslash.
std::string ExeFolder();

// The path of a file beside the program.
std::string ProgramFile(const char *name);

// Tests run in-process from the test program's folder; they point the program at a
// folder of their own instead. An empty text restores the real folder.
void SetExeFolderForTests(const std::string &folder);

// The system's temporary folder, with its trailing backslash.
std::string TempFolder();

}  // namespace quillet::platform
