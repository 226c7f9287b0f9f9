// Feeds arbitrary bytes to decompose() and checks what must hold for every input. The flag
// model's test checks the same on every value the flags can show and on the texts beside them.

#include "flags/flag_model.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool allDigits(std::string_view text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.empty();
}

// Far above Limit, yet small enough that a digit more cannot overflow.
constexpr std::uint64_t Cap = std::uint64_t(1) << 40;

// The value of a digit run, or Cap for anything from Cap up.
std::uint64_t cappedValue(std::string_view text)
{
    std::uint64_t v = 0;
    for (char c : text) {
        v = v * 10 + static_cast<unsigned>(c - '0');
        if (v >= Cap)
            return Cap;
    }
    return v;
}

} // namespace

// What decompose() gets wrong for the text, or nothing.
std::string decomposeFault(std::string_view text)
{
    const flags::Decomposition d = flags::decompose(text);
    for (std::size_t i = 0; i < d.ticks.size(); ++i)
        if (d.ticks[i] < 0 || d.ticks[i] >= flags::FlagCount
            || (i > 0 && d.ticks[i] >= d.ticks[i - 1]))
            return "ticks out of range or not highest first";
    if (d.isNumber != allDigits(text))
        return "a number read as no number, or the other way round";
    const std::uint64_t v = d.isNumber ? cappedValue(text) : 0;
    if (flags::isValid(d) != (d.isNumber && v <= flags::Limit))
        return "valid where it is not, or the other way round";
    if (!d.isNumber)
        return d.ticks.empty() ? "" : "ticks for no number";
    if (v > flags::Limit) // every flag, and the excess left (at least Cap's)
        return d.ticks.size() == flags::FlagCount
                && (v == Cap ? d.remainder >= Cap - flags::Limit : d.remainder == v - flags::Limit)
            ? ""
            : "not every flag, or a wrong remainder, above the limit";
    flags::FlagSet ticked {};
    std::uint64_t sum = 0;
    for (int k : d.ticks) {
        ticked[k] = true;
        sum += std::uint64_t(1) << k;
    }
    if (sum != v || d.remainder != 0 || flags::runningTotal(ticked) != std::to_string(v))
        return "the ticks or their running total are not the value";
    return "";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (!decomposeFault(std::string_view(reinterpret_cast<const char *>(data), size)).empty())
        std::abort();
    return 0;
}
