// Rules over stored settings: frame size clamping, the font fallback, the language
// table, the close-flag toggle, the default placement and the text form of each key.
#include <gtest/gtest.h>

#include <cstring>

#include "core/command_ids.h"
#include "core/settings_keys.h"
#include "app/settings_rules.h"

namespace quillet {
namespace {

TEST(SettingsRules, FrameSizeIsClampedToTheLargestTrackingSize) {
    struct Row {
        int stored, max, taskbar, width, height;
    };
    const Row rows[] = {
        {0, 1612, 30, 1612, 1582},     // nothing stored: the whole screen less the taskbar
        {5000, 1612, 30, 1612, 1582},  // larger than the screen
        {1612, 1612, 30, 1612, 1582},  // exactly the maximum counts as too large
        {1611, 1612, 30, 1611, 1582},  // just below the width limit; the height limit is 1582
        {1581, 1612, 30, 1581, 1581},  // just below both
        {900, 1612, 0, 900, 900},
        {-40, 1612, 30, -40, -40},     // negative values are not clamped
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.stored);
        EXPECT_EQ(ClampFrameWidth(r.stored, r.max), r.width);
        EXPECT_EQ(ClampFrameHeight(r.stored, r.max, r.taskbar), r.height);
    }
}

TEST(SettingsRules, EditorFontFallsBackToArial14Regular) {
    struct Row {
        const char *face;
        int size, style;
        const char *expectedFace;
        int expectedSize, expectedStyle;
    };
    const Row rows[] = {
        {"", 0, 0, "Arial", 14, 0},
        {"Courier New", 0, 3, "Arial", 14, 0},
        {"   ", 12, 1, "Arial", 14, 0},
        {"Courier New", 11, 2, "Courier New", 11, 2},
        {" Consolas ", -9, 7, " Consolas ", -9, 7},  // kept as stored, blanks included
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.face);
        const FontChoice font = EditorFontOrDefault(r.face, r.size, r.style);
        EXPECT_EQ(font.face, r.expectedFace);
        EXPECT_EQ(font.size, r.expectedSize);
        EXPECT_EQ(font.style, r.expectedStyle);
    }
}

TEST(SettingsRules, FontStyleBits) {
    const std::pair<int, std::pair<bool, bool>> rows[] = {
        {0, {false, false}}, {1, {true, false}}, {2, {false, true}}, {3, {true, true}}, {4, {false, false}},
        {7, {false, false}}, {-1, {false, false}}};
    for (const auto &[style, expected] : rows) {
        EXPECT_EQ(StyleIsBold(style), expected.first) << style;
        EXPECT_EQ(StyleIsItalic(style), expected.second) << style;
    }
}

TEST(SettingsRules, CodePagesAndLanguageItems) {
    const std::pair<int, int> rows[] = {{65001, kCmdLangUtf8}, {932, kCmdLangShiftJis}, {936, kCmdLangGbk},
                                        {950, kCmdLangBig5},   {949, kCmdLangHangul},   {1361, kCmdLangJohab},
                                        {0, kCmdLangDefault},  {5, kCmdLangDefault},    {1252, kCmdLangDefault},
                                        {-936, kCmdLangDefault}};
    for (const auto &[codePage, command] : rows) {
        EXPECT_EQ(LanguageCommandForCodePage(codePage), command) << codePage;
        if (command != kCmdLangDefault || codePage == 0) {
            EXPECT_EQ(CodePageForLanguageCommand(command), codePage) << command;
        }
    }
    EXPECT_EQ(CodePageForLanguageCommand(kCmdSetFont), std::nullopt);
}

TEST(SettingsRules, CloseFlagTogglesOnlyBetweenZeroAndOne) {
    EXPECT_EQ(ToggledCloseFlag(0), 1);
    EXPECT_EQ(ToggledCloseFlag(1), 0);
    EXPECT_EQ(ToggledCloseFlag(2), std::nullopt);
    EXPECT_EQ(ToggledCloseFlag(-1), std::nullopt);
}

TEST(SettingsRules, DefaultPlacementCentresAndRoundsHalvesToEven) {
    struct Row {
        int maxX, maxY, x, y;
    };
    const Row rows[] = {
        {1936, 1096, 450, 283},  // 450.5 rounds to 450
        {1938, 1098, 452, 284},  // 451.5 rounds to 452
        {1035, 530, 0, 0},
        {800, 400, -118, -65},   // -117.5 rounds to -118
    };
    for (const Row &r : rows) {
        const Position at = DefaultFramePosition(r.maxX, r.maxY);
        EXPECT_EQ(at.x, r.x) << r.maxX;
        EXPECT_EQ(at.y, r.y) << r.maxY;
    }
}

TEST(SettingsKeys, EachKeyIsWrittenInItsOwnTextForm) {
    struct Row {
        const SettingKey *key;
        const char *writeSection, *writeKey;
        ValueForm form;
    };
    const Row rows[] = {
        {&setting::kWinX, "WINDOWS", "winx", ValueForm::kNumber},
        {&setting::kWinY, "WINDOWS", "winy", ValueForm::kNumber},
        {&setting::kWidth, "WINDOWS", "wwidth", ValueForm::kNumber},
        {&setting::kHeight, "WINDOWS", "wheight", ValueForm::kNumber},
        {&setting::kCommentHighlightOff, "Comment", "Off", ValueForm::kNumber},
        {&setting::kNoAutoIndent, "NoAUTOIdentation", "Off", ValueForm::kNumber},
        {&setting::kDocumentationLookup, "MSDNHELP", "On", ValueForm::kNumber},
        {&setting::kLanguage, "language", "langflg", ValueForm::kNumber},
        {&setting::kFontSize, "fonts", "fsize", ValueForm::kNumber},
        {&setting::kFontStyle, "fonts", "fstyle", ValueForm::kNumber},
        {&setting::kCommentFontSize, "fonts", "cfsize", ValueForm::kNumber},
        {&setting::kCommentFontStyle, "fonts", "cfstyle", ValueForm::kNumber},
        {&setting::kMyColorFlag, "Custom Colors", "MyColorflg", ValueForm::kNumberWithoutBlank},
        {&setting::kCloseToExit, "Flags", "Close2Exit", ValueForm::kNumberWithoutBlank},
        {&setting::kFontName, "fonts", "fname", ValueForm::kText},
        {&setting::kCommentFontName, "fonts", "cfname", ValueForm::kText},
        {&setting::kScriptFolder, "ScriptFolder", "path", ValueForm::kText},
        {&setting::kDebuggerPath, "OllyDbgPath", "ollypath", ValueForm::kText},
        {&setting::kSkin, "Qskin", "skin", ValueForm::kText},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.writeKey);
        EXPECT_STREQ(r.key->writeSection, r.writeSection);
        EXPECT_STREQ(r.key->writeKey, r.writeKey);
        EXPECT_EQ(r.key->form, r.form);
        EXPECT_EQ(r.key->fallback, 0);
    }
    // Read spellings that differ from the written ones.
    EXPECT_STREQ(setting::kWinX.section, "windows");
    EXPECT_STREQ(setting::kCloseToExit.key, "Close2exit");
}

}  // namespace
}  // namespace quillet
