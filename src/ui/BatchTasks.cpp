#include "ui/BatchTasks.h"

#include <memory>

#include "backtest/Backtest.h"
#include "core/Core.h"
#include "portfolio/Portfolio.h"
#include "providers/Providers.h"
#include "signals/EntrySignals.h"

namespace cotalys {

namespace {

// The runners ask once per symbol whether to stop; each question also marks the next symbol.
TCancelQuery CancelQuery(const TBatchSnapshot& ASnapshot, const TBatchFeedback& AFeedback) {
    auto started = std::make_shared<int>(0);
    return [cancel = ASnapshot.Cancel, started, AFeedback]() {
        const bool stop = cancel && cancel->load();
        if (!stop && AFeedback.SymbolStarted) {
            AFeedback.SymbolStarted(++*started);
        }
        return stop;
    };
}

std::string Interrupted(const char* APrefix, const std::exception& AError) {
    return std::string(APrefix) + ExceptionClassName(AError) + " : " + AError.what();
}

}  // namespace

TBacktestOutcome RunBacktestTask(const TBatchSnapshot& ASnapshot, const TBatchFeedback& AFeedback) {
    // A stop also ends the download in progress at once.
    const TTransferCancelScope cancelTransfers(ASnapshot.Cancel.get());
    TBacktestOutcome outcome;
    try {
        TBacktestRunner runner(ASnapshot.Symbols, StandardVariants());
        runner.SetYears(ASnapshot.Years);
        runner.SetSizing(ASnapshot.Sizing);
        if (ASnapshot.DelayMs >= 0) {
            runner.SetDelayMs(ASnapshot.DelayMs);
        }
        const auto simulation = std::make_shared<TPortfolioSimulation>();
        runner.SetExtension(PortfolioExtension(simulation));
        outcome.Report = runner.Run(AFeedback.Line, CancelQuery(ASnapshot, AFeedback));
        outcome.Figures = runner.Figures();
        outcome.Portfolio = PortfolioFiguresOf(*simulation);
        outcome.CsvFile = runner.CsvFileName().string();
    } catch (const std::exception& e) {
        outcome.Report = Interrupted("Backtest interrompu : ", e);
    }
    return outcome;
}

TScanOutcome RunScanTask(const TBatchSnapshot& ASnapshot, const TBatchFeedback& AFeedback) {
    const TTransferCancelScope cancelTransfers(ASnapshot.Cancel.get());
    TScanOutcome outcome;
    outcome.Market = InvalidMarketContext(MarketIndexSymbol, "scanner interrompu");
    try {
        TDailyScanner scanner(ASnapshot.Symbols);
        scanner.SetSizing(ASnapshot.Sizing);
        if (ASnapshot.DelayMs >= 0) {
            scanner.SetDelayMs(ASnapshot.DelayMs);
        }
        outcome.Rows = scanner.Run(AFeedback.Line, CancelQuery(ASnapshot, AFeedback));
        outcome.Market = scanner.Market();
        outcome.Report =
            TDailyScanner::FormatReport(outcome.Rows, outcome.Market, scanner.Interrupted());
        outcome.CsvFile = scanner.CsvFileName().string();
        outcome.CsvError = scanner.CsvError();
    } catch (const std::exception& e) {
        outcome.Report = Interrupted("Scanner interrompu : ", e);
    }
    return outcome;
}

}  // namespace cotalys
