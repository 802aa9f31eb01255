#pragma once

#include <algorithm>
#include <cmath>

namespace cotalys {

// Wilder's true range of a bar: its high-low span widened to include the previous close, so a
// gap between sessions counts as movement. Used by the ATR of the zones and by the stops.
inline double TrueRange(double AHigh, double ALow, double APrevClose) {
    return std::max(AHigh - ALow,
                    std::max(std::fabs(AHigh - APrevClose), std::fabs(ALow - APrevClose)));
}

}  // namespace cotalys
