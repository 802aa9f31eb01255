#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "portfolio/Portfolio.h"

namespace cotalys {
namespace {

// A book of capital 100 whose values on successive dates are AValues, fully invested.
TPortfolioBook BookOf(const std::vector<TDateTime>& ADates, const std::vector<double>& AValues) {
    TPortfolioBook book;
    book.Capital = 100;
    for (std::size_t i = 0; i < AValues.size(); ++i) {
        book.Days.push_back({ADates[i], 0, AValues[i], 1});
    }
    return book;
}

TTrade TradeOf(double AEntry, double AExit, double ABrokerage, double ATTF, int ASessions) {
    TTrade trade;
    trade.Shares = 10;
    trade.EntryPrice = AEntry;
    trade.ExitPrice = AExit;
    trade.Brokerage = ABrokerage;
    trade.ExitBrokerage = ABrokerage;
    trade.TTF = ATTF;
    trade.Sessions = ASessions;
    return trade;
}

TEST(PortfolioStats, ReturnsFallsAndTradesOfASmallBook) {
    const TDateTime first = EncodeDate(2016, 1, 4);
    // Four years to the day, a leap day among them: 1,461 days, four years of 365.25 days.
    TPortfolioBook book =
        BookOf({first, first + 1, first + 2, first + 3, first + 1461}, {110, 99, 121, 88, 132});
    book.Days[1].Positions = 0;
    book.Days[1].Cash = 99;
    book.Days[1].Invested = 0;
    book.Trades = {TradeOf(10, 12, 1, 0.5, 10), TradeOf(10, 9, 1, 0.5, 30)};
    const TPortfolioStats stats = PortfolioStats(book);

    EXPECT_DOUBLE_EQ(stats.FinalValue, 132);
    EXPECT_NEAR(stats.TotalReturnPct, 32, 1e-9);
    EXPECT_NEAR(stats.AnnualReturnPct, (std::pow(1.32, 0.25) - 1) * 100, 1e-9);
    // From 121 down to 88, the deepest of the two falls (110 to 99 is the other).
    EXPECT_NEAR(stats.MaxDrawdownPct, (88.0 / 121 - 1) * 100, 1e-9);
    EXPECT_EQ(stats.PeakDate, first + 2);
    EXPECT_EQ(stats.TroughDate, first + 3);
    EXPECT_NEAR(stats.ExposurePct, 80, 1e-9);
    EXPECT_NEAR(stats.AvgInvestedPct, 80, 1e-9);
    EXPECT_EQ(stats.Trades, 2);
    EXPECT_NEAR(stats.WinnersPct, 50, 1e-9);
    // 20 EUR gained less 2.5 EUR of fees on a cost of 101.5 EUR; 10 EUR lost plus 2.5 EUR.
    EXPECT_NEAR(stats.AvgWinPct, 17.5 / 101.5 * 100, 1e-9);
    EXPECT_NEAR(stats.AvgLossPct, -12.5 / 101.5 * 100, 1e-9);
    EXPECT_NEAR(stats.Brokerage, 4, 1e-9);
    EXPECT_NEAR(stats.TTF, 1, 1e-9);
    EXPECT_NEAR(stats.AvgSessions, 20, 1e-9);

    const std::vector<double> drawdowns = DrawdownsPct(book);
    ASSERT_EQ(drawdowns.size(), 5u);
    EXPECT_NEAR(drawdowns[1], -10, 1e-9);
    EXPECT_NEAR(drawdowns[4], 0, 1e-9);
    EXPECT_NEAR(DailyReturns(book)[0], 0.1, 1e-12) << "the first return counts from the capital";
}

TEST(PortfolioFigures, YearReturnsChainFromTheCapital) {
    TPortfolioSimulation simulation;
    simulation.Sizing.Capital = 100;
    simulation.Strategy = BookOf({EncodeDate(2019, 12, 30), EncodeDate(2019, 12, 31),
                                  EncodeDate(2020, 1, 2), EncodeDate(2020, 6, 30)},
                                 {105, 110, 99, 121});
    simulation.EqualWeight = simulation.Strategy;
    simulation.EqualWeight.Name = "Egal-pondere";
    const TPortfolioFigures figures = PortfolioFiguresOf(simulation);
    EXPECT_EQ(figures.Years, (std::vector<int>{2019, 2020}));
    ASSERT_EQ(figures.Curves.size(), 2u) << "no index, no third curve";
    EXPECT_EQ(figures.Curves[1].Name, "Egal-pondere");
    ASSERT_EQ(figures.Curves[0].YearReturnPct.size(), 2u);
    EXPECT_NEAR(figures.Curves[0].YearReturnPct[0], 10, 1e-9);
    EXPECT_NEAR(figures.Curves[0].YearReturnPct[1], 10, 1e-9) << "from 110 to 121";
    EXPECT_EQ(figures.Curves[0].Values.size(), 4u);
}

// Weekdays of AMonths calendar months from January 2016.
std::vector<TDateTime> Weekdays(int AMonths) {
    std::vector<TDateTime> days;
    for (TDateTime day = EncodeDate(2016, 1, 1); day < IncMonth(EncodeDate(2016, 1, 1), AMonths);
         ++day) {
        if (IsoDayOfWeek(day) <= 5) {
            days.push_back(day);
        }
    }
    return days;
}

// A book over ADays whose daily return swings by 1 % around AExtra, so that months differ.
TPortfolioBook Growing(const std::vector<TDateTime>& ADays, double AExtra) {
    std::vector<double> values;
    double value = 100;
    for (std::size_t i = 0; i < ADays.size(); ++i) {
        value *= 1 + 0.01 * std::sin(static_cast<double>(i)) + AExtra;
        values.push_back(value);
    }
    return BookOf(ADays, values);
}

TEST(PortfolioComparison, VerdictFromTheIntervalOfMonthResamples) {
    const struct {
        const char* Name;
        int Months;
        double StrategyExtra;
        const char* Verdict;
    } cases[] = {
        {"the same returns", 36, 0, "indecis"},
        {"a tenth of a percent more every session", 36, 0.001, "mieux"},
        {"a tenth of a percent less every session", 36, -0.001, "moins bien"},
        {"eleven months tell nothing", 11, 0.001, "trop peu"},
        {"twelve months are enough", 12, 0.001, "mieux"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<TDateTime> days = Weekdays(c.Months);
        const TPortfolioBook benchmark = Growing(days, 0);
        const TPortfolioBook strategy = Growing(days, c.StrategyExtra);
        const TPortfolioComparison result = ComparePortfolios(strategy, benchmark, 7);
        EXPECT_EQ(result.Months, c.Months);
        EXPECT_EQ(result.Verdict, c.Verdict);
        EXPECT_LE(result.Low, result.Diff);
        EXPECT_GE(result.High, result.Diff);
        const TPortfolioComparison again = ComparePortfolios(strategy, benchmark, 7);
        EXPECT_EQ(again.Low, result.Low) << "the same seed draws the same months";
        EXPECT_EQ(again.High, result.High);
    }
}

}  // namespace
}  // namespace cotalys
