// Loading and storing the colour scheme of "Custom Colors": which stored values an
// opening uses, what falls back to what, and what SET writes in which order.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "colours/colour_scheme.h"

namespace quillet {
namespace {

using Stored = std::map<std::string, int>;

ColourScheme Load(const Stored &stored) {
    return LoadColourScheme([&stored](const char *key, int fallback) {
        const auto found = stored.find(key);
        return found == stored.end() ? fallback : found->second;
    });
}

constexpr ColourRef kKeywordBuiltIn = 0xFF0000;
constexpr ColourRef kStringBuiltIn = 0x9BE664;

TEST(ColourScheme, StoredColoursCountOnlyOnceASetWasSaved) {
    const Stored colours{{"keyword", 0x123456}, {"string", 7}, {"c1", 11}, {"c12", 12}};
    struct Case { const char *name; int myColorSet; bool storedUsed; };
    for (const Case &c : {Case{"absent", -1, false}, Case{"zero", 0, false}, Case{"one", 1, true},
                          Case{"two", 2, false}}) {
        SCOPED_TRACE(c.name);
        Stored stored = colours;
        if (c.myColorSet >= 0) stored["MyColorset"] = c.myColorSet;
        const ColourScheme scheme = Load(stored);
        EXPECT_EQ(scheme.classes[kClassKeyword], c.storedUsed ? 0x123456u : kKeywordBuiltIn);
        EXPECT_EQ(scheme.classes[kClassString], c.storedUsed ? 7u : kStringBuiltIn);
        EXPECT_EQ(scheme.classes[kClassComment], 0x61DB9Eu);  // not stored: built-in either way
        // Slots 1..9 are read only from a saved set; the free slots always are.
        EXPECT_EQ(scheme.slots[0], c.storedUsed ? 11u : kKeywordBuiltIn);
        EXPECT_EQ(scheme.slots[11], 12u);
    }
}

TEST(ColourScheme, SavedSetSlotsFallBackToTheColoursJustRead) {
    const ColourScheme scheme = Load({{"MyColorset", 1}, {"keyword", 0x010203}, {"operator", 255}, {"c3", 99}});
    EXPECT_EQ(scheme.classes[kClassString], kStringBuiltIn);  // "string" missing
    EXPECT_EQ(scheme.slots[kClassString], kStringBuiltIn);
    EXPECT_EQ(scheme.slots[kClassOperator], 255u);             // class colour read from the file
    EXPECT_EQ(scheme.slots[kClassKeyword], 0x010203u);
    EXPECT_EQ(scheme.slots[kClassRegister], 99u);              // its own stored slot wins
    for (int i = 9; i < 16; ++i) EXPECT_EQ(scheme.slots[i], 0x010203u) << ColourSlotKey(i);
}

TEST(ColourScheme, StoredValuesKeepOnlyTheirRgbBits) {
    // GetPrivateProfileIntA hands back "-1" as 0xFFFFFFFF, which is no colour.
    const ColourScheme scheme = Load({{"MyColorset", 1}, {"label", -1}, {"c16", 0x7F00FF00}});
    EXPECT_EQ(scheme.classes[kClassLabel], 0xFFFFFFu);
    EXPECT_EQ(scheme.slots[15], 0x00FF00u);
}

using Writes = std::vector<std::pair<std::string, std::string>>;

TEST(ColourScheme, SetWritesTheFlagTheNineColoursThenTheSlotsAsPlainDecimal) {
    ColourScheme scheme = Load({});
    scheme.classes[kClassOperator] = 255;
    scheme.slots[kClassOperator] = 255;
    scheme.slots[15] = 0;
    const Writes expected{
        {"MyColorset", "1"},  {"keyword", "16711680"}, {"comment", "6413214"}, {"register", "12426973"},
        {"opcode", "8424987"}, {"label", "255"},       {"string", "10217060"}, {"operator", "255"},
        {"variable", "0"},    {"number", "7054265"},   {"c1", "16711680"},     {"c2", "6413214"},
        {"c3", "12426973"},   {"c4", "8424987"},       {"c5", "255"},          {"c6", "10217060"},
        {"c7", "255"},        {"c8", "0"},             {"c9", "7054265"},      {"c10", "16711680"},
        {"c11", "16711680"},  {"c12", "16711680"},     {"c13", "16711680"},    {"c14", "16711680"},
        {"c15", "16711680"},  {"c16", "0"},
    };
    Writes writes;
    WriteColourScheme(scheme, [&writes](const char *key, const std::string &value) { writes.emplace_back(key, value); });
    EXPECT_EQ(writes, expected);
}

}  // namespace
}  // namespace quillet
