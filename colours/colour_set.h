// The nine token classes the editor colours, their style numbers, settings keys and
// built-in colours (COLORREF 0x00BBGGRR). Window-free.
#pragma once

#include <array>
#include <cstdint>

#include "core/texts.h"
#include "core/token_styles.h"

namespace quillet {

using ColourRef = std::uint32_t;

struct TokenClass {
    const char *key;    // key in section "Custom Colors"
    ColourRef builtIn;  // colour used while custom colours are off
};

// In the order of the colour dialog, its buttons and the slots c1..c9.
inline constexpr std::array<TokenClass, 9> kTokenClasses{{
    {text::kKeyColorKeyword, 0xFF0000},
    {text::kKeyColorComment, 0x61DB9E},
    {text::kKeyColorRegister, 0xBD9EDD},
    {text::kKeyColorOpcode, 0x808E1B},
    {text::kKeyColorLabel, 0x0000FF},
    {text::kKeyColorString, 0x9BE664},
    {text::kKeyColorOperator, 0x4627A3},
    {text::kKeyColorVariable, 0x000000},
    {text::kKeyColorNumber, 0x6BA3B9},
}};

enum TokenClassIndex : int {
    kClassKeyword, kClassComment, kClassRegister, kClassOpcode, kClassLabel,
    kClassString, kClassOperator, kClassVariable, kClassNumber,
};

// The order in which an editor's styles get their colours, with the class of each.
struct StyleColour { int style; TokenClassIndex tokenClass; };
inline constexpr std::array<StyleColour, 10> kStyleColourOrder{{
    {kStyleVariable, kClassVariable}, {kStyleKeyword, kClassKeyword}, {kStyleOperator, kClassOperator},
    {kStyleRegister, kClassRegister}, {kStyleString, kClassString},   {kStyleComment, kClassComment},
    {kStyleNumber, kClassNumber},     {kStyleComment2, kClassComment}, {kStyleOpcode, kClassOpcode},
    {kStyleLabel, kClassLabel},
}};

}  // namespace quillet
