#pragma once

#include <vector>

#include "signals/MarketRegime.h"
#include "signals/StandardVariants.h"

namespace cotalys {

// Distance of each close from the highest high of the last YearSessions sessions (one year), once
// YearHighMinimumSessions sessions of history exist: the reading every signal, reference, context
// and the market regime use.
inline std::vector<double> YearHighDistance(const TPriceSeries& ASeries) {
    return DistanceFromHigh(ASeries, YearSessions, YearHighMinimumSessions);
}

}  // namespace cotalys
