#pragma once

#include <vector>

#include "signals/SignalParams.h"

namespace cotalys {

// The ten settings every comparison runs, in report order: the default first, then the default
// with one change each (RSI optional, 4/4 only, strong zones, MACD > 0, market above its MM50,
// reward/risk >= 1.5, resistance margin >= 5 %, within 10 % of the high, favourable CAC phase).
std::vector<TSignalParams> StandardVariants();

}  // namespace cotalys
