// The .urf skin file parser, and the five skins shipped in skin/.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "skin/urf_format.h"

namespace {

const std::string kGood =
    "URF 1\n"
    "; a comment\n"
    "[skin]\n"
    "name = Test Skin\n"
    "\n"
    "[frame]\n"
    "background=#102030\n"
    "workspace=#112233\n"
    "edge=#000001\n"
    "menubar=#F0F0F0\n"
    "statusbar=#e0e0e0\n"
    "[toolbar]\n"
    "top=#AABBCC\n"
    "bottom=#334455\n"
    "line=#010203\n"
    "flat=yes\n"
    "[tabs]\n"
    "background=#202020\n"
    "tab=#303030\n"
    "text=#FFFFFF\n"
    "selected=#404040\n"
    "selectedtext=#FFFF00\n"
    "edge=#505050\n";

std::string Replace(std::string text, const std::string &from, const std::string &to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

urf::Result Parse(const std::string &text) { return urf::Parse(text.data(), text.size()); }

TEST(SkinFormat, ReadsEveryValueOfAGoodFile) {
    urf::Result r = Parse(kGood);
    ASSERT_TRUE(r.ok()) << urf::ErrorText(r.error) << " line " << r.line;
    EXPECT_STREQ(r.skin.name, "Test Skin");
    EXPECT_EQ(r.skin.frame.background, (urf::Colour{0x10, 0x20, 0x30}));
    EXPECT_EQ(r.skin.frame.workspace, (urf::Colour{0x11, 0x22, 0x33}));
    EXPECT_EQ(r.skin.frame.edge, (urf::Colour{0, 0, 1}));
    EXPECT_EQ(r.skin.frame.menubar, (urf::Colour{0xF0, 0xF0, 0xF0}));
    EXPECT_EQ(r.skin.frame.statusbar, (urf::Colour{0xE0, 0xE0, 0xE0}));
    EXPECT_EQ(r.skin.toolbar.top, (urf::Colour{0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(r.skin.toolbar.bottom, (urf::Colour{0x33, 0x44, 0x55}));
    EXPECT_EQ(r.skin.toolbar.line, (urf::Colour{1, 2, 3}));
    EXPECT_TRUE(r.skin.toolbar.flat);
    EXPECT_EQ(r.skin.tabs.background, (urf::Colour{0x20, 0x20, 0x20}));
    EXPECT_EQ(r.skin.tabs.tab, (urf::Colour{0x30, 0x30, 0x30}));
    EXPECT_EQ(r.skin.tabs.text, (urf::Colour{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(r.skin.tabs.selected, (urf::Colour{0x40, 0x40, 0x40}));
    EXPECT_EQ(r.skin.tabs.selectedText, (urf::Colour{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(r.skin.tabs.edge, (urf::Colour{0x50, 0x50, 0x50}));
}

// Variations of the good file that are still good.
TEST(SkinFormat, AcceptsHarmlessVariations) {
    std::string crlf;
    for (char c : kGood) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    struct Case {
        const char *what;
        std::string text;
    } cases[] = {
        {"CR LF line ends", crlf},
        {"byte order mark", "\xEF\xBB\xBF" + kGood},
        {"no final line end", kGood.substr(0, kGood.size() - 1)},
        {"blanks and case", Replace(Replace(kGood, "[toolbar]", "  [ ToolBar ]  "), "top=", "\tTOP =  ")},
        {"unknown section skipped", kGood + "[caption]\nactive=#12\n"},
        {"unknown key skipped", Replace(kGood, "[frame]\n", "[frame]\nshadow=none\n")},
        {"flat is optional", Replace(kGood, "flat=yes\n", "")},
        {"hash comment", Replace(kGood, "; a comment", "# another comment")},
        {"bytes above 127 in a name", Replace(kGood, "Test Skin", "Caf\xE9")},
        {"line of exactly the longest length", Replace(kGood, "; a comment", ";" + std::string(urf::kMaxLineLength - 1, 'x'))},
    };
    for (const Case &c : cases) {
        urf::Result r = Parse(c.text);
        EXPECT_TRUE(r.ok()) << c.what << ": " << urf::ErrorText(r.error) << " line " << r.line;
    }
    EXPECT_FALSE(Parse(Replace(kGood, "flat=yes\n", "")).skin.toolbar.flat);
}

TEST(SkinFormat, RefusesMalformedFiles) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 2654435761u) >> 13);
    struct Case {
        const char *what;
        std::string text;
        urf::Error error;
        unsigned line;
    } cases[] = {
        {"empty file", "", urf::Error::Signature, 1},
        {"missing signature", kGood.substr(6), urf::Error::Signature, 1},
        {"other version", Replace(kGood, "URF 1", "URF 2"), urf::Error::Signature, 1},
        {"binary junk", junk, urf::Error::BadByte, 1},
        {"signature then junk", "URF 1\n" + junk, urf::Error::BadByte, 2},
        {"NUL inside a value", Replace(kGood, "#AABBCC", std::string("#AA\0BBCC", 8)), urf::Error::BadByte, 13},
        {"short colour", Replace(kGood, "#AABBCC", "#ABC"), urf::Error::BadColour, 13},
        {"colour name", Replace(kGood, "#AABBCC", "red"), urf::Error::BadColour, 13},
        {"bad switch", Replace(kGood, "flat=yes", "flat=maybe"), urf::Error::BadValue, 16},
        {"empty name", Replace(kGood, "Test Skin", ""), urf::Error::BadValue, 4},
        {"name too long", Replace(kGood, "Test Skin", std::string(urf::kMaxNameLength + 1, 'n')), urf::Error::BadValue, 4},
        {"missing section", kGood.substr(0, kGood.find("[tabs]")), urf::Error::MissingSection, 0},
        {"missing key", Replace(kGood, "workspace=#112233\n", ""), urf::Error::MissingKey, 0},
        {"duplicate key", Replace(kGood, "line=#010203\n", "line=#010203\nline=#010203\n"), urf::Error::DuplicateKey, 16},
        {"duplicate section", kGood + "[skin]\n", urf::Error::DuplicateSection, 24},
        {"key before any section", Replace(kGood, "; a comment", "name=x"), urf::Error::KeyOutsideSection, 2},
        {"line without =", Replace(kGood, "; a comment", "just words"), urf::Error::Syntax, 2},
        {"unclosed section", Replace(kGood, "[frame]", "[frame"), urf::Error::Syntax, 6},
        {"empty key", Replace(kGood, "top=", "="), urf::Error::Syntax, 13},
        {"long line", Replace(kGood, "; a comment", ";" + std::string(urf::kMaxLineLength, 'x')), urf::Error::LineTooLong, 2},
        {"one megabyte line", kGood + std::string(1 << 20, 'x'), urf::Error::TooLarge, 0},
        {"just too large", kGood + ";" + std::string(urf::kMaxFileSize - kGood.size(), 'x'), urf::Error::TooLarge, 0},
    };
    for (const Case &c : cases) {
        urf::Result r = Parse(c.text);
        EXPECT_EQ(r.error, c.error) << c.what << ": got " << urf::ErrorText(r.error);
        EXPECT_EQ(r.line, c.line) << c.what;
    }
    EXPECT_EQ(urf::Parse(nullptr, 10).error, urf::Error::Signature);
}

// Every cut of a good file is parsed without reading past its end (ASan watches); only
// the whole file (with or without its last line end) is accepted.
TEST(SkinFormat, EveryTruncationIsRefusedSafely) {
    for (size_t n = 0; n < kGood.size(); ++n) {
        std::vector<char> exact(kGood.begin(), kGood.begin() + static_cast<long>(n));
        urf::Result r = urf::Parse(exact.data(), exact.size());
        EXPECT_EQ(r.ok(), n >= kGood.size() - 1) << "length " << n;
    }
}

TEST(SkinFormat, ParsesColours) {
    struct Case {
        const char *text;
        bool ok;
        urf::Colour colour;
    } cases[] = {
        {"#000000", true, {0, 0, 0}},       {"#FFFFFF", true, {255, 255, 255}}, {"#a0B1c2", true, {0xA0, 0xB1, 0xC2}},
        {"#12345", false, {}},              {"123456", false, {}},              {"#12345z", false, {}},
        {"# 12345", false, {}},             {"#-12345", false, {}},             {"", false, {}},
        {"#1234567", false, {}},            {"red", false, {}},
    };
    for (const Case &c : cases) {
        urf::Colour out{1, 2, 3};
        EXPECT_EQ(urf::ParseColour(c.text, std::char_traits<char>::length(c.text), &out), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(out, c.colour) << c.text;
    }
}

// ---- the shipped skins --------------------------------------------------------------

double Luminance(urf::Colour c) {
    auto lin = [](int v) {
        double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

// Contrast ratio of two colours (1 to 21), as used for text legibility.
double Contrast(urf::Colour a, urf::Colour b) {
    double la = Luminance(a), lb = Luminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

int Distance(urf::Colour a, urf::Colour b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

TEST(ShippedSkins, LoadAreLegibleAndLookDifferent) {
    const char *files[] = {"wine.urf", "winmp.urf", "clay.urf", "onion.urf", "trias.urf"};
    std::vector<urf::Skin> skins;
    for (const char *file : files) {
        std::ifstream in(std::string(QUILLET_SOURCE_DIR) + "/skin/" + file, std::ios::binary);
        ASSERT_TRUE(in) << file;
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        urf::Result r = Parse(text);
        ASSERT_TRUE(r.ok()) << file << ": " << urf::ErrorText(r.error) << " line " << r.line;
        const urf::Skin &s = r.skin;
        // Menu and status bar text keep the system's dark colour: their backgrounds must be light.
        EXPECT_GE(Contrast(s.frame.menubar, {0, 0, 0}), 10.0) << file;
        EXPECT_GE(Contrast(s.frame.statusbar, {0, 0, 0}), 10.0) << file;
        // Tab labels are drawn in the skin's own colours.
        EXPECT_GE(Contrast(s.tabs.text, s.tabs.tab), 4.5) << file;
        EXPECT_GE(Contrast(s.tabs.selectedText, s.tabs.selected), 4.5) << file;
        skins.push_back(s);
    }
    for (size_t i = 0; i < skins.size(); ++i)
        for (size_t j = i + 1; j < skins.size(); ++j) {
            EXPECT_STRNE(skins[i].name, skins[j].name);
            EXPECT_GE(Distance(skins[i].toolbar.top, skins[j].toolbar.top), 60) << files[i] << " " << files[j];
            EXPECT_GE(Distance(skins[i].tabs.background, skins[j].tabs.background), 60) << files[i] << " " << files[j];
        }
}

}  // namespace
