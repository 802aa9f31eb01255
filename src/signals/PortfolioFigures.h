#pragma once

#include <string>
#include <vector>

#include "core/Core.h"

namespace cotalys {

// One simulated portfolio as its picture shows it: its value at each session's close and its
// fall from the highest value so far.
struct TPortfolioCurve {
    std::string Name;
    std::vector<double> Values;         // one per session of the figures; empty when not known
    std::vector<double> DrawdownPct;    // <= 0, one per session
    std::vector<double> YearReturnPct;  // one per year of the figures; NaN when not known
};

// What the picture of a portfolio simulation shows: the strategy and its benchmarks over the
// same sessions, from the same capital, and their returns year by year.
struct TPortfolioFigures {
    std::string Title;  // the simulation in one line
    double Capital = 0;
    std::vector<TDateTime> Dates;
    std::vector<int> Years;
    std::vector<TPortfolioCurve> Curves;  // the strategy first

    bool Empty() const { return Dates.empty(); }
};

}  // namespace cotalys
