// End to end: the colours of a script in the editor, with the built-in colour set and
// with a custom set switched on in razuvi.ini, read back from screenshots.
#include <gtest/gtest.h>

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

// Opens the script, lets the editor paint and captures the frame; `editorArea` is the
// editor's rectangle in the picture.
bool PictureOfScript(Session &quillet, const std::string &png, Image *image, RECT *editorArea) {
    HWND frame = quillet.Frame();
    if (!frame || !quillet.OpenThroughDialog(CorpusFolder() + kScript).empty()) return false;
    if (!WaitUntil([&] { return quillet.ActiveEditor() != nullptr; }, kStepTimeout)) return false;
    HWND editor = quillet.ActiveEditor();
    SyncEditor(editor);
    Sleep(500);  // painting is not a message we can wait for
    RECT frameRect = WindowRect(frame);
    *editorArea = WindowRect(editor);
    OffsetRect(editorArea, -frameRect.left, -frameRect.top);
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
        ASSERT_TRUE(quillet.Start());
        Image image;
        RECT editor = {};
        ASSERT_TRUE(PictureOfScript(quillet, "script-default-colours.png", &image, &editor));
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
        ASSERT_TRUE(quillet.Start());
        Image image;
        RECT editor = {};
        ASSERT_TRUE(PictureOfScript(quillet, "script-custom-colours.png", &image, &editor));
        EXPECT_GT(CountPixels(image, customKeyword, &editor), 0) << "no keyword in the custom colour";
        EXPECT_GT(CountPixels(image, customComment, &editor), 0) << "no comment in the custom colour";
        EXPECT_EQ(CountPixels(image, kDefaultKeyword, &editor), 0) << "keywords still in the built-in blue";
        EXPECT_EQ(CountPixels(image, kDefaultComment, &editor), 0) << "comments still in the built-in green";
        EXPECT_TRUE(quillet.Close());
    }
}
