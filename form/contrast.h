#pragma once

// How well text stands out from its background, as WCAG 2 measures it: the ratio of the two
// colours' relative luminances, each lightened by 0.05, from 1 (none) to 21 (black on white).
// Both front ends use it to keep a colour the design asks for only where it can be read.

namespace contrast {

// A colour as 8-bit sRGB components.
struct Rgb
{
    int red, green, blue;
};

// The least ratio WCAG asks of normal-sized text (level AA).
constexpr double Legible = 4.5;

// Relative luminance, 0 for black to 1 for white.
double luminance(Rgb colour);
// The contrast ratio of two colours, whichever is lighter.
double ratio(Rgb a, Rgb b);

// The wanted colour where it is legible on the background, else the fallback (the theme's own
// text colour for that background) where that is, else black or white, whichever stands out
// more: one of the two always reaches 4.5.
Rgb legibleText(Rgb wanted, Rgb fallback, Rgb background);

} // namespace contrast
