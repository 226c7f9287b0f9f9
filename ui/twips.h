#pragma once

// Both windows are designed in twips (1/1440 inch), as the layout tables give them; widgets are
// placed in logical pixels. This is the one conversion between the two.

namespace twips {

constexpr int TwipsPerPixel = 15; // 1440 twips per inch at 96 dpi
constexpr int TwipsPerPoint = 20; // 72 points per inch

// Twips to logical pixels, rounded to the nearest pixel (only some popup heights are not
// multiples of 15).
constexpr int px(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

static_assert(px(820) == 55 && px(1250) == 83 && px(500) == 33, "nearest, not truncated");

} // namespace twips
