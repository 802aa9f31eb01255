#pragma once

#include <vector>

#include "core/Core.h"
#include "signals/EntrySignal.h"
#include "signals/SignalStats.h"

namespace cotalys {

// The reference every setting is judged against: a purchase at the close of every session from
// AFromIndex (0 when negative) on, measured like a signal but without a stop.
std::vector<TEntrySignal> BaselineSignals(const TPriceSeries& ASeries, int AFromIndex);
// Statistics of BaselineSignals.
TSignalStats BaselineStats(const TPriceSeries& ASeries, int AFromIndex);

}  // namespace cotalys
