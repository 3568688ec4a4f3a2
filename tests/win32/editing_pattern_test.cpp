// Pattern paste from the editor menu ("PtrnPaste") with the real clipboard: the pattern
// goes into the script and the clipboard keeps the user's text, also when it holds
// characters outside the ANSI code page, a megabyte of binary bytes, or nothing.
#include "tests/win32/documents_fixture.h"

#include <cwchar>

namespace quillet::testing_documents {
namespace {

using PatternPasteTest = DocumentsFixture;

bool PutOnClipboard(UINT format, const void *bytes, size_t size) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    bool ok = true;
    if (size) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(block), bytes, size);
        GlobalUnlock(block);
        ok = SetClipboardData(format, block) != nullptr;
    }
    CloseClipboard();
    return ok;
}

std::string FromClipboard(UINT format) {
    std::string bytes;
    if (!OpenClipboard(nullptr)) return "<not opened>";
    if (HANDLE data = GetClipboardData(format)) {
        bytes.assign(static_cast<const char *>(GlobalLock(data)), GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

TEST_F(PatternPasteTest, PastesThePatternAndKeepsTheClipboard) {
    HWND document = NewDocument();
    const Editor editor(EditorOfDocument(document));
    editor.SetText("find ");
    editor.Call(SCI_DOCUMENTEND);
    const auto pastePattern = [&] {
        menuChoices_.push_back(kEdPatternPaste);
        SendMessageA(document, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(document), MAKELPARAM(10, 10));
    };

    // Lines copied as Unicode text, one with a character outside the ANSI code page.
    const wchar_t listing[] = L"00401000  68 00304000  PUSH 00403000\r\n"
                              L"00401005  E8 23010000  CALL 0040112D  ; \x0416\x4E2D\r\n";
    ASSERT_TRUE(PutOnClipboard(CF_UNICODETEXT, listing, sizeof listing));
    pastePattern();
    EXPECT_EQ(editor.Text(), "find #68????????E8????????#");
    const std::string kept = FromClipboard(CF_UNICODETEXT);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t *>(kept.data())), listing);

    // A megabyte of binary bytes without a terminating zero converts within its size.
    std::string junk(1 << 20, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(1 + (i * 131) % 255);
    ASSERT_TRUE(PutOnClipboard(CF_TEXT, junk.data(), junk.size()));
    const sptr_t before = editor.Call(SCI_GETLENGTH);
    pastePattern();
    EXPECT_LE(editor.Call(SCI_GETLENGTH), before + static_cast<sptr_t>(junk.size()) + 2);
    // (The system ends a text block with a zero byte of its own: the last byte is not compared.)
    const std::string back = FromClipboard(CF_TEXT);
    EXPECT_TRUE(back.size() >= junk.size() && back.compare(0, junk.size() - 1, junk, 0, junk.size() - 1) == 0)
        << "the clipboard's bytes changed";

    // No text on the clipboard: the message, and the script stays as it was.
    ASSERT_TRUE(PutOnClipboard(CF_TEXT, nullptr, 0));
    const std::string text = editor.Text();
    pastePattern();
    EXPECT_EQ(editor.Text(), text);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], (ShownMessage{"Sorry,could not do it", "error", MB_OK}));
    EXPECT_EQ(menus_.size(), 3u);
}

}  // namespace
}  // namespace quillet::testing_documents
