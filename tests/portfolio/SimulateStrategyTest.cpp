#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "portfolio/Portfolio.h"

namespace cotalys {
namespace {

// One stock, TST.PA (subject to the tax), flat at 100 (low 99, high 101) on consecutive
// weekdays from Monday 6 January 2020, with a signal on the first evening and a stop at 90.
struct TCase {
    const char* Name;
    std::function<void(TRunHistory&)> Change;  // the bars, settings or dividends of the case
    int Shares;                                // bought at the second session's open
    double EntryPrice;
    TExitReason Reason;
    int ExitBar;
    double ExitPrice;
    double Dividends = 0;
};

constexpr int FlatBars = 30;
constexpr double Stop = 90;

TDateTime DayOfBar(int ABar) {
    return EncodeDate(2020, 1, 6) + ABar / 5 * 7 + ABar % 5;
}

TRunHistory FlatHistory() {
    TRunHistory history;
    TPriceSeries series("TST.PA");
    for (int i = 0; i < FlatBars; ++i) {
        series.Add(TPriceBar::New(DayOfBar(i), 100, 101, 99, 100, 1000));
    }
    history.Symbols.push_back({series, {DayOfBar(0)}});
    history.Period = {1, DayOfBar(0), DayOfBar(FlatBars - 1)};
    history.Sizing = TSizingParams::Default();
    history.Sizing.Capital = 10000;
    history.Sizing.SlippageFactor = 1;
    history.Sizing.MaxPositionPct = 100;
    return history;
}

void SetBar(TRunHistory& AHistory, int ABar, double AOpen, double ALow, double AClose) {
    TPriceSeries& series = AHistory.Symbols[0].Series;
    std::vector<TPriceBar> bars = series.Bars();
    bars[ABar] =
        TPriceBar::New(DayOfBar(ABar), AOpen, std::max(AOpen, AClose) + 1, ALow, AClose, 1000);
    series.Clear();
    for (const TPriceBar& bar : bars) {
        series.Add(bar);
    }
}

// A signal row on the evening the series ends, with its stop at 90, sized as the scan sizes it.
TScanRow SignalRow(const TPriceSeries& ASeries, const TSizingParams& ASizing) {
    TScanRow row;
    row.Symbol = ASeries.Symbol();
    row.Status = TScanStatus::ssSignal;
    row.LastDate = ASeries.Last().Date;
    row.LastClose = ASeries.Last().Close;
    row.SignalDate = ASeries.Last().Date;
    row.SignalPrice = row.LastClose;
    row.StopPrice = Stop;
    row.ZoneBottom = 95;
    row.Size = ComputePositionSize(ASizing, row.LastClose, row.StopPrice, row.Symbol);
    return row;
}

// The final value is the capital plus every trade's result, and each session's value the cash
// plus the shares held at their close: both recomputed from the trades alone.
void ExpectBooksBalance(const TRunHistory& AHistory, const TPortfolioBook& ABook) {
    double results = 0;
    for (const TTrade& trade : ABook.Trades) {
        results += trade.Shares * trade.ExitPrice - trade.ExitBrokerage -
                   trade.Shares * trade.EntryPrice - trade.Brokerage - trade.TTF + trade.Dividends;
    }
    EXPECT_NEAR(ABook.FinalValue(), ABook.Capital + results, 0.005);
    const TPriceSeries& series = AHistory.Symbols[0].Series;
    for (std::size_t d = 0; d < ABook.Days.size(); ++d) {
        const TPortfolioDay& day = ABook.Days[d];
        EXPECT_GE(day.Cash, 0);
        double held = 0;
        for (const TTrade& trade : ABook.Trades) {
            if (trade.EntryDate <= day.Date &&
                (day.Date < trade.ExitDate || trade.Reason == TExitReason::erPeriodEnd)) {
                held += trade.Shares * series.Bars()[d].Close;
            }
        }
        EXPECT_NEAR(day.Invested, held, 1e-6) << FrenchDate(day.Date);
    }
}

TEST(PortfolioSimulator, OneSignalFromItsPurchaseToItsExit) {
    const std::vector<TCase> cases = {
        {"stop reached during the session, sold at the stop",
         [](TRunHistory& H) { SetBar(H, 4, 95, 89, 92); }, 9, 100, TExitReason::erStop, 4, 90},
        {"opening below the stop, sold at the open",
         [](TRunHistory& H) { SetBar(H, 4, 85, 84, 86); }, 9, 100, TExitReason::erStop, 4, 85},
        {"the stop of the entry session itself is not tested",
         [](TRunHistory& H) { SetBar(H, 1, 100, 80, 95); }, 9, 100, TExitReason::erHorizon, 21,
         100},
        {"stop on the close: a low below it is not enough",
         [](TRunHistory& H) {
             H.Setting.StopMode = TStopMode::smClose;
             SetBar(H, 4, 95, 85, 95);
             SetBar(H, 5, 92, 88, 89);
         },
         9, 100, TExitReason::erStop, 5, 89},
        {"no stop: sold at the close of the 20th session after the entry",
         [](TRunHistory& H) { SetBar(H, 21, 100, 99, 107); }, 9, 100, TExitReason::erHorizon, 21,
         107},
        {"still held on the last session: valued at its close",
         [](TRunHistory& H) { H.Period.Today = DayOfBar(9); }, 9, 100, TExitReason::erPeriodEnd, 9,
         100},
        {"a dividend detached while held is paid, not one on the morning of the purchase",
         [](TRunHistory& H) {
             H.Symbols[0].Series.AddDividend(DayOfBar(1), 5);
             H.Symbols[0].Series.AddDividend(DayOfBar(3), 2);
         },
         9, 100, TExitReason::erHorizon, 21, 100, 18},
        {"the open above the evening's close: fewer shares, as many as the cash pays",
         [](TRunHistory& H) {
             H.Sizing.RiskPct = 10;
             H.Sizing.MaxTotalRiskPct = 10;
             SetBar(H, 1, 120, 119, 120);
         },
         83, 120, TExitReason::erHorizon, 21, 100},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRunHistory history = FlatHistory();
        c.Change(history);
        const TPortfolioBook book =
            SimulateStrategy(history, PeriodSessions(history), {}, SignalRow);
        ASSERT_EQ(book.Trades.size(), 1u);
        const TTrade& trade = book.Trades[0];
        EXPECT_EQ(trade.SignalDate, DayOfBar(0));
        EXPECT_EQ(trade.EntryDate, DayOfBar(1));
        EXPECT_EQ(trade.Shares, c.Shares);
        EXPECT_EQ(trade.EntryPrice, c.EntryPrice);
        EXPECT_NEAR(trade.TTF, trade.Shares * trade.EntryPrice * 0.004, 1e-9);
        EXPECT_EQ(trade.Reason, c.Reason);
        EXPECT_EQ(trade.ExitDate, DayOfBar(c.ExitBar));
        EXPECT_EQ(trade.Sessions, c.ExitBar - 1);
        EXPECT_DOUBLE_EQ(trade.ExitPrice, c.ExitPrice);
        EXPECT_DOUBLE_EQ(trade.Dividends, c.Dividends);
        ExpectBooksBalance(history, book);
    }
}

TEST(PortfolioSimulator, BrokerageFollowsThePlanAndThePeaCap) {
    const auto decouverte = [](double A) { return A <= 500 ? 1.99 : 0.006 * A; };
    const auto trader = [](double A) { return A <= 7750 ? 16.65 : 0.0022 * A; };
    const auto pea = [](std::function<double(double)> AFee) {
        return [AFee](double A) { return std::min(AFee(A), 0.005 * A); };
    };
    struct TFeeCase {
        const char* Name;
        TFeePlan Plan;
        bool IsPEA;
        std::function<double(double)> Fee;  // of one order of that amount
    };
    const std::vector<TFeeCase> cases = {
        {"BoursoBank Decouverte", TFeePlan::fpBoursoDecouverte, false, decouverte},
        {"BoursoBank Decouverte in a PEA", TFeePlan::fpBoursoDecouverte, true, pea(decouverte)},
        {"BoursoBank Trader", TFeePlan::fpBoursoTrader, false, trader},
        {"BoursoBank Trader in a PEA", TFeePlan::fpBoursoTrader, true, pea(trader)},
    };
    for (const TFeeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRunHistory history = FlatHistory();
        history.Sizing.FeePlan = c.Plan;
        history.Sizing.IsPEA = c.IsPEA;
        SetBar(history, 4, 95, 89, 92);
        const TPortfolioBook book =
            SimulateStrategy(history, PeriodSessions(history), {}, SignalRow);
        ASSERT_EQ(book.Trades.size(), 1u);
        const TTrade& trade = book.Trades[0];
        ASSERT_GT(trade.Shares, 0);
        EXPECT_NEAR(trade.Brokerage, c.Fee(trade.Shares * 100), 1e-9);
        EXPECT_NEAR(trade.ExitBrokerage, c.Fee(trade.Shares * Stop), 1e-9);
        if (c.IsPEA) {
            EXPECT_NEAR(trade.Brokerage, 0.005 * trade.Shares * 100, 1e-9) << "the cap applies";
        }
        ExpectBooksBalance(history, book);
    }
}

}  // namespace
}  // namespace cotalys
