// The whole program run in-process: the refusals of start-up with their messages and
// exit codes, and a complete run from start to WM_QUIT driven from a thread timer.
#include "tests/win32/shell_fixture.h"

#include "app/system_version.h"
#include "skin/appface.h"

namespace quillet::testing_shell {
namespace {

// The test program's own folder, where the build puts skins\*.urf.
std::string RealExeFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

class StartupTest : public ShellFixture {
protected:
    void CopySkins() {
        CreateDirectoryA(Path("skins").c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((RealExeFolder() + "skins\\wine.urf").c_str(), Path("skins\\wine.urf").c_str(), FALSE));
    }
    int Run() {
        const int code = RunQuillet(Instance(), SW_SHOWNOACTIVATE);
        frame_ = ProgramFrame();  // left behind when the keyword file failed
        return code;
    }
};

TEST_F(StartupTest, SecondInstanceIsRefused) {
    CreateFrame();
    EXPECT_EQ(RunQuillet(Instance(), SW_SHOW), 1);
    const ShownMessage refused{"Quilletor is already running", "Application is running", MB_OK};
    EXPECT_EQ(messages_, std::vector<ShownMessage>{refused});
}

TEST_F(StartupTest, SkinsThatCannotStartEndTheProgram) {
    struct Case {
        const char *ini;
        ShownMessage message;
    };
    const Case cases[] = {
        {"[Qskin]\r\nskin=C:\\nowhere\\gone.urf\r\n",
         {"Cann't load your skin,it  may be deleted ", "Warning", MB_TASKMODAL}},
        {"[Qskin]\r\nskin=   \r\n", {"Cann't load  default skin  ", "Warnnig", MB_TASKMODAL}},
        {"", {"Cann't load  default skin  ", "Warnnig", MB_TASKMODAL}},
    };
    WriteKeywords();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ini);
        messages_.clear();
        WriteIni(c.ini);
        EXPECT_EQ(Run(), 1);
        EXPECT_EQ(messages_, std::vector<ShownMessage>{c.message});
        EXPECT_EQ(frame_, nullptr);
    }
}

TEST_F(StartupTest, MissingKeywordFileEndsTheStartBeforeTheFrameShows) {
    CopySkins();
    EXPECT_EQ(Run(), 0);
    const ShownMessage missing{"Sorry, keyword file not found", "Keyword file is missing", MB_OK};
    EXPECT_EQ(messages_, std::vector<ShownMessage>{missing});
    ASSERT_NE(frame_, nullptr);
    EXPECT_FALSE(IsWindowVisible(frame_));
    SkinRemove();
}

// What the timer saw while the program ran.
struct Observed {
    bool visible = false;
    RECT placement{};
    std::string status;
};
Observed observed;

void CALLBACK DuringRun(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND frame = ProgramFrame();
    if (!frame) return;
    observed.visible = IsWindowVisible(frame) != FALSE;
    GetWindowRect(frame, &observed.placement);
    char status[300] = "";
    SendMessageA(GetFrameHandles(frame)->statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    observed.status = status;
    // Esc is translated against the frame wherever it is sent.
    PostMessageA(GetMdiClient(frame), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(frame, WM_CLOSE, 0, 0);
}

TEST_F(StartupTest, ACompleteRunShowsThePlacedFrameAndEndsWithWmQuit) {
    CopySkins();
    WriteKeywords();
    WriteIni("[windows]\r\nwinx= 50\r\nwiny= 60\r\nwwidth= 900\r\nwheight= 500\r\n");
    observed = Observed{};
    SetTimer(nullptr, 0, 10, DuringRun);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(frame_, nullptr);
    EXPECT_TRUE(observed.visible);
    EXPECT_EQ(observed.placement.left, 50);
    EXPECT_EQ(observed.placement.top, 60);
    EXPECT_EQ(observed.placement.right - observed.placement.left, 900);
    EXPECT_EQ(observed.placement.bottom - observed.placement.top, 500);
    EXPECT_EQ(observed.status, "Keywords and tips data file is created 2026-01-02 test set");
    EXPECT_EQ(IniText("NoAUTOIdentation", "Off"), "1");
    EXPECT_EQ(IniText("windows", "winx"), "50");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(StartupTest, AcceleratorsCoverTheSeventeenKeysTheScriptCheckKeysAndTheStructureKeys) {
    HACCEL table = CreateShellAccelerators();
    ACCEL entries[32]{};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 32), 24);
    DestroyAcceleratorTable(table);
    struct Key {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Key expected[] = {{0, VK_F4, 1092},        {0, VK_F5, 1093},        {FCONTROL, VK_F2, 1094},
                            {FCONTROL, VK_F3, 1095}, {0, VK_F2, 1096},        {0, VK_F3, 1097},
                            {0, VK_F6, 1144},        {0, VK_F7, 1145},        {0, VK_F8, 1105},
                            {0, VK_F9, 1106},        {0, VK_F10, 1107},       {0, VK_F11, 1098},
                            {0, VK_F12, 1099},       {FALT, VK_F2, 1139},     {FALT, VK_F3, 1140},
                            {0, VK_ESCAPE, 1164},    {0, VK_PAUSE, 1148},     {FCONTROL, VK_F7, 1160},
                            {FCONTROL, VK_F12, 1161}, {FALT, VK_LEFT, 1162}, {FALT, '0', 1200},
                            {FALT | FSHIFT, '0', 1201}, {FSHIFT, VK_F12, 1202}, {FCONTROL | FSHIFT, 'R', 1203}};
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].fVirt & ~0x80, FVIRTKEY | expected[i].modifiers);
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].command);
    }
}

TEST(SystemVersion, ReadsVersionResourcesOfSystemFiles) {
    const double comctl = SystemFileVersion("COMCTL32.DLL");
    EXPECT_GE(comctl, 4.0);
    EXPECT_DOUBLE_EQ(InitCommonControlsVersion(0), comctl);
    EXPECT_EQ(SystemFileVersion("no-such-file.dll"), 0.0);
    // major + minor / 100: a whole number of hundredths.
    const double scaled = comctl * 100;
    EXPECT_NEAR(scaled, static_cast<double>(static_cast<long>(scaled + 0.5)), 1e-6);
}

}  // namespace
}  // namespace quillet::testing_shell
