// Encoding recognition on real scripts of each encoding and on the hard cases, and the
// remembered "Reopen As" choices.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "documents/encoding_rules.h"

namespace quillet {
namespace {

std::string CorpusScript(const char *name) {
    std::ifstream in(std::filesystem::path(QUILLET_CORPUS_DIR) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const char *NameOf(std::optional<EncodingId> id) { return id ? LookOf(*id).name : "(language setting)"; }

TEST(DocumentsEncoding, RecognisesCorpusScriptsAndHardCases) {
    const std::string ascii64k(64 * 1024 + 10, 'a');
    struct Case {
        const char *name;
        std::string bytes;
        const char *expected;
    };
    const Case cases[] = {
        {"UTF-8 with BOM", CorpusScript("dubuqingfeng__ollydbg-script__Themida__themida.txt"), "UTF-8 BOM"},
        {"UTF-8 without BOM",
         CorpusScript("apuromafo__OllydbgScript__E__EXECRYPTOR__EXECryptor_v2.x.x_MSVC_APIs_Retriever.osc"), "UTF-8"},
        {"GBK", CorpusScript("dubuqingfeng__ollydbg-script__ZProtect__anti-hook-u07be12.txt"), "GBK"},
        {"GBK, large", CorpusScript("dubuqingfeng__ollydbg-script__ASProtect__Aspr2.XX_unpacker_v1.13SC_CRC_-ucb4327.osc"),
         "GBK"},
        {"Windows-1251", CorpusScript("BKHONEL__OllyDBG-Script__RLPack__RLPack1.9_pre_Heavy_Weapon.txt"),
         "Windows-1251"},
        {"Windows-1251, large",
         CorpusScript("BKHONEL__OllyDBG-Script__Asprotect__ASProtect.Unpacking.Scripts.by.vnekrilov__IAT_APIs-u8c0aef.osc"),
         "Windows-1251"},
        {"ASCII", CorpusScript("BKHONEL__OllyDBG-Script__EPack__EPack_1.4_OEP_Finder.txt"), "(language setting)"},
        {"ASCII except one byte", "mov eax, 1 // caf\xE9\r\nret\r\n", "(language setting)"},
        {"first multi-byte sequence past 64 KiB", ascii64k + "// \xD0\x9F\xD1\x80\xD0\xB8\r\n", "UTF-8"},
        {"UTF-8 cut short at the end", "// \xE4\xB8\xAD\xE6\x96\x87 \xE4\xB8", "UTF-8"},
        {"only a cut sequence", "ret // \xE4\xB8", "(language setting)"},
        {"overlong form is not UTF-8: the detector decides", "// \xC0\xAF\xC0\xAF", "Windows-1252"},
        {"BOM and nothing else", "\xEF\xBB\xBF", "UTF-8 BOM"},
        {"empty file", "", "(language setting)"},
    };
    for (const Case &c : cases) {
        ASSERT_FALSE(c.bytes.empty() && std::string(c.name) != "empty file") << c.name << ": corpus script missing";
        EXPECT_STREQ(NameOf(RecogniseEncoding(c.bytes)), c.expected) << c.name;
    }
}

TEST(DocumentsEncoding, LooksSetCodePageOrCharacterSet) {
    // Double-byte encodings set the code page (and its character set, for drawing);
    // single-byte ones keep code page 0 and name their character set.
    EXPECT_EQ(LookOf(EncodingId::kGbk).codePage, 936);
    EXPECT_EQ(LookOf(EncodingId::kGbk).characterSet, 134);
    EXPECT_EQ(LookOf(EncodingId::kWindows1251).codePage, 0);
    EXPECT_EQ(LookOf(EncodingId::kWindows1251).characterSet, 204);
    EXPECT_EQ(EncodingForCodePage(0), EncodingId::kAnsi);
    EXPECT_EQ(EncodingForCodePage(936), EncodingId::kGbk);
    EXPECT_EQ(EncodingForDetectorName("iso-8859-1"), EncodingId::kWindows1252);
    EXPECT_EQ(EncodingForDetectorName("KOI8-R"), std::nullopt);  // no Windows character set shows it
    EXPECT_EQ(ReopenedEncoding(EncodingId::kUtf8, "\xEF\xBB\xBFx"), EncodingId::kUtf8Bom);
    EXPECT_EQ(ReopenedEncoding(EncodingId::kUtf8Bom, "x"), EncodingId::kUtf8);
    for (std::size_t i = 0; i < kEncodingCount; ++i)
        EXPECT_EQ(EncodingNamed(LookOf(static_cast<EncodingId>(i)).name), static_cast<EncodingId>(i));
}

TEST(DocumentsEncoding, RememberedChoicesAreBoundedMostRecentFirst) {
    EncodingChoices choices;
    for (int i = 0; i < 60; ++i)
        choices = ChoicesAfterChoosing(choices, "C:\\s" + std::to_string(i) + ".txt", EncodingId::kGbk);
    ASSERT_EQ(choices.size(), kMaxEncodingChoices);
    EXPECT_EQ(choices.front().file, "C:\\s59.txt");
    EXPECT_EQ(RememberedEncoding(choices, "c:\\S10.TXT"), EncodingId::kGbk);
    EXPECT_EQ(RememberedEncoding(choices, "C:\\s9.txt"), std::nullopt);  // dropped beyond the bound

    choices = ChoicesAfterChoosing(choices, "C:\\S30.txt", EncodingId::kWindows1251);
    EXPECT_EQ(choices.size(), kMaxEncodingChoices);
    EXPECT_EQ(choices.front(), (EncodingChoice{"C:\\S30.txt", "Windows-1251"}));
    EXPECT_EQ(RememberedEncoding(choices, "C:\\s30.txt"), EncodingId::kWindows1251);
    EXPECT_EQ(RememberedEncoding({{"C:\\a.txt", "no such encoding"}}, "C:\\a.txt"), std::nullopt);
}

}  // namespace
}  // namespace quillet
