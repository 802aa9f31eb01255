#pragma once

#include <span>
#include <vector>

#include "core/Core.h"

namespace cotalys {

// Wilder's average true range of each bar, NaN until bar APeriod: the mean true range of bars
// 1 .. APeriod, then (previous x (APeriod - 1) + true range) / APeriod. Bar 0 has no previous
// close, hence no true range; a series of APeriod bars or fewer gives all NaN. Throws
// EIndicatorError when APeriod < 1.
std::vector<double> ComputeATR(std::span<const TPriceBar> ABars, int APeriod);
std::vector<double> ComputeATR(const TPriceSeries& ASeries, int APeriod);

// The true range of each bar (NaN for bar 0). A stretch of the bars has the same true ranges but
// for its first bar, which has none: so the average true range of any stretch can be drawn from
// one array.
std::vector<double> TrueRanges(std::span<const TPriceBar> ABars);
// The last value of ComputeATR over the bars whose true ranges are ARanges (its first value
// ignored), found from them; NaN for APeriod values or fewer. Throws as ComputeATR.
double LastATR(std::span<const double> ARanges, int APeriod);

}  // namespace cotalys
