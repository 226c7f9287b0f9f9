#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "flags/flag_model.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace flags;

namespace {

FlagSet setOf(const std::vector<int> &indices)
{
    FlagSet set {};
    for (int i : indices)
        set[i] = true;
    return set;
}

int count(std::string_view text, std::string_view part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

// Values and captions are checked where the catalogue is compiled; the descriptions are checked
// here by their lengths and the marks a slip of the pen would lose.
TEST_CASE("catalogue")
{
    const int lengths[FlagCount]
        = { 37, 58, 44, 71, 52, 47, 46, 53, 66, 52, 60, 65, 65, 73, 49, 51, 39, 35, 80, 35 };
    const std::vector<int> firstWallOnly = { 11, 12, 13, 14, 16, 18 };
    std::vector<int> marked;
    for (int i = 0; i < FlagCount; ++i) {
        CAPTURE(i);
        const std::string_view d = flags::description(i);
        CHECK(int(d.size()) == lengths[i]);
        CHECK((d.back() == '.') == (i == 9 || i == 10));
        if (d.rfind("[FWO] ", 0) == 0)
            marked.push_back(i);
    }
    CHECK(marked == firstWallOnly);
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

// Every value the flags can show: decompose ticks exactly its set bits, highest first, and
// adding the ticked flags back up gives the plain decimal text again.
TEST_CASE("every value round-trips")
{
    std::vector<int> expected;
    for (std::uint32_t v = 0; v <= Limit; ++v) {
        const std::string text = std::to_string(v);
        const Decomposition d = flags::decompose(text);

        expected.clear();
        for (int k = FlagCount - 1; k >= 0; --k)
            if (v & (1u << k))
                expected.push_back(k);
        if (d.ticks != expected || !isValid(d) || d.remainder != 0)
            FAIL(v << " does not decompose into its bits");
        if (runningTotal(setOf(d.ticks)) != text)
            FAIL(v << " does not add back up");
    }
}

// The texts beside the plain values of the round trip. Above the limit, what is left after all
// twenty flags is the value less the limit.
TEST_CASE("decompose")
{
    struct Row
    {
        const char *name;
        std::string text;
        std::vector<int> ticks;
        bool isNumber, valid;
        std::uint64_t remainder;
    };
    std::vector<int> all;
    for (int k = FlagCount - 1; k >= 0; --k)
        all.push_back(k);
    const std::uint64_t saturated = std::numeric_limits<std::uint64_t>::max() - Limit;
    std::vector<Row> rows = {
        { "000 ticks nothing", "000", {}, true, true, 0 },
        { "0012 reads as 12", "0012", { 3, 2 }, true, true, 0 },
        { "1048576 ticks all, invalid", "1048576", all, true, false, 1 },
        { "2000000 leaves its excess", "2000000", all, true, false, 951425 },
        { "2^32-1 leaves its excess", "4294967295", all, true, false, 4293918720u },
        { "2^64-1 ticks all, invalid", "18446744073709551615", all, true, false, saturated },
        // Beyond 64 bits the value saturates: still far from zero, so still invalid.
        { "2^64 ticks all, invalid", "18446744073709551616", all, true, false, saturated },
        { "10^400 ticks all, invalid", "1" + std::string(400, '0'), all, true, false, saturated },
        { "million nines ticks all, invalid", std::string(1000000, '9'), all, true, false,
            saturated },
        { "million zeros then 12", std::string(1000000, '0') + "12", { 3, 2 }, true, true, 0 },
        { "million zeros then 1048576", std::string(1000000, '0') + "1048576", all, true, false,
            1 },
        { "embedded NUL",
            std::string("1\0"
                        "2",
                3),
            {}, false, false, 0 },
    };
    for (const char *text : { "", " ", " 12", "12 ", "-1", "+5", "1.5", "1e3", "1E3", "12a", "0x10",
             "inf", "nan", "1,000", "\t7", "7\r\n", "\xd9\xa1", "\xef\xbc\x91" })
        rows.push_back({ "not a number", text, {}, false, false, 0 });

    for (const Row &row : rows) {
        CAPTURE(row.name);
        CAPTURE(row.text.substr(0, 40));
        const Decomposition d = flags::decompose(row.text);
        CHECK(d.ticks == row.ticks);
        CHECK(d.isNumber == row.isNumber);
        CHECK(isValid(d) == row.valid);
        if (row.isNumber)
            CHECK(d.remainder == row.remainder);
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

TEST_CASE("detail texts")
{
    // Lines, and bytes with two for each CR LF: a dropped full stop or a lost space of a double
    // one changes the count.
    const int lines[FlagCount] = { 1, 3, 2, 1, 1, 1, 1, 1, 3, 3, 2, 4, 4, 4, 4, 1, 3, 1, 2, 2 };
    const int bytes[FlagCount] = { 37, 383, 152, 161, 215, 107, 108, 170, 402, 313, 674, 441, 364,
        315, 242, 386, 459, 142, 260, 123 };
    for (int index = 0; index < FlagCount; ++index) {
        CAPTURE(index);
        const std::string text = flags::detailText(index);
        CHECK(int(text.size()) == bytes[index]);
        CHECK(count(text, "\r\n") == lines[index] - 1);
        CHECK(count(text, "\r") == lines[index] - 1);
        CHECK(count(text, "\n") == lines[index] - 1);
        CHECK(text.rfind("\r\n", 0) != 0);
        CHECK((text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0));
        CHECK(text.find("\r\n\r\n") == std::string::npos);

        const bool fwo = flags::description(index).rfind("[FWO]", 0) == 0;
        CHECK((text.rfind("[FWO] ", 0) == 0) == fwo);

        // Every byte is printable 7-bit, or part of a CR LF.
        for (std::size_t at = 0; at < text.size(); ++at) {
            const unsigned char c = static_cast<unsigned char>(text[at]);
            const bool printable = c >= 0x20 && c < 0x7f;
            const bool crlf = (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
                || (c == '\n' && at > 0 && text[at - 1] == '\r');
            if (!printable && !crlf)
                FAIL("byte " << int(c) << " at " << at);
        }
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
}

TEST_CASE("FWO note")
{
    CHECK(flags::fwoNote()
        == "[FWO] means First Wall Only - you should only use this flag on Wall #0 of a section - "
           "it will have no effect when applied to other walls.");
}
