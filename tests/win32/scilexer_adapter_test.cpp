// SciLexer.dll selects lexers by number through both the window procedure and the
// direct function, as the editor drives it.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/editor.h"
#include "scilexer/scilexer_api.h"

namespace {

constexpr UINT kSetLexer = 4001;

class ScintillaWindow : public testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "Scintilla", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }
    HWND window_ = nullptr;
};

TEST_F(ScintillaWindow, SetLexerByMessageSelectsTheNumberedLexer) {
    EXPECT_EQ(SendMessageA(window_, SCI_GETLEXER, 0, 0), 0);  // no lexer yet
    SendMessageA(window_, kSetLexer, 98, 0);
    EXPECT_EQ(SendMessageA(window_, SCI_GETLEXER, 0, 0), 98);
}

TEST_F(ScintillaWindow, SetLexerThroughTheDirectFunction) {
    const auto pointer = static_cast<sptr_t>(SendMessageA(window_, SCI_GETDIRECTPOINTER, 0, 0));
    ASSERT_NE(pointer, 0);
    Scintilla_DirectFunction(pointer, kSetLexer, 98, 0);
    EXPECT_EQ(Scintilla_DirectFunction(pointer, SCI_GETLEXER, 0, 0), 98);

    // The function handed out by SCI_GETDIRECTFUNCTION goes through the adapter too.
    const auto direct = reinterpret_cast<SciFnDirect>(SendMessageA(window_, SCI_GETDIRECTFUNCTION, 0, 0));
    ASSERT_NE(direct, nullptr);
    direct(pointer, kSetLexer, 77, 0);
    EXPECT_EQ(direct(pointer, SCI_GETLEXER, 0, 0), 77);
}

TEST_F(ScintillaWindow, UnknownLexerNumberStylesEverythingPlain) {
    const quillet::Editor editor(window_);
    editor.Call(kSetLexer, 12345);
    editor.SetText("mov eax, 1 ; comment\r\n\"text\"");
    editor.Call(SCI_COLOURISE, 0, -1);
    const auto length = editor.Call(SCI_GETLENGTH);
    for (sptr_t i = 0; i < length; ++i) ASSERT_EQ(editor.Call(SCI_GETSTYLEAT, i), 0) << "at " << i;
    EXPECT_EQ(editor.Call(SCI_GETENDSTYLED), length);  // styled by the lexer, not left to a container
}

TEST_F(ScintillaWindow, EditorKeepsZeroBytes) {
    const quillet::Editor editor(window_);
    const std::string bytes("a\0b\r\nc", 6);
    editor.SetText(bytes);
    EXPECT_EQ(editor.Text(), bytes);
}

}  // namespace
