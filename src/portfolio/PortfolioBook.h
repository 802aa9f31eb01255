#pragma once

#include <string>
#include <vector>

#include "core/Core.h"
#include "portfolio/Trade.h"

namespace cotalys {

// A portfolio at one session's close.
struct TPortfolioDay {
    TDateTime Date = 0;
    double Cash = 0;
    double Invested = 0;  // the positions at their last close
    int Positions = 0;

    double Value() const { return Cash + Invested; }
};

// The life of one simulated portfolio over the period: its value at each session's close and
// every position it held.
struct TPortfolioBook {
    std::string Name;  // "Strategie", "Egal-pondere", "CAC 40"
    double Capital = 0;
    std::vector<TPortfolioDay> Days;
    std::vector<TTrade> Trades;  // in the order of their entries

    bool Empty() const { return Days.empty(); }
    double FinalValue() const { return Days.empty() ? Capital : Days.back().Value(); }
};

}  // namespace cotalys
