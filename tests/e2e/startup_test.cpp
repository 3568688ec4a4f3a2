// End to end: starting quillet.exe in a fresh folder. The frame and its panes, the
// status note, the refusals at start-up with their messages and exit codes, and the
// window placement kept across runs in razuvi.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "driver/session.h"

#include <commctrl.h>

using namespace qdriver;

namespace {

// The remark of the CREATED line of the shipped keyword file, as the status bar shows it.
std::string ExpectedStatusNote() {
    std::string bytes;
    if (!ReadBytes(SourceFolder() + "data\\qkeywords.txt", &bytes)) return "(keyword file unreadable)";
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\r', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (start < bytes.size() && bytes[start] == '\n') ++start;
        size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos || _strnicmp(line.c_str() + first, "CREATED:", 8) != 0) continue;
        std::string remark = line.substr(first + 8);
        remark.erase(0, remark.find_first_not_of(' '));
        remark.erase(remark.find_last_not_of(' ') + 1);
        return ("Keywords and tips data file is created " + remark).substr(0, 255);
    }
    return "(no CREATED line)";
}

int TaskbarHeight() {
    HWND taskbar = FindWindowA("Shell_traywnd", "");
    if (!taskbar) return 0;
    RECT rect = WindowRect(taskbar);
    return rect.bottom - rect.top;
}

struct Placement {
    int x, y, width, height;
};

Placement PlacementOf(HWND window) {
    RECT rect = WindowRect(window);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void ExpectPlacement(const Placement &actual, const Placement &expected, const std::string &what) {
    EXPECT_EQ(actual.x, expected.x) << what;
    EXPECT_EQ(actual.y, expected.y) << what;
    EXPECT_EQ(actual.width, expected.width) << what;
    EXPECT_EQ(actual.height, expected.height) << what;
}

// What the next start does with stored values: a width of 0 or at least the maximum
// tracking width becomes that width; the same for the height, less the taskbar.
Placement Clamped(int x, int y, int width, int height) {
    int maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
    int maxHeight = GetSystemMetrics(SM_CYMAXTRACK) - TaskbarHeight();
    if (width == 0 || width >= maxWidth) width = maxWidth;
    if (height == 0 || height >= maxHeight) height = maxHeight;
    return {x, y, width, height};
}

// The program writes numbers with a leading blank, but Wine's profile functions drop
// leading blanks of every value they write, so the blank is not compared.
struct ToolButton {
    int command;
    bool separator;
};

std::vector<ToolButton> ToolButtons(HWND toolBar) {
    std::vector<ToolButton> buttons;
    RemoteBuffer remote(toolBar, sizeof(TBBUTTON));
    int count = static_cast<int>(Send(toolBar, TB_BUTTONCOUNT));
    for (int i = 0; i < count && remote.Ok(); ++i) {
        TBBUTTON button = {};
        Send(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(remote.Address()));
        remote.Read(0, &button, sizeof button);
        buttons.push_back({button.idCommand, (button.fsStyle & TBSTYLE_SEP) != 0});
    }
    return buttons;
}

}  // namespace

// One run: the frame and its panes as the user first sees them, Esc as an accelerator,
// a refused second copy, and the placement written when the frame closes.
TEST(StartUp, FrameWithItsPanesRefusesASecondCopyAndSavesItsPlacement) {
    FreshFolder folder;
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    HWND frame = quillet.Frame();

    EXPECT_EQ(ClassName(frame), "QuillFrame");
    EXPECT_EQ(Text(frame), "Quilletor 33 - by Fennrick");
    // No razuvi.ini: at (0, 0), as wide and high as the frame may grow (less the taskbar).
    ExpectPlacement(PlacementOf(frame), Clamped(0, 0, 0, 0), "first start without settings");

    HWND statusBar = quillet.StatusBar();
    ASSERT_TRUE(statusBar);
    EXPECT_EQ(ClassName(statusBar), "msctls_statusbar32");
    EXPECT_TRUE(IsWindowVisible(statusBar));
    EXPECT_EQ(Text(statusBar), ExpectedStatusNote());
    EXPECT_EQ(StatusPartText(statusBar, 0), ExpectedStatusNote());
    HWND progress = Child(statusBar, ui::kProgressBar);
    ASSERT_TRUE(progress) << "no progress bar in the status bar";
    EXPECT_EQ(ClassName(progress), "msctls_progress32");
    EXPECT_FALSE(IsWindowVisible(progress));

    HWND toolBar = quillet.ToolBar();
    ASSERT_TRUE(toolBar);
    EXPECT_EQ(ClassName(toolBar), "ToolbarWindow32");
    EXPECT_TRUE(IsWindowVisible(toolBar));
    const std::vector<ToolButton> expectedButtons = {{1031, false}, {1032, false}, {1033, false}, {0, true},
                                                     {1038, false}, {1039, false}, {1040, false}, {0, true},
                                                     {1046, false}, {1047, false}};
    std::vector<ToolButton> buttons = ToolButtons(toolBar);
    ASSERT_EQ(buttons.size(), expectedButtons.size());
    for (size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].separator, expectedButtons[i].separator) << "button " << i;
        if (!expectedButtons[i].separator) {
            EXPECT_EQ(buttons[i].command, expectedButtons[i].command) << "button " << i;
        }
    }

    HWND client = quillet.MdiClient();
    ASSERT_TRUE(client);
    EXPECT_EQ(ClassName(client), "MDIClient");
    EXPECT_TRUE(IsWindowVisible(client));
    EXPECT_EQ(RectIn(frame, client).top, 45) << "without documents the MDI client starts under the tool bar";
    HWND tabs = quillet.TabStrip();
    ASSERT_TRUE(tabs);
    EXPECT_EQ(ClassName(tabs), "SysTabControl32");
    EXPECT_FALSE(IsWindowVisible(tabs));
    EXPECT_EQ(TabCount(tabs), 0);
    HWND labels = FindWindowExA(client, nullptr, "Lables", nullptr);
    ASSERT_TRUE(labels) << "no labels pane in the MDI client";
    EXPECT_EQ(Text(labels), "Lables");
    EXPECT_FALSE(IsWindowVisible(labels));
    EXPECT_TRUE(Child(labels, ui::kLabelsList));
    EXPECT_TRUE(quillet.Documents().empty());

    Sleep(300);  // let the tool bar and the status bar finish painting before the picture
    SaveScreenshot("frame.png", frame);

    // Esc is an accelerator: each press flips "NoAutoIndentation" and writes it.
    const std::string settings = folder.Settings();
    for (const char *expected : {"1", "0"}) {
        ASSERT_TRUE(PressKey(frame, VK_ESCAPE)) << "the frame did not come to the foreground";
        EXPECT_TRUE(WaitUntil([&] { return Trim(IniRawValue(settings, "NoAUTOIdentation", "Off")) == expected; },
                              kStepTimeout))
            << "after Esc, [NoAUTOIdentation] Off is \"" << IniRawValue(settings, "NoAUTOIdentation", "Off")
            << "\", expected \"" << expected << "\"";
    }

    // A second copy, even from another folder, is refused before it loads anything.
    {
        FreshFolder otherFolder;
        ASSERT_TRUE(otherFolder.Ok()) << otherFolder.Error();
        Session second(otherFolder);
        ASSERT_TRUE(second.Start());
        HWND box = second.WaitDialog("Application is running", kStartTimeout);
        ASSERT_TRUE(box) << "no \"Application is running\" message";
        EXPECT_EQ(MessageBoxText(box), "Quilletor is already running");
        EXPECT_TRUE(TopWindows(second.Pid(), "QuillFrame").empty()) << "the second copy made a frame";
        PressButton(box, IDOK);
        DWORD code = 99;
        ASSERT_TRUE(second.Process().WaitExit(kStepTimeout, &code)) << "the second copy did not end";
        EXPECT_EQ(code, 1u);
        EXPECT_FALSE(FileExists(otherFolder.Settings())) << "the second copy wrote settings";
    }
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(Text(frame), "Quilletor 33 - by Fennrick");

    // Closing writes the placement: left, top, width and height of the frame.
    RECT rect = WindowRect(frame);
    DWORD code = 99;
    ASSERT_TRUE(quillet.Close(&code)) << "the frame did not close";
    EXPECT_EQ(code, 0u);
    const struct {
        const char *key;
        int value;
    } written[] = {{"winx", rect.left},
                   {"winy", rect.top},
                   {"wwidth", rect.right - rect.left},
                   {"wheight", rect.bottom - rect.top}};
    for (const auto &entry : written) {
        bool found = false;
        EXPECT_EQ(Trim(IniRawValue(settings, "WINDOWS", entry.key, &found)), std::to_string(entry.value))
            << entry.key;
        EXPECT_TRUE(found) << entry.key << " not written";
    }
}

// The placement written at exit is read and clamped at the next start; stored values
// are used as they are, except a width or height of 0 or beyond the maximum tracking
// size, and the frame never gets smaller than 830 x 300. A skin value of blanks only
// counts as no skin (quoted, so that the profile functions hand the blanks over).
TEST(StartUp, StoredPlacementIsClampedAtTheNextStart) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string settings = folder.Settings();
    const int maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
    const int maxHeight = GetSystemMetrics(SM_CYMAXTRACK) - TaskbarHeight();
    const struct {
        const char *what;
        const char *x, *y, *width, *height;
        const char *skin;
        Placement expected;
    } rows[] = {
        {"as stored, negative left edge kept", "-20", "30", "900", "400", nullptr, {-20, 30, 900, 400}},
        {"width 5000 clamped, height 0 clamped", "10", "20", "5000", "0", nullptr, {10, 20, maxWidth, maxHeight}},
        {"leading blanks, below the minimum size; blank skin", " 40", " 50", " 500", " 200", "\"   \"",
         {40, 50, 830, 300}},
    };
    // The first start writes what the frame had; the next start reads it back.
    {
        Session first(folder);
        ASSERT_EQ(first.Launch(), "");
        ASSERT_TRUE(first.Close());
    }
    const int savedWidth = IniReadInt(settings, "windows", "wwidth", -1);
    const int savedHeight = IniReadInt(settings, "windows", "wheight", -1);
    {
        Session secondStart(folder);
        ASSERT_EQ(secondStart.Launch(), "");
        HWND frame = secondStart.Frame();
        ExpectPlacement(PlacementOf(frame),
                        Clamped(IniReadInt(settings, "windows", "winx", -1), IniReadInt(settings, "windows", "winy", -1),
                                savedWidth, savedHeight),
                        "placement saved at the previous exit");
        ASSERT_TRUE(secondStart.Close());
    }
    for (const auto &row : rows) {
        // Written byte for byte: the profile functions would drop the leading blanks.
        std::string file = std::string("[WINDOWS]\r\nwinx=") + row.x + "\r\nwiny=" + row.y + "\r\nwwidth=" +
                           row.width + "\r\nwheight=" + row.height + "\r\n";
        if (row.skin) file += std::string("[Qskin]\r\nskin=") + row.skin + "\r\n";
        ASSERT_TRUE(WriteBytes(settings, file));
        Session quillet(folder);
        ASSERT_EQ(quillet.Launch(), "") << row.what;
        HWND frame = quillet.Frame();
        ExpectPlacement(PlacementOf(frame), row.expected, row.what);
        DWORD code = 99;
        EXPECT_TRUE(quillet.Close(&code)) << row.what;
        EXPECT_EQ(code, 0u) << row.what;
        // What the frame had is stored again unchanged: it does not creep from run to run.
        ExpectPlacement({IniReadInt(settings, "windows", "winx", -1), IniReadInt(settings, "windows", "winy", -1),
                         IniReadInt(settings, "windows", "wwidth", -1), IniReadInt(settings, "windows", "wheight", -1)},
                        row.expected, std::string(row.what) + ", stored at exit");
    }
}

// Refusals before the frame shows: each message with its title, then the exit code.
// SciLexer.dll is loaded only once the frame is painted, so its absence is told over the
// shown frame, which then closes.
TEST(StartUp, RefusalsShowTheirMessageAndEndWithTheirExitCode) {
    enum class Frame { kNone, kHidden, kShown };
    const struct {
        const char *what;
        const char *removedFile;
        const char *storedSkin;  // a file name in skins\, written as a full path
        const char *title;
        const char *text;
        DWORD exitCode;
        Frame frame;
    } rows[] = {
        {"keyword file missing", "qkeywords.txt", nullptr, "Keyword file is missing", "Sorry, keyword file not found",
         0, Frame::kHidden},
        {"stored skin missing", nullptr, "deleted.urf", "Warning", "Cann't load your skin,it  may be deleted ", 1,
         Frame::kNone},
        {"editing component missing", "SciLexer.dll", nullptr, "error",
         "SciLexer.dll couldn't be loaded: scripts cannot be opened", 0, Frame::kShown},
    };
    for (const auto &row : rows) {
        FreshFolder folder;
        ASSERT_TRUE(folder.Ok()) << folder.Error();
        if (row.removedFile) {
            ASSERT_TRUE(DeleteFileA(folder.File(row.removedFile).c_str())) << row.what;
        }
        if (row.storedSkin) IniWrite(folder.Settings(), "Qskin", "skin", folder.Path() + "skins\\" + row.storedSkin);
        Session quillet(folder);
        ASSERT_TRUE(quillet.Start()) << row.what;
        HWND box = quillet.WaitDialog(row.title, kStartTimeout);
        ASSERT_TRUE(box) << row.what << ": no message titled \"" << row.title << "\"";
        EXPECT_EQ(MessageBoxText(box), row.text) << row.what;
        std::vector<HWND> frames = TopWindows(quillet.Pid(), "QuillFrame");
        if (row.frame == Frame::kNone) {
            EXPECT_TRUE(frames.empty()) << row.what << ": a frame was created";
        } else {
            ASSERT_EQ(frames.size(), 1u) << row.what;
            EXPECT_EQ(IsWindowVisible(frames[0]) != FALSE, row.frame == Frame::kShown) << row.what;
        }
        PressButton(box, IDOK);
        DWORD code = 99;
        ASSERT_TRUE(quillet.Process().WaitExit(kStepTimeout, &code)) << row.what << ": the program did not end";
        EXPECT_EQ(code, row.exitCode) << row.what;
    }
}

// What the first paint does not need is loaded later: quillet.exe imports neither
// SciLexer.dll nor the dialog, shell, version or OLE libraries. A new call into one of
// those that the delay-load lists miss would bring its DLL back into the start. Nor
// does it import a function that Windows 7, the oldest system it runs on, lacks: the
// loader would refuse to start it there.
TEST(StartUp, ProgramImportsOnlyWhatItsFirstPaintNeeds) {
    std::string image;
    ASSERT_TRUE(ReadBytes(ExeFolder() + "quillet.exe", &image));
    auto at = [&](size_t offset, size_t size) -> const char * {
        return offset + size <= image.size() ? image.data() + offset : nullptr;
    };
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(at(0, sizeof(IMAGE_DOS_HEADER)));
    ASSERT_TRUE(dos && dos->e_magic == IMAGE_DOS_SIGNATURE);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS)));
    ASSERT_TRUE(nt && nt->Signature == IMAGE_NT_SIGNATURE);
    const IMAGE_SECTION_HEADER *sections = IMAGE_FIRST_SECTION(nt);
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER &section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return image.size();
    };
    std::vector<std::string> imported, functions;
    const DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t entry = fileOffset(directory);; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto *import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(at(entry, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        ASSERT_TRUE(import) << "import table runs past the file";
        if (!import->Name) break;
        const char *name = at(fileOffset(import->Name), 1);
        ASSERT_TRUE(name);
        std::string lower(name, strnlen(name, image.data() + image.size() - name));
        for (char &c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        imported.push_back(lower);
        const DWORD thunks = import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk;
        for (size_t thunk = fileOffset(thunks);; thunk += sizeof(IMAGE_THUNK_DATA)) {
            const auto *entryData = reinterpret_cast<const IMAGE_THUNK_DATA *>(at(thunk, sizeof(IMAGE_THUNK_DATA)));
            ASSERT_TRUE(entryData) << lower << "'s function list runs past the file";
            if (!entryData->u1.AddressOfData) break;
            if (IMAGE_SNAP_BY_ORDINAL(entryData->u1.Ordinal)) continue;
            const auto *byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(
                at(fileOffset(static_cast<DWORD>(entryData->u1.AddressOfData)), sizeof(IMAGE_IMPORT_BY_NAME)));
            ASSERT_TRUE(byName) << lower << " names a function past the file";
            const char *function = reinterpret_cast<const char *>(byName->Name);
            functions.emplace_back(function, strnlen(function, image.data() + image.size() - function));
        }
    }
    const std::vector<std::string> allowed = {"appface.dll", "comctl32.dll", "gdi32.dll",
                                              "kernel32.dll", "msvcrt.dll",  "user32.dll"};
    EXPECT_FALSE(imported.empty());
    for (const std::string &name : imported)
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), name), allowed.end()) << name << " is loaded at start";
    // Functions of the allowed libraries that came with Windows 8 or later: found at run
    // time where the program wants them, never imported.
    const std::vector<std::string> newerThanWindows7 = {
        "GetSystemTimePreciseAsFileTime", "CreateFile2",      "GetCurrentThreadStackLimits", "WaitOnAddress",
        "WakeByAddressSingle",            "WakeByAddressAll", "SetThreadDescription",        "GetDpiForWindow",
        "GetDpiForSystem",                "SetProcessDpiAwarenessContext", "EnableNonClientDpiScaling",
        "SystemParametersInfoForDpi",     "GetSystemMetricsForDpi"};
    EXPECT_GT(functions.size(), imported.size());
    for (const std::string &function : functions)
        EXPECT_EQ(std::find(newerThanWindows7.begin(), newerThanWindows7.end(), function), newerThanWindows7.end())
            << function << " is imported, and Windows 7 does not have it";
}

// Minimising and the close button hide the frame to the tray, where a left click brings
// it back; once "Exit On Close" is switched on, the close button ends the program.
TEST(StartUp, CloseButtonHidesToTheTrayUntilExitOnCloseIsOn) {
    FreshFolder folder;
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    HWND frame = quillet.Frame();
    for (WPARAM command : {SC_MINIMIZE, SC_CLOSE}) {
        PostMessageA(frame, WM_SYSCOMMAND, command, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(frame); }, kStepTimeout))
            << "system command " << command << " left the frame visible";
        EXPECT_FALSE(quillet.Process().WaitExit(0)) << "system command " << command << " ended the program";
        EXPECT_FALSE(IsIconic(frame)) << "the frame is hidden, not minimised";
        PostMessageA(frame, ui::kMsgTrayIcon, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(frame) != 0; }, kStepTimeout))
            << "a left click on the tray icon did not bring the frame back";
    }
    SendCommand(frame, ui::kCmdExitOnClose);
    EXPECT_EQ(Trim(IniRawValue(folder.Settings(), "Flags", "Close2Exit")), "1");
    PostMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 99;
    ASSERT_TRUE(quillet.Process().WaitExit(kStepTimeout, &code)) << "the close button did not end the program";
    EXPECT_EQ(code, 0u);
}

// A skin chosen from the Skin menu is stored as a full path and starts with the next run.
TEST(StartUp, SkinChosenFromTheMenuIsKeptForTheNextStart) {
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string settings = folder.Settings();
    const struct {
        int command;
        const char *stored;  // file name written after exe folder + "skins\"
    } rows[] = {{1113, "trias.urf"}, {1111, "Clay.urf"}, {1115, "Wine.urf"}};
    for (const auto &row : rows) {
        Session quillet(folder);
        ASSERT_EQ(quillet.Launch(), "");
        HWND frame = quillet.Frame();
        SendCommand(frame, row.command);
        EXPECT_EQ(IniRead(settings, "Qskin", "skin"), folder.Path() + "skins\\" + row.stored) << row.command;
        ASSERT_TRUE(quillet.Close());

        Session next(folder);
        ASSERT_TRUE(next.Start());
        EXPECT_TRUE(next.Frame()) << row.stored << " did not start";
        EXPECT_TRUE(TopWindows(next.Pid(), "#32770").empty()) << row.stored << " was refused";
        if (row.command == 1113) {
            Sleep(300);  // let the frame finish painting before the picture
            SaveScreenshot("frame-sias-skin.png", next.Frame());
        }
        ASSERT_TRUE(next.Close());
    }
}

// Windows shows what the program is (Properties, crash reports) from its version resource.
TEST(StartUp, ProgramNamesItselfInItsVersionResource) {
    const std::string exe = ExeFolder() + "quillet.exe";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << exe;
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));
    auto value = [&](const char *name) {
        char *text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&text), &length) || !text)
            return std::string();
        return std::string(text);
    };
    EXPECT_EQ(value("ProductName"), "Quillet");
    EXPECT_EQ(value("OriginalFilename"), "quillet.exe");
    EXPECT_NE(value("FileDescription").find("OllyDbg scripts"), std::string::npos);
}
