#pragma once

#include <array>
#include <string>
#include <vector>

#include "backtest/FeeAccumulator.h"
#include "core/Core.h"
#include "signals/EntrySignals.h"
#include "sizing/PositionSizing.h"

namespace cotalys {

// One of the delayed entries the backtest compares with buying on the signal's day.
struct TDelayedEntryKind {
    int Delay;       // sessions after the signal
    bool OnlyValid;  // only when the close still sits above the zone's bottom
    const char* Label;
};

// J+1, J+1 with the rebound held, J+2, J+2 with the rebound held: the runner's lists and the
// report's lines in this one order.
const std::array<TDelayedEntryKind, 4>& DelayedEntryKinds();

// Everything one backtest run gathers for its report.
struct TBacktestResults {
    std::vector<std::vector<TEntrySignal>> BySetting;  // per setting, over every symbol
    std::vector<std::vector<TEntrySignal>> ByStop;     // default setting, per standard stop
    std::array<std::vector<TEntrySignal>, 4> Delayed;  // in DelayedEntryKinds order
    std::vector<TEntrySignal> Reference;               // every session of every analysed symbol
    // The user's plan, then the three broker plans (the user's plan may appear twice).
    std::array<TFeeAccumulator, 4> Fees;
    bool HasRegime = false;  // the index was loaded, so market settings could run
    int Analysed = 0;
    bool Interrupted = false;
};

// The test period of a run.
struct TBacktestPeriod {
    int Years = 1;
    TDateTime Start = 0;
    TDateTime Today = 0;
};

// "-" for NaN, else a signed percentage with one decimal and " %" ("+1,5 %").
std::string Pct1(double AValue);

// Each setting of the run (but those that needed the missing index) against the reference.
std::vector<TConfidenceRow> ConfidenceRows(const TBacktestResults& AResults,
                                           const std::vector<TSignalParams>& AVariants);

// The report of a run, every line ended by CR LF: header, settings, their differences to the
// reference (AConfidence, as ConfidenceRows gives them), stops, reward/risk, delayed entries,
// fees, distance from the high, per-year table and the skipped symbols. AAfterConfidence, lines
// ended by CR LF, follows the differences. The runner appends the CSV outcome line. AVariants[0]
// is the default setting.
std::string BacktestReport(const TBacktestResults& AResults,
                           const std::vector<TSignalParams>& AVariants,
                           const std::vector<TConfidenceRow>& AConfidence, int ASymbolCount,
                           const std::vector<std::string>& AFailed, const TBacktestPeriod& APeriod,
                           const TSizingParams& ASizing, const std::string& AAfterConfidence = {});

}  // namespace cotalys
