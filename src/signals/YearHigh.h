#pragma once

#include <vector>

#include "signals/MarketRegime.h"

namespace cotalys {

// Distance of each close from the highest high of the last 252 sessions (one year), once 200
// sessions of history exist: the reading every signal, reference and context uses.
inline std::vector<double> YearHighDistance(const TPriceSeries& ASeries) {
    return DistanceFromHigh(ASeries, 252, 200);
}

}  // namespace cotalys
