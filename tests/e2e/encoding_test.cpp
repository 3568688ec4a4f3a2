// End to end, under Wine's English locale: a GBK and a Windows-1251 script of the corpus
// open with their comments readable (read back through the control as characters), the
// status bar names each encoding, Save writes every byte back unchanged, and "Reopen As"
// changes only its document and is remembered for the next opening.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "driver/session.h"

#include <dlgs.h>

using namespace qdriver;

namespace {

constexpr char kGbkScript[] = "dubuqingfeng__ollydbg-script__ZProtect__anti-hook-u07be12.txt";
constexpr char k1251Script[] = "BKHONEL__OllyDBG-Script__RLPack__RLPack1.9_pre_Heavy_Weapon.txt";
constexpr int kReopenAsFirst = 1170;
constexpr int kReopenAsBig5 = kReopenAsFirst + 4;
constexpr int kCmdFind = 1098;

// The editor's text as characters: the control turns its bytes into UTF-16 with the
// document's code page and character set.
std::wstring Characters(HWND editor) {
    const LRESULT length = SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(editor, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::string EncodingShown(Session &quillet) { return StatusPartText(quillet.StatusBar(), 1); }

void Activate(Session &quillet, HWND document) {
    SendMessageA(quillet.MdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
}

}  // namespace

TEST(Encoding, ScriptsShowInTheirOwnEncodingSaveByteForByteAndReopenAsIsRemembered) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    std::string gbkBytes, cyrillicBytes;
    ASSERT_TRUE(ReadBytes(CorpusFolder() + kGbkScript, &gbkBytes));
    ASSERT_TRUE(ReadBytes(CorpusFolder() + k1251Script, &cyrillicBytes));
    cyrillicBytes += "\r\n\xCD\xE0\xF7\xE0\xEB\xEE:\r\n";  // a label, "Начало:" in Windows-1251
    const std::string gbk = folder.File("chinese.txt"), cyrillic = folder.File("russian.osc");
    ASSERT_TRUE(WriteBytes(gbk, gbkBytes));
    ASSERT_TRUE(WriteBytes(cyrillic, cyrillicBytes));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");

    ASSERT_EQ(quillet.OpenScript(gbk), "");
    HWND gbkDocument = quillet.ActiveDocument();
    EXPECT_NE(Characters(quillet.ActiveEditor()).find(L"//\u7528\u6765\u8865\u5145\u8bf4\u660e\u4fee\u590d"
                                                      L"anti-hook\u7684"),
              std::wstring::npos)
        << "the Chinese comment reads as characters";
    EXPECT_EQ(EncodingShown(quillet), "GBK");
    Sleep(300);  // let the comments paint
    SaveScreenshot("encoding-gbk-script.png", quillet.Frame());

    ASSERT_EQ(quillet.OpenScript(cyrillic), "");
    HWND cyrillicDocument = quillet.ActiveDocument();
    EXPECT_NE(Characters(quillet.ActiveEditor())
                  .find(L"\u041d\u0430\u0437\u043d\u0430\u0447\u0435\u043d\u0438\u0435 \u0441\u043a\u0440\u0438"
                        L"\u043f\u0442\u0430 RLPack1.9"),
              std::wstring::npos)
        << "the Russian comment reads as characters";
    EXPECT_EQ(EncodingShown(quillet), "Windows-1251");
    Sleep(300);
    SaveScreenshot("encoding-1251-script.png", quillet.Frame());

    // The labels pane shows the Cyrillic label as its characters.
    HWND labels = Descendant(quillet.Frame(), ui::kLabelsList);
    ASSERT_TRUE(labels);
    ASSERT_TRUE(PressKey(quillet.ActiveEditor(), VK_PAUSE));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(GetParent(labels)) != FALSE; }, kStepTimeout));
    std::vector<std::wstring> shown;
    for (LRESULT i = 0; i < SendMessageW(labels, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t label[128] = L"";
        if (SendMessageW(labels, LB_GETTEXTLEN, i, 0) < 128)
            SendMessageW(labels, LB_GETTEXT, i, reinterpret_cast<LPARAM>(label));
        shown.emplace_back(label);
    }
    EXPECT_NE(std::find(shown.begin(), shown.end(), L"\u041d\u0430\u0447\u0430\u043b\u043e:"), shown.end())
        << shown.size() << " labels, none of them the Cyrillic one";
    Sleep(300);
    SaveScreenshot("encoding-labels-pane.png", quillet.Frame());

    // Save writes the bytes as they were read.
    SendCommand(quillet.Frame(), ui::kCmdSave);
    std::string written;
    EXPECT_TRUE(ReadBytes(cyrillic, &written) && written == cyrillicBytes) << "Windows-1251 script changed on save";
    Activate(quillet, gbkDocument);
    EXPECT_EQ(EncodingShown(quillet), "GBK") << "the status bar follows the active document";
    SendCommand(quillet.Frame(), ui::kCmdSave);
    EXPECT_TRUE(ReadBytes(gbk, &written) && written == gbkBytes) << "GBK script changed on save";

    // Reopen As Big5: this document only, the bytes untouched, the choice stored.
    SendCommand(quillet.Frame(), kReopenAsBig5);
    EXPECT_EQ(EncodingShown(quillet), "Big5");
    EXPECT_EQ(Send(quillet.ActiveEditor(), SCI_GETCODEPAGE), 950);
    EXPECT_EQ(Send(quillet.ActiveEditor(), SCI_GETLENGTH), static_cast<LRESULT>(gbkBytes.size()));
    Activate(quillet, cyrillicDocument);
    EXPECT_EQ(EncodingShown(quillet), "Windows-1251");
    EXPECT_EQ(Send(quillet.ActiveEditor(), SCI_GETCODEPAGE), 0);
    EXPECT_TRUE(WaitUntil([&] { return IniRead(folder.Settings(), "Encodings", "ENC1") == "Big5"; }, kStepTimeout));
    EXPECT_EQ(IniRead(folder.Settings(), "Encodings", "ENCfile1"), gbk);

    Activate(quillet, gbkDocument);
    PostMessageA(gbkDocument, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return quillet.Documents().size() == 1; }, kStepTimeout));
    ASSERT_EQ(quillet.OpenScript(gbk), "");
    EXPECT_EQ(EncodingShown(quillet), "Big5") << "the choice comes back with the file";
    EXPECT_TRUE(quillet.Close());
}

// Keys of the Cyrillic alphabet pressed on the keyboard (an English system: none of its
// characters is in the system's code page) go into a Windows-1251 and a UTF-8 script
// as themselves, and Save writes them in each script's own encoding. The Find dialog
// opens with the typed word, finds it, and refuses a text the script's encoding cannot
// hold instead of searching for question marks.
TEST(Encoding, CyrillicKeysAreTypedSavedAndFoundInTheScriptsOwnEncoding) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    std::string cyrillicBytes;
    ASSERT_TRUE(ReadBytes(CorpusFolder() + k1251Script, &cyrillicBytes));
    cyrillicBytes += "\r\n; ";
    const std::string utf8Bytes = "; \xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80\r\nret\r\n; ";
    const struct {
        const char *name;
        const std::string &bytes;
        const char *encoding;
        std::string typed;  // "Жук" in the script's encoding
    } rows[] = {{"russian.osc", cyrillicBytes, "Windows-1251", "\xC6\xF3\xEA"},
                {"utf8.osc", utf8Bytes, "UTF-8", "\xD0\x96\xD1\x83\xD0\xBA"}};
    for (const auto &row : rows) ASSERT_TRUE(WriteBytes(folder.File(row.name), row.bytes));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    SendCommand(quillet.Frame(), ui::kCmdNoAutoIndentation);  // the word goes where the caret is
    for (const auto &row : rows) {
        ASSERT_EQ(quillet.OpenScript(folder.File(row.name)), "") << row.name;
        EXPECT_EQ(EncodingShown(quillet), row.encoding) << row.name;
        HWND editor = quillet.ActiveEditor();
        Send(editor, SCI_DOCUMENTEND);
        const LRESULT before = Send(editor, SCI_GETLENGTH);
        ASSERT_TRUE(TypeUnicodeKeys(editor, L"\u0416\u0443\u043a")) << row.name;
        EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_GETLENGTH) >= before + 3; }, kStepTimeout)) << row.name;
        ASSERT_TRUE(SyncEditor(editor));
        SendCommand(quillet.Frame(), ui::kCmdSave);
        std::string written;
        EXPECT_TRUE(ReadBytes(folder.File(row.name), &written));
        EXPECT_EQ(written, row.bytes + row.typed) << row.name << ": the typed word was saved otherwise";
    }

    // Find in the Windows-1251 script: the dialog opens with the selected word, typed
    // just now, and finds it.
    const std::vector<HWND> documents = quillet.Documents();
    HWND first = nullptr;
    for (HWND document : documents)
        if (Text(document) == folder.File("russian.osc")) first = document;
    ASSERT_TRUE(first);
    Activate(quillet, first);
    HWND editor = quillet.ActiveEditor();
    const auto typedAt = static_cast<LRESULT>(cyrillicBytes.size());
    Send(editor, SCI_SETSEL, static_cast<WPARAM>(typedAt), typedAt + 3);
    SendCommand(quillet.Frame(), kCmdFind);
    HWND find = quillet.WaitDialog("Find");
    ASSERT_TRUE(find);
    HWND findText = GetDlgItem(find, edt1);
    wchar_t shown[64] = L"";
    SendMessageW(findText, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(std::wstring(shown), L"\u0416\u0443\u043a");
    Send(editor, SCI_GOTOPOS, 0);
    PressButton(find, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return Send(editor, SCI_GETSELECTIONSTART) == typedAt; }, kStepTimeout));
    EXPECT_EQ(Send(editor, SCI_GETSELECTIONEND), typedAt + 3);

    // A Chinese word has no Windows-1251 form: refused with a message, nothing selected anew.
    SendMessageW(findText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u7528\u6765"));
    Send(editor, SCI_GOTOPOS, 0);
    PressButton(find, IDOK);
    HWND refusal = quillet.WaitDialog(" Find");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(MessageBoxText(refusal),
              "The script's encoding cannot hold every character of this text, so it was neither searched for nor "
              "written into the script.");
    PressButton(refusal, IDOK);
    EXPECT_EQ(Send(editor, SCI_GETSELECTIONEND), 0);
    PressButton(find, IDCANCEL);
    EXPECT_TRUE(quillet.Close());
}
