#include "portfolio/PortfolioStats.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "signals/EntrySignals.h"

namespace cotalys {
namespace {

double Mean(const std::vector<double>& AValues) {
    double sum = 0;
    for (double value : AValues) {
        sum += value;
    }
    return AValues.empty() ? NaN : sum / static_cast<double>(AValues.size());
}

// The sample standard deviation; NaN below two values.
double StandardDeviation(const std::vector<double>& AValues) {
    if (AValues.size() < 2) {
        return NaN;
    }
    const double mean = Mean(AValues);
    double squares = 0;
    for (double value : AValues) {
        squares += (value - mean) * (value - mean);
    }
    return std::sqrt(squares / static_cast<double>(AValues.size() - 1));
}

// The return of the compounded daily returns over a year of SessionsPerYear sessions, in %.
double AnnualisedPct(double AGrowth, std::size_t ASessions) {
    return ASessions == 0
               ? NaN
               : (std::pow(AGrowth, SessionsPerYear / static_cast<double>(ASessions)) - 1) * 100;
}

void AddTrades(const TPortfolioBook& ABook, TPortfolioStats& AStats) {
    std::vector<double> wins;
    std::vector<double> losses;
    double sessions = 0;
    for (const TTrade& trade : ABook.Trades) {
        (trade.ResultEur() > 0 ? wins : losses).push_back(trade.ResultPct());
        AStats.Brokerage += trade.Brokerage + trade.ExitBrokerage;
        AStats.TTF += trade.TTF;
        AStats.Dividends += trade.Dividends;
        sessions += trade.Sessions;
    }
    AStats.Trades = static_cast<int>(ABook.Trades.size());
    if (AStats.Trades > 0) {
        AStats.WinnersPct = 100.0 * static_cast<double>(wins.size()) / AStats.Trades;
        AStats.AvgWinPct = Mean(wins);
        AStats.AvgLossPct = Mean(losses);
        AStats.AvgSessions = sessions / AStats.Trades;
    }
}

}  // namespace

std::vector<double> DailyReturns(const TPortfolioBook& ABook) {
    std::vector<double> returns;
    double previous = ABook.Capital;
    for (const TPortfolioDay& day : ABook.Days) {
        returns.push_back(day.Value() / previous - 1);
        previous = day.Value();
    }
    return returns;
}

std::vector<double> DrawdownsPct(const TPortfolioBook& ABook) {
    std::vector<double> drawdowns;
    double peak = ABook.Capital;
    for (const TPortfolioDay& day : ABook.Days) {
        peak = std::max(peak, day.Value());
        drawdowns.push_back((day.Value() / peak - 1) * 100);
    }
    return drawdowns;
}

TPortfolioStats PortfolioStats(const TPortfolioBook& ABook) {
    TPortfolioStats stats;
    if (ABook.Empty()) {
        return stats;
    }
    stats.FinalValue = ABook.FinalValue();
    const double growth = stats.FinalValue / ABook.Capital;
    stats.TotalReturnPct = (growth - 1) * 100;
    const double days = ABook.Days.back().Date - ABook.Days.front().Date;
    if (days > 0) {
        stats.AnnualReturnPct = (std::pow(growth, 365.25 / days) - 1) * 100;
    }

    const std::vector<double> drawdowns = DrawdownsPct(ABook);
    double peak = ABook.Capital;
    TDateTime peakDate = ABook.Days.front().Date;
    stats.MaxDrawdownPct = 0;
    for (std::size_t i = 0; i < ABook.Days.size(); ++i) {
        const TPortfolioDay& day = ABook.Days[i];
        if (day.Value() > peak) {
            peak = day.Value();
            peakDate = day.Date;
        }
        if (drawdowns[i] < stats.MaxDrawdownPct) {
            stats.MaxDrawdownPct = drawdowns[i];
            stats.PeakDate = peakDate;
            stats.TroughDate = day.Date;
        }
    }

    const std::vector<double> returns = DailyReturns(ABook);
    const double deviation = StandardDeviation(returns);
    stats.VolatilityPct = deviation * std::sqrt(SessionsPerYear) * 100;
    stats.Sharpe = deviation > 0 ? Mean(returns) / deviation * std::sqrt(SessionsPerYear) : NaN;

    int exposed = 0;
    double invested = 0;
    for (const TPortfolioDay& day : ABook.Days) {
        exposed += day.Positions > 0 ? 1 : 0;
        invested += day.Value() > 0 ? day.Invested / day.Value() : 0;
    }
    const auto sessions = static_cast<double>(ABook.Days.size());
    stats.ExposurePct = 100.0 * exposed / sessions;
    stats.AvgInvestedPct = 100.0 * invested / sessions;
    AddTrades(ABook, stats);
    return stats;
}

TPortfolioComparison ComparePortfolios(const TPortfolioBook& AStrategy,
                                       const TPortfolioBook& ABenchmark, std::uint64_t ASeed) {
    TPortfolioComparison result;
    const std::vector<double> strategy = DailyReturns(AStrategy);
    const std::vector<double> benchmark = DailyReturns(ABenchmark);
    // Each calendar month's growth of both portfolios, and its sessions.
    struct TMonth {
        double Strategy = 1;
        double Benchmark = 1;
        std::size_t Sessions = 0;

        void Add(const TMonth& AOther) {
            Strategy *= AOther.Strategy;
            Benchmark *= AOther.Benchmark;
            Sessions += AOther.Sessions;
        }
    };
    std::map<int, TMonth> byMonth;
    const std::size_t count = std::min(strategy.size(), benchmark.size());
    for (std::size_t i = 0; i < count; ++i) {
        const TDateTime date = AStrategy.Days[i].Date;
        TMonth& month = byMonth[YearOf(date) * 12 + MonthOf(date)];
        month.Add({1 + strategy[i], 1 + benchmark[i], 1});
    }
    const std::vector<TMonth> months = [&] {
        std::vector<TMonth> list;
        for (const auto& [key, month] : byMonth) {
            list.push_back(month);
        }
        return list;
    }();
    result.Months = static_cast<int>(months.size());
    const auto difference = [](const TMonth& ATotal) {
        return AnnualisedPct(ATotal.Strategy, ATotal.Sessions) -
               AnnualisedPct(ATotal.Benchmark, ATotal.Sessions);
    };
    TMonth whole;
    for (const TMonth& month : months) {
        whole.Add(month);
    }
    result.Diff = difference(whole);
    if (months.empty() || ABenchmark.Empty()) {
        result.Verdict = "trop peu";
        return result;
    }
    std::mt19937_64 generator(ASeed);
    std::vector<double> diffs;
    diffs.reserve(ConfidenceResamples);
    for (int r = 0; r < ConfidenceResamples; ++r) {
        TMonth total;
        for (std::size_t m = 0; m < months.size(); ++m) {
            total.Add(months[UniformBelow(generator, months.size())]);
        }
        diffs.push_back(difference(total));
    }
    Percentiles95(std::move(diffs), result.Low, result.High);
    result.Verdict = result.Months < PortfolioMinMonths ? "trop peu"
                     : result.Low > 0                   ? "mieux"
                     : result.High < 0                  ? "moins bien"
                                                        : "indecis";
    return result;
}

}  // namespace cotalys
