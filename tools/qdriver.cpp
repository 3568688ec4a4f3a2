// qdriver.exe: the end-to-end driver from the command line, for scripts and for a
// person looking at a running Quillet under Wine.
//   qdriver wait-frame <ms>      exit 0 once the frame is visible, 1 on timeout
//   qdriver screenshot <file>    the whole screen as PNG (Unix paths are accepted)
//   qdriver close                WM_CLOSE to the frame; waits until it is gone
//   qdriver command <id>         WM_COMMAND <id> to the frame (posted)
//   qdriver caption | status | tabs   print the frame caption, status note, tab labels
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/driver.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: qdriver wait-frame <ms> | screenshot <file.png> | close | command <id>"
                 " | caption | status | tabs | drop <file>\n");
    return 2;
}

HWND Frame() { return FindWindowA("QuillFrame", nullptr); }

int Fail(const char *what) {
    std::fprintf(stderr, "qdriver: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return Usage();
    std::string verb = argv[1];
    if (verb == "wait-frame" && argc == 3) {
        DWORD ms = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
        return qdriver::WaitForFrame(0, ms) ? 0 : Fail("no visible frame");
    }
    if (verb == "screenshot" && argc == 3) {
        qdriver::Image image;
        if (!qdriver::CaptureScreen(&image)) return Fail("cannot capture the screen");
        return qdriver::WritePng(image, qdriver::FromUnixPath(argv[2])) ? 0 : Fail("cannot write the file");
    }
    const bool known = (argc == 2 && (verb == "close" || verb == "caption" || verb == "status" || verb == "tabs")) ||
                       (argc == 3 && (verb == "command" || verb == "drop"));
    if (!known) return Usage();
    HWND frame = Frame();
    if (!frame) return Fail("no frame");
    if (verb == "close" && argc == 2) {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        return qdriver::WaitUntil([&] { return !IsWindow(frame); }, 15000) ? 0 : Fail("frame still there");
    }
    if (verb == "command" && argc == 3) {
        int id = std::atoi(argv[2]);
        return qdriver::PostCommand(frame, id) ? 0 : Fail("cannot post");
    }
    if (verb == "drop" && argc == 3) {
        return qdriver::DropFile(frame, qdriver::FromUnixPath(argv[2])) ? 0 : Fail("cannot drop the file");
    }
    if (verb == "caption" && argc == 2) {
        std::printf("%s\n", qdriver::Text(frame).c_str());
        return 0;
    }
    if (verb == "status" && argc == 2) {
        std::printf("%s\n", qdriver::Text(qdriver::Child(frame, 1137)).c_str());
        return 0;
    }
    if (verb == "tabs" && argc == 2) {
        for (const std::string &label : qdriver::TabLabels(qdriver::Child(frame, 1091))) {
            std::printf("%s\n", label.c_str());
        }
        return 0;
    }
    return Usage();
}
