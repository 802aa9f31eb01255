#pragma once

#include <vector>

#include "backtest/BacktestReport.h"
#include "signals/EntrySignals.h"

namespace cotalys {

// The figures of the pictures of a run (TBacktestFigures, which the chart draws) computed from its
// results: every year of APeriod (the default setting, AVariants[0], against the reference), the
// rows of AConfidence, the measured results at +20 sessions, and a title naming the period and
// the symbols analysed out of ASymbolCount. Only the title when no symbol was analysed.
TBacktestFigures FiguresFromResults(const TBacktestResults& AResults,
                                    const std::vector<TSignalParams>& AVariants,
                                    const std::vector<TConfidenceRow>& AConfidence,
                                    int ASymbolCount, const TBacktestPeriod& APeriod);

}  // namespace cotalys
