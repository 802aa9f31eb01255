#include <benchmark/benchmark.h>

#include "sizing/PositionSizing.h"

namespace cotalys {
namespace {

// The everyday case: default settings, a stop 5 % below the entry.
void BM_ComputePositionSizeDefaults(benchmark::State& AState) {
    const TSizingParams params = TSizingParams::Default();
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputePositionSize(params, 100, 95, "BN.PA"));
    }
}
BENCHMARK(BM_ComputePositionSizeDefaults);

// The worst case for a share-by-share search: a huge capital at a tiny price, fees far above the
// risk of a share, so the answer lies billions of shares from the first estimate.
void BM_ComputePositionSizeHugeCounts(benchmark::State& AState) {
    TSizingParams params = TSizingParams::Default();
    params.Capital = 1e12;
    params.MaxPositionPct = 100;
    params.FeePct = 5;
    params.TTFPct = 2;
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputePositionSize(params, 0.001, 0.00099, "BN.PA"));
    }
}
BENCHMARK(BM_ComputePositionSizeHugeCounts);

}  // namespace
}  // namespace cotalys
