#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backtest/BacktestReport.h"
#include "core/Core.h"
#include "signals/EntrySignals.h"
#include "sizing/PositionSizing.h"

namespace cotalys {

// One analysed symbol of a run, as an analysis of the whole run needs it.
struct TRunSymbol {
    // From HistoryMonthsBeforePeriod months before the period's start to its end, so that any
    // evening of the period can be seen as the daily scan would load it.
    TPriceSeries Series;
    // Days of the period on which the default setting's conditions hold, ascending: every day
    // a scan of the last bars may find a signal on, the cooldown between signals aside.
    std::vector<TDateTime> SignalDates;
};

// What a backtest run keeps of its histories for analyses made over the whole run at once, such
// as the replay of the evening scan on a portfolio. Kept only when such an analysis is attached.
struct TRunHistory {
    // The daily scan loads this many months of history.
    static constexpr int HistoryMonthsBeforePeriod = 15;

    TBacktestPeriod Period;
    TSignalParams Setting;  // the default setting
    TSizingParams Sizing;
    std::optional<TPriceSeries> Index;  // none when the index could not be loaded
    std::vector<TRunSymbol> Symbols;    // the analysed symbols, in run order
    bool Interrupted = false;
};

// A file an analysis writes beside the detail CSV: the end of its name, the words that name it
// in the report and its lines.
struct TReportFile {
    std::string Suffix;   // "_portefeuille.csv"
    std::string Caption;  // "Portefeuille jour par jour"
    std::vector<std::string> Lines;
};

// An analysis's part of the report: its text, placed after the table of differences to the
// reference, and its files.
struct TReportAddition {
    std::string Text;  // lines ended by CR LF
    std::vector<TReportFile> Files;
};

// Builds a part of the report from a finished run's histories.
using TReportExtension = std::function<TReportAddition(const TRunHistory&)>;

}  // namespace cotalys
