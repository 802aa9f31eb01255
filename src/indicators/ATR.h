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

}  // namespace cotalys
