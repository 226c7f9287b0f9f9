#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "flags/flag_model.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace flags;

// The fuzz target's checks (../fuzz/fuzz_decompose.cpp): what decompose() gets wrong, or nothing.
std::string decomposeFault(std::string_view text);

// Values and captions are checked where the catalogue is compiled; the descriptions are checked
// here by their lengths and the marks a slip of the pen would lose.
TEST_CASE("catalogue")
{
    const int lengths[FlagCount]
        = { 37, 58, 44, 71, 52, 47, 46, 53, 66, 52, 60, 65, 65, 73, 49, 51, 39, 35, 80, 35 };
    std::vector<int> marked;
    for (int i = 0; i < FlagCount; ++i) {
        CAPTURE(i);
        const std::string_view d = flags::description(i);
        CHECK(int(d.size()) == lengths[i]);
        CHECK((d.back() == '.') == (i == 9 || i == 10));
        if (d.rfind("[FWO] ", 0) == 0)
            marked.push_back(i);
    }
    CHECK(marked == std::vector<int> { 11, 12, 13, 14, 16, 18 });
    CHECK(flags::caption(0) == "1");
    CHECK(flags::caption(19) == "524288");
    CHECK(flags::value(19) == 524288u);
    CHECK(flags::description(8)
        == "Don't split this wall longitudinally (will override 2048 and 4096)");
    CHECK(flags::description(18)
        == "[FWO] Adds ceiling polygons to all walls in this section at the height of wall 0");
}

TEST_CASE("out-of-range look-ups are empty")
{
    for (int i : { -1, FlagCount, 1000, std::numeric_limits<int>::min() }) {
        CAPTURE(i);
        CHECK(flags::value(i) == 0u);
        CHECK(flags::caption(i).empty());
        CHECK(flags::description(i).empty());
        CHECK(flags::detailText(i).empty());
    }
}

// Every value the flags can show ticks exactly its bits, highest first, and adds back up to its
// plain decimal text. Beside them: leading zeros, values above the limit (all twenty ticked, the
// excess left, however long the digits run) and texts that are no number (nothing ticked).
TEST_CASE("decompose")
{
    for (std::uint32_t v = 0; v <= Limit; ++v)
        if (const std::string fault = decomposeFault(std::to_string(v)); !fault.empty())
            FAIL(v << ": " << fault);
    const std::string millionZeros(1000000, '0');
    for (const std::string &text :
        std::vector<std::string> { "000", "0012", "1048576", "2000000", "4294967295",
            "18446744073709551615", "18446744073709551616", "1" + std::string(400, '0'),
            std::string(1000000, '9'), millionZeros + "12", millionZeros + "1048576",
            std::string { '1', '\0', '2' }, "", " ", " 12", "12 ", "-1", "+5", "1.5", "1e3", "1E3",
            "12a", "0x10", "inf", "nan", "1,000", "\t7", "7\r\n", "\xd9\xa1", "\xef\xbc\x91" }) {
        CAPTURE(text.substr(0, 40));
        CHECK(decomposeFault(text) == "");
    }
}

TEST_CASE("filter")
{
    for (char32_t code = 0; code < 256; ++code)
        CHECK(acceptsCharacter(code) == (code >= '0' && code <= '9'));
    // Digits of other scripts and the full-width digits are not ASCII digits.
    for (char32_t code : { U'\u0661', U'\u0966', U'\uFF11', U'\U0001D7CF', char32_t(0x30 + 0x100) })
        CHECK(!acceptsCharacter(code));
}

// Lines and bytes: a dropped full stop or a lost space of a double one changes the count. Each
// line holds printable 7-bit characters only, none is empty (no break at either end, no two in a
// row), and only texts of the flags marked [FWO] start with the marker.
TEST_CASE("detail texts")
{
    const int lines[FlagCount] = { 1, 3, 2, 1, 1, 1, 1, 1, 3, 3, 2, 4, 4, 4, 4, 1, 3, 1, 2, 2 };
    const int bytes[FlagCount] = { 37, 383, 152, 161, 215, 107, 108, 170, 402, 313, 674, 441, 364,
        315, 242, 386, 459, 142, 260, 123 };
    for (int index = 0; index < FlagCount; ++index) {
        CAPTURE(index);
        const std::string text = flags::detailText(index);
        CHECK(int(text.size()) == bytes[index]);
        int count = 0;
        for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 2, ++count) {
            end = text.find("\r\n", at);
            const std::string line = text.substr(at, end - at);
            CHECK_FALSE(line.empty());
            CHECK(std::all_of(
                line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7f; }));
        }
        CHECK(count == lines[index]);
        CHECK((text.rfind("[FWO] ", 0) == 0) == (flags::description(index).rfind("[FWO]", 0) == 0));
    }

    CHECK(flags::detailText(0) == flags::description(0));
    CHECK(flags::detailText(2)
        == "Creates this wall from triangles instead of quads.\r\n"
           "However, if a polygon is found to be non-co-planar, it "
           "will automatically be created from triangles.");
    CHECK(flags::detailText(6).find("end.  TEX Setting: 5.   See also") != std::string::npos);
    const std::string eight = flags::detailText(8);
    CHECK(eight.find("This will save FPS." + std::string(37, ' ') + "See also - flags 2048, 4096.")
        != std::string::npos);
    CHECK(eight.find("FPS." + std::string(38, ' ')) == std::string::npos);
    const std::string ten = flags::detailText(10);
    CHECK(ten.compare(ten.size() - 3, 3, ":-|") == 0);
    const std::string sixteen = flags::detailText(16);
    const auto first = sixteen.find("\r\n"), second = sixteen.find("\r\n", first + 2);
    CHECK(sixteen.rfind("[FWO] By default,", 0) == 0);
    CHECK(sixteen.compare(first + 2, 12, "1) Decreases") == 0);
    CHECK(sixteen.compare(second + 2, 12, "2) Decreases") == 0);
    CHECK(flags::fwoNote()
        == "[FWO] means First Wall Only - you should only use this flag on Wall #0 of a section - "
           "it will have no effect when applied to other walls.");
}
