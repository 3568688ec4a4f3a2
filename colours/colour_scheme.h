// The colour scheme as the colour dialog loads and stores it: the nine token-class
// colours and the sixteen custom colour slots of the colour chooser, read from and
// written to section "Custom Colors" through callbacks. Window-free.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "colours/colour_set.h"

namespace quillet {

inline constexpr int kColourSlotCount = 16;
using ClassColours = std::array<ColourRef, kTokenClasses.size()>;
using ColourSlots = std::array<ColourRef, kColourSlotCount>;

struct ColourScheme {
    ClassColours classes{};  // in the order of kTokenClasses
    ColourSlots slots{};     // c1..c16; c1..c9 follow the classes, c10..c16 are free
};

// Reads one integer of "Custom Colors" (as GetPrivateProfileIntA does: the fallback
// when the key is missing, 0 for text that is not a number).
using ColourIntReader = std::function<int(const char *key, int fallback)>;
// Writes one value of "Custom Colors" as text.
using ColourTextWriter = std::function<void(const char *key, const std::string &value)>;

// "c1" .. "c16" for slot index 0 .. 15.
std::string ColourSlotKey(int index);

// A stored number as a colour. Only the 24 RGB bits count: a stored value with
// higher bits set (a negative number, say) is not a valid colour for the chooser
// or a brush.
ColourRef ColourFromStored(int stored);

// The scheme a dialog opening starts from. With "MyColorset" 1 the stored colours
// (each defaulting to its built-in colour) and slots (c1..c9 defaulting to their
// class's colour, c10..c16 to the keyword colour); otherwise the built-in colours,
// slots 1..9 equal to them and c10..c16 read with the built-in keyword colour as
// default.
ColourScheme LoadColourScheme(const ColourIntReader &read);

// Writes "c1" .. "c16" as plain decimal text.
void WriteColourSlots(const ColourSlots &slots, const ColourTextWriter &write);

// What SET stores: "MyColorset" 1, the nine colour keys in class order, then the slots.
void WriteColourScheme(const ColourScheme &scheme, const ColourTextWriter &write);

}  // namespace quillet
