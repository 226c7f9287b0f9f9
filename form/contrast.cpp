#include "form/contrast.h"

#include <algorithm>
#include <cmath>

namespace contrast {

namespace {

// One sRGB component back to linear light.
double linear(int component)
{
    const double c = component / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double luminance(Rgb colour)
{
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green)
        + 0.0722 * linear(colour.blue);
}

double ratio(Rgb a, Rgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb legibleText(Rgb wanted, Rgb fallback, Rgb background)
{
    if (ratio(wanted, background) >= Legible)
        return wanted;
    if (ratio(fallback, background) >= Legible)
        return fallback;
    constexpr Rgb Black { 0, 0, 0 }, White { 255, 255, 255 };
    return ratio(Black, background) >= ratio(White, background) ? Black : White;
}

} // namespace contrast
