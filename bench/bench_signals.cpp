#include <benchmark/benchmark.h>

#include <vector>

#include "../tests/support/DemoHistory.h"
#include "core/Core.h"
#include "indicators/Indicators.h"
#include "signals/EntrySignals.h"
#include "zones/SupportResistance.h"

namespace cotalys {
namespace {

const TDateTime LastDay = EncodeDate(2021, 2, 22);

// Six years of Renault (1,512 sessions ending 22 February 2021), as a five-year backtest with
// its year of warm-up reads them.
const TPriceSeries& SixYears() {
    static const TPriceSeries series = [] {
        TPriceSeries all = test::LoadDemoHistory("RNO.PA", 0, LastDay);
        all.DeleteFirst(all.Count() - 1512);
        return all;
    }();
    return series;
}

void BM_BuildZoneHistory1512Window320(benchmark::State& AState) {
    const TPriceSeries& series = SixYears();
    for (auto _ : AState) {
        benchmark::DoNotOptimize(
            TEntrySignalDetector::BuildZoneHistory(series, TSRParams::Default(), 0, 320));
    }
    AState.counters["bars"] = series.Count();
}
BENCHMARK(BM_BuildZoneHistory1512Window320)->Unit(benchmark::kMillisecond);

void BM_ScanTenSettings1512(benchmark::State& AState) {
    const TPriceSeries& series = SixYears();
    TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 14);
    analysis.Compute();
    const std::vector<TSRResult> history =
        TEntrySignalDetector::BuildZoneHistory(series, TSRParams::Default(), 0, 320);
    const TPriceSeries index = test::LoadDemoHistory("^FCHI", 0, LastDay);
    const TMarketRegime regime(&index, 50);
    const std::vector<TSignalParams> variants = StandardVariants();
    std::size_t found = 0;
    for (auto _ : AState) {
        found = 0;
        for (const TSignalParams& variant : variants) {
            TEntrySignalDetector detector(variant, TSRParams::Default());
            detector.SetMarket(&regime);
            found += detector.Scan(series, analysis, 252, history).size();
        }
        benchmark::DoNotOptimize(found);
    }
    AState.counters["signals"] = static_cast<double>(found);
}
BENCHMARK(BM_ScanTenSettings1512)->Unit(benchmark::kMillisecond);

// The main window's comparison: 15 months of a stock, the displayed year, the CAC 40 regime.
void BM_CompareVariants15Months(benchmark::State& AState) {
    const TPriceSeries series = test::LoadDemoHistory("RNO.PA", IncMonth(LastDay, -15), LastDay);
    const TPriceSeries index = test::LoadDemoHistory("^FCHI", IncMonth(LastDay, -18), LastDay);
    TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 14);
    analysis.Compute();
    const TMarketRegime regime(&index, 50);
    const int firstVisible = series.IndexOfFirstOnOrAfter(IncMonth(LastDay, -12));
    const std::vector<TSignalParams> variants = StandardVariants();
    for (auto _ : AState) {
        benchmark::DoNotOptimize(CompareVariants(series, analysis, firstVisible,
                                                 TSRParams::Default(), variants, &regime));
    }
    AState.counters["bars"] = series.Count();
}
BENCHMARK(BM_CompareVariants15Months)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cotalys
