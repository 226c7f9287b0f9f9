#pragma once

// Both windows are designed in twips (1/1440 inch), as the layout tables give them; controls
// are placed in pixels. This is the one conversion between the two.

namespace twips {

constexpr int TwipsPerInch = 1440;
constexpr int DesignDpi = 96;
constexpr int TwipsPerPixel = TwipsPerInch / DesignDpi; // 15
constexpr int TwipsPerPoint = 20;                       // 72 points per inch

// Twips to pixels at a screen's dots per inch, rounded to the nearest pixel (only some popup
// heights are not whole pixels at 96 dpi). Qt scales logical pixels itself and asks at 96.
constexpr int px(int twips, int dpi = DesignDpi)
{
    return (twips * dpi + TwipsPerInch / 2) / TwipsPerInch;
}

// A place on a window's client area, in twips from its top-left corner.
struct Rect
{
    int left, top, width, height;

    friend constexpr bool operator==(const Rect &a, const Rect &b)
    {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }
};

static_assert(px(820) == 55 && px(1250) == 83 && px(500) == 33, "nearest, not truncated");
static_assert(px(7500, 144) == 750 && px(6630, 120) == 553, "scales with the screen");

} // namespace twips
