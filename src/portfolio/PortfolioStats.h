#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Core.h"
#include "portfolio/PortfolioBook.h"

namespace cotalys {

// Sessions in a year, for annualising daily figures.
inline constexpr double SessionsPerYear = 252;

// The figures of one simulated portfolio over its period. Percentages are of the capital or of
// the value; a figure that cannot be known is NaN.
struct TPortfolioStats {
    double FinalValue = NaN;
    double TotalReturnPct = NaN;
    double AnnualReturnPct = NaN;  // over calendar days / 365.25
    double MaxDrawdownPct = NaN;   // <= 0: the largest fall from a peak
    TDateTime PeakDate = 0;        // of that fall
    TDateTime TroughDate = 0;
    double VolatilityPct = NaN;   // of daily returns, x sqrt(252)
    double Sharpe = NaN;          // with a zero rate
    double ExposurePct = NaN;     // sessions with at least one position
    double AvgInvestedPct = NaN;  // invested share of the value, averaged over the sessions
    int Trades = 0;
    double WinnersPct = NaN;
    double AvgWinPct = NaN;
    double AvgLossPct = NaN;
    double Brokerage = 0;      // EUR, purchases and sales
    double TTF = 0;            // EUR
    double Dividends = 0;      // EUR, gross
    double AvgSessions = NaN;  // holding of a trade
};

// The daily returns of ABook, the first one from the capital.
std::vector<double> DailyReturns(const TPortfolioBook& ABook);
// The fall from the highest value so far (the capital included), in percent, at each session.
std::vector<double> DrawdownsPct(const TPortfolioBook& ABook);
TPortfolioStats PortfolioStats(const TPortfolioBook& ABook);

// How the strategy's annualised return compares with a benchmark's, with the uncertainty of a
// few years of markets: calendar months of the two portfolios' daily returns drawn together.
struct TPortfolioComparison {
    int Months = 0;
    double Diff = NaN;  // points of annualised return (252 sessions a year)
    double Low = NaN;   // 95 % interval
    double High = NaN;
    std::string Verdict;  // "mieux", "moins bien", "indecis", "trop peu"
};

// Fewer calendar months than this tell nothing.
inline constexpr int PortfolioMinMonths = 12;

// AStrategy against ABenchmark over the same sessions: each of ConfidenceResamples resamples
// draws as many months as there are, with replacement, from a generator seeded with ASeed.
TPortfolioComparison ComparePortfolios(const TPortfolioBook& AStrategy,
                                       const TPortfolioBook& ABenchmark, std::uint64_t ASeed);

}  // namespace cotalys
