#pragma once

#include <map>
#include <string>
#include <vector>

#include "positions/Position.h"

namespace cotalys {

// What the open positions commit at the last closes: the figures the sizing settings take as
// positions already open, risk already committed and amount already invested.
struct TOpenExposure {
    int Positions = 0;
    double Risk = 0;      // EUR, the sum of each position's RiskAt
    double Invested = 0;  // EUR, the sum of each position's InvestedAt
};

// The exposure of the open positions of APositions (closed ones are left out) at ALastCloses,
// the last close of each symbol; a symbol without a close there is valued at its entry price.
TOpenExposure OpenExposure(const std::vector<TPosition>& APositions,
                           const std::map<std::string, double>& ALastCloses,
                           double ASlippageFactor);

}  // namespace cotalys
