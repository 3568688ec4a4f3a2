// The menu bar: pop-ups, captions, ids and separators, and the initial check and grey
// states that the stored settings give the items.
#include "tests/win32/shell_fixture.h"

#include "app/menus.h"

namespace quillet::testing_shell {
namespace {

using MenusTest = ShellFixture;

struct Item {
    int id;  // 0 for a separator
    std::string caption;
    bool operator==(const Item &other) const { return id == other.id && caption == other.caption; }
};
std::ostream &operator<<(std::ostream &out, const Item &item) { return out << item.id << " \"" << item.caption << '"'; }

std::vector<Item> ItemsOf(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char caption[256] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = sizeof caption;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({(info.fType & MFT_SEPARATOR) ? 0 : static_cast<int>(info.wID), caption});
    }
    return items;
}

TEST_F(MenusTest, BarHoldsFivePopupsWithTheirItemsAndSeparators) {
    CreateFrame();
    HMENU bar = GetMenu(frame_);
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    const Item sep{0, ""};
    struct Popup {
        const char *caption;
        HMENU handle;
        std::vector<Item> items;
    };
    const std::vector<Popup> popups = {
        {"VarToAuto", Menus().varToAuto,
         {{1102, "Add Script Window's Variables"}, sep, {1103, "Add Typed Variables"}, sep,
          {1104, "Reset AutoComplete "}}},
        {"TestMe", Menus().testMe,
         {{1105, "RunScript (F8)"}, sep, {1106, "StopScript (F9)"}, sep, {1107, "DebugScript (F10)"}, sep,
          {1109, "Clear Default Ollydbg"}, sep, {1160, "Next Problem\tCtrl+F7"}, {1161, "Go To Label\tCtrl+F12"},
          {1162, "Back From Label\tAlt+Left"}, {1202, "Find References\tShift+F12"},
          {1203, "Rename Label or Variable\tCtrl+Shift+R"}}},
        {"Skin", Menus().skin,
         {{1110, "Winmp"}, sep, {1111, "Clay"}, sep, {1112, "Onion"}, sep, {1113, "Sias"}, sep, {1114, "Others"},
          sep, {1115, "Default"}}},
        {"Settings", Menus().settings,
         {{1116, "Exit On Close"}, sep, {1117, "Arabic,hebrew,Cyrillic, and Han"}, sep, {1118, "JapaneseShift-JIS"},
          sep, {1119, "SimplifiedChineseGBK"}, sep, {1120, "TraditionalChineseBig5"}, sep,
          {1121, "KoreanUnifiedHangulCode"}, sep, {1122, "Korean Johab"}, sep, {1123, "DefaultLanguage"}, sep,
          {1124, "SetFont"}, sep, {1101, "MyCustomcolor"}, {1147, "Set Custom color"}, sep,
          {1125, "RestoreToDefaultSize"}, sep, {1126, "SetScriptFolderPath"}, sep, {1127, "SetCommentFont"}, sep,
          {1128, "NoAutoIndentation"}, sep, {1129, "MSDN Search"}, sep, {1130, "BlockCommnetRazuviOff"}, sep,
          {1163, "Script Checks Off"}}},
        {"Windows", Menus().windows,
         {{1131, "Tile Verically"}, sep, {1132, "Tile Horizotally"}, sep, {1133, "cascade"}, sep, {1134, "ClearMru"}}},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(popups[i].caption);
        char caption[64] = "";
        GetMenuStringA(bar, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        EXPECT_STREQ(caption, popups[i].caption);
        EXPECT_EQ(GetSubMenu(bar, i), popups[i].handle);
        EXPECT_EQ(ItemsOf(popups[i].handle), popups[i].items);
    }
    // The spare pop-up exists but is never shown.
    EXPECT_TRUE(IsMenu(Menus().spare));
    EXPECT_EQ(GetMenuItemCount(Menus().spare), 0);
}

TEST_F(MenusTest, RunStopAndDebugStartGreyAndTypedVariablesUnchecked) {
    CreateFrame();
    for (int id : {kCmdRunScript, kCmdStopScript, kCmdDebugScript})
        EXPECT_TRUE(GetMenuState(Menus().testMe, id, MF_BYCOMMAND) & MF_GRAYED) << id;
    EXPECT_FALSE(GetMenuState(Menus().testMe, kCmdClearDefaultOlly, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(IsChecked(Menus().varToAuto, kCmdAddTypedVariables));
}

// One stored settings file per row and the check marks it gives the Settings pop-up.
struct InitialState {
    const char *name;
    const char *ini;
    int language;  // the one checked language item
    bool exitOnClose, noAutoIndent, msdn, customColour;
    const char *storedColourFlag;  // "MyColorflg" afterwards
};

class InitialChecks : public ShellFixture, public ::testing::WithParamInterface<InitialState> {};

TEST_P(InitialChecks, FollowTheStoredSettings) {
    const InitialState &row = GetParam();
    WriteIni(row.ini);
    CreateFrame();
    const std::vector<int> languages = {1117, 1118, 1119, 1120, 1121, 1122, 1123};
    for (int id : languages) EXPECT_EQ(IsChecked(Menus().settings, id), id == row.language) << id;
    EXPECT_EQ(IsChecked(Menus().settings, kCmdExitOnClose), row.exitOnClose);
    EXPECT_EQ(IsChecked(Menus().settings, kCmdNoAutoIndentation), row.noAutoIndent);
    EXPECT_EQ(IsChecked(Menus().settings, kCmdMsdnSearch), row.msdn);
    EXPECT_EQ(IsChecked(Menus().settings, kCmdMyCustomColor), row.customColour);
    // Block comment highlighting starts unchecked whatever is stored.
    EXPECT_FALSE(IsChecked(Menus().settings, kCmdBlockCommentHighlightOff));
    EXPECT_EQ(IniText("Custom Colors", "MyColorflg"), row.storedColourFlag);
}

const InitialState kInitialStates[] = {
    {"NoFile", "", 1123, false, false, false, false, "0"},
    {"Gbk", "[language]\r\nlanggflg=1\r\nlangflg= 936\r\n", 1119, false, false, false, false, "0"},
    {"Utf8", "[language]\r\nlangflg=65001\r\n", 1117, false, false, false, false, "0"},
    {"ShiftJis", "[LANGUAGE]\r\nLANGFLG=932\r\n", 1118, false, false, false, false, "0"},
    {"Big5", "[language]\r\nlangflg=950\r\n", 1120, false, false, false, false, "0"},
    {"Hangul", "[language]\r\nlangflg=949\r\n", 1121, false, false, false, false, "0"},
    {"Johab", "[language]\r\nlangflg=1361\r\n", 1122, false, false, false, false, "0"},
    {"UnknownCodePage", "[language]\r\nlangflg=5\r\n", 1123, false, false, false, false, "0"},
    {"AllOn",
     "[Flags]\r\nClose2exit=1\r\n[NoAUTOIdentation]\r\nOff= 1\r\n[MSDNHELP]\r\nOn=1\r\n"
     "[Custom Colors]\r\nMyColorflg=1\r\n[Comment]\r\nOff=1\r\n",
     1123, true, true, true, true, "1"},
    {"CloseFlagTwo", "[Flags]\r\nClose2Exit=2\r\n[Custom Colors]\r\nMyColorflg=7\r\n", 1123, false, false, false,
     false, "0"},
};
INSTANTIATE_TEST_SUITE_P(StoredSettings, InitialChecks, ::testing::ValuesIn(kInitialStates),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillet::testing_shell
