#pragma once

#include <cmath>
#include <limits>

namespace cotalys {

// "No value" in indicator arrays and for results that cannot be measured.
inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A divisor whose magnitude is at most this counts as zero.
inline constexpr double ZeroTolerance = 1e-12;

inline bool IsNearZero(double AValue) { return std::fabs(AValue) <= ZeroTolerance; }

}  // namespace cotalys
