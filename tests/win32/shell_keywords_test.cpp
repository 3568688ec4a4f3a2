// The keyword file loader with real files in the program's folder: the stores it
// publishes, its two failures, and files that are large, binary or malformed.
#include "tests/win32/shell_fixture.h"

namespace quillet::testing_shell {
namespace {

using KeywordLoader = ShellFixture;

const char *StatusText(HWND statusBar, char (&buffer)[512]) {
    buffer[0] = '\0';
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

TEST_F(KeywordLoader, MissingFileOrDirectoryOfThatNameFails) {
    CreateFrame(false);
    EXPECT_FALSE(LoadKeywordFile(frame_));
    CreateDirectoryA(Path(text::kKeywordFile).c_str(), nullptr);
    EXPECT_FALSE(LoadKeywordFile(frame_));
    const ShownMessage missing{"Sorry, keyword file not found", "Keyword file is missing", MB_OK};
    EXPECT_EQ(messages_, std::vector<ShownMessage>(2, missing));
    EXPECT_EQ(GetKeywordList(frame_), nullptr);
    EXPECT_EQ(GetKeywordAdded(frame_), nullptr);
    EXPECT_EQ(GetTipTable(frame_), nullptr);
    EXPECT_EQ(GetStatusNote(frame_), nullptr);
}

TEST_F(KeywordLoader, EmptyKeywordSectionFails) {
    CreateFrame(false);
    for (const char *content : {"", "\r\nMOV,CMP\r\n", "   \r\n;;\r\nCREATED: x\r\n"}) {
        WriteKeywords(content);
        EXPECT_FALSE(LoadKeywordFile(frame_)) << content;
    }
    const ShownMessage empty{"sorry couldn't do it", "error", MB_OK};
    EXPECT_EQ(messages_, std::vector<ShownMessage>(3, empty));
    EXPECT_EQ(GetKeywordList(frame_), nullptr);
}

TEST_F(KeywordLoader, PublishesTheStoresAndTheStatusNote) {
    CreateFrame(false);
    WriteKeywords("mov,add,\r\nadd\r\n\r\n;;\r\nADD: add dest, src\r\nAdds.\r\n;;\r\ncreated :no\r\n"
                  ";;\r\nCreated:  2026-02-03  \r\n");
    ASSERT_TRUE(LoadKeywordFile(frame_));
    EXPECT_STREQ(GetKeywordList(frame_), "ADD ADD MOV");
    EXPECT_STREQ(GetKeywordAdded(frame_), "ADD ADD MOV");
    const TipTable *tips = GetTipTable(frame_);
    ASSERT_NE(tips, nullptr);
    ASSERT_EQ(tips->Count(), 4u);
    EXPECT_EQ(tips->records[1].keyword, "ADD");
    EXPECT_EQ(tips->records[1].text, "ADD: add dest, src\nAdds.\n");
    EXPECT_STREQ(GetStatusNote(frame_), "Keywords and tips data file is created 2026-02-03");
    char status[512];
    EXPECT_STREQ(StatusText(Handles().statusBar, status), "Keywords and tips data file is created 2026-02-03");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(KeywordLoader, WithoutACreationLineTheStatusBarIsLeftAlone) {
    CreateFrame(false);
    SendMessageA(Handles().statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("before"));
    WriteKeywords("MOV\r\n\r\n;;\r\nMOV: mov\r\n");
    ASSERT_TRUE(LoadKeywordFile(frame_));
    EXPECT_STREQ(GetStatusNote(frame_), "");
    char status[512];
    EXPECT_STREQ(StatusText(Handles().statusBar, status), "before");
}

TEST_F(KeywordLoader, HostileFilesLoadWithinTheirLimits) {
    CreateFrame(false);
    struct Case {
        const char *name;
        std::string bytes;
        std::size_t minTips;
    };
    std::string manyLines = "MOV\r\n\r\n";
    for (int i = 0; i < 100000; ++i) manyLines += (i % 3 == 2) ? ";;\r\n" : "W" + std::to_string(i) + ": x\r\n";
    std::string binary = "MOV,";
    for (int i = 0; i < 200000; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    const Case cases[] = {
        {"MegabyteLine", "MOV," + std::string(1 << 20, 'k') + "\r\n\r\n;;\r\nMOV: " + std::string(1 << 20, 't') +
                             "\r\n;;\r\nCREATED: " + std::string(1000, 'c') + "\r\n",
         2},
        {"ManyLines", manyLines, 30000},
        {"Binary", binary, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteKeywords(c.bytes);
        ASSERT_TRUE(LoadKeywordFile(frame_));
        const TipTable *tips = GetTipTable(frame_);
        ASSERT_NE(tips, nullptr);
        EXPECT_GE(tips->Count(), c.minTips);
        for (const TipRecord &tip : tips->records) {
            EXPECT_LE(tip.keyword.size(), 30u);
            EXPECT_LE(tip.text.size(), 1400u);
        }
        EXPECT_LE(strlen(GetStatusNote(frame_)), 255u);
        char status[512];
        EXPECT_LE(strlen(StatusText(Handles().statusBar, status)), 255u);
    }
}

TEST_F(KeywordLoader, FilesBeyondTheReadLimitAreReadUpToIt) {
    CreateFrame(false);
    // The keyword section lies at the start; what lies past the limit is never read.
    std::string bytes = "MOV,CMP\r\n\r\n;;\r\n";
    bytes += std::string(kKeywordFileReadLimit, 'x');
    bytes += "\r\n;;\r\nCREATED: past the limit\r\n";
    WriteKeywords(bytes);
    ASSERT_TRUE(LoadKeywordFile(frame_));
    EXPECT_STREQ(GetKeywordList(frame_), "CMP MOV");
    EXPECT_STREQ(GetStatusNote(frame_), "");
}

}  // namespace
}  // namespace quillet::testing_shell
