#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "zones/SupportResistance.h"

// Indicator routines at the sizes the program meets (320 sessions: the signal history's window;
// 1,300: five years; 4,000: sixteen years) and, for information, on a million values; the zone
// analysis on the window sizes the signal history and a long load use.
namespace cotalys {
namespace {

// A deterministic random walk: closes around 100 with daily moves of about 1 %.
std::vector<double> Walk(int ACount) {
    std::vector<double> values(ACount);
    std::uint64_t state = 12345;
    double price = 100;
    for (double& value : values) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double move = static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
        price *= 1 + move * 0.02;
        value = price;
    }
    return values;
}

TPriceSeries WalkSeries(int ACount) {
    const std::vector<double> closes = Walk(ACount);
    TPriceSeries series("BENCH.PA");
    double previous = closes.front();
    for (int i = 0; i < ACount; ++i) {
        const double close = closes[i];
        const double high = std::max(previous, close) * 1.004;
        const double low = std::min(previous, close) * 0.996;
        series.Add(TPriceBar::New(40000 + i, previous, high, low, close,
                                  100000 + (static_cast<std::int64_t>(i) * 7919) % 50000));
        previous = close;
    }
    return series;
}

void BM_ComputeSMA(benchmark::State& AState) {
    const std::vector<double> values = Walk(static_cast<int>(AState.range(0)));
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeSMA(values, 20));
    }
}

void BM_ComputeEMA(benchmark::State& AState) {
    const std::vector<double> values = Walk(static_cast<int>(AState.range(0)));
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeEMA(values, 20));
    }
}

void BM_ComputeRSI(benchmark::State& AState) {
    const std::vector<double> values = Walk(static_cast<int>(AState.range(0)));
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeRSI(values, 14));
    }
}

void BM_ComputeATR(benchmark::State& AState) {
    const TPriceSeries series = WalkSeries(static_cast<int>(AState.range(0)));
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeATR(series, 14));
    }
}

void BM_ComputeMACD(benchmark::State& AState) {
    const std::vector<double> values = Walk(static_cast<int>(AState.range(0)));
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeMACD(values, TMACDParams::Default()));
    }
}

#define COTALYS_INDICATOR_SIZES(NAME) \
    BENCHMARK(NAME)->Arg(320)->Arg(1300)->Arg(4000)->Arg(1000000)->Unit(benchmark::kMicrosecond)
COTALYS_INDICATOR_SIZES(BM_ComputeSMA);
COTALYS_INDICATOR_SIZES(BM_ComputeEMA);
COTALYS_INDICATOR_SIZES(BM_ComputeRSI);
COTALYS_INDICATOR_SIZES(BM_ComputeATR);
COTALYS_INDICATOR_SIZES(BM_ComputeMACD);

// 320 bars: the working window of the signal history in the backtest and the scanner; 1,500
// bars: six years of sessions.
void BM_Analyze(benchmark::State& AState) {
    const TPriceSeries series = WalkSeries(static_cast<int>(AState.range(0)));
    const TSupportResistanceAnalyzer analyzer(TSRParams::Default());
    for (auto _ : AState) {
        benchmark::DoNotOptimize(analyzer.Analyze(series));
    }
}
BENCHMARK(BM_Analyze)->Arg(320)->Arg(1500)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace cotalys
