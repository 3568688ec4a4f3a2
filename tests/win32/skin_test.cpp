// appface.dll with real windows: a frame with menu bar, MDI client and status bar, a tool
// bar and a tab strip, skinned and read back pixel by pixel; loading and refusing skin
// files; putting everything back; windows that die or are subclassed over the skin.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin/appface.h"
#include "skin/urf_format.h"

namespace {

// Two skins whose every colour differs, so each pixel shows which one painted it.
struct Palette {
    COLORREF frame, workspace, edge, menubar, statusbar, top, bottom, line, tabsBack, tab, text, selected,
        selectedText, tabsEdge;
};
const Palette kRed = {RGB(0x60, 0x10, 0x20), RGB(0x70, 0x20, 0x30), RGB(0x30, 0x00, 0x10), RGB(0xF0, 0xE0, 0xD0),
                      RGB(0xE8, 0xD0, 0xC0), RGB(0xA0, 0x30, 0x40), RGB(0x50, 0x10, 0x18), RGB(0x20, 0x00, 0x08),
                      RGB(0x58, 0x10, 0x1C), RGB(0xC8, 0x88, 0x90), RGB(0x28, 0x04, 0x0C), RGB(0xF2, 0xE2, 0xD2),
                      RGB(0x5C, 0x0C, 0x1C), RGB(0x3C, 0x08, 0x14)};
const Palette kTeal = {RGB(0x10, 0x48, 0x40), RGB(0x30, 0x78, 0x70), RGB(0x08, 0x30, 0x30), RGB(0xDC, 0xF0, 0xEC),
                       RGB(0xC4, 0xE4, 0xDC), RGB(0x48, 0xB0, 0x98), RGB(0x14, 0x68, 0x5C), RGB(0x04, 0x2C, 0x28),
                       RGB(0x14, 0x6C, 0x60), RGB(0x90, 0xD0, 0xC0), RGB(0x04, 0x30, 0x28), RGB(0xD8, 0xF0, 0xEA),
                       RGB(0x0C, 0x48, 0x44), RGB(0x06, 0x34, 0x30)};

std::string Hex(COLORREF c) {
    if (c == CLR_INVALID) return "none";
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string SkinText(const char *name, const Palette &p, bool flat) {
    return std::string("URF 1\n[skin]\nname=") + name + "\n[frame]\nbackground=" + Hex(p.frame) +
           "\nworkspace=" + Hex(p.workspace) + "\nedge=" + Hex(p.edge) + "\nmenubar=" + Hex(p.menubar) +
           "\nstatusbar=" + Hex(p.statusbar) + "\n[toolbar]\ntop=" + Hex(p.top) + "\nbottom=" + Hex(p.bottom) +
           "\nline=" + Hex(p.line) + "\nflat=" + (flat ? "yes" : "no") + "\n[tabs]\nbackground=" + Hex(p.tabsBack) +
           "\ntab=" + Hex(p.tab) + "\ntext=" + Hex(p.text) + "\nselected=" + Hex(p.selected) +
           "\nselectedtext=" + Hex(p.selectedText) + "\nedge=" + Hex(p.tabsEdge) + "\n";
}

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n < MAX_PATH ? n : 0);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::string ReadFile(const std::string &path) {
    std::string text;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

// Writes what a window shows (frame included) as a 24-bit BMP file.
void SaveScreenshot(HWND hwnd, const std::string &path) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC window = GetWindowDC(hwnd), mem = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateDIBSection(window, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(mem, bitmap);
        BitBlt(mem, 0, 0, w, h, window, 0, 0, SRCCOPY);
        GdiFlush();
        DWORD size = static_cast<DWORD>(((w * 3 + 3) & ~3) * h);
        BITMAPFILEHEADER head = {0x4D42, static_cast<DWORD>(sizeof head + sizeof info + size), 0, 0,
                                 static_cast<DWORD>(sizeof head + sizeof info)};
        if (FILE *f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(&head, sizeof head, 1, f);
            std::fwrite(&info, sizeof info, 1, f);
            std::fwrite(bits, 1, size, f);
            std::fclose(f);
        }
        SelectObject(mem, old);
        DeleteObject(bitmap);
    }
    DeleteDC(mem);
    ReleaseDC(hwnd, window);
}

BOOL Start(const std::string &path) { return SkinStart(path.c_str(), 1, "", 1, nullptr, ""); }

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

const COLORREF kFrameClassColour = RGB(0x12, 0x34, 0x56);
const char kFrameClass[] = "SkinTestFrame";

// The frame and its panes, laid out at fixed places (client coordinates of the frame):
// tool bar 0..40, frame background 40..50, tab strip 50..80, MDI client 85..245.
class SkinTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 520;

    void SetUp() override {
        SkinRemove();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(kFrameClassColour);
        wc.lpszClassName = kFrameClass;
        if (!RegisterClassA(&wc)) DeleteObject(wc.hbrBackground);  // registered by an earlier test

        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "quillet-skin-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        red_ = Write("red.urf", SkinText("Red", kRed, true));
        teal_ = Write("teal.urf", SkinText("Teal", kTeal, false));
    }

    void TearDown() override {
        SkinRemove();
        if (frame_) DestroyWindow(frame_);
        Pump();
        for (const std::string &f : files_) DeleteFileA(f.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string Write(const char *name, const std::string &content) {
        std::string path = folder_ + name;
        FILE *f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
        files_.push_back(path);
        return path;
    }

    void CreateWindows(bool withMenu = true) {
        HINSTANCE inst = GetModuleHandleA(nullptr);
        frame_ = CreateWindowExA(0, kFrameClass, "Skin test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 600, 420,
                                 nullptr, nullptr, inst, nullptr);
        ASSERT_TRUE(frame_);
        RECT rc;
        GetClientRect(frame_, &rc);
        MoveWindow(frame_, 40, 40, 600 + kWidth - rc.right, 420, FALSE);
        toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER, 0, 0,
                                   kWidth, 40, frame_, nullptr, inst, nullptr);
        SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBADDBITMAP std = {HINST_COMMCTRL, IDB_STD_LARGE_COLOR};
        SendMessageA(toolbar_, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&std));
        TBBUTTON buttons[3] = {};
        for (int i = 0; i < 3; ++i) {
            buttons[i].iBitmap = i == 0 ? STD_FILENEW : i == 1 ? STD_FILEOPEN : STD_FILESAVE;
            buttons[i].idCommand = 100 + i;
            buttons[i].fsState = TBSTATE_ENABLED;
        }
        SendMessageA(toolbar_, TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons));
        tabs_ = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, WC_TABCONTROLA, "",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_FOCUSNEVER, 0, 50, kWidth, 30, frame_,
                                reinterpret_cast<HMENU>(1091), inst, nullptr);
        SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        const char *labels[] = {"first.osc", "Untitled 2"};
        for (int i = 0; i < 2; ++i) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char *>(labels[i]);
            SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageA(tabs_, TCM_SETCURSEL, 1, 0);
        CLIENTCREATESTRUCT ccs = {nullptr, 12};
        client_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 85, kWidth,
                                  160, frame_, reinterpret_cast<HMENU>(3244), inst, &ccs);
        status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame_,
                                  reinterpret_cast<HMENU>(1137), inst, nullptr);
        SendMessageA(status_, WM_SIZE, 0, 0);  // a status bar places itself at its parent's bottom
        int parts[] = {300, -1};
        SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
        SendMessageA(status_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Ready"));
        if (withMenu) AttachMenu();
        ShowWindow(frame_, SW_SHOWNORMAL);
        Flush();
    }

    void AttachMenu() {
        HMENU bar = CreateMenu();
        AppendMenuA(bar, MF_STRING, 1, "File");
        AppendMenuA(bar, MF_STRING, 2, "Edit");
        SetMenu(frame_, bar);
        SendMessageA(status_, WM_SIZE, 0, 0);  // the client area shrank: the status bar moves up
        InvalidateRect(status_, nullptr, TRUE);  // from where it was clipped away, so unpainted
    }

    void SkinAll() {
        EXPECT_TRUE(SkinWindowSet(tabs_, APPFACE_TABS));
        EXPECT_TRUE(SkinWindowSet(frame_, APPFACE_FRAME));
        EXPECT_TRUE(SkinWindowSet(toolbar_, APPFACE_TOOLBAR));
    }

    // Lets every pending paint happen (nothing is invalidated here: what is repainted is
    // what the skin engine invalidated).
    void Flush() {
        Pump();
        RedrawWindow(frame_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    }

    static COLORREF Pixel(HWND hwnd, int x, int y) {
        HDC dc = GetDC(hwnd);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(hwnd, dc);
        return c;
    }
    static COLORREF WindowPixel(HWND hwnd, int x, int y) {
        HDC dc = GetWindowDC(hwnd);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(hwnd, dc);
        return c;
    }
    static RECT TabRect(HWND tabs, int index) {
        RECT r = {};
        SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static bool RectHasColour(HWND hwnd, const RECT &r, COLORREF colour) {
        HDC dc = GetDC(hwnd);
        bool found = false;
        for (int y = r.top; y < r.bottom && !found; ++y)
            for (int x = r.left; x < r.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
        ReleaseDC(hwnd, dc);
        return found;
    }
    // The colour of the menu bar's background brush (CLR_INVALID for the system's). Wine
    // draws a menu bar in the system colour whatever this brush is, so it is read here
    // rather than from the screen.
    COLORREF MenuBrushColour() {
        MENUINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = MIM_BACKGROUND;
        LOGBRUSH brush;
        if (!GetMenuInfo(GetMenu(frame_), &info) || !info.hbrBack ||
            GetObjectA(info.hbrBack, sizeof brush, &brush) != sizeof brush)
            return CLR_INVALID;
        return brush.lbColor;
    }

    // What each part shows, one entry per place.
    struct Look {
        COLORREF frame, workspace, workspaceEdge, menubar, statusbar, bandTop, bandLine, tabsBack, tab, selected,
            tabsEdge;
    };
    Look Read() {
        Flush();
        Look look;
        RECT tc, sc;
        GetClientRect(tabs_, &tc);
        GetClientRect(status_, &sc);
        RECT unselected = TabRect(tabs_, 0), selected = TabRect(tabs_, 1);
        look.frame = Pixel(frame_, 5, 45);
        look.workspace = Pixel(client_, 10, 10);
        look.workspaceEdge = WindowPixel(client_, 0, 0);
        look.menubar = MenuBrushColour();
        look.statusbar = Pixel(status_, 20, sc.bottom / 2);
        look.bandTop = Pixel(toolbar_, kWidth - 5, 0);
        look.bandLine = Pixel(toolbar_, kWidth - 5, 39);
        look.tabsBack = Pixel(tabs_, tc.right - 5, 1);
        look.tab = Pixel(tabs_, unselected.left + 2, (unselected.top + unselected.bottom) / 2);
        look.selected = Pixel(tabs_, selected.left + 2, (selected.top + selected.bottom) / 2);
        look.tabsEdge = WindowPixel(tabs_, 0, 0);
        return look;
    }
    static Look Expected(const Palette &p) {
        return {p.frame, p.workspace, p.edge,  p.menubar,  p.statusbar, p.top,
                p.line,  p.tabsBack,  p.tab,   p.selected, p.tabsEdge};
    }
    static void ExpectLook(const Look &got, const Look &want, const char *when) {
        const char *names[] = {"frame",     "workspace", "workspace edge", "menu bar", "status bar", "band top",
                               "band line", "tabs back", "tab",            "selected", "tabs edge"};
        const COLORREF *g = &got.frame, *w = &want.frame;
        for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i)
            EXPECT_EQ(Hex(g[i]), Hex(w[i])) << when << ": " << names[i];
    }

    std::string folder_, red_, teal_;
    std::vector<std::string> files_;
    HWND frame_ = nullptr, toolbar_ = nullptr, tabs_ = nullptr, client_ = nullptr, status_ = nullptr;
};

TEST_F(SkinTest, StartRefusesWhatIsNotASkin) {
    std::string badColour = SkinText("Bad", kRed, true);
    badColour[badColour.find('#')] = '@';
    std::string huge(200 * 1024, ';');
    huge.insert(0, "URF 1\n");
    struct Case {
        const char *what;
        std::string path;
    } cases[] = {
        {"missing file", folder_ + "nothing.urf"},
        {"folder", folder_},
        {"empty path", ""},
        {"malformed", Write("bad.urf", SkinText("Bad", kRed, true).replace(0, 5, "URF 9"))},
        {"bad colour", Write("colour.urf", badColour)},
        {"duplicate section", Write("twice.urf", SkinText("Bad", kRed, true) + "[tabs]\n")},
        {"binary", Write("junk.urf", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16))},
        {"huge", Write("huge.urf", huge)},
        {"device", "CON"},
    };
    for (const Case &c : cases) EXPECT_FALSE(Start(c.path)) << c.what;
    EXPECT_FALSE(SkinStart(nullptr, 1, "", 1, nullptr, ""));

    // A file that another program holds open without sharing cannot be read.
    HANDLE locked = CreateFileA(red_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Start(red_));
    CloseHandle(locked);
    EXPECT_TRUE(Start(red_));
}

// Each shipped skin loads from exe folder + "skins\" and paints what its file says; with
// QUILLET_SCREENS set, a picture of the skinned frame is left there for each.
TEST_F(SkinTest, EveryShippedSkinPaintsItsColours) {
    ASSERT_NO_FATAL_FAILURE(CreateWindows());
    SkinAll();
    for (const char *name : {"wine", "winmp", "clay", "onion", "trias"}) {
        std::string path = ExeFolder() + "skins\\" + name + ".urf";
        ASSERT_TRUE(Start(path)) << path;
        std::string text = ReadFile(path);
        urf::Result file = urf::Parse(text.data(), text.size());
        ASSERT_TRUE(file.ok()) << name;
        const urf::Skin &k = file.skin;
        auto ref = [](urf::Colour c) { return RGB(c.r, c.g, c.b); };
        Palette p = {ref(k.frame.background), ref(k.frame.workspace), ref(k.frame.edge), ref(k.frame.menubar),
                     ref(k.frame.statusbar),  ref(k.toolbar.top),     ref(k.toolbar.bottom), ref(k.toolbar.line),
                     ref(k.tabs.background),  ref(k.tabs.tab),        ref(k.tabs.text),  ref(k.tabs.selected),
                     ref(k.tabs.selectedText), ref(k.tabs.edge)};
        ExpectLook(Read(), Expected(p), name);
        if (const char *screens = std::getenv("QUILLET_SCREENS")) {
            std::string folder = screens;
            if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;  // a Linux path, under Wine
            SaveScreenshot(frame_, folder + "\\skin-" + name + ".bmp");
        }
    }
    EXPECT_TRUE(Start(ExeFolder() + "skins\\Clay.urf")) << "file names compare without regard to case";
}

TEST_F(SkinTest, PaintsEveryPartAndFollowsTheNextSkin) {
    ASSERT_NO_FATAL_FAILURE(CreateWindows(false));
    ASSERT_TRUE(Start(red_));
    SkinAll();
    AttachMenu();  // as the program does: the menu bar arrives after the frame was skinned
    ExpectLook(Read(), Expected(kRed), "red");
    EXPECT_TRUE(RectHasColour(tabs_, TabRect(tabs_, 0), kRed.text)) << "unselected label";
    EXPECT_TRUE(RectHasColour(tabs_, TabRect(tabs_, 1), kRed.selectedText)) << "selected label";
    RECT part;
    SendMessageA(status_, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    EXPECT_TRUE(RectHasColour(status_, part, RGB(0, 0, 0))) << "status text, dark on the light status bar";
    EXPECT_TRUE(GetWindowLongA(toolbar_, GWL_STYLE) & TBSTYLE_FLAT);

    ASSERT_TRUE(Start(teal_));  // no SkinWindowSet: the remembered windows follow
    ExpectLook(Read(), Expected(kTeal), "teal");
    EXPECT_FALSE(GetWindowLongA(toolbar_, GWL_STYLE) & TBSTYLE_FLAT) << "teal keeps raised buttons";

    EXPECT_FALSE(Start(folder_ + "nothing.urf"));
    EXPECT_FALSE(Start(Write("bad.urf", "URF 1\n[skin]\n")));
    ExpectLook(Read(), Expected(kTeal), "after failed starts");
}

TEST_F(SkinTest, RemovePutsEverythingBack) {
    ASSERT_NO_FATAL_FAILURE(CreateWindows());
    Look before = Read();
    EXPECT_EQ(Hex(before.frame), Hex(kFrameClassColour));
    LONG_PTR procs[] = {GetWindowLongPtrA(frame_, GWLP_WNDPROC), GetWindowLongPtrA(toolbar_, GWLP_WNDPROC),
                        GetWindowLongPtrA(tabs_, GWLP_WNDPROC), GetWindowLongPtrA(client_, GWLP_WNDPROC)};
    LONG toolbarStyle = GetWindowLongA(toolbar_, GWL_STYLE);
    ASSERT_TRUE(Start(red_));
    SkinAll();
    SkinAll();  // again, as every skin change of the program does: still one hook each
    ExpectLook(Read(), Expected(kRed), "skinned");

    SkinRemove();
    Look after = Read();
    ExpectLook(after, before, "removed");
    LONG_PTR now[] = {GetWindowLongPtrA(frame_, GWLP_WNDPROC), GetWindowLongPtrA(toolbar_, GWLP_WNDPROC),
                      GetWindowLongPtrA(tabs_, GWLP_WNDPROC), GetWindowLongPtrA(client_, GWLP_WNDPROC)};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(now[i], procs[i]) << "window " << i;
    EXPECT_EQ(GetWindowLongA(toolbar_, GWL_STYLE), toolbarStyle);

    // Forgotten: a new skin paints nothing until the windows are set again.
    ASSERT_TRUE(Start(teal_));
    ExpectLook(Read(), before, "new skin after remove");
    SkinAll();
    ExpectLook(Read(), Expected(kTeal), "set again");
}

TEST_F(SkinTest, WindowsSetBeforeTheFirstSkinWaitForIt) {
    ASSERT_NO_FATAL_FAILURE(CreateWindows());
    Look before = Read();
    SkinAll();
    ExpectLook(Read(), before, "no skin yet");
    ASSERT_TRUE(Start(red_));
    ExpectLook(Read(), Expected(kRed), "first skin");
}

TEST_F(SkinTest, RefusesWhatItCannotSkin) {
    ASSERT_NO_FATAL_FAILURE(CreateWindows());
    Look before = Read();
    ASSERT_TRUE(Start(red_));
    EXPECT_FALSE(SkinWindowSet(nullptr, APPFACE_FRAME));
    EXPECT_FALSE(SkinWindowSet(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ff0)), APPFACE_FRAME));
    EXPECT_FALSE(SkinWindowSet(toolbar_, 0));
    EXPECT_FALSE(SkinWindowSet(toolbar_, 102));
    // The desktop belongs to another process (Wine's explorer, or the system).
    DWORD pid = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &pid);
    if (pid != GetCurrentProcessId()) {
        EXPECT_FALSE(SkinWindowSet(GetDesktopWindow(), APPFACE_FRAME));
    }
    ExpectLook(Read(), before, "nothing was skinned");
}

// A destroyed window is forgotten: the tool bar, tab strip and MDI client die through
// the skin's procedure; the frame does as the program does: it subclassed the frame before
// skinning it and puts its saved procedure back at WM_DESTROY, which throws the skin's
// procedure out before WM_NCDESTROY.
WNDPROC g_programPrevious = nullptr;
LRESULT CALLBACK ProgramFrameProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_DESTROY) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_programPrevious));
    return CallWindowProcA(g_programPrevious, hwnd, msg, w, l);
}

TEST_F(SkinTest, ForgetsDestroyedWindows) {
    ASSERT_NO_FATAL_FAILURE(CreateWindows());
    g_programPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProgramFrameProc)));
    ASSERT_TRUE(Start(red_));
    SkinAll();
    DestroyWindow(frame_);
    frame_ = nullptr;
    Pump();
    EXPECT_TRUE(Start(teal_));
    SkinRemove();
    ASSERT_NO_FATAL_FAILURE(CreateWindows());  // handles of the dead windows may come back
    SkinAll();
    EXPECT_TRUE(Start(red_));
    ExpectLook(Read(), Expected(kRed), "new windows");
}

// Someone subclasses a skinned window after the skin: removing the skin must not cut that
// procedure out, and messages still reach both it and the window's own procedure.
int g_laterCalls = 0;
WNDPROC g_laterPrevious = nullptr;
LRESULT CALLBACK LaterProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_USER + 77) ++g_laterCalls;
    return CallWindowProcA(g_laterPrevious, hwnd, msg, w, l);
}

TEST_F(SkinTest, RemoveKeepsALaterSubclass) {
    ASSERT_NO_FATAL_FAILURE(CreateWindows());
    ASSERT_TRUE(Start(red_));
    SkinAll();
    g_laterCalls = 0;
    g_laterPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(toolbar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterProc)));
    SkinRemove();
    EXPECT_EQ(GetWindowLongPtrA(toolbar_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(LaterProc));
    SendMessageA(toolbar_, WM_USER + 77, 0, 0);
    EXPECT_EQ(g_laterCalls, 1);
    EXPECT_EQ(SendMessageA(toolbar_, TB_BUTTONCOUNT, 0, 0), 3) << "the tool bar still answers";
    Look plain = Read();
    EXPECT_NE(Hex(plain.bandTop), Hex(kRed.top)) << "the band is no longer painted";
    // Skinned again through the same (still chained) hook, then the window dies.
    EXPECT_TRUE(SkinWindowSet(toolbar_, APPFACE_TOOLBAR));
    ASSERT_TRUE(Start(teal_));
    EXPECT_EQ(Hex(Read().bandTop), Hex(kTeal.top));
    DestroyWindow(frame_);
    frame_ = nullptr;
    Pump();
    EXPECT_TRUE(Start(red_));
}

}  // namespace
