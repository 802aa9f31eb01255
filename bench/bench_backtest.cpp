#include <benchmark/benchmark.h>

#include <filesystem>

#include "backtest/Backtest.h"

// The 5-year backtest of every bundled history, analysed in memory: what a run costs apart from
// fetching the histories and writing its files.
namespace cotalys {
namespace {

struct TBundledRun {
    TBacktestPeriod Period;
    std::vector<TPriceSeries> Histories;
    std::unique_ptr<TMarketRegime> Regime;
    std::unique_ptr<TBacktestRunner> Runner;
};

// The histories as a run as of 22 February 2021 loads them: five years and one of warm-up.
const TBundledRun& BundledRun() {
    static const TBundledRun run = [] {
        TBundledRun r;
        r.Period.Years = 5;
        r.Period.Today = EncodeDate(2021, 2, 22);
        r.Period.Start = IncMonth(r.Period.Today, -60);
        const TDateTime loadFrom = IncMonth(r.Period.Start, -12);
        std::vector<std::string> symbols;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(COTALYS_DATA_DIR) + "/demo")) {
            if (entry.path().extension() != ".csv") {
                continue;
            }
            const std::string symbol = entry.path().stem().string();
            TPriceSeries series(symbol);
            TParseReport report;
            const bool index = symbol == MarketIndexSymbol;
            TLocalFileProvider(entry.path().string())
                .Load(symbol, index ? IncMonth(loadFrom, -3) : loadFrom, r.Period.Today, series,
                      report);
            if (index) {
                r.Regime = std::make_unique<TMarketRegime>(&series, MarketAveragePeriod);
            } else {
                symbols.push_back(symbol);
                r.Histories.push_back(std::move(series));
            }
        }
        r.Runner = std::make_unique<TBacktestRunner>(symbols, StandardVariants());
        return r;
    }();
    return run;
}

void BM_Backtest5YearsOfTheBundledHistoriesInMemory(benchmark::State& AState) {
    const TBundledRun& run = BundledRun();
    for (auto _ : AState) {
        TBacktestResults results = run.Runner->EmptyResults();
        std::vector<std::string> csvLines;
        for (const TPriceSeries& series : run.Histories) {
            run.Runner->Analyse(series, run.Period, run.Regime.get(), results, csvLines);
        }
        benchmark::DoNotOptimize(results);
    }
    AState.counters["histories"] = static_cast<double>(run.Histories.size());
}
BENCHMARK(BM_Backtest5YearsOfTheBundledHistoriesInMemory)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The differences of the ten settings to the reference, 2,000 resamples each, over the results
// of that run.
void BM_ConfidenceTableOfThe5YearBacktest(benchmark::State& AState) {
    const TBundledRun& run = BundledRun();
    TBacktestResults results = run.Runner->EmptyResults();
    results.HasRegime = true;
    std::vector<std::string> csvLines;
    for (const TPriceSeries& series : run.Histories) {
        run.Runner->Analyse(series, run.Period, run.Regime.get(), results, csvLines);
    }
    for (auto _ : AState) {
        benchmark::DoNotOptimize(ConfidenceRows(results, run.Runner->Variants()));
    }
}
BENCHMARK(BM_ConfidenceTableOfThe5YearBacktest)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cotalys
