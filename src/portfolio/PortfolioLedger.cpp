#include "portfolio/PortfolioLedger.h"

#include <algorithm>
#include <cmath>

namespace cotalys {

TSessionTape::TSessionTape(std::vector<const TPriceSeries*> ASeries)
    : FSeries(std::move(ASeries)), FLast(FSeries.size(), -1) {}

void TSessionTape::MoveTo(TDateTime ADay) {
    FToday = std::trunc(ADay);
    for (std::size_t s = 0; s < FSeries.size(); ++s) {
        const std::vector<TPriceBar>& bars = FSeries[s]->Bars();
        int& last = FLast[s];
        while (last + 1 < static_cast<int>(bars.size()) && bars[last + 1].Date <= FToday) {
            ++last;
        }
    }
}

int TSessionTape::BarOn(int ASymbol) const {
    const int last = FLast[ASymbol];
    return last >= 0 && Bar(ASymbol, last).Date == FToday ? last : -1;
}

double TSessionTape::LastClose(int ASymbol) const {
    const int last = FLast[ASymbol];
    return last >= 0 ? Bar(ASymbol, last).Close : 0;
}

TPortfolioLedger::TPortfolioLedger(std::string AName, double ACapital, const TSizingParams& ASizing,
                                   const TSessionTape& ATape)
    : FTape(ATape), FSizing(ASizing), FCash(ACapital) {
    FBook.Name = std::move(AName);
    FBook.Capital = ACapital;
}

double TPortfolioLedger::Invested() const {
    double sum = 0;
    for (const TOpenPosition& position : FOpen) {
        sum += position.Trade.Shares * FTape.LastClose(position.Symbol);
    }
    return sum;
}

bool TPortfolioLedger::Holds(int ASymbol) const {
    return std::any_of(FOpen.begin(), FOpen.end(),
                       [&](const TOpenPosition& P) { return P.Symbol == ASymbol; });
}

double TPortfolioLedger::AffordableShares(int ASymbol, double APrice, double ABudget,
                                          bool AFractional) const {
    const std::string& symbol = FTape.Series(ASymbol).Symbol();
    const auto cost = [&](double AShares) {
        const double amount = AShares * APrice;
        return amount + FSizing.Brokerage(amount) + FSizing.TTF(amount, symbol);
    };
    if (!(APrice > 0) || !(ABudget > 0)) {
        return 0;
    }
    if (AFractional) {
        // The cost grows with the amount: halve the interval down to a millionth of a share.
        double low = 0;
        double high = ABudget / APrice;
        while (high - low > 1e-6) {
            const double middle = (low + high) / 2;
            (cost(middle) <= ABudget ? low : high) = middle;
        }
        return low;
    }
    const double lot = FSizing.LotSize;
    double shares = std::floor(ABudget / APrice / lot) * lot;
    while (shares > 0 && cost(shares) > ABudget) {
        // Step down by the overshoot in shares at once, and by one lot at least.
        const double over = std::floor((cost(shares) - ABudget) / APrice / lot) * lot;
        shares -= std::max(lot, over);
    }
    return std::max(shares, 0.0);
}

bool TPortfolioLedger::Buy(int ASymbol, double AShares, double AStop, TDateTime ASignalDate,
                           bool AFractional) {
    const int bar = FTape.BarOn(ASymbol);
    if (bar < 0) {
        return false;
    }
    const double open = FTape.Bar(ASymbol, bar).Open;
    const double shares = std::min(AShares, AffordableShares(ASymbol, open, FCash, AFractional));
    if (!(shares > 0)) {
        return false;
    }
    TOpenPosition position;
    position.Symbol = ASymbol;
    position.EntryBar = bar;
    TTrade& trade = position.Trade;
    trade.Symbol = FTape.Series(ASymbol).Symbol();
    trade.SignalDate = ASignalDate;
    trade.EntryDate = FTape.Today();
    trade.EntryPrice = open;
    trade.Shares = shares;
    trade.Brokerage = FSizing.Brokerage(shares * open);
    trade.TTF = FSizing.TTF(shares * open, trade.Symbol);
    trade.StopPrice = AStop;
    FCash -= trade.Cost();
    FOpen.push_back(std::move(position));
    return true;
}

void TPortfolioLedger::Sell(std::size_t APosition, double APrice, TExitReason AReason) {
    TOpenPosition& position = FOpen[APosition];
    TTrade& trade = position.Trade;
    trade.ExitDate = FTape.Today();
    trade.ExitPrice = APrice;
    trade.ExitBrokerage = FSizing.Brokerage(trade.Shares * APrice);
    trade.Reason = AReason;
    trade.Sessions = FTape.LastBar(position.Symbol) - position.EntryBar;
    FCash += trade.Shares * APrice - trade.ExitBrokerage;
    FBook.Trades.push_back(trade);
    FOpen.erase(FOpen.begin() + static_cast<std::ptrdiff_t>(APosition));
}

void TPortfolioLedger::CreditDividends(TDateTime AAfter) {
    for (TOpenPosition& position : FOpen) {
        if (position.Trade.EntryDate >= FTape.Today()) {
            continue;
        }
        for (const TDividend& dividend : FTape.Series(position.Symbol).Dividends()) {
            if (dividend.Date > AAfter && dividend.Date <= FTape.Today()) {
                const double amount = position.Trade.Shares * dividend.Amount;
                position.Trade.Dividends += amount;
                FCash += amount;
            }
        }
    }
}

void TPortfolioLedger::CloseSession() {
    FBook.Days.push_back({FTape.Today(), FCash, Invested(), static_cast<int>(FOpen.size())});
}

TPortfolioBook TPortfolioLedger::Finish() {
    for (TOpenPosition& position : FOpen) {
        TTrade& trade = position.Trade;
        trade.ExitDate = FTape.Today();
        trade.ExitPrice = FTape.LastClose(position.Symbol);
        trade.ExitBrokerage = 0;
        trade.Reason = TExitReason::erPeriodEnd;
        trade.Sessions = FTape.LastBar(position.Symbol) - position.EntryBar;
        FBook.Trades.push_back(trade);
    }
    FOpen.clear();
    std::stable_sort(FBook.Trades.begin(), FBook.Trades.end(),
                     [](const TTrade& A, const TTrade& B) { return A.EntryDate < B.EntryDate; });
    return std::move(FBook);
}

}  // namespace cotalys
