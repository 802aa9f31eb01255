#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "zones/SupportResistance.h"

// Indicator routines on a million values, next to a plain copy of as many doubles in the same
// run, and the zone analysis on the window sizes the signal history and a long load use.
namespace cotalys {
namespace {

constexpr int MillionValues = 1000000;

// Every routine returns fresh arrays of 8 MB, and MACD three of them. By default the C library
// gives such memory back to the system as soon as it is freed, and the next call then spends
// its time in the kernel mapping zeroed pages again, at a cost that varies from run to run by
// a factor of ten on a virtual machine. Keeping freed memory in the process, for every
// benchmark alike, measures the routines themselves.
const bool KeepFreedMemory = [] {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    return true;
}();

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

void BM_Memcpy(benchmark::State& AState) {
    const std::vector<double> source = Walk(MillionValues);
    std::vector<double> target(MillionValues);
    for (auto _ : AState) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(double));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    AState.SetBytesProcessed(AState.iterations() * MillionValues * sizeof(double));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

// The same copy into a fresh array each time, as every indicator returns a new array.
void BM_CopyToNewArray(benchmark::State& AState) {
    const std::vector<double> source = Walk(MillionValues);
    for (auto _ : AState) {
        std::vector<double> target(source);
        benchmark::DoNotOptimize(target.data());
    }
    AState.SetBytesProcessed(AState.iterations() * MillionValues * sizeof(double));
}
BENCHMARK(BM_CopyToNewArray)->Unit(benchmark::kMicrosecond);

void BM_ComputeSMA(benchmark::State& AState) {
    const std::vector<double> values = Walk(MillionValues);
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeSMA(values, 20));
    }
}
BENCHMARK(BM_ComputeSMA)->Unit(benchmark::kMicrosecond);

void BM_ComputeEMA(benchmark::State& AState) {
    const std::vector<double> values = Walk(MillionValues);
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeEMA(values, 20));
    }
}
BENCHMARK(BM_ComputeEMA)->Unit(benchmark::kMicrosecond);

void BM_ComputeRSI(benchmark::State& AState) {
    const std::vector<double> values = Walk(MillionValues);
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeRSI(values, 14));
    }
}
BENCHMARK(BM_ComputeRSI)->Unit(benchmark::kMicrosecond);

void BM_ATR(benchmark::State& AState) {
    const TPriceSeries series = WalkSeries(MillionValues);
    for (auto _ : AState) {
        benchmark::DoNotOptimize(TSupportResistanceAnalyzer::ATR(series, 14));
    }
}
BENCHMARK(BM_ATR)->Unit(benchmark::kMicrosecond);

// What the ATR cannot go below: reading the high, low and close of a million bars of 48 bytes,
// six times the bytes of a million doubles, without computing or writing anything.
void BM_ReadBars(benchmark::State& AState) {
    const TPriceSeries series = WalkSeries(MillionValues);
    const std::vector<TPriceBar>& bars = series.Bars();
    for (auto _ : AState) {
        // Four sums, so that the additions do not wait on each other.
        double sums[4] = {};
        for (std::size_t i = 0; i < bars.size(); ++i) {
            sums[i % 4] += bars[i].High - bars[i].Low + bars[i].Close;
        }
        benchmark::DoNotOptimize(sums);
    }
}
BENCHMARK(BM_ReadBars)->Unit(benchmark::kMicrosecond);

// What MACD cannot go below: three fresh arrays of a million doubles written chunk by chunk,
// as it writes its lines, with nothing computed. Together with the closes they no longer fit
// in the processor's cache.
void BM_WriteThreeArrays(benchmark::State& AState) {
    const std::vector<double> chunk(512, 1.0);
    for (auto _ : AState) {
        std::vector<double> lines[3];
        for (std::vector<double>& line : lines) {
            line.reserve(MillionValues);
        }
        for (int from = 0; from < MillionValues; from += 512) {
            const int count = std::min(512, MillionValues - from);
            for (std::vector<double>& line : lines) {
                line.insert(line.end(), chunk.begin(), chunk.begin() + count);
            }
        }
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_WriteThreeArrays)->Unit(benchmark::kMicrosecond);

void BM_ComputeMACD(benchmark::State& AState) {
    const std::vector<double> values = Walk(MillionValues);
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ComputeMACD(values, TMACDParams::Default()));
    }
}
BENCHMARK(BM_ComputeMACD)->Unit(benchmark::kMicrosecond);

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
