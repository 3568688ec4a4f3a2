// The rules the shell applies to stored settings: clamping the stored frame size,
// the editor font fallback, the language (code page) choices, the close-flag toggle
// and the default frame placement. Window-free, so they are unit-tested natively.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// A stored width of 0, or one not smaller than the largest tracking width, becomes that width.
int ClampFrameWidth(int stored, int maxTrackWidth);
// A stored height of 0, or one not smaller than the largest tracking height less the
// taskbar, becomes that height.
int ClampFrameHeight(int stored, int maxTrackHeight, int taskbarHeight);

struct FontChoice {
    std::string face;
    int size;
    int style;  // bit 0 bold, bit 1 italic
};
// The stored editor font, or "Arial" 14 regular when the size is 0 or the face is blank.
FontChoice EditorFontOrDefault(std::string_view face, int size, int style);

// Style bits as the font commands apply them: 1 bold, 2 italic, 3 both, anything else neither.
inline bool StyleIsBold(int style) { return style == 1 || style == 3; }
inline bool StyleIsItalic(int style) { return style == 2 || style == 3; }

// The language items of the Settings menu and the code page each stands for.
struct LanguageChoice {
    int command;
    int codePage;
};
extern const std::array<LanguageChoice, 7> kLanguageChoices;
// The language item that a stored code page checks ("DefaultLanguage" for unknown ones).
int LanguageCommandForCodePage(int codePage);
// The code page of a language item, or nothing for another command.
std::optional<int> CodePageForLanguageCommand(int command);

// "Exit On Close": a stored 0 becomes 1 and 1 becomes 0; any other value stays as it is.
std::optional<int> ToggledCloseFlag(int stored);

// Top-left corner of the default 1035 x 530 frame, centred on the largest tracking
// size, halves rounded to even.
struct Position {
    int x;
    int y;
};
constexpr int kDefaultFrameWidth = 1035;
constexpr int kDefaultFrameHeight = 530;
Position DefaultFramePosition(int maxTrackWidth, int maxTrackHeight);

}  // namespace quillet
