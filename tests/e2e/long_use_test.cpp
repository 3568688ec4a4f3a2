// End to end: long use. Two hundred documents created, typed into and closed through
// the running program's own commands; afterwards its GDI and USER objects and its
// private memory are back at the level they had after a few warm-up rounds.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include "Scintilla.h"
#include "driver/session.h"

using namespace qdriver;

namespace {


struct Usage {
    DWORD gdiObjects;
    DWORD userObjects;
    SIZE_T privateBytes;
};

Usage Measure(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    // The commit charge: what the process holds, whether in memory or not.
    return {GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS), memory.PagefileUsage};
}

// One round: a new script, a line typed into it, marked saved, closed.
bool Round(Session &quillet, int number) {
    const size_t before = quillet.Documents().size();
    SendCommand(quillet.Frame(), ui::kCmdNew);
    HWND editor = nullptr;
    if (!WaitUntil([&] { return quillet.Documents().size() > before && (editor = quillet.ActiveEditor()); },
                   kStepTimeout)) {
        ADD_FAILURE() << "no new document";
        return false;
    }
    const std::string line = "var v" + std::to_string(number);
    TypeText(editor, line);
    if (!WaitUntil([&] { return Text(editor).find(line) != std::string::npos; }, kStepTimeout)) {
        ADD_FAILURE() << "typed text not seen: [" << Text(editor) << "]";
        return false;
    }
    Send(editor, SCI_SETSAVEPOINT);
    PostMessageA(quillet.ActiveDocument(), WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return quillet.Documents().size() == before; }, kStepTimeout)) {
        ADD_FAILURE() << "the document did not close; dialogs open: " << TopWindows(quillet.Pid(), "#32770").size();
        return false;
    }
    return true;
}

}  // namespace

TEST(LongUse, TwoHundredDocumentsLeaveNoObjectsOrMemoryBehind) {
    FreshFolder folder;
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");

    for (int i = 0; i < 10; ++i) ASSERT_TRUE(Round(quillet, i)) << "warm-up round " << i;
    const Usage start = Measure(quillet.Process().Handle());
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(Round(quillet, i)) << "round " << i;
    const Usage end = Measure(quillet.Process().Handle());

    // Wine answers 0 for the object counts; on Windows they must come back exactly.
    EXPECT_LE(end.gdiObjects, start.gdiObjects + 2);
    EXPECT_LE(end.userObjects, start.userObjects + 2);
    ASSERT_GT(start.privateBytes, 0u);
    // The heap may keep a little slack, never a document's worth per round.
    EXPECT_LT(end.privateBytes, start.privateBytes + (4u << 20))
        << "private bytes " << start.privateBytes << " -> " << end.privateBytes;
    EXPECT_TRUE(quillet.Documents().empty());
}
