#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>

#include "backtest/Backtest.h"
#include "portfolio/Portfolio.h"

// The replay of the evening scan over every bundled history, as a backtest run as of 22 February
// 2021 hands them to it: what the simulation adds to a run, apart from fetching the histories.
namespace cotalys {
namespace {

struct TBundledHistory {
    TRunHistory History;
    std::unique_ptr<TMarketRegime> Regime;
    std::unique_ptr<TBacktestRunner> Runner;
};

TPriceSeries LoadBundled(const std::filesystem::path& AFile, TDateTime AFrom, TDateTime ATo) {
    const std::string symbol = AFile.stem().string();
    TPriceSeries series(symbol);
    TParseReport report;
    TLocalFileProvider(AFile.string()).Load(symbol, AFrom, ATo, series, report);
    return series;
}

// The histories of a run of AYears years, the index first, loaded as far back as the scan looks.
TBundledHistory& Bundled(int AYears) {
    static std::map<int, TBundledHistory> runs;
    TBundledHistory& run = runs[AYears];
    if (run.Runner) {
        return run;
    }
    TBacktestPeriod& period = run.History.Period;
    period.Years = AYears;
    period.Today = EncodeDate(2021, 2, 22);
    period.Start = IncMonth(period.Today, -12 * AYears);
    const TDateTime keepFrom = IncMonth(period.Start, -TRunHistory::HistoryMonthsBeforePeriod);
    std::vector<std::string> symbols;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(COTALYS_DATA_DIR) + "/demo")) {
        if (entry.path().extension() != ".csv") {
            continue;
        }
        TPriceSeries series = LoadBundled(entry.path(), keepFrom, period.Today);
        if (series.Symbol() == MarketIndexSymbol) {
            run.Regime = std::make_unique<TMarketRegime>(&series, MarketAveragePeriod);
            run.History.Index = std::move(series);
        } else {
            symbols.push_back(series.Symbol());
            run.History.Symbols.push_back({std::move(series), {}});
        }
    }
    run.Runner = std::make_unique<TBacktestRunner>(symbols, StandardVariants());
    run.History.Setting = StandardVariants().front();
    run.History.Sizing = TSizingParams::Default();
    return run;
}

// The backtest of every history as a run with the simulation makes it: the days a scan may
// find a signal on come with each symbol's analysis.
void BM_BacktestKeepingTheHistories(benchmark::State& AState) {
    TBundledHistory& run = Bundled(static_cast<int>(AState.range(0)));
    for (auto _ : AState) {
        TBacktestResults results = run.Runner->EmptyResults();
        std::vector<std::string> csvLines;
        for (TRunSymbol& symbol : run.History.Symbols) {
            run.Runner->AnalyseKept(symbol, run.History.Period, run.Regime.get(), results,
                                    csvLines);
        }
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(BM_BacktestKeepingTheHistories)
    ->Arg(5)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The strategy, the two benchmarks and the comparison, over the kept histories.
void BM_PortfolioSimulation(benchmark::State& AState) {
    TBundledHistory& run = Bundled(static_cast<int>(AState.range(0)));
    TBacktestResults results = run.Runner->EmptyResults();
    std::vector<std::string> csvLines;
    for (TRunSymbol& symbol : run.History.Symbols) {
        run.Runner->AnalyseKept(symbol, run.History.Period, run.Regime.get(), results, csvLines);
    }
    for (auto _ : AState) {
        benchmark::DoNotOptimize(SimulatePortfolios(run.History));
    }
    // Where the time goes: the rows the scanner evaluates, on the evenings that have room.
    double scanDays = 0;
    for (const TRunSymbol& symbol : run.History.Symbols) {
        scanDays += static_cast<double>(symbol.SignalDates.size());
    }
    double rows = 0;
    double evenings = 0;
    SimulateStrategy(run.History, PeriodSessions(run.History), [&](const TScanEvening& AEvening) {
        rows += static_cast<double>(AEvening.Rows.size());
        evenings += 1;
    });
    AState.counters["scan_days"] = scanDays;
    AState.counters["evenings"] = evenings;
    AState.counters["rows"] = rows;
}
BENCHMARK(BM_PortfolioSimulation)
    ->Arg(5)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace cotalys
