#pragma once

// The flag model: the twenty unk4 wall flags and the arithmetic between a value and its flags.
//
// The catalogue gives each flag index (0..19) its value 2^index, the caption of its box and
// the one-line description shown beside it; flag_texts.cpp holds the long help of each flag
// and the note on the "[FWO]" marker. decompose() splits a typed value into the flags to
// tick, highest first, and runningTotal() adds ticked flags back up into the text the value
// box shows. Everything here is pure and stateless; the windows keep all state in their
// controls and call in here. No Qt: the program, the tests and the fuzz target all link it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace flags {

constexpr int FlagCount = 20;

// The sum of all twenty flags, the largest value the flags can represent.
constexpr std::uint32_t Limit = (1u << FlagCount) - 1;

constexpr std::string_view InvalidValueMessage
    = "Invalid value entered. Largest acceptable value is 1048575";

struct Flag
{
    std::uint32_t value;
    std::string_view caption;
    std::string_view description;
};

// Ticked state of each box, indexed like the flags.
using FlagSet = std::array<bool, FlagCount>;

// Catalogue look-ups. An index outside 0..19 gives 0 or an empty text.
std::uint32_t value(int index);
std::string_view caption(int index);
std::string_view description(int index);

// The long help of a flag: its paragraphs joined with CR LF, no break at either end.
std::string detailText(int index);

// Explains the "[FWO]" (First Wall Only) marker that some descriptions start with.
std::string_view fwoNote();

struct Decomposition
{
    std::vector<int> ticks;      // flag indices to tick, in the order decided: highest first
    std::uint64_t remainder = 0; // what the flags could not take; saturates for huge values
    bool isNumber = true;        // false unless the text is a non-empty run of ASCII digits 0-9
};

// Splits a value text greedily into flags, 19 down to 0. Digit runs of any length are read
// exactly (leading zeros ignored); above Limit every flag is ticked and a remainder is left.
// Text that is not a number ticks nothing.
Decomposition decompose(std::string_view text);

// True when the value text was a number that the ticked flags represent exactly.
constexpr bool isValid(const Decomposition &d)
{
    return d.isNumber && d.remainder == 0;
}

// The plain decimal text of the sum of the ticked flags ("0" when none is ticked).
std::string runningTotal(const FlagSet &ticked);

// The value box takes typed characters 0-9 only; every other code is dropped.
constexpr bool acceptsCharacter(char32_t code)
{
    return code >= U'0' && code <= U'9';
}

} // namespace flags
