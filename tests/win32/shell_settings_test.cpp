// The settings loader over real razuvi.ini files: defaults, clamping of the stored
// frame size, the editor font fallback, garbage and oversized values.
#include "tests/win32/shell_fixture.h"

#include "platform/settings_store.h"

namespace quillet::testing_shell {
namespace {

int TaskbarHeight() {
    RECT rect{};
    HWND taskbar = FindWindowA(text::kTaskbarClass, "");
    return taskbar && GetWindowRect(taskbar, &rect) ? rect.bottom - rect.top : 0;
}

struct Loaded {
    const char *name;
    std::string ini;
    int width, height, left, top;  // -1 width/height: the clamped maximum
    const char *font;
    int fontSize, fontStyle;
};

class SettingsLoad : public ShellFixture, public ::testing::WithParamInterface<Loaded> {};

TEST_P(SettingsLoad, ClampsTheFrameAndFallsBackToArial) {
    const Loaded &row = GetParam();
    WriteIni(row.ini);
    CreateFrame();
    const SettingsRecord &s = *GetSettings(frame_);
    const int maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
    const int maxHeight = GetSystemMetrics(SM_CYMAXTRACK) - TaskbarHeight();
    EXPECT_EQ(s.frameWidth, row.width < 0 ? maxWidth : row.width);
    EXPECT_EQ(s.frameHeight, row.height < 0 ? maxHeight : row.height);
    EXPECT_EQ(s.frameLeft, row.left);
    EXPECT_EQ(s.frameTop, row.top);
    EXPECT_EQ(s.editorFontFace, row.font);
    EXPECT_EQ(s.editorFontSize, row.fontSize);
    EXPECT_EQ(s.editorFontStyle, row.fontStyle);
    // Switches start the same at every start.
    EXPECT_EQ(s.callTipsSwitch, 1);
    EXPECT_EQ(s.autoCompleteSwitch, 1);
    EXPECT_EQ(s.typedVariablesSwitch, 0);
    EXPECT_EQ(s.tempFolder, platform::TempFolder());
}

const Loaded kLoads[] = {
    {"NoFile", "", -1, -1, 0, 0, "Arial", 14, 0},
    {"TooWideAndNegativeLeft", "[windows]\r\nwwidth=5000\r\nwheight=99999\r\nwinx=-50\r\nwiny= 30\r\n", -1, -1, -50,
     30, "Arial", 14, 0},
    {"StoredSizeKept", "[WINDOWS]\r\nwwidth= 900\r\nwheight= 500\r\nwinx= 7\r\nwiny=8\r\n", 900, 500, 7, 8, "Arial",
     14, 0},
    {"GarbageNumbers", "[windows]\r\nwwidth=abc\r\nwheight=x1\r\nwinx=-\r\nwiny=\x01\x02\r\n[fonts]\r\nfsize=big\r\n",
     -1, -1, 0, 0, "Arial", 14, 0},
    {"FaceWithoutSize", "[fonts]\r\nfname=Courier New\r\nfstyle=3\r\n", -1, -1, 0, 0, "Arial", 14, 0},
    {"BlankFace", "[fonts]\r\nfname=   \r\nfsize=12\r\nfstyle=1\r\n", -1, -1, 0, 0, "Arial", 14, 0},
    {"StoredFont", "[fonts]\r\nfname=Courier New\r\nfsize= 11\r\nfstyle= 2\r\n", -1, -1, 0, 0, "Courier New", 11, 2},
};
INSTANTIATE_TEST_SUITE_P(RazuviIni, SettingsLoad, ::testing::ValuesIn(kLoads),
                         [](const auto &info) { return std::string(info.param.name); });

using SettingsLoader = ShellFixture;

TEST_F(SettingsLoader, ReadsEveryStoredValue) {
    WriteIni(
        "[Comment]\r\nOff= 1\r\n[fonts]\r\ncfname=Lucida Console\r\ncfsize= 9\r\ncfstyle= 3\r\n"
        "[ScriptFolder]\r\npath=C:\\scripts\r\n[Custom Colors]\r\nMyColorflg=1\r\n[language]\r\nlangflg= 936\r\n"
        "[Flags]\r\nClose2Exit=1\r\n[OllyDbgPath]\r\nollypath=C:\\odbg\\OLLYDBG.EXE\r\n"
        "[NoAUTOIdentation]\r\nOff= 1\r\n[MSDNHELP]\r\nOn= 1\r\n");
    CreateFrame();
    const SettingsRecord &s = *GetSettings(frame_);
    EXPECT_EQ(s.commentHighlightOff, 1);
    EXPECT_EQ(s.commentFontFace, "Lucida Console");
    EXPECT_EQ(s.commentFontSize, 9);
    EXPECT_EQ(s.commentFontStyle, 3);
    EXPECT_EQ(s.scriptFolder, "C:\\scripts");
    EXPECT_EQ(s.customColorFlag, 1);
    EXPECT_EQ(s.codePage, 936);
    EXPECT_EQ(s.closeFlag, 1);
    EXPECT_EQ(s.debuggerPath, "C:\\odbg\\OLLYDBG.EXE");
    EXPECT_EQ(s.noAutoIndent, 1);
    EXPECT_EQ(s.documentationLookup, 1);
}

// Paths longer than 260 bytes are held whole: a cut one would name another program or
// folder.
TEST_F(SettingsLoader, LongPathsAreHeldWhole) {
    const std::string olly = "C:\\" + std::string(300, 'o') + "\\OLLYDBG.EXE";
    const std::string scripts = "C:\\" + std::string(400, 's');
    WriteIni("[OllyDbgPath]\r\nollypath=" + olly + "\r\n[ScriptFolder]\r\npath=" + scripts + "\r\n");
    CreateFrame();
    const SettingsRecord &s = *GetSettings(frame_);
    EXPECT_EQ(s.debuggerPath, olly);
    EXPECT_EQ(s.scriptFolder, scripts);
    EXPECT_EQ(ReadSettingText(setting::kDebuggerPath), olly);
}

TEST_F(SettingsLoader, KeyNamesAndWritingSpellingsAreTheSameKeys) {
    // What the program writes, it reads back: the writing spellings of sections and
    // keys ("WINDOWS", "Close2Exit") name the same keys as the reading ones.
    for (const SettingKey *key : {&setting::kWinX, &setting::kWidth, &setting::kCloseToExit, &setting::kLanguage,
                                  &setting::kMyColorFlag, &setting::kFontSize}) {
        SCOPED_TRACE(key->key);
        WriteSetting(*key, 42);
        EXPECT_EQ(ReadSetting(*key), 42);
        WriteSetting(*key, -3);
        EXPECT_EQ(ReadSetting(*key), -3);
    }
    WriteSettingText(setting::kDebuggerPath, "C:\\x.exe");
    EXPECT_EQ(ReadSettingText(setting::kDebuggerPath), "C:\\x.exe");
    WriteSettingText(setting::kDebuggerPath, "");  // removes the key
    EXPECT_EQ(IniText("OllyDbgPath", "ollypath"), "<missing>");
    // The settings path names the same file as razuvi.ini.
    WriteSetting(setting::kLanguage, 950);
    EXPECT_EQ(IniText("language", "langflg"), "950");
}

}  // namespace
}  // namespace quillet::testing_shell
