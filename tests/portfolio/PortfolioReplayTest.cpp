// The replay of the evening scan over bundled histories, run as a backtest runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "portfolio/Portfolio.h"
#include "support/OfflineQuotes.h"

namespace cotalys {
namespace {

// Twelve bundled stocks over the three years to 22 February 2021.
const std::vector<std::string> Symbols = {"AI.PA",  "BNP.PA", "CAP.PA", "DG.PA",
                                          "EN.PA",  "GLE.PA", "KER.PA", "MC.PA",
                                          "ORA.PA", "RNO.PA", "SAN.PA", "SU.PA"};

std::vector<std::string> WithIndex() {
    std::vector<std::string> all = Symbols;
    all.push_back(MarketIndexSymbol);
    return all;
}

// The histories a three-year backtest keeps, and the user's settings: 30,000 EUR, three
// positions, BoursoBank Trader in a PEA.
TRunHistory RunHistory() {
    TRunHistory history;
    TBacktestRunner runner(Symbols, StandardVariants());
    runner.SetYears(3);
    runner.SetDelayMs(0);
    runner.SetUseStore(false);
    TSizingParams sizing = TSizingParams::Default();
    sizing.Capital = 30000;
    sizing.MaxPositions = 3;
    sizing.FeePlan = TFeePlan::fpBoursoTrader;
    sizing.IsPEA = true;
    runner.SetSizing(sizing);
    runner.SetExtension([&](const TRunHistory& AHistory) {
        history = AHistory;
        return TReportAddition{};
    });
    runner.Run({}, {});
    return history;
}

class PortfolioReplay : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Quotes = std::make_unique<test::TOfflineQuotes>(WithIndex());
        History = std::make_unique<TRunHistory>(RunHistory());
        Sessions = PeriodSessions(*History);
        Book = SimulateStrategy(*History, Sessions,
                                [](const TScanEvening& AEvening) { Evenings.push_back(AEvening); });
    }
    static void TearDownTestSuite() {
        Quotes.reset();
        History.reset();
        Evenings.clear();
    }

    static const TPriceSeries& SeriesOf(const std::string& ASymbol) {
        for (const TRunSymbol& symbol : History->Symbols) {
            if (symbol.Series.Symbol() == ASymbol) {
                return symbol.Series;
            }
        }
        throw std::runtime_error("no history of " + ASymbol);
    }
    // The close of ASymbol on ADay or the session before it.
    static double CloseOn(const std::string& ASymbol, TDateTime ADay) {
        const TPriceSeries& series = SeriesOf(ASymbol);
        return series.Bars()[series.IndexOfFirstOnOrAfter(ADay + 1) - 1].Close;
    }

    static inline std::unique_ptr<test::TOfflineQuotes> Quotes;
    static inline std::unique_ptr<TRunHistory> History;
    static inline std::vector<TDateTime> Sessions;
    static inline TPortfolioBook Book;
    static inline std::vector<TScanEvening> Evenings;
};

TEST_F(PortfolioReplay, EveryFigureReconcilesWithTheTrades) {
    ASSERT_EQ(Book.Days.size(), Sessions.size());
    ASSERT_GT(Book.Trades.size(), 20u);
    double results = 0;
    for (const TTrade& trade : Book.Trades) {
        results += trade.ResultEur();
        // The evening of its signal's scan came before the purchase.
        EXPECT_GT(trade.EntryDate, trade.SignalDate) << trade.Symbol;
        EXPECT_EQ(trade.Shares, std::floor(trade.Shares));
    }
    EXPECT_NEAR(Book.FinalValue(), Book.Capital + results, 0.005);

    for (const TPortfolioDay& day : Book.Days) {
        SCOPED_TRACE(FrenchDate(day.Date));
        EXPECT_GE(day.Cash, -1e-9);
        int held = 0;
        double invested = 0;
        for (const TTrade& trade : Book.Trades) {
            const bool open =
                trade.EntryDate <= day.Date &&
                (day.Date < trade.ExitDate || trade.Reason == TExitReason::erPeriodEnd);
            if (open) {
                ++held;
                invested += trade.Shares * CloseOn(trade.Symbol, day.Date);
            }
        }
        EXPECT_EQ(day.Positions, held);
        EXPECT_LE(held, History->Sizing.MaxPositions);
        EXPECT_NEAR(day.Invested, invested, 1e-6);
    }
}

// Each evening's rows are those the daily scanner gives, run as of that evening over the same
// data on the stocks not held, with the settings of the portfolio of that evening.
TEST_F(PortfolioReplay, EveningRowsAreTheDailyScannersOwn) {
    std::vector<const TScanEvening*> chosen;
    for (std::size_t i = 0; i < Evenings.size();
         i += std::max<std::size_t>(1, Evenings.size() / 12)) {
        chosen.push_back(&Evenings[i]);
    }
    ASSERT_GE(chosen.size(), 10u);
    int compared = 0;
    for (const TScanEvening* evening : chosen) {
        SCOPED_TRACE(FrenchDate(evening->Date));
        std::vector<std::string> notHeld;
        for (const std::string& symbol : Symbols) {
            if (std::find(evening->Held.begin(), evening->Held.end(), symbol) ==
                evening->Held.end()) {
                notHeld.push_back(symbol);
            }
        }
        SetClock([evening] { return evening->Date + 0.75; });
        TDailyScanner scanner(notHeld);
        scanner.SetDelayMs(0);
        scanner.SetUseStore(false);
        scanner.SetSizing(evening->Sizing);
        std::vector<TScanRow> rows = scanner.Run({}, {});
        std::erase_if(rows, [](const TScanRow& R) { return R.Status != TScanStatus::ssSignal; });
        std::vector<TScanRow> mineRows = evening->Rows;
        std::erase_if(mineRows,
                      [](const TScanRow& R) { return R.Status != TScanStatus::ssSignal; });
        const auto names = [](const std::vector<TScanRow>& ARows) {
            std::string text;
            for (const TScanRow& row : ARows) {
                text += row.Symbol + " ";
            }
            return text;
        };
        ASSERT_EQ(names(mineRows), names(rows));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const TScanRow& mine = mineRows[r];
            EXPECT_EQ(mine.Symbol, rows[r].Symbol);
            EXPECT_EQ(mine.SignalDate, rows[r].SignalDate);
            EXPECT_EQ(mine.Invalidated, rows[r].Invalidated);
            EXPECT_EQ(mine.Size.Valid, rows[r].Size.Valid);
            EXPECT_EQ(mine.Size.Shares, rows[r].Size.Shares);
            EXPECT_EQ(mine.Selected, rows[r].Selected);
            EXPECT_EQ(mine.SelectionNote, rows[r].SelectionNote);
            ++compared;
        }
    }
    ResetClock();
    EXPECT_GE(compared, 10);
}

// Histories cut at a session of the period give the same purchases up to that session.
TEST_F(PortfolioReplay, NoPurchaseDependsOnLaterSessions) {
    const TDateTime cut = Sessions[Sessions.size() / 2];
    TRunHistory shorter = *History;
    shorter.Period.Today = cut;
    for (TRunSymbol& symbol : shorter.Symbols) {
        symbol.Series = symbol.Series.Between(0, cut);
        std::erase_if(symbol.SignalDates, [&](TDateTime D) { return D > cut; });
    }
    shorter.Index = shorter.Index->Between(0, cut);
    const TPortfolioBook book = SimulateStrategy(shorter, PeriodSessions(shorter));

    const auto entries = [&](const TPortfolioBook& ABook) {
        std::vector<std::string> list;
        for (const TTrade& trade : ABook.Trades) {
            if (trade.EntryDate <= cut) {
                list.push_back(Format("%s %s %g x %g stop %g", trade.Symbol,
                                      FrenchDate(trade.EntryDate), trade.Shares, trade.EntryPrice,
                                      trade.StopPrice));
            }
        }
        std::sort(list.begin(), list.end());
        return list;
    };
    EXPECT_FALSE(entries(book).empty());
    EXPECT_EQ(entries(book), entries(Book));
}

TEST_F(PortfolioReplay, TheBenchmarksBuyOnTheFirstMorningAndHold) {
    const TPortfolioBook equal = SimulateEqualWeight(*History, Sessions);
    ASSERT_EQ(equal.Trades.size(), Symbols.size());
    double results = 0;
    for (const TTrade& trade : equal.Trades) {
        EXPECT_EQ(trade.EntryDate, Sessions.front());
        EXPECT_EQ(trade.Reason, TExitReason::erPeriodEnd);
        EXPECT_LE(trade.Cost(), equal.Capital / static_cast<double>(Symbols.size()));
        EXPECT_NEAR(trade.Brokerage, std::min(0.005 * trade.Shares * trade.EntryPrice, 16.65),
                    1e-9);
        results += trade.ResultEur();
    }
    EXPECT_NEAR(equal.FinalValue(), equal.Capital + results, 0.005);

    const TPortfolioBook index = SimulateIndex(*History, Sessions);
    ASSERT_EQ(index.Trades.size(), 1u);
    EXPECT_EQ(index.Trades[0].TTF, 0) << "the index is not taxed";
    EXPECT_NEAR(index.Trades[0].Cost(), index.Capital, 0.01) << "the whole capital is invested";
    EXPECT_NEAR(index.FinalValue(), index.Capital + index.Trades[0].ResultEur(), 0.005);
}

// Ten years of the bundled histories, with their year of warm-up and the fifteen months the
// scan looks back on the first evening.
TEST(PortfolioReplayOfTenYears, StartsOnThePeriodsFirstSession) {
    const test::TOfflineQuotes quotes({"AI.PA", "OR.PA", "^FCHI"});
    TBacktestRunner runner({"AI.PA", "OR.PA"}, StandardVariants());
    runner.SetYears(10);
    runner.SetDelayMs(0);
    runner.SetUseStore(false);
    auto simulation = std::make_shared<TPortfolioSimulation>();
    runner.SetExtension(PortfolioExtension(simulation));
    const std::string report = runner.Run({}, {});
    EXPECT_NE(report.find("Backtest sur 2 titre(s) analyse(s) sur 2, 10 an(s) : 22/02/2011 - "
                          "22/02/2021"),
              std::string::npos);
    ASSERT_FALSE(simulation->Empty());
    EXPECT_EQ(simulation->Strategy.Days.front().Date, EncodeDate(2011, 2, 22));
    EXPECT_EQ(simulation->Strategy.Days.back().Date, EncodeDate(2021, 2, 22));
    EXPECT_EQ(simulation->Index.Days.size(), simulation->Strategy.Days.size());
    EXPECT_FALSE(simulation->Strategy.Trades.empty());
    EXPECT_EQ(runner.AdditionFileNames().size(), 2u);
}

}  // namespace
}  // namespace cotalys
