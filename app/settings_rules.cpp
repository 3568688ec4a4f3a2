// Rules over stored settings values.
#include "app/settings_rules.h"

#include <cmath>

#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/text.h"

namespace quillet {

namespace {
constexpr int kDefaultFontSize = 14;

// Nearest integer, halves to even, whatever the current rounding mode.
int RoundHalfToEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) return static_cast<int>(lower) + 1;
    if (fraction < 0.5) return static_cast<int>(lower);
    const int even = static_cast<int>(lower);
    return (even % 2 == 0) ? even : even + 1;
}
}  // namespace

const std::array<LanguageChoice, 7> kLanguageChoices{{
    {kCmdLangUtf8, 65001},
    {kCmdLangShiftJis, 932},
    {kCmdLangGbk, 936},
    {kCmdLangBig5, 950},
    {kCmdLangHangul, 949},
    {kCmdLangJohab, 1361},
    {kCmdLangDefault, 0},
}};

int ClampFrameWidth(int stored, int maxTrackWidth) {
    return (stored == 0 || stored >= maxTrackWidth) ? maxTrackWidth : stored;
}

int ClampFrameHeight(int stored, int maxTrackHeight, int taskbarHeight) {
    const int limit = maxTrackHeight - taskbarHeight;
    return (stored == 0 || stored >= limit) ? limit : stored;
}

FontChoice EditorFontOrDefault(std::string_view face, int size, int style) {
    if (size == 0 || TrimBlanks(face).empty()) return {text::kDefaultFontFace, kDefaultFontSize, 0};
    return {std::string(face), size, style};
}

int LanguageCommandForCodePage(int codePage) {
    for (const LanguageChoice &choice : kLanguageChoices)
        if (choice.codePage == codePage) return choice.command;
    return kCmdLangDefault;
}

std::optional<int> CodePageForLanguageCommand(int command) {
    for (const LanguageChoice &choice : kLanguageChoices)
        if (choice.command == command) return choice.codePage;
    return std::nullopt;
}

std::optional<int> ToggledCloseFlag(int stored) {
    if (stored == 0) return 1;
    if (stored == 1) return 0;
    return std::nullopt;
}

Position DefaultFramePosition(int maxTrackWidth, int maxTrackHeight) {
    return {RoundHalfToEven(maxTrackWidth / 2.0 - kDefaultFrameWidth / 2.0),
            RoundHalfToEven(maxTrackHeight / 2.0 - kDefaultFrameHeight / 2.0)};
}

}  // namespace quillet
