#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scanner/Scanner.h"
#include "signals/EntrySignals.h"
#include "signals/MarketContext.h"
#include "sizing/PositionSizing.h"

namespace cotalys {

// What a backtest or a scan reads, copied at the click so later edits do not reach it.
struct TBatchSnapshot {
    TSizingParams Sizing;
    std::vector<std::string> Symbols;
    int Years = 1;     // backtest only
    int DelayMs = -1;  // pause between symbols; negative keeps the run's own
    std::shared_ptr<const std::atomic<bool>> Cancel;
};

// How a run reports while it works: each progress line, and the 1-based number of the symbol
// it is about to load. Both are called on the run's thread.
struct TBatchFeedback {
    std::function<void(const std::string&)> Line;
    std::function<void(int)> SymbolStarted;
};

// What a scan hands back to the window.
struct TScanOutcome {
    TMarketContext Market;
    std::vector<TScanRow> Rows;
    std::string CsvFile;
    std::string CsvError;  // why no CSV was written, or empty
    std::string Report;
};

// What a backtest hands back to the window.
struct TBacktestOutcome {
    std::string Report;
    TBacktestFigures Figures;     // empty when the run failed
    TPortfolioFigures Portfolio;  // the portfolio simulation's; empty when the run failed
    std::string CsvFile;          // the detail CSV; empty when it was not written
};

// The backtest of ASnapshot: the runner's report, its figures and its detail CSV; on failure the
// report is "Backtest interrompu : CLASS : message" and nothing else is set. Never throws.
TBacktestOutcome RunBacktestTask(const TBatchSnapshot& ASnapshot, const TBatchFeedback& AFeedback);

// The daily scan of ASnapshot; on failure the report is "Scanner interrompu : CLASS : message"
// and the rows are empty. Never throws.
TScanOutcome RunScanTask(const TBatchSnapshot& ASnapshot, const TBatchFeedback& AFeedback);

}  // namespace cotalys
