// End to end: the colours of a script in the editor, with the built-in colour set and
// with a custom set switched on in razuvi.ini, read back from screenshots.
#include <gtest/gtest.h>

#include <iterator>
#include <map>

#include "driver/session.h"

using namespace qdriver;

namespace {

const char kScript[] = "dubuqingfeng__ollydbg-script__Obsidium__Obsidium_1.3.0.x_OEP_Finder_Find_Stolen_Code_Fix_IAT_.txt";

// Built-in keyword and comment colours (0xRRGGBB).
constexpr uint32_t kDefaultKeyword = 0x0000FF;
constexpr uint32_t kDefaultComment = 0x9EDB61;

struct ClassColour {
    const char *key;
    uint32_t rgb;  // 0xRRGGBB; stored as COLORREF 0xBBGGRR
};
// A custom set sharing no colour with the built-in one.
const ClassColour kCustom[] = {
    {"keyword", 0xC80078}, {"comment", 0x00963C}, {"register", 0x8000FF}, {"opcode", 0x606000},
    {"label", 0x00A0A0},   {"string", 0xE67800},  {"operator", 0x503020}, {"variable", 0x205080},
    {"number", 0x7070C0},
};

uint32_t ToColorref(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16); }

// True when one reading of "Custom Colors" holds every `expected` key with its value.
bool SectionHolds(const std::string &settings, const std::map<std::string, std::string> &expected,
                  std::map<std::string, std::string> *stored) {
    *stored = IniSection(settings, "Custom Colors");
    for (const auto &entry : expected) {
        auto it = stored->find(entry.first);
        if (it == stored->end() || Trim(it->second) != entry.second) return false;
    }
    return true;
}

// A "Custom Colors" value as written (the switch is written "1" / "0").
std::string IniRaw(const std::string &settings, const char *key) {
    return Trim(IniRawValue(settings, "Custom Colors", key));
}

// Opens the script and captures the frame once the editor shows text in `painted`
// (painting is not a message one can wait for); `editorArea` is the editor's rectangle
// in the picture, which is also written to ScreensFolder() + `png`.
bool PictureOfScript(Session &quillet, const std::string &png, uint32_t painted, Image *image, RECT *editorArea) {
    HWND frame = quillet.Frame();
    if (!frame || !quillet.OpenThroughDialog(CorpusFolder() + kScript).empty()) return false;
    if (!WaitUntil([&] { return quillet.ActiveEditor() != nullptr; }, kStepTimeout)) return false;
    HWND editor = quillet.ActiveEditor();
    SyncEditor(editor);
    RECT frameRect = WindowRect(frame);
    *editorArea = WindowRect(editor);
    OffsetRect(editorArea, -frameRect.left, -frameRect.top);
    WaitUntil([&] { return CaptureWindow(image, frame) && CountPixels(*image, painted, editorArea) > 0; },
              kStepTimeout);
    Sleep(200);  // the rest of the text is painted in the same pass; give it a moment
    return !SaveScreenshot(png, frame, image).empty();
}

}  // namespace

TEST(Colours, CustomColourSetColoursTheScriptInsteadOfTheBuiltInOne) {
    ASSERT_FALSE(CorpusFolder().empty());
    ASSERT_TRUE(FileExists(CorpusFolder() + kScript));
    const uint32_t customKeyword = kCustom[0].rgb, customComment = kCustom[1].rgb;

    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    {
        Session quillet(folder);
        ASSERT_EQ(quillet.Launch(), "");
        Image image;
        RECT editor = {};
        ASSERT_TRUE(PictureOfScript(quillet, "script-default-colours.png", kDefaultComment, &image, &editor));
        EXPECT_GT(CountPixels(image, kDefaultKeyword, &editor), 0) << "no keyword in the built-in blue";
        EXPECT_GT(CountPixels(image, kDefaultComment, &editor), 0) << "no comment in the built-in green";
        EXPECT_EQ(CountPixels(image, customKeyword, &editor), 0);
        EXPECT_EQ(CountPixels(image, customComment, &editor), 0);
        EXPECT_TRUE(quillet.Close());
    }

    const std::string settings = folder.Settings();
    for (const ClassColour &colour : kCustom) {
        IniWrite(settings, "Custom Colors", colour.key, std::to_string(ToColorref(colour.rgb)));
    }
    IniWrite(settings, "Custom Colors", "MyColorset", "1");
    IniWrite(settings, "Custom Colors", "MyColorflg", "1");
    {
        Session quillet(folder);
        ASSERT_EQ(quillet.Launch(), "");
        Image image;
        RECT editor = {};
        ASSERT_TRUE(PictureOfScript(quillet, "script-custom-colours.png", customComment, &image, &editor));
        EXPECT_GT(CountPixels(image, customKeyword, &editor), 0) << "no keyword in the custom colour";
        EXPECT_GT(CountPixels(image, customComment, &editor), 0) << "no comment in the custom colour";
        EXPECT_EQ(CountPixels(image, kDefaultKeyword, &editor), 0) << "keywords still in the built-in blue";
        EXPECT_EQ(CountPixels(image, kDefaultComment, &editor), 0) << "comments still in the built-in green";
        EXPECT_TRUE(quillet.Close());
    }
}

namespace {

struct DialogClass {
    int button;
    const char *caption;
    int swatch;
    const char *key;
    uint32_t builtIn;  // 0xRRGGBB
};
const DialogClass kDialogClasses[] = {
    {1048, "KEYWORD", 1057, "keyword", 0x0000FF},   {1049, "COMMENT", 1062, "comment", 0x9EDB61},
    {1050, "REGISTER", 1063, "register", 0xDD9EBD}, {1052, "OPCODE", 1064, "opcode", 0x1B8E80},
    {1053, "LABEL", 1065, "label", 0xFF0000},       {1054, "STRING", 1066, "string", 0x64E69B},
    {1060, "OPERATOR", 1067, "operator", 0xA32746}, {1061, "VARIABLE", 1068, "variable", 0x000000},
    {1069, "NUNBER", 1070, "number", 0xB9A36B},
};
constexpr int kSetButton = 1058;
constexpr int kCloseButton = 1056;
// The colour chooser's boxes for red, green and blue.
constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;

// The colour a swatch shows, taken from its strip above the button it overlaps.
uint32_t SwatchColour(HWND dialog, int swatchId) {
    HWND swatch = Child(dialog, swatchId);
    Image image;
    if (!swatch || !CaptureWindow(&image, swatch) || image.width < 3 || image.height < 8) return 0xFFFFFFFF;
    return image.At(image.width / 2, 5);
}

}  // namespace

// The user's way: "MyCustomcolor" refuses before a set exists; the dialog shows the
// built-in colours, a class button opens the colour chooser, SET stores the set, and
// "MyCustomcolor" then switches it on for scripts opened afterwards.
TEST(Colours, SetCustomColorsDialogStoresASetThatMyCustomcolorSwitchesOn) {
    ASSERT_TRUE(FileExists(CorpusFolder() + kScript));
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string settings = folder.Settings();
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    HWND frame = quillet.Frame();

    PostCommand(frame, ui::kCmdMyCustomColor);
    HWND refusal = quillet.WaitDialog("select color first");
    ASSERT_TRUE(refusal) << "MyCustomcolor without a stored set did not refuse";
    EXPECT_EQ(MessageBoxText(refusal), "Please,set your custom color first");
    PressButton(refusal, IDOK);
    ASSERT_TRUE(WaitGone(refusal, kStepTimeout));
    EXPECT_EQ(IniReadInt(settings, "Custom Colors", "MyColorflg"), 0) << "the refused switch changed the flag";

    PostCommand(frame, ui::kCmdSetCustomColors);
    HWND dialog = quillet.WaitDialog("Set Custom Colors");
    ASSERT_TRUE(dialog) << "no \"Set Custom Colors\" dialog";
    EXPECT_EQ(Text(Child(dialog, kSetButton)), "SET");
    EXPECT_EQ(Text(Child(dialog, kCloseButton)), "CLOSE");
    for (size_t i = 0; i < std::size(kDialogClasses); ++i) {
        const DialogClass &entry = kDialogClasses[i];
        EXPECT_EQ(Text(Child(dialog, entry.button)), entry.caption);
        EXPECT_TRUE(WaitUntil([&] { return SwatchColour(dialog, entry.swatch) == entry.builtIn; }, kStepTimeout))
            << entry.key << " swatch shows " << std::hex << SwatchColour(dialog, entry.swatch);
    }
    // Opening writes the chooser's sixteen slots: c1..c9 the class colours, the rest
    // the keyword colour; no set is stored yet.
    std::map<std::string, std::string> slots;
    for (size_t i = 0; i < 16; ++i) {
        uint32_t colour = i < std::size(kDialogClasses) ? kDialogClasses[i].builtIn : kDialogClasses[0].builtIn;
        slots["c" + std::to_string(i + 1)] = std::to_string(ToColorref(colour));
    }
    std::map<std::string, std::string> stored;
    WaitUntil([&] { return SectionHolds(settings, slots, &stored); }, kStepTimeout);
    for (const auto &entry : slots) EXPECT_EQ(Trim(stored[entry.first]), entry.second) << entry.first;
    EXPECT_FALSE(IniHasKey(settings, "Custom Colors", "MyColorset")) << "opening stored a set";
    SaveScreenshot("colour-dialog.png", dialog);

    // KEYWORD opens the chooser; the colour typed into it comes back to the swatch.
    const uint32_t chosen = 0xC80078;
    PressButton(dialog, kDialogClasses[0].button);
    HWND chooser = nullptr;
    WaitUntil([&] {
        for (HWND window : TopWindows(quillet.Pid(), "#32770")) {
            if (window != dialog && IsWindowVisible(window)) chooser = window;
        }
        return chooser != nullptr;
    }, kStepTimeout);
    ASSERT_TRUE(chooser) << "KEYWORD did not open the colour chooser";
    ASSERT_TRUE(Descendant(chooser, kChooserRed) && Descendant(chooser, kChooserGreen) &&
                Descendant(chooser, kChooserBlue));
    SetText(Descendant(chooser, kChooserRed), std::to_string(chosen >> 16));
    SetText(Descendant(chooser, kChooserGreen), std::to_string((chosen >> 8) & 0xFF));
    SetText(Descendant(chooser, kChooserBlue), std::to_string(chosen & 0xFF));
    PressButton(chooser, IDOK);
    ASSERT_TRUE(WaitGone(chooser, kStepTimeout));
    EXPECT_TRUE(WaitUntil([&] { return SwatchColour(dialog, kDialogClasses[0].swatch) == chosen; }, kStepTimeout))
        << "the keyword swatch did not take the chosen colour";
    EXPECT_FALSE(IniHasKey(settings, "Custom Colors", "keyword")) << "choosing stored before SET";

    // SET writes MyColorset, the nine classes and the sixteen slots, rewriting the file at
    // each: the whole set is checked on one reading of it.
    std::map<std::string, std::string> expected = {{"mycolorset", "1"},
                                                   {"c1", std::to_string(ToColorref(chosen))}};
    for (size_t i = 0; i < std::size(kDialogClasses); ++i) {
        uint32_t colour = i == 0 ? chosen : kDialogClasses[i].builtIn;
        expected[kDialogClasses[i].key] = std::to_string(ToColorref(colour));
    }
    PressButton(dialog, kSetButton);
    WaitUntil([&] { return SectionHolds(settings, expected, &stored); }, kStepTimeout);
    for (const auto &entry : expected) EXPECT_EQ(Trim(stored[entry.first]), entry.second) << entry.first;
    EXPECT_TRUE(IsWindowVisible(dialog)) << "SET closed the dialog";
    PressButton(dialog, kCloseButton);
    ASSERT_TRUE(WaitGone(dialog, kStepTimeout));

    PostCommand(frame, ui::kCmdMyCustomColor);
    EXPECT_TRUE(WaitUntil([&] { return IniRaw(settings, "MyColorflg") == "1"; }, kStepTimeout))
        << "MyCustomcolor did not switch the set on";
    Image image;
    RECT editor = {};
    ASSERT_TRUE(PictureOfScript(quillet, "script-chosen-keyword-colour.png", chosen, &image, &editor));
    EXPECT_GT(CountPixels(image, chosen, &editor), 0) << "no keyword in the chosen colour";
    EXPECT_EQ(CountPixels(image, kDefaultKeyword, &editor), 0) << "keywords still in the built-in blue";
    EXPECT_GT(CountPixels(image, kDefaultComment, &editor), 0) << "comments lost their stored (built-in) colour";
    EXPECT_TRUE(quillet.Close());
}
