// Feeds arbitrary bytes to decompose() and checks what must hold for every input.

#include "flags/flag_model.h"

#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const flags::Decomposition d = flags::decompose(text);

    for (std::size_t i = 0; i < d.ticks.size(); ++i) {
        require(d.ticks[i] >= 0 && d.ticks[i] < flags::FlagCount);
        require(i == 0 || d.ticks[i] < d.ticks[i - 1]);
    }
    require(flags::isValid(d) == (d.isNumber && d.remainder == 0));
    require(d.isNumber == allDigits(text));
    if (!d.isNumber) {
        require(d.ticks.empty());
        return 0;
    }

    const std::uint64_t v = cappedValue(text);
    if (v > flags::Limit) {
        require(d.ticks.size() == flags::FlagCount);
        require(v == Cap ? d.remainder >= Cap - flags::Limit : d.remainder == v - flags::Limit);
        return 0;
    }
    flags::FlagSet ticked {};
    for (int k : d.ticks)
        ticked[k] = true;
    require(d.remainder == 0);
    require(flags::runningTotal(ticked) == std::to_string(v));
    return 0;
}
