#pragma once

#include <string>
#include <vector>

#include "core/Core.h"
#include "portfolio/PortfolioBook.h"
#include "sizing/PositionSizing.h"

namespace cotalys {

// Where each symbol's history stands on the session being simulated: the last bar on or before
// it, and whether the symbol traded that day.
class TSessionTape {
public:
    explicit TSessionTape(std::vector<const TPriceSeries*> ASeries);

    // Moves to the session of ADay; sessions come in ascending order.
    void MoveTo(TDateTime ADay);
    TDateTime Today() const { return FToday; }

    int SymbolCount() const { return static_cast<int>(FSeries.size()); }
    const TPriceSeries& Series(int ASymbol) const { return *FSeries[ASymbol]; }
    // The last bar on or before today; -1 before the symbol's first bar.
    int LastBar(int ASymbol) const { return FLast[ASymbol]; }
    // Today's bar, or -1 when the symbol did not trade today.
    int BarOn(int ASymbol) const;
    const TPriceBar& Bar(int ASymbol, int ABar) const { return FSeries[ASymbol]->Bars()[ABar]; }
    // The last close on or before today; 0 before the first bar.
    double LastClose(int ASymbol) const;

private:
    std::vector<const TPriceSeries*> FSeries;
    std::vector<int> FLast;
    TDateTime FToday = 0;
};

// A position being held, with its trade as it stands.
struct TOpenPosition {
    int Symbol = 0;    // in the tape
    int EntryBar = 0;  // its bar of the entry session
    TTrade Trade;
};

// The cash and positions of one simulated portfolio: purchases at today's open with their
// brokerage and tax, sales with their brokerage, dividends in cash, and the book of its days and
// trades. Every euro that moves passes through a trade, so the final value is the capital plus
// the trades' results.
class TPortfolioLedger {
public:
    TPortfolioLedger(std::string AName, double ACapital, const TSizingParams& ASizing,
                     const TSessionTape& ATape);

    double Cash() const { return FCash; }
    const std::vector<TOpenPosition>& Open() const { return FOpen; }
    // The open positions at their last close.
    double Invested() const;
    bool Holds(int ASymbol) const;

    // The most shares (whole lots; any fraction with AFractional) whose purchase at APrice, its
    // brokerage and its tax included, costs at most ABudget.
    double AffordableShares(int ASymbol, double APrice, double ABudget, bool AFractional) const;
    // Buys at today's open up to AShares shares, fewer when the cash is short; nothing when not
    // even one lot fits. Returns whether a position was opened.
    bool Buy(int ASymbol, double AShares, double AStop, TDateTime ASignalDate,
             bool AFractional = false);
    // Sells open position APosition today at APrice.
    void Sell(std::size_t APosition, double APrice, TExitReason AReason);
    // Pays the dividends detached after AAfter and up to today to the positions bought before
    // today (a purchase on the ex-date's open comes too late for it).
    void CreditDividends(TDateTime AAfter);
    // Records today's close.
    void CloseSession();
    // The book, the positions still open valued at their last close with no sale.
    TPortfolioBook Finish();

private:
    const TSessionTape& FTape;
    TSizingParams FSizing;
    double FCash;
    std::vector<TOpenPosition> FOpen;
    TPortfolioBook FBook;
};

}  // namespace cotalys
