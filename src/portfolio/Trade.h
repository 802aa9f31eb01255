#pragma once

#include <string>

#include "core/Core.h"
#include "signals/EntrySignals.h"

namespace cotalys {

// One position of a simulated portfolio, from its purchase to its sale (or to the period's end).
// Shares is a whole count for a stock; the index is held in fractions, as a tracker would.
struct TTrade {
    std::string Symbol;
    TDateTime SignalDate = 0;  // the evening of the scan that chose it; 0 for a benchmark
    TDateTime EntryDate = 0;
    double EntryPrice = 0;
    double Shares = 0;
    double Brokerage = 0;  // on the purchase
    double TTF = 0;        // on the purchase
    double StopPrice = 0;  // 0 for a benchmark
    TDateTime ExitDate = 0;
    double ExitPrice = 0;
    double ExitBrokerage = 0;  // 0 for a position valued at the period's end
    TExitReason Reason = TExitReason::erPeriodEnd;
    double Dividends = 0;  // gross, received in cash while held
    int Sessions = 0;      // sessions of its symbol from the entry to the exit

    // What the purchase took from the cash: the amount, its brokerage and its tax.
    double Cost() const { return Shares * EntryPrice + Brokerage + TTF; }
    // The sale (or the valuation) less its brokerage, less the cost, plus the dividends.
    double ResultEur() const { return Shares * ExitPrice - ExitBrokerage - Cost() + Dividends; }
    // ResultEur in percent of the cost.
    double ResultPct() const { return ResultEur() / Cost() * 100; }
};

}  // namespace cotalys
