// The script lexer inside SciLexer.dll, driven as the editor drives it: a real
// Scintilla window, SCI_SETLEXER 98 by message or through the direct function, the
// two word lists, a corpus script as text, SCI_COLOURISE over everything. The style of
// every position must equal the golden file the native lexer tests keep.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "ILexer.h"
#include "Scintilla.h"
#include "assist/keyword_file.h"
#include "platform/text.h"
#include "scilexer/script_lexer.h"
#include "tests/native/lexer_document.h"
#include "tests/native/lexer_keywords.h"

namespace {

constexpr UINT kSetLexer = 4001;  // SCI_SETLEXER of Scintilla 3, restored by SciLexer.dll
constexpr int kScriptLexer = 98;

const char *const kGoldenScripts[] = {
    "BKHONEL__OllyDBG-Script__EPack__EPack_1.4_OEP_Finder.txt",
    "BKHONEL__OllyDBG-Script__ExeCryptor__ExeCryptor_2.24_-_2.25_IAT_Rebuilder.txt",  // CR CR LF
    "dubuqingfeng__ollydbg-script__Themida__themida.txt",  // EXEC blocks, UTF-8 bytes
};

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The source tree: the nearest folder above this program that holds the golden files.
std::string SourceDir() {
    char exe[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe, length < MAX_PATH ? length : 0);
    for (;;) {
        const size_t slash = dir.find_last_of("\\/");
        if (slash == std::string::npos)
            return std::string();
        dir.resize(slash);
        if (GetFileAttributesA((dir + "\\tests\\data\\lexer").c_str()) != INVALID_FILE_ATTRIBUTES)
            return dir;
    }
}

struct Script {
    std::string text;
    std::string golden;
};

Script LoadScript(const std::string &name) {
    const std::string source = SourceDir();
    return {ReadFile(source + "\\..\\shared\\corpus\\" + name),
            ReadFile(source + "\\tests\\data\\lexer\\" + name + ".styled")};
}

// One Scintilla window; the parameter says whether messages go through the direct
// function (true) or SendMessage (false).
class ScriptLexerWindow : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "Scintilla", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        direct_ = reinterpret_cast<SciFnDirect>(SendMessageA(window_, SCI_GETDIRECTFUNCTION, 0, 0));
        pointer_ = static_cast<sptr_t>(SendMessageA(window_, SCI_GETDIRECTPOINTER, 0, 0));
        ASSERT_NE(direct_, nullptr);
        ASSERT_NE(pointer_, 0);
    }
    void TearDown() override { DestroyWindow(window_); }

    sptr_t Call(UINT message, uptr_t wParam = 0, sptr_t lParam = 0) {
        if (GetParam())
            return direct_(pointer_, message, wParam, lParam);
        return static_cast<sptr_t>(SendMessageA(window_, message, wParam, static_cast<LPARAM>(lParam)));
    }
    void SetScriptLexer() {
        Call(kSetLexer, kScriptLexer);
        Call(SCI_SETKEYWORDS, 0, reinterpret_cast<sptr_t>(quillet::lexertest::kCommandWords));
        Call(SCI_SETKEYWORDS, 1, reinterpret_cast<sptr_t>(quillet::lexertest::kRegisterWords));
    }
    void SetText(const std::string &text) {
        Call(SCI_CLEARALL);
        Call(SCI_APPENDTEXT, text.size(), reinterpret_cast<sptr_t>(text.data()));
    }
    // Styles everything and reads the style of every position back.
    std::string StylesAfterColourise() {
        Call(SCI_COLOURISE, 0, -1);
        const sptr_t length = Call(SCI_GETLENGTH);
        std::string styles(static_cast<size_t>(length), '\0');
        for (sptr_t pos = 0; pos < length; pos++)
            styles[static_cast<size_t>(pos)] = static_cast<char>(Call(SCI_GETSTYLEAT, pos));
        return styles;
    }
    std::string Styled(const std::string &text) {
        return quillet::lexertest::MarkStyles(text, StylesAfterColourise());
    }

    HWND window_ = nullptr;
    SciFnDirect direct_ = nullptr;
    sptr_t pointer_ = 0;
};

TEST_P(ScriptLexerWindow, StylesCorpusScriptsAsTheNativeLexer) {
    SetScriptLexer();
    EXPECT_EQ(Call(SCI_GETLEXER), kScriptLexer);
    for (const char *name : kGoldenScripts) {
        const Script script = LoadScript(name);
        ASSERT_FALSE(script.text.empty()) << name << " not found from " << SourceDir();
        ASSERT_FALSE(script.golden.empty()) << name;
        SetText(script.text);
        EXPECT_TRUE(Styled(script.text) == script.golden) << name << " styled differently in the control";
    }
}

// What the editor gives the control: the base keyword list of the shipped keyword
// file, lower-cased. The same lexer, run outside the control through the document
// harness with the same lists, must style every corpus script identically.
TEST_P(ScriptLexerWindow, StylesCorpusScriptsWithTheShippedKeywordsAsTheLexerDoesOutsideTheControl) {
    const quillet::KeywordFile keywords = quillet::ParseKeywordFile(ReadFile(SourceDir() + "\\data\\qkeywords.txt"));
    ASSERT_TRUE(keywords.ok());
    const std::string list0 = quillet::ToLowerAscii(keywords.keyword_list);
    Call(kSetLexer, kScriptLexer);
    Call(SCI_SETKEYWORDS, 0, reinterpret_cast<sptr_t>(list0.c_str()));
    Call(SCI_SETKEYWORDS, 1, reinterpret_cast<sptr_t>(quillet::lexertest::kRegisterWords));
    for (const char *name : kGoldenScripts) {
        const Script script = LoadScript(name);
        ASSERT_FALSE(script.text.empty()) << name;
        quillet::lexertest::LexerDocument doc(script.text);
        Scintilla::ILexer5 *lexer = quillet::CreateScriptLexer();
        lexer->WordListSet(0, list0.c_str());
        lexer->WordListSet(1, quillet::lexertest::kRegisterWords);
        lexer->Lex(0, doc.Length(), 0, &doc);
        lexer->Release();
        SetText(script.text);
        EXPECT_TRUE(StylesAfterColourise() == doc.Styles()) << name << " styled differently in the control";
    }
}

TEST_P(ScriptLexerWindow, SettingTheSameLexerAgainKeepsTheKeywords) {
    const Script script = LoadScript(kGoldenScripts[0]);
    ASSERT_FALSE(script.text.empty());
    SetScriptLexer();
    SetText(script.text);
    Call(kSetLexer, kScriptLexer);  // the editor does this for every new document
    EXPECT_EQ(Styled(script.text), script.golden);
}

TEST_P(ScriptLexerWindow, AnUnknownLexerNumberAfterTheScriptLexerStylesEverythingZero) {
    const Script script = LoadScript(kGoldenScripts[0]);
    SetScriptLexer();
    SetText(script.text);
    StylesAfterColourise();
    Call(kSetLexer, 77);
    EXPECT_EQ(Call(SCI_GETLEXER), 77);
    const std::string styles = StylesAfterColourise();
    EXPECT_EQ(styles, std::string(script.text.size(), '\0'));
}

// Lazy styling in the real control: after an edit the control restyles from the
// changed line on, using the line states of the lines above; the result equals styling
// the edited text from scratch.
TEST_P(ScriptLexerWindow, RestylingAfterAnEditEqualsStylingFromScratch) {
    const Script script = LoadScript(kGoldenScripts[2]);
    ASSERT_FALSE(script.text.empty());
    SetScriptLexer();
    SetText(script.text);
    StylesAfterColourise();

    struct Edit {
        int line;
        const char *text;
    };
    const Edit edits[] = {{20, "/* opened here\r\n"}, {40, "*/\r\n"}, {30, "exec\r\n"}, {60, "ende\r\n"},
                          {10, "msg \"unclosed\r\n"}};
    for (const Edit &edit : edits) {
        const sptr_t at = Call(SCI_POSITIONFROMLINE, edit.line);
        Call(SCI_INSERTTEXT, at, reinterpret_cast<sptr_t>(edit.text));
        // Style from the edited line on only, as painting would.
        const sptr_t lineStart = Call(SCI_POSITIONFROMLINE, Call(SCI_LINEFROMPOSITION, Call(SCI_GETENDSTYLED)));
        Call(SCI_COLOURISE, lineStart, -1);
        const sptr_t length = Call(SCI_GETLENGTH);
        std::string incremental(static_cast<size_t>(length), '\0');
        for (sptr_t pos = 0; pos < length; pos++)
            incremental[static_cast<size_t>(pos)] = static_cast<char>(Call(SCI_GETSTYLEAT, pos));

        std::string buffer(static_cast<size_t>(length) + 1, '\0');
        Sci_TextRangeFull range{{0, length}, &buffer[0]};
        Call(SCI_GETTEXTRANGEFULL, 0, reinterpret_cast<sptr_t>(&range));
        const std::string text(buffer.data(), static_cast<size_t>(length));

        HWND fresh = CreateWindowExA(0, "Scintilla", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(fresh, nullptr);
        SendMessageA(fresh, kSetLexer, kScriptLexer, 0);
        SendMessageA(fresh, SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(quillet::lexertest::kCommandWords));
        SendMessageA(fresh, SCI_SETKEYWORDS, 1, reinterpret_cast<LPARAM>(quillet::lexertest::kRegisterWords));
        SendMessageA(fresh, SCI_APPENDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        SendMessageA(fresh, SCI_COLOURISE, 0, -1);
        std::string scratch(text.size(), '\0');
        for (size_t pos = 0; pos < text.size(); pos++)
            scratch[pos] = static_cast<char>(SendMessageA(fresh, SCI_GETSTYLEAT, pos, 0));
        DestroyWindow(fresh);

        EXPECT_TRUE(incremental == scratch) << "after inserting at line " << edit.line << ": " << edit.text;
    }
}

INSTANTIATE_TEST_SUITE_P(ByMessageAndDirectly, ScriptLexerWindow, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? std::string("DirectFunction") : std::string("SendMessage");
                         });

}  // namespace
