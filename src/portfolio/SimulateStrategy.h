#pragma once

#include <functional>
#include <string>
#include <vector>

#include "backtest/Backtest.h"
#include "portfolio/PortfolioBook.h"
#include "scanner/Scanner.h"

namespace cotalys {

// The sessions of the period: the index's, or every session of a symbol when the index is
// missing.
std::vector<TDateTime> PeriodSessions(const TRunHistory& AHistory);

// One evening of the replay, as the daily scan would have seen it: the settings holding the
// portfolio of that evening, the symbols held, and the rows of the symbols not held that carry a
// recent signal, sorted and selected.
struct TScanEvening {
    TDateTime Date = 0;
    TSizingParams Sizing;
    std::vector<std::string> Held;
    std::vector<TScanRow> Rows;
};
using TScanEveningObserver = std::function<void(const TScanEvening&)>;

// The scan row of ASeries (cut at the evening's session) evaluated with ASizing; it throws when
// the daily scan would show an error. The daily scanner's evaluation when none is given.
using TEveningRowSource =
    std::function<TScanRow(const TPriceSeries& ASeries, const TSizingParams& ASizing)>;

// Follows the evening scan with the user's capital from the period's first session to its last.
// Each evening, with the bars up to that day only, the symbols not held whose history carries a
// signal on one of the last bars are evaluated as the daily scan evaluates them (fifteen months
// of history), sorted and selected against the portfolio of that evening; the retained rows are
// bought at the next session's open (fewer shares when the cash is short), and sold at the stop,
// at the close of the 20th session after the entry, or valued at the period's end.
// AObserver, when given, sees every evening that had rows.
TPortfolioBook SimulateStrategy(const TRunHistory& AHistory,
                                const std::vector<TDateTime>& ASessions,
                                const TScanEveningObserver& AObserver = {},
                                const TEveningRowSource& ARowSource = {});

// The benchmarks, bought with the whole capital at the first session's open, fees and tax paid,
// and held: the symbols with a bar that day in equal amounts, dividends in cash ("Egal-pondere"),
// and the index in fractions of a unit, without dividends ("CAC 40"; empty without an index).
TPortfolioBook SimulateEqualWeight(const TRunHistory& AHistory,
                                   const std::vector<TDateTime>& ASessions);
TPortfolioBook SimulateIndex(const TRunHistory& AHistory, const std::vector<TDateTime>& ASessions);

}  // namespace cotalys
