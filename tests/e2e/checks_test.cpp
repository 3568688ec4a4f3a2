// End to end: a script with mistakes opened in the running program is underlined,
// the status bar counts the problems, Ctrl+F7 visits them and the mouse resting on one
// shows its message; the picture is kept in the screenshots folder.
#include <gtest/gtest.h>

#include <string>

#include "Scintilla.h"
#include "driver/session.h"

using namespace qdriver;

namespace {

constexpr int kProblemIndicator = 8;

constexpr char kScript[] =
    "var count\r\n"
    "mov count, 0\r\n"
    "again:\r\n"
    "inc count\r\n"
    "cmp count, 10\r\n"
    "jb again\r\n"
    "mvo eax, count\r\n"
    "jmp finish\r\n"
    "log total\r\n"
    "ret\r\n";

bool Underlined(HWND editor, size_t position) {
    return Send(editor, SCI_INDICATORVALUEAT, kProblemIndicator, static_cast<LPARAM>(position)) != 0;
}

}  // namespace

TEST(ScriptChecks, MistakesAreUnderlinedCountedVisitedAndExplainedOnHover) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string script = folder.File("mistakes.osc");
    ASSERT_TRUE(WriteBytes(script, kScript));
    const std::string text = kScript;
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(script), "");
    HWND editor = quillet.ActiveEditor();

    const size_t command = text.find("mvo"), label = text.find("finish"), variable = text.find("total");
    ASSERT_TRUE(WaitUntil([&] { return Underlined(editor, command); }, kStepTimeout)) << "no squiggle at open";
    EXPECT_TRUE(Underlined(editor, label));
    EXPECT_TRUE(Underlined(editor, variable));
    EXPECT_FALSE(Underlined(editor, text.find("again")));
    EXPECT_TRUE(WaitUntil([&] { return StatusPartText(quillet.StatusBar(), 0) == "3 problem(s) found (Ctrl+F7: next)"; },
                          kStepTimeout))
        << StatusPartText(quillet.StatusBar(), 0);

    // Ctrl+F7 from the top: the first problem, then the next.
    ASSERT_TRUE(PressKey(editor, VK_F7, {VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_GETCURRENTPOS) == static_cast<LRESULT>(command); },
                          kStepTimeout));
    ASSERT_TRUE(PressKey(editor, VK_F7, {VK_CONTROL}));
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_GETCURRENTPOS) == static_cast<LRESULT>(label); },
                          kStepTimeout));

    // The mouse resting on the misspelt command shows the message in a call tip. The
    // caret stays on the label, whose occurrences the word highlight marks after its
    // pause: that change of indicators leaves the tip open.
    HWND frame = quillet.Frame();
    ASSERT_EQ(RestPointerOn(editor, command + 1), "");
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_CALLTIPACTIVE) != 0; }, kStepTimeout)) << "no call tip";
    Sleep(1000);  // past the word highlight's pause
    EXPECT_NE(Send(editor, SCI_CALLTIPACTIVE), 0) << "the tip closed while the pointer rested";
    SaveScreenshot("script-checks.png", frame);
    EXPECT_TRUE(quillet.Close());
}
