// Loading and storing the colour scheme of section "Custom Colors".
#include "colours/colour_scheme.h"

#include "core/texts.h"
#include "platform/text.h"

namespace quillet {

namespace {

constexpr ColourRef kRgbMask = 0x00FFFFFF;

// Colours and slots are stored as plain decimal text, without the leading blank
// some other numbers of the settings file carry.
std::string ColourText(ColourRef colour) {
    return FormatProfileNumber(static_cast<int>(colour & kRgbMask), false);
}

ColourRef ReadColour(const ColourIntReader &read, const char *key, ColourRef fallback) {
    return ColourFromStored(read(key, static_cast<int>(fallback)));
}

}  // namespace

std::string ColourSlotKey(int index) { return "c" + std::to_string(index + 1); }

ColourRef ColourFromStored(int stored) { return static_cast<ColourRef>(stored) & kRgbMask; }

ColourScheme LoadColourScheme(const ColourIntReader &read) {
    ColourScheme scheme;
    const bool stored = read(text::kKeyMyColorSet, 0) == 1;
    for (std::size_t i = 0; i < kTokenClasses.size(); ++i) {
        const TokenClass &tokenClass = kTokenClasses[i];
        scheme.classes[i] = stored ? ReadColour(read, tokenClass.key, tokenClass.builtIn) : tokenClass.builtIn;
    }
    for (std::size_t i = 0; i < kTokenClasses.size(); ++i)
        scheme.slots[i] = stored ? ReadColour(read, ColourSlotKey(static_cast<int>(i)).c_str(), scheme.classes[i])
                                 : scheme.classes[i];
    // The free slots fall back to the keyword colour: the stored one once a set
    // exists, else the built-in one.
    const ColourRef freeDefault = scheme.classes[kClassKeyword];
    for (std::size_t i = kTokenClasses.size(); i < scheme.slots.size(); ++i)
        scheme.slots[i] = ReadColour(read, ColourSlotKey(static_cast<int>(i)).c_str(), freeDefault);
    return scheme;
}

void WriteColourSlots(const ColourSlots &slots, const ColourTextWriter &write) {
    for (std::size_t i = 0; i < slots.size(); ++i) write(ColourSlotKey(static_cast<int>(i)).c_str(), ColourText(slots[i]));
}

void WriteColourScheme(const ColourScheme &scheme, const ColourTextWriter &write) {
    write(text::kKeyMyColorSet, "1");
    for (std::size_t i = 0; i < kTokenClasses.size(); ++i) write(kTokenClasses[i].key, ColourText(scheme.classes[i]));
    WriteColourSlots(scheme.slots, write);
}

}  // namespace quillet
