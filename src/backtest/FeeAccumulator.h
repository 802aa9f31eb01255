#pragma once

#include <string>

#include "signals/EntrySignals.h"
#include "sizing/PositionSizing.h"

namespace cotalys {

// What the default setting's signals leave after brokerage under one fee plan, summed signal by
// signal over the run.
struct TFeeAccumulator {
    TFeePlan Plan = TFeePlan::fpCustom;
    int Count = 0;          // sized signals with a 20-session result
    int Winners = 0;        // of those, net result > 0
    int CountStop = 0;      // sized signals with a result with stop
    double SumNet20 = 0;    // net 20-session results, %
    double SumNetStop = 0;  // net results with stop, %
    double SumFeesPct = 0;  // round-trip fees in % of the order
    double SumAmount = 0;   // order amounts, EUR

    // Sizes ASignal under ASizing with this plan and adds its net results; a signal that cannot
    // be sized does not count. Throws EFinanceError when ASizing is invalid.
    void Add(const TSizingParams& ASizing, const TEntrySignal& ASignal, const std::string& ASymbol);
};

}  // namespace cotalys
