#include "flags/flag_model.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void decomposeEveryValue(benchmark::State &state)
{
    std::uint32_t v = 0;
    std::string text;
    for (auto _ : state) {
        text = std::to_string(v);
        benchmark::DoNotOptimize(flags::decompose(text));
        v = (v + 7919) & flags::Limit;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(decomposeEveryValue);

void runningTotalOfEverySet(benchmark::State &state)
{
    std::uint32_t v = 0;
    flags::FlagSet set {};
    for (auto _ : state) {
        for (int k = 0; k < flags::FlagCount; ++k)
            set[k] = (v >> k) & 1u;
        benchmark::DoNotOptimize(flags::runningTotal(set));
        v = (v + 7919) & flags::Limit;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(runningTotalOfEverySet);

void decomposeOneMegabyteOfDigits(benchmark::State &state)
{
    const std::string text(1 << 20, '9');
    for (auto _ : state)
        benchmark::DoNotOptimize(flags::decompose(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(decomposeOneMegabyteOfDigits)->Unit(benchmark::kMicrosecond);

} // namespace
