// The pattern conversion of copied listing lines.
#include <gtest/gtest.h>

#include <string>

#include "editing/pattern_paste_rules.h"

namespace quillet {
namespace {

TEST(AssistPattern, ListingLinesBecomeBytesWithWildcardOperands) {
    struct Case {
        const char *line;
        const char *share;
    };
    const Case cases[] = {
        {"00401000  68 00304000     PUSH 00403000", "68????????"},  // one operand group
        {"00401005  C3", "C3"},                                    // address and one byte group
        {"E8 23010000  CALL 00401130", "23010000"},                // no address: first group taken for it
        {"00401000  D8C1           FADD ST,ST(1)", "D8C1????"},     // even hex-letter mnemonic = operand
        {"0040100A  64:A1 00000000 MOV EAX,DWORD PTR FS:[0]", "64A1????????"},  // segment prefix colon
        {"00401003  |. 8B45 08     MOV EAX,DWORD PTR SS:[EBP+8]", "8B45??"},
        {"0040100F  |> 83F8 01     CMP EAX,1", "83F8??"},
        {"00401014  |. C745 FC 01000000  MOV DWORD PTR SS:[EBP-4],1", "C745??????????"},  // two groups
        {"0040101C  \\. C9         LEAVE", "C9"},
        {"00401000  /$ 55          PUSH EBP", "55"},                // entry mark
        {"00401012  |.^75 EC       JNZ SHORT 00401000", "75??"},    // backward-jump arrow
        {"00401020  E8 123         CALL", "E8"},                   // odd operand: not an operand
        {"00401020  E8 XY12 3456", "E8"},                          // first not hex: second not looked at
        {"   00401000\t6A 00\tPUSH 0  ", "6A??"},
        {"", ""},
        {"00401000", ""},
    };
    for (const Case &c : cases) EXPECT_EQ(PatternOfListingLine(c.line), c.share) << c.line;
}

TEST(AssistPattern, LinesJoinIntoOnePatternBetweenHashes) {
    EXPECT_EQ(PatternFromListing("00401000  68 00304000  PUSH 00403000\r\n00401005  E8 23010000  CALL 0040112D\r\n"),
              "#68????????E8????????#");
    EXPECT_EQ(PatternFromListing("00401000  6A 00  PUSH 0\n00401002  C3  RETN\r00401003  90  NOP"), "#6A??C390#");
    EXPECT_EQ(PatternFromListing("00401000\r\n   \r\nJUNK"), "");  // no line has a second token
    EXPECT_TRUE(IsBlankListing("   "));
    EXPECT_FALSE(IsBlankListing(" \r\n "));
}

TEST(AssistPattern, AnyClipboardConvertsWithinItsOwnSize) {
    std::string binary;
    for (int i = 0; binary.size() < (1u << 20); ++i) binary += static_cast<char>(i * 7 + i / 256);
    std::string oneLine;
    while (oneLine.size() < (1u << 20)) oneLine += "00401000  90 ";
    std::string manyLines;
    while (manyLines.size() < (1u << 20)) manyLines += "00401000  68 00304000  PUSH 00403000\n";
    for (const std::string *input : {&binary, &oneLine, &manyLines}) {
        const std::string pattern = PatternFromListing(*input);
        EXPECT_LE(pattern.size(), input->size() + 2);
    }
    EXPECT_EQ(PatternFromListing(oneLine), "#90??????????#");  // only the first tokens count
    EXPECT_EQ(PatternFromListing(manyLines).size(), 2 + 10 * (manyLines.size() / 37));
}

}  // namespace
}  // namespace quillet
