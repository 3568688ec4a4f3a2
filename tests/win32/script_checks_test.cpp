// Script checks in a real editor: a misspelt command typed into the control is
// underlined after the pause, hovering it shows the message, the status bar counts it,
// Next Problem reaches it, the switch clears it; go to label follows a call into the
// included script (by key and by Ctrl+click) and Back returns.
#include "tests/win32/documents_fixture.h"

#include <functional>

#include "app/find_replace.h"
#include "assist/script_checks.h"
#include "assist/structure_aids.h"
#include "platform/settings_store.h"

namespace quillet::testing_documents {
namespace {

using ScriptChecks = DocumentsFixture;

// Runs messages until `done` holds or five seconds have passed.
bool WaitFor(const std::function<bool()> &done) {
    for (int i = 0; i < 500; ++i) {
        Pump();
        if (done()) return true;
        Sleep(10);
    }
    return done();
}

std::string StatusText(HWND statusBar) {
    char text[256] = "";
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

bool Underlined(const Editor &editor, sptr_t position) {
    return editor.Call(SCI_INDICATORVALUEAT, kProblemIndicator, position) != 0;
}

LPARAM PointOf(const Editor &editor, sptr_t position) {
    const auto x = static_cast<int>(editor.Call(SCI_POINTXFROMPOSITION, 0, position)) + 2;
    const auto y = static_cast<int>(editor.Call(SCI_POINTYFROMPOSITION, 0, position)) + 4;
    return MAKELPARAM(x, y);
}

constexpr char kCommandList[] = "CALL JMP MOV RET VAR";

TEST_F(ScriptChecks, TypedMistakeIsUnderlinedHoveredCountedAndVisited) {
    PublishKeywordList(frame_, kCommandList);
    WriteBytes(Path("typed.osc"), "var x\r\nmov x, 1\r\n");
    OpenScriptPath(Path("typed.osc").c_str());
    const Editor editor = ActiveEditor();
    ASSERT_TRUE(editor.IsOpen());
    ASSERT_TRUE(WaitFor([&] { return StatusText(handles_.statusBar) == text::kStatusNoProblems; }));

    // Typed at the end, key by key, as the user types.
    editor.Call(SCI_DOCUMENTEND);
    for (char c : std::string("mvo x, 2")) SendMessageA(editor.Window(), WM_CHAR, static_cast<WPARAM>(c), 0);
    // The line was indented as it was typed.
    ASSERT_EQ(editor.Text(), "var x\r\nmov x, 1\r\n\tmvo x, 2");
    const auto typedAt = static_cast<sptr_t>(editor.Text().find("mvo"));
    EXPECT_FALSE(Underlined(editor, typedAt));  // nothing before the pause
    ASSERT_TRUE(WaitFor([&] { return Underlined(editor, typedAt); }));
    EXPECT_TRUE(Underlined(editor, typedAt + 2));
    EXPECT_FALSE(Underlined(editor, typedAt + 3));
    EXPECT_EQ(editor.Text(), "var x\r\nmov x, 1\r\n\tmvo x, 2");  // the checks never change the text
    EXPECT_EQ(StatusText(handles_.statusBar), std::string("1") + text::kStatusProblems);

    // With the caret on a variable, its occurrences are marked after the pause.
    const auto highlighted = [&](sptr_t position) {
        return editor.Call(SCI_INDICATORVALUEAT, kWordHighlightIndicator, position) != 0;
    };
    editor.Call(SCI_GOTOPOS, 4);
    ASSERT_TRUE(WaitFor([&] { return highlighted(4) && highlighted(11) && highlighted(typedAt + 4); }));
    EXPECT_FALSE(highlighted(0));
    editor.Call(SCI_CALLTIPCANCEL);  // a command's tip the caret may have opened

    // The mouse resting on the squiggle shows the message in a call tip. Indicators that
    // change meanwhile (here: the marks taken away) leave it open, and the marks are not
    // drawn again while nothing moves.
    SendMessageA(editor.Window(), WM_MOUSEMOVE, 0, PointOf(editor, typedAt + 1));
    ASSERT_TRUE(WaitFor([&] { return editor.Call(SCI_CALLTIPACTIVE) != 0; }));
    editor.Call(SCI_SETINDICATORCURRENT, kWordHighlightIndicator);
    editor.Call(SCI_INDICATORCLEARRANGE, 0, editor.Call(SCI_GETLENGTH));
    for (int i = 0; i < 100; ++i, Sleep(10)) Pump();  // more than two pauses
    EXPECT_FALSE(highlighted(4)) << "the word was marked again without a move";
    EXPECT_NE(editor.Call(SCI_CALLTIPACTIVE), 0) << "an indicator change closed the tip";

    // Next Problem from the top reaches it, and wraps around to it again.
    editor.Call(SCI_GOTOPOS, 0);
    GoToNextProblem();
    EXPECT_EQ(editor.Call(SCI_GETCURRENTPOS), typedAt);
    GoToNextProblem();
    EXPECT_EQ(editor.Call(SCI_GETCURRENTPOS), typedAt);

    // The switch clears the squiggles and is kept in razuvi.ini; on again, they return.
    SetScriptChecksOn(frame_, false);
    EXPECT_FALSE(Underlined(editor, typedAt));
    EXPECT_EQ(ReadSetting(setting::kScriptChecksOff), 1);
    EXPECT_EQ(StatusText(handles_.statusBar), "");  // the count went with the squiggles
    SetScriptChecksOn(frame_, true);
    EXPECT_TRUE(WaitFor([&] { return Underlined(editor, typedAt); }));
    CloseAll();
}

// Replace All edits with the control's change reports held; the checks hear of it all
// the same: the squiggle of the replaced mistake goes, the new one comes, and the count
// follows.
TEST_F(ScriptChecks, ReplaceAllIsCheckedAgain) {
    PublishKeywordList(frame_, kCommandList);
    const std::string script = "var x\r\nmvo x, 1\r\nmov x, 2\r\n";
    WriteBytes(Path("replaced.osc"), script);
    OpenScriptPath(Path("replaced.osc").c_str());
    const Editor editor = ActiveEditor();
    ASSERT_TRUE(editor.IsOpen());
    const auto mistakeAt = static_cast<sptr_t>(script.find("mvo"));
    ASSERT_TRUE(WaitFor([&] { return Underlined(editor, mistakeAt); }));
    EXPECT_EQ(StatusText(handles_.statusBar), std::string("1") + text::kStatusProblems);

    // "mvo" becomes "mov" and "mov" becomes "mvo": the mistake moves to the third line.
    ASSERT_EQ(ReplaceAllMatches(editor, "mvo", "tmp", SCFIND_WHOLEWORD), 1);
    ASSERT_EQ(ReplaceAllMatches(editor, "mov", "mvo", SCFIND_WHOLEWORD), 1);
    ASSERT_EQ(ReplaceAllMatches(editor, "tmp", "mov", SCFIND_WHOLEWORD), 1);
    ASSERT_EQ(editor.Text(), "var x\r\nmov x, 1\r\nmvo x, 2\r\n");
    const auto movedTo = static_cast<sptr_t>(editor.Text().find("mvo"));
    EXPECT_TRUE(WaitFor([&] { return Underlined(editor, movedTo) && !Underlined(editor, mistakeAt); }))
        << "the squiggles stayed where the text was before Replace All";
    EXPECT_EQ(StatusText(handles_.statusBar), std::string("1") + text::kStatusProblems);

    // Replaced away altogether: no problem left.
    ASSERT_EQ(ReplaceAllMatches(editor, "mvo", "mov", 0), 1);
    EXPECT_TRUE(WaitFor([&] { return StatusText(handles_.statusBar) == text::kStatusNoProblems; }));
    EXPECT_FALSE(Underlined(editor, movedTo));
    CloseAll();
}

// A script that includes itself three times is checked in one pass (each include is
// read once), the cycle and a wrong operand count are underlined, and Next Problem
// visits them.
TEST_F(ScriptChecks, SelfIncludeAndOperandCountAreUnderlined) {
    PublishKeywordList(frame_, kCommandList);
    const std::string script = "#inc \"self.osc\"\r\n#inc \"self.osc\"\r\n#inc \"self.osc\"\r\nmov eax\r\nret\r\n";
    WriteBytes(Path("self.osc"), script);
    OpenScriptPath(Path("self.osc").c_str());
    const Editor editor = ActiveEditor();
    ASSERT_TRUE(WaitFor([&] { return StatusText(handles_.statusBar) == std::string("4") + text::kStatusProblems; }))
        << StatusText(handles_.statusBar);
    const auto countAt = static_cast<sptr_t>(script.find("mov eax"));
    EXPECT_TRUE(Underlined(editor, 0));
    EXPECT_TRUE(Underlined(editor, countAt + 6));
    editor.Call(SCI_GOTOPOS, static_cast<sptr_t>(script.find("#inc", 20)) + 1);
    GoToNextProblem();
    EXPECT_EQ(editor.Call(SCI_GETCURRENTPOS), countAt);
    CloseAll();
}

TEST_F(ScriptChecks, GoToLabelOpensTheIncludedScriptAndBackReturns) {
    PublishKeywordList(frame_, kCommandList);
    const std::string lib = "var shared\r\n\r\nhelper:\r\nret\r\n";
    WriteBytes(Path("lib.osc"), lib);
    const std::string main = "#inc \"lib.osc\"\r\nmov shared, 1\r\ncall helper\r\njmp done\r\ndone:\r\nret\r\n";
    WriteBytes(Path("main.osc"), main);
    OpenScriptPath(Path("main.osc").c_str());
    HWND mainDocument = ActiveDocument();
    const Editor editor = ActiveEditor();
    ASSERT_TRUE(WaitFor([&] { return StatusText(handles_.statusBar) == text::kStatusNoProblems; }));

    // By key: from the operand of "call helper" into lib.osc.
    const auto helperAt = static_cast<sptr_t>(main.find("helper"));
    editor.Call(SCI_GOTOPOS, helperAt + 2);
    GoToLabelAtCaret(OpenScriptPath);
    ASSERT_EQ(DocumentPath(ActiveDocument()), Path("lib.osc"));
    EXPECT_EQ(ActiveEditor().Call(SCI_GETCURRENTPOS), static_cast<sptr_t>(lib.find("helper:")));
    GoBackFromLabel();
    EXPECT_EQ(ActiveDocument(), mainDocument);
    EXPECT_EQ(editor.Call(SCI_GETCURRENTPOS), helperAt + 2);

    // By Ctrl+click: on "done" of "jmp done", within the same script.
    const auto doneAt = static_cast<sptr_t>(main.find("done"));
    EXPECT_NE(editor.Call(SCI_INDICATORVALUEAT, kLabelLinkIndicator, doneAt + 1), 0);
    SendMessageA(editor.Window(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, PointOf(editor, doneAt + 1));
    SendMessageA(editor.Window(), WM_LBUTTONUP, MK_CONTROL, PointOf(editor, doneAt + 1));
    const auto doneLabel = static_cast<sptr_t>(main.find("done:"));
    EXPECT_TRUE(WaitFor([&] { return editor.Call(SCI_GETCURRENTPOS) == doneLabel; }));
    GoBackFromLabel();
    EXPECT_EQ(editor.Call(SCI_GETCURRENTPOS), doneAt + 1);
    CloseAll();
}

}  // namespace
}  // namespace quillet::testing_documents
