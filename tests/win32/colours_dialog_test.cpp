// The "Set Custom Colors" dialog, shown modally over a real owner window with real
// INI files in a folder of its own. The dialog is driven from the owner's
// WM_ENTERIDLE, which the modal loop sends once the dialog is up and idle; the colour
// chooser is scripted through the platform hook (and once run for real).
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <array>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include "core/command_ids.h"
#include "core/texts.h"
#include "colours/colour_dialog.h"
#include "colours/colour_set.h"
#include "platform/paths.h"
#include "platform/ui.h"

namespace quillet {
namespace {

constexpr char kSection[] = "Custom Colors";

// Buttons and swatches of the nine classes, in class order.
constexpr std::array<int, 9> kButtons{kCdKeyword, kCdComment, kCdRegister, kCdOpcode, kCdLabel,
                                      kCdString, kCdOperator, kCdVariable, kCdNumber};
constexpr std::array<int, 9> kSwatches{kCdSwatchKeyword, kCdSwatchComment, kCdSwatchRegister,
                                       kCdSwatchOpcode,  kCdSwatchLabel,   kCdSwatchString,
                                       kCdSwatchOperator, kCdSwatchVariable, kCdSwatchNumber};

std::function<void(HWND)> g_script;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_script) {
        const auto script = std::move(g_script);
        g_script = nullptr;
        const HWND dialog = reinterpret_cast<HWND>(lParam);
        // The modal loop shows the dialog and goes idle before its controls have painted.
        UpdateWindow(dialog);
        script(dialog);
        // A failed assertion may leave the script early: never leave the test hanging.
        if (IsWindowVisible(dialog)) {
            ADD_FAILURE() << "the dialog was left open";
            EndDialog(dialog, 0);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct ChooserCall {
    HWND owner;
    COLORREF initial;
    DWORD flags;
    bool hasHook;
    std::array<COLORREF, 16> slots;
};

class ColourDialog : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "quillet-colours-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        DeleteFileA(File().c_str());
        platform::SetExeFolderForTests(folder_);

        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ColoursTestOwner";
        RegisterClassA(&windowClass);
        owner_ = CreateWindowExA(0, "ColoursTestOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 700, 500, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);

        platform::Hooks().colour = [this](CHOOSECOLORA *request) {
            ChooserCall call{request->hwndOwner, request->rgbResult, request->Flags, request->lpfnHook != nullptr, {}};
            for (int i = 0; i < 16; ++i) call.slots[i] = request->lpCustColors[i];
            calls_.push_back(call);
            return answer_ ? answer_(request) : FALSE;
        };
    }

    void TearDown() override {
        platform::Hooks().colour = nullptr;
        platform::SetExeFolderForTests("");
        g_script = nullptr;
        DestroyWindow(owner_);
        DeleteFileA(File().c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // The settings file as the rest of the program names it (lower case).
    std::string File() const { return folder_ + "razuvi.ini"; }

    // Shows the dialog and runs `script` inside it; returns once the dialog has ended.
    void Run(std::function<void(HWND)> script) {
        bool ran = false;
        g_script = [&ran, script](HWND dialog) {
            ran = true;
            script(dialog);
        };
        ShowColourDialog(owner_);
        EXPECT_TRUE(ran) << "the dialog never went idle";
        EXPECT_TRUE(IsWindowEnabled(owner_));
    }

    // The chooser answers OK with `colour`.
    void ChooserPicks(COLORREF colour) {
        answer_ = [colour](CHOOSECOLORA *request) {
            request->rgbResult = colour;
            return TRUE;
        };
    }

    void Seed(const char *key, const char *value) {
        WritePrivateProfileStringA(kSection, key, value, File().c_str());
    }

    std::string Value(const std::string &key) const {
        char value[64] = "";
        GetPrivateProfileStringA(kSection, key.c_str(), "<none>", value, sizeof value, File().c_str());
        return value;
    }

    std::vector<std::string> Keys() const {
        std::vector<char> buffer(4096, '\0');
        const DWORD n = GetPrivateProfileStringA(kSection, nullptr, "", buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), File().c_str());
        std::vector<std::string> keys;
        for (DWORD at = 0; at < n && buffer[at];) {
            keys.emplace_back(&buffer[at]);
            at += static_cast<DWORD>(keys.back().size()) + 1;
        }
        return keys;
    }

    std::string RawFile() const {
        std::ifstream in(File(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    // The colour of the brush the dialog paints a swatch's background with.
    static COLORREF SwatchBrush(HWND dialog, int id) {
        const HWND swatch = GetDlgItem(dialog, id);
        const HDC dc = GetDC(swatch);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageA(dialog, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(swatch)));
        ReleaseDC(swatch, dc);
        LOGBRUSH logBrush{};
        if (!brush || !GetObjectA(brush, sizeof logBrush, &logBrush)) return CLR_INVALID;
        return logBrush.lbColor;
    }

    // A pixel of the swatch as drawn, from its upper part (the button below overlaps
    // its lower part).
    static COLORREF SwatchPixel(HWND dialog, int id) {
        const HWND swatch = GetDlgItem(dialog, id);
        UpdateWindow(dialog);
        UpdateWindow(swatch);
        RECT client{};
        GetClientRect(swatch, &client);
        const HDC dc = GetDC(swatch);
        const COLORREF pixel = GetPixel(dc, client.right / 2, 3);
        ReleaseDC(swatch, dc);
        return pixel;
    }

    std::string folder_;
    HWND owner_ = nullptr;
    std::vector<ChooserCall> calls_;
    std::function<BOOL(CHOOSECOLORA *)> answer_;
};

std::string Decimal(COLORREF colour) { return std::to_string(colour); }

TEST_F(ColourDialog, ControlsTextsIdsAndCreationOrder) {
    struct Control { int id; const char *className; const char *text; int x, y, w, h; };
    const Control expected[] = {
        {kCdGroup, "Button", "", 16, 10, 290, 140},
        {kCdKeyword, "Button", "KEYWORD", 20, 34, 90, 20},     {kCdComment, "Button", "COMMENT", 115, 34, 90, 20},
        {kCdRegister, "Button", "REGISTER", 210, 34, 90, 20},  {kCdOpcode, "Button", "OPCODE", 20, 74, 90, 20},
        {kCdLabel, "Button", "LABEL", 115, 74, 90, 20},        {kCdString, "Button", "STRING", 210, 74, 90, 20},
        {kCdOperator, "Button", "OPERATOR", 20, 115, 90, 20},  {kCdVariable, "Button", "VARIABLE", 115, 115, 90, 20},
        {kCdNumber, "Button", "NUNBER", 210, 115, 90, 20},
        {kCdSwatchKeyword, "ListBox", "", 20, 25, 93, 20},     {kCdSwatchComment, "ListBox", "", 112, 25, 96, 20},
        {kCdSwatchRegister, "ListBox", "", 207, 25, 93, 20},   {kCdSwatchOpcode, "ListBox", "", 20, 65, 93, 20},
        {kCdSwatchLabel, "ListBox", "", 112, 65, 96, 20},      {kCdSwatchString, "ListBox", "", 207, 65, 93, 20},
        {kCdSwatchOperator, "ListBox", "", 20, 105, 93, 20},   {kCdSwatchVariable, "ListBox", "", 112, 105, 96, 20},
        {kCdSwatchNumber, "ListBox", "", 207, 105, 92, 20},
        {kCdClose, "Button", "CLOSE", 15, 154, 60, 25},        {kCdSet, "Button", "SET", 80, 154, 60, 25},
    };
    Run([&](HWND dialog) {
        char textBuffer[64] = "";
        GetWindowTextA(dialog, textBuffer, sizeof textBuffer);
        EXPECT_STREQ(textBuffer, "Set Custom Colors");
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner_);
        EXPECT_FALSE(IsWindowEnabled(owner_)) << "modal over its owner";
        RECT size{0, 0, 320, 180};
        MapDialogRect(dialog, &size);
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);

        HWND child = GetWindow(dialog, GW_CHILD);
        for (const Control &c : expected) {
            SCOPED_TRACE(c.id);
            ASSERT_NE(child, nullptr) << "missing control";
            EXPECT_EQ(GetDlgCtrlID(child), c.id);
            char className[32] = "";
            GetClassNameA(child, className, sizeof className);
            EXPECT_EQ(lstrcmpiA(className, c.className), 0) << className;
            GetWindowTextA(child, textBuffer, sizeof textBuffer);
            EXPECT_STREQ(textBuffer, c.text);

            // The dialog manager converts origin and size separately.
            RECT origin{c.x, c.y, 0, 0}, size{c.w, c.h, 0, 0};
            MapDialogRect(dialog, &origin);
            MapDialogRect(dialog, &size);
            const RECT want{origin.left, origin.top, origin.left + size.left, origin.top + size.top};
            RECT got{};
            GetWindowRect(child, &got);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&got), 2);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right, want.right);
            // A list box keeps to whole item heights, so a swatch may come out shorter.
            EXPECT_LE(got.bottom, want.bottom);

            const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
            const auto exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
            EXPECT_TRUE(style & WS_VISIBLE);
            if (c.className[0] == 'L') {
                EXPECT_EQ(style & (LBS_NOTIFY | LBS_NOSEL), static_cast<DWORD>(LBS_NOTIFY | LBS_NOSEL));
                EXPECT_TRUE(exStyle & WS_EX_STATICEDGE);
                EXPECT_EQ(SendMessageA(child, LB_GETCOUNT, 0, 0), 0);
            } else {
                EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(c.id == kCdGroup ? BS_GROUPBOX : BS_PUSHBUTTON));
            }
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr) << "unexpected extra control";
        Click(dialog, kCdClose);
        EXPECT_FALSE(IsWindowVisible(dialog));
    });
}

TEST_F(ColourDialog, FirstOpeningShowsBuiltInColoursAndWritesOnlyTheSlots) {
    Run([&](HWND dialog) {
        for (std::size_t i = 0; i < kSwatches.size(); ++i)
            EXPECT_EQ(SwatchBrush(dialog, kSwatches[i]), kTokenClasses[i].builtIn) << kTokenClasses[i].key;
        Click(dialog, kCdClose);
    });
    const std::vector<std::string> expectedKeys{"c1", "c2",  "c3",  "c4",  "c5",  "c6",  "c7",  "c8",
                                                "c9", "c10", "c11", "c12", "c13", "c14", "c15", "c16"};
    EXPECT_EQ(Keys(), expectedKeys);
    const char *expectedValues[] = {"16711680", "6413214", "12426973", "8424987", "255", "10217060", "4597667",
                                    "0", "7054265"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(Value("c" + std::to_string(i + 1)), expectedValues[i]) << i;
    for (int i = 10; i <= 16; ++i) EXPECT_EQ(Value("c" + std::to_string(i)), "16711680") << i;
    // Plain decimal, no leading blank.
    EXPECT_NE(RawFile().find("c2=6413214"), std::string::npos) << RawFile();
}

TEST_F(ColourDialog, RedForOperatorThenSetStoresTheWholeSet) {
    ChooserPicks(RGB(255, 0, 0));
    Run([&](HWND dialog) {
        Click(dialog, kCdOperator);
        ASSERT_EQ(calls_.size(), 1u);
        const ChooserCall &call = calls_[0];
        EXPECT_EQ(call.owner, nullptr);
        EXPECT_EQ(call.initial, 0x4627A3u);
        EXPECT_EQ(call.flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK));
        EXPECT_TRUE(call.hasHook);
        EXPECT_EQ(call.slots[0], 0xFF0000u);
        EXPECT_EQ(call.slots[6], 0x4627A3u);
        EXPECT_EQ(call.slots[15], 0xFF0000u);

        EXPECT_EQ(SwatchBrush(dialog, kCdSwatchOperator), 255u);
        EXPECT_EQ(SwatchPixel(dialog, kCdSwatchOperator), 255u);
        EXPECT_EQ(SwatchPixel(dialog, kCdSwatchKeyword), 0xFF0000u);
        EXPECT_EQ(Keys().size(), 16u) << "nothing stored before SET";

        Click(dialog, kCdSet);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "SET leaves the dialog open";
        Click(dialog, kCdClose);
    });
    EXPECT_EQ(Value("MyColorset"), "1");
    EXPECT_EQ(Value("operator"), "255");
    EXPECT_EQ(Value("c7"), "255");
    for (std::size_t i = 0; i < kTokenClasses.size(); ++i) {
        if (i == kClassOperator) continue;
        EXPECT_EQ(Value(kTokenClasses[i].key), Decimal(kTokenClasses[i].builtIn)) << kTokenClasses[i].key;
    }
    EXPECT_NE(RawFile().find("MyColorset=1"), std::string::npos);
    EXPECT_NE(RawFile().find("operator=255"), std::string::npos);
}

TEST_F(ColourDialog, CloseWithoutSetKeepsOnlyTheSlotsWrittenAtOpening) {
    struct Case { const char *name; bool savedSet; COLORREF keywordNextTime; const char *c1; };
    for (const Case &c : {Case{"no saved set", false, 0xFF0000, "16711680"},
                          Case{"saved set", true, 0x112233, "1122867"}}) {
        SCOPED_TRACE(c.name);
        DeleteFileA(File().c_str());
        if (c.savedSet) {
            Seed("MyColorset", "1");
            Seed("keyword", "1122867");  // 0x112233
        }
        calls_.clear();
        ChooserPicks(RGB(0, 255, 0));
        Run([&](HWND dialog) {
            Click(dialog, kCdKeyword);
            EXPECT_EQ(SwatchBrush(dialog, kCdSwatchKeyword), RGB(0, 255, 0));
            Click(dialog, kCdClose);
        });
        EXPECT_EQ(Value("keyword"), c.savedSet ? "1122867" : "<none>");
        EXPECT_EQ(Value("c1"), c.c1);
        EXPECT_EQ(Value("MyColorset"), c.savedSet ? "1" : "<none>");

        Run([&](HWND dialog) {
            EXPECT_EQ(SwatchBrush(dialog, kCdSwatchKeyword), c.keywordNextTime);
            Click(dialog, kCdKeyword);  // the chooser starts from the reloaded slots
            Click(dialog, kCdClose);
        });
        ASSERT_EQ(calls_.size(), 2u);
        EXPECT_EQ(calls_[1].initial, c.keywordNextTime);
        EXPECT_EQ(calls_[1].slots[0], c.keywordNextTime);
    }
}

TEST_F(ColourDialog, SavedSetWithoutStringUsesTheBuiltInStringColour) {
    Seed("MyColorset", "1");
    Seed("keyword", "255");
    Run([&](HWND dialog) {
        EXPECT_EQ(SwatchBrush(dialog, kCdSwatchString), 0x9BE664u);
        EXPECT_EQ(SwatchBrush(dialog, kCdSwatchKeyword), 255u);
        Click(dialog, kCdString);
        Click(dialog, kCdClose);
    });
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].initial, 0x9BE664u);
    EXPECT_EQ(calls_[0].slots[5], 0x9BE664u);
    EXPECT_EQ(Value("c6"), "10217060");
    EXPECT_EQ(Value("c10"), "255") << "free slots default to the stored keyword colour";
}

TEST_F(ColourDialog, CancelledChooserKeepsTheColourButNotTheSlotsEditedInside) {
    answer_ = [](CHOOSECOLORA *request) {
        request->rgbResult = RGB(1, 2, 3);
        request->lpCustColors[12] = 0x111111;  // the user filled a free slot, then cancelled
        return FALSE;
    };
    Run([&](HWND dialog) {
        Click(dialog, kCdLabel);
        EXPECT_EQ(SwatchBrush(dialog, kCdSwatchLabel), 255u);
        EXPECT_EQ(SwatchPixel(dialog, kCdSwatchLabel), 255u);
        Click(dialog, kCdSet);
        Click(dialog, kCdClose);
    });
    EXPECT_EQ(Value("label"), "255");
    EXPECT_EQ(Value("c5"), "255");
    EXPECT_EQ(Value("c13"), "1118481");
}

TEST_F(ColourDialog, FocusReturnsToTheControlThatHadItWhenDeactivated) {
    Run([&](HWND dialog) {
        const HWND set = GetDlgItem(dialog, kCdSet);
        SetFocus(set);
        SendMessageA(dialog, WM_NCACTIVATE, FALSE, 0);
        SetFocus(GetDlgItem(dialog, kCdNumber));
        SendMessageA(dialog, WM_NCACTIVATE, TRUE, 0);
        EXPECT_EQ(GetFocus(), set);
        // Forgotten once given back.
        SetFocus(GetDlgItem(dialog, kCdNumber));
        SendMessageA(dialog, WM_NCACTIVATE, TRUE, 0);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kCdNumber));
        Click(dialog, kCdClose);
    });
}

// The real colour chooser accepts the request the dialog builds, and OK in it
// changes the class colour.
HWND g_chooser = nullptr;

BOOL CALLBACK FindChooser(HWND window, LPARAM dialog) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (window != reinterpret_cast<HWND>(dialog) && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        g_chooser = window;
        return FALSE;
    }
    return TRUE;
}

HWND g_colourDialog = nullptr;

void CALLBACK PressChooserOk(HWND, UINT, UINT_PTR timer, DWORD) {
    g_chooser = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindChooser, reinterpret_cast<LPARAM>(g_colourDialog));
    if (!g_chooser) return;  // not up yet
    KillTimer(nullptr, timer);
    // The chooser's red, green and blue fields.
    SetDlgItemInt(g_chooser, 706, 10, FALSE);
    SetDlgItemInt(g_chooser, 707, 20, FALSE);
    SetDlgItemInt(g_chooser, 708, 30, FALSE);
    SendMessageA(g_chooser, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(g_chooser, IDOK)));
}

TEST_F(ColourDialog, RealChooserTakesTheRequestAndReportsOk) {
    platform::Hooks().colour = nullptr;
    Run([&](HWND dialog) {
        g_colourDialog = dialog;
        SetTimer(nullptr, 0, 50, PressChooserOk);
        Click(dialog, kCdVariable);
        EXPECT_EQ(SwatchBrush(dialog, kCdSwatchVariable), RGB(10, 20, 30));
        Click(dialog, kCdSet);
        Click(dialog, kCdClose);
    });
    EXPECT_EQ(Value("variable"), Decimal(RGB(10, 20, 30)));
    EXPECT_EQ(Value("c8"), Decimal(RGB(10, 20, 30)));
}

}  // namespace
}  // namespace quillet
