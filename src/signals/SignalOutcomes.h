#pragma once

#include <vector>

#include "core/Core.h"
#include "signals/EntrySignal.h"
#include "signals/StopConfig.h"

namespace cotalys {

// What buying at a signal's close would have given. Every signal handed to these routines must
// belong to ASeries (its Index is one of its bars); otherwise they throw EIndicatorError.
// Results are (exit / Price - 1) x 100 and stay NaN while the series ends too early.

// Perf10, Perf20 and MaxDrawdown20 (over the bars that exist, never positive), then SimulateStop.
void MeasureOutcome(const TPriceSeries& ASeries, TEntrySignal& ASignal);

// StopHit, StopBar and Perf20Stop over the 20 sessions after entry. Without a stop price
// (<= 0) Perf20Stop is left as it was. An intraday stop hit by a session that opens below it
// exits at that open.
void SimulateStop(const TPriceSeries& ASeries, TEntrySignal& ASignal);

// Copies of ASignals re-measured with AStop; a negative AtrMult gives the unprotected result.
std::vector<TEntrySignal> WithStop(const TPriceSeries& ASeries,
                                   const std::vector<TEntrySignal>& ASignals,
                                   const TStopConfig& AStop);

// The nine stops every comparison tries: none, then 1.0 to 2.5 ATR within the session, then on
// the close.
const std::vector<TStopConfig>& StandardStops();

// Copies of ASignals entered ADelay sessions later with the same stop, dropping entries that do
// not exist yet or whose close is at or below the stop (AOnlyValid: or at or below the zone's
// bottom).
std::vector<TEntrySignal> DelayedEntries(const TPriceSeries& ASeries,
                                         const std::vector<TEntrySignal>& ASignals, int ADelay,
                                         bool AOnlyValid);

}  // namespace cotalys
