#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "form/contrast.h"

#include <doctest/doctest.h>

using contrast::Rgb;

namespace {

constexpr Rgb Black { 0, 0, 0 }, White { 255, 255, 255 };

bool same(Rgb a, Rgb b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

// Published reference points: the extremes, the primaries on black as contrast checkers give
// them (red 5.25:1, green 15.3:1, blue 2.44:1), and the greys either side of 4.5:1 on white
// (#767676 passes, #777777 does not).
TEST_CASE("contrast ratios")
{
    struct Case
    {
        Rgb a, b;
        double ratio;
    };
    const Case cases[] = {
        { Black, White, 21.0 },
        { White, Black, 21.0 },
        { White, White, 1.0 },
        { { 255, 0, 0 }, Black, 5.25 },
        { { 0, 255, 0 }, Black, 15.3 },
        { { 0, 0, 255 }, Black, 2.44 },
        { { 0x76, 0x76, 0x76 }, White, 4.54 },
        { { 0x77, 0x77, 0x77 }, White, 4.48 },
    };
    for (const Case &c : cases)
        CHECK(contrast::ratio(c.a, c.b) == doctest::Approx(c.ratio).epsilon(0.002));
}

// Backgrounds and theme colours from the qt6ct schemes: the design's colour where it reads,
// else the theme's, else black or white.
TEST_CASE("legible text colour")
{
    struct Case
    {
        const char *name;
        Rgb wanted, fallback, background, expected;
    };
    const Case cases[] = {
        { "black on a light window stays", Black, { 0, 0, 200 }, { 0xef, 0xef, 0xef }, Black },
        { "black on darker's window takes its white", Black, White, { 0x22, 0x20, 0x20 }, White },
        { "grey text on waves' black tooltips stays", { 0xb0, 0xb0, 0xb0 }, White,
            { 0x0a, 0x0a, 0x0a }, { 0xb0, 0xb0, 0xb0 } },
        { "sand's black on its dark tooltips, theme black too: white", Black, Black,
            { 0x3f, 0x3f, 0x36 }, White },
        { "mid grey background: black reads better", White, White, { 0x77, 0x77, 0x77 }, Black },
    };
    for (const Case &c : cases) {
        CAPTURE(c.name);
        const Rgb chosen = contrast::legibleText(c.wanted, c.fallback, c.background);
        CHECK(same(chosen, c.expected));
        CHECK(contrast::ratio(chosen, c.background) >= 4.5);
    }
}
