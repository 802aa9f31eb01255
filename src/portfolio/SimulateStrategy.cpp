#include "portfolio/SimulateStrategy.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "portfolio/PortfolioLedger.h"

namespace cotalys {
namespace {

// A purchase decided one evening, made at the next session's open.
struct TOrder {
    int Symbol = 0;
    double Shares = 0;
    double Stop = 0;
    TDateTime SignalDate = 0;
};

std::vector<const TPriceSeries*> SeriesOf(const TRunHistory& AHistory) {
    std::vector<const TPriceSeries*> series;
    for (const TRunSymbol& symbol : AHistory.Symbols) {
        series.push_back(&symbol.Series);
    }
    return series;
}

// The period's sessions of one series.
void AddSessions(const TPriceSeries& ASeries, const TBacktestPeriod& APeriod,
                 std::set<TDateTime>& ASessions) {
    for (const TPriceBar& bar : ASeries.Bars()) {
        if (bar.Date >= std::trunc(APeriod.Start) && bar.Date <= std::trunc(APeriod.Today)) {
            ASessions.insert(bar.Date);
        }
    }
}

// The replay of the evening scan: one ledger, the orders of the last evening, the signals of
// each symbol as bar indices.
class TStrategyReplay {
public:
    TStrategyReplay(const TRunHistory& AHistory, const TScanEveningObserver& AObserver,
                    const TEveningRowSource& ARowSource)
        : FHistory(AHistory),
          FObserver(AObserver),
          FRowSource(ARowSource),
          FTape(SeriesOf(AHistory)),
          FLedger("Strategie", AHistory.Sizing.Capital, AHistory.Sizing, FTape),
          FScanner(SymbolNames(AHistory)) {
        FScanner.SetSignalParams(AHistory.Setting);
        for (const TRunSymbol& symbol : AHistory.Symbols) {
            std::vector<int> bars;
            for (TDateTime date : symbol.SignalDates) {
                bars.push_back(symbol.Series.IndexOfFirstOnOrAfter(date));
            }
            FSignalBars.push_back(std::move(bars));
        }
    }

    TPortfolioBook Run(const std::vector<TDateTime>& ASessions) {
        TDateTime previous = -std::numeric_limits<double>::infinity();
        for (std::size_t t = 0; t < ASessions.size(); ++t) {
            FTape.MoveTo(ASessions[t]);
            for (const TOrder& order : FOrders) {
                FLedger.Buy(order.Symbol, order.Shares, order.Stop, order.SignalDate);
            }
            FOrders.clear();
            FLedger.CreditDividends(previous);
            Exits();
            FLedger.CloseSession();
            if (t + 1 < ASessions.size()) {
                Evening();
            }
            previous = FTape.Today();
        }
        return FLedger.Finish();
    }

private:
    static std::vector<std::string> SymbolNames(const TRunHistory& AHistory) {
        std::vector<std::string> names;
        for (const TRunSymbol& symbol : AHistory.Symbols) {
            names.push_back(symbol.Series.Symbol());
        }
        // The scanner refuses an empty list; a run without a symbol never has an evening row.
        return names.empty() ? std::vector<std::string>{MarketIndexSymbol} : names;
    }

    // Stops, then the planned exits, for the positions bought before today that trade today.
    void Exits() {
        const TStopMode mode = FHistory.Setting.StopMode;
        for (std::size_t p = FLedger.Open().size(); p-- > 0;) {
            const TOpenPosition& position = FLedger.Open()[p];
            const int bar = FTape.BarOn(position.Symbol);
            if (bar < 0 || position.EntryBar == bar) {
                continue;
            }
            const TPriceBar& today = FTape.Bar(position.Symbol, bar);
            const double stop = position.Trade.StopPrice;
            if (mode == TStopMode::smIntraday && today.Low <= stop) {
                // A session that opens below the stop cannot be sold at the stop.
                FLedger.Sell(p, std::min(today.Open, stop), TExitReason::erStop);
            } else if (mode == TStopMode::smClose && today.Close <= stop) {
                FLedger.Sell(p, today.Close, TExitReason::erStop);
            } else if (bar - position.EntryBar >= SignalHorizonSessions) {
                FLedger.Sell(p, today.Close, TExitReason::erHorizon);
            }
        }
    }

    // A signal on one of the bars the daily scan looks at this evening. The run's signals start
    // with the period: on its first evenings, whose bars reach before it, any symbol may have one.
    bool MayHaveRecentSignal(int ASymbol) const {
        const int last = FTape.LastBar(ASymbol);
        const int first = last - FScanner.RecentBars() + 1;
        if (last < 0) {
            return false;
        }
        if (first < 0 || FTape.Bar(ASymbol, first).Date < std::trunc(FHistory.Period.Start)) {
            return true;
        }
        const std::vector<int>& bars = FSignalBars[ASymbol];
        const auto found = std::lower_bound(bars.begin(), bars.end(), first);
        return found != bars.end() && *found <= last;
    }

    // The scan's settings holding this evening's portfolio.
    TSizingParams EveningSizing(double AValue) const {
        TSizingParams sizing = FHistory.Sizing;
        sizing.Capital = AValue;
        sizing.OpenPositions = static_cast<int>(FLedger.Open().size());
        sizing.InvestedAmount = FLedger.Invested();
        double risk = 0;
        for (const TOpenPosition& position : FLedger.Open()) {
            const double distance = FTape.LastClose(position.Symbol) - position.Trade.StopPrice;
            risk += std::max(0.0, position.Trade.Shares * distance * sizing.SlippageFactor);
        }
        sizing.OpenRiskPct = risk / AValue * 100;
        return sizing;
    }

    // Whether the selection could retain anything, by its first rules: a free position, risk
    // left to take and cash left. Without, no row can be bought and none is evaluated.
    static bool HasRoom(const TSizingParams& ASizing) {
        return ASizing.MaxPositions - ASizing.OpenPositions > 0 &&
               ASizing.MaxTotalRiskPct - ASizing.OpenRiskPct >= TDailyScanner::MinRiskLeftPct &&
               ASizing.Capital - ASizing.InvestedAmount > 0;
    }

    void Evening() {
        const double value = FLedger.Cash() + FLedger.Invested();
        if (!(value > 0)) {
            return;
        }
        TScanEvening evening;
        evening.Date = FTape.Today();
        evening.Sizing = EveningSizing(value);
        if (!HasRoom(evening.Sizing)) {
            return;
        }
        FScanner.SetSizing(evening.Sizing);
        const auto row = [&](const TPriceSeries& ASeries) {
            return FRowSource ? FRowSource(ASeries, evening.Sizing) : FScanner.Evaluate(ASeries);
        };
        const TDateTime from = IncMonth(evening.Date, -TRunHistory::HistoryMonthsBeforePeriod);
        std::map<std::string, int> symbolIndex;
        for (int s = 0; s < FTape.SymbolCount(); ++s) {
            const std::string& symbol = FTape.Series(s).Symbol();
            if (FLedger.Holds(s)) {
                evening.Held.push_back(symbol);
            } else if (MayHaveRecentSignal(s)) {
                try {
                    evening.Rows.push_back(row(FTape.Series(s).Between(from, evening.Date)));
                    symbolIndex[symbol] = s;
                } catch (const std::exception&) {
                    // The scan would show an error row, which is never selected.
                }
            }
        }
        if (evening.Rows.empty()) {
            return;
        }
        TDailyScanner::SortRows(evening.Rows);
        TDailyScanner::ApplyPortfolio(evening.Rows, evening.Sizing, Market(from, evening.Date));
        for (const TScanRow& row : evening.Rows) {
            if (row.Selected) {
                FOrders.push_back({symbolIndex[row.Symbol], static_cast<double>(row.Size.Shares),
                                   row.StopPrice, row.SignalDate});
            }
        }
        if (FObserver) {
            FObserver(evening);
        }
    }

    // The index's context as the scan loads it, when the phase filter asks for it.
    TMarketContext Market(TDateTime AFrom, TDateTime ATo) const {
        if (!FHistory.Sizing.OnlyFavorablePhase) {
            return InvalidMarketContext(MarketIndexSymbol, "non calcule");
        }
        if (!FHistory.Index) {
            return InvalidMarketContext(MarketIndexSymbol, "indice indisponible");
        }
        try {
            const TPriceSeries index = FHistory.Index->Between(AFrom, ATo);
            return BuildMarketContext(&index);
        } catch (const std::exception& e) {
            return InvalidMarketContext(FHistory.Index->Symbol(), e.what());
        }
    }

    const TRunHistory& FHistory;
    const TScanEveningObserver& FObserver;
    const TEveningRowSource& FRowSource;
    TSessionTape FTape;
    TPortfolioLedger FLedger;
    TDailyScanner FScanner;
    std::vector<std::vector<int>> FSignalBars;
    std::vector<TOrder> FOrders;
};

// Buys every series of ASeries with an equal share of the capital at the first session's open
// and holds them to the end.
TPortfolioBook BuyAndHold(const std::string& AName, std::vector<const TPriceSeries*> ASeries,
                          const TRunHistory& AHistory, const std::vector<TDateTime>& ASessions,
                          bool AFractional) {
    TSessionTape tape(std::move(ASeries));
    TPortfolioLedger ledger(AName, AHistory.Sizing.Capital, AHistory.Sizing, tape);
    TDateTime previous = 0;
    for (std::size_t t = 0; t < ASessions.size(); ++t) {
        tape.MoveTo(ASessions[t]);
        if (t == 0) {
            std::vector<int> trading;
            for (int s = 0; s < tape.SymbolCount(); ++s) {
                if (tape.BarOn(s) >= 0) {
                    trading.push_back(s);
                }
            }
            for (int s : trading) {
                const double budget = AHistory.Sizing.Capital / static_cast<double>(trading.size());
                const double price = tape.Bar(s, tape.BarOn(s)).Open;
                ledger.Buy(s, ledger.AffordableShares(s, price, budget, AFractional), 0, 0,
                           AFractional);
            }
        } else {
            ledger.CreditDividends(previous);
        }
        ledger.CloseSession();
        previous = tape.Today();
    }
    return ledger.Finish();
}

}  // namespace

std::vector<TDateTime> PeriodSessions(const TRunHistory& AHistory) {
    std::set<TDateTime> sessions;
    if (AHistory.Index) {
        AddSessions(*AHistory.Index, AHistory.Period, sessions);
    } else {
        for (const TRunSymbol& symbol : AHistory.Symbols) {
            AddSessions(symbol.Series, AHistory.Period, sessions);
        }
    }
    return {sessions.begin(), sessions.end()};
}

TPortfolioBook SimulateStrategy(const TRunHistory& AHistory,
                                const std::vector<TDateTime>& ASessions,
                                const TScanEveningObserver& AObserver,
                                const TEveningRowSource& ARowSource) {
    return TStrategyReplay(AHistory, AObserver, ARowSource).Run(ASessions);
}

TPortfolioBook SimulateEqualWeight(const TRunHistory& AHistory,
                                   const std::vector<TDateTime>& ASessions) {
    return BuyAndHold("Egal-pondere", SeriesOf(AHistory), AHistory, ASessions, false);
}

TPortfolioBook SimulateIndex(const TRunHistory& AHistory, const std::vector<TDateTime>& ASessions) {
    if (!AHistory.Index) {
        TPortfolioBook empty;
        empty.Name = "CAC 40";
        empty.Capital = AHistory.Sizing.Capital;
        return empty;
    }
    return BuyAndHold("CAC 40", {&*AHistory.Index}, AHistory, ASessions, true);
}

}  // namespace cotalys
