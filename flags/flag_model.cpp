#include "flags/flag_model.h"

#include <limits>

namespace flags {
namespace {

// clang-format off
// index   value   caption    description
constexpr std::array<Flag, FlagCount> Catalogue{{
    {      1u, "1",      "Flips texture co-ordinates left-right" },
    {      2u, "2",      "Maps texture once left-right, wall doesn't split at traces" },
    {      4u, "4",      "Creates wall from triangles instead of quads" },
    {      8u, "8",      "Texture is mapped once, stretching to fit, laterally and longitudinally" },
    {     16u, "16",     "Creates polygons on inside base of walls-with-height" },
    {     32u, "32",     "Adds polygons to front end of walls-with-height" },
    {     64u, "64",     "Adds polygons to back end of walls-with-height" },
    {    128u, "128",    "Creates upside-down polygons just under track surface" },
    {    256u, "256",    "Don't split this wall longitudinally (will override 2048 and 4096)" },
    {    512u, "512",    "Maps texture once left-right, wall splits at traces." },
    {   1024u, "1024",   "Used for clipping help, usually in sections with elevations." },
    {   2048u, "2048",   "[FWO] Increases number of wall polygons longitudinally by 5 times" },
    {   4096u, "4096",   "[FWO] Increases number of wall polygons longitudinally by 2 times" },
    {   8192u, "8192",   "[FWO] Increases number of groove polygons in this section to one every 2m" },
    {  16384u, "16384",  "[FWO] Creates one groove polygon for this section" },
    {  32768u, "32768",  "Turns off back facing polygons on walls-with-height" },
    {  65536u, "65536",  "[FWO] Reduces corner resolution by half" },
    { 131072u, "131072", "Turns off top polygons on this wall" },
    { 262144u, "262144", "[FWO] Adds ceiling polygons to all walls in this section at the height of wall 0" },
    { 524288u, "524288", "Overrides 262144 for this wall only" },
}};
// clang-format on

constexpr bool catalogueIsConsistent()
{
    for (int i = 0; i < FlagCount; ++i) {
        std::uint32_t v = Catalogue[i].value;
        if (v != 1u << i)
            return false;
        // The caption is the value in plain decimal.
        const auto &c = Catalogue[i].caption;
        for (auto k = c.size(); k-- > 0; v /= 10)
            if (c[k] != '0' + static_cast<char>(v % 10))
                return false;
        if (v != 0 || c.empty() || c[0] == '0')
            return false;
    }
    return true;
}
static_assert(catalogueIsConsistent());

constexpr bool inRange(int index)
{
    return index >= 0 && index < FlagCount;
}

} // namespace

std::uint32_t value(int index)
{
    return inRange(index) ? Catalogue[index].value : 0;
}

std::string_view caption(int index)
{
    return inRange(index) ? Catalogue[index].caption : "";
}

std::string_view description(int index)
{
    return inRange(index) ? Catalogue[index].description : "";
}

Decomposition decompose(std::string_view text)
{
    Decomposition d;
    if (text.empty()) {
        d.isNumber = false;
        return d;
    }

    // Read the digits exactly, saturating at the largest 64-bit value: anything that large
    // is far beyond Limit and behaves the same from here on.
    constexpr std::uint64_t Max = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t v = 0;
    for (char c : text) {
        if (!acceptsCharacter(static_cast<unsigned char>(c))) {
            d.isNumber = false;
            return d;
        }
        const unsigned digit = static_cast<unsigned>(c - '0');
        v = (v > (Max - digit) / 10) ? Max : v * 10 + digit;
    }

    for (int k = FlagCount - 1; k >= 0; --k) {
        if (v >= value(k)) {
            d.ticks.push_back(k);
            v -= value(k);
        }
    }
    d.remainder = v;
    return d;
}

std::string runningTotal(const FlagSet &ticked)
{
    std::uint32_t total = 0;
    for (int k = 0; k < FlagCount; ++k)
        if (ticked[k])
            total += value(k);
    return std::to_string(total);
}

} // namespace flags
