#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Core.h"
#include "signals/EntrySignals.h"

namespace cotalys {

struct TSizingParams;

// A position the journal refuses (bad symbol, price, date, unknown id...) or a journal file it
// cannot use; the message is French and names what is wrong.
class EPositionError : public EFinanceError {
public:
    using EFinanceError::EFinanceError;
    const char* ClassName() const noexcept override { return "EPositionError"; }
};

// The reason of a closed position named by AText (any case, surrounding blanks ignored): "stop",
// "20 seances" or "manuel", as ExitReasonText writes them; EPositionError otherwise.
TExitReason ExitReasonFromName(std::string_view AText);

// What a position gives after every fee, in EUR and in % of what it cost.
struct TPositionResult {
    double Euros = 0;
    double Pct = 0;
};

// One purchase of the user's, as the journal keeps it. Amounts in EUR; a price or stop of NaN
// and a date of 0 mean "none".
struct TPosition {
    std::int64_t Id = 0;  // given by the journal; 0 before it is added
    std::string Symbol;
    TDateTime EntryDate = 0;
    double EntryPrice = 0;
    std::int64_t Shares = 0;
    double Brokerage = 0;  // paid on the purchase
    double TTF = 0;        // financial transaction tax paid on the purchase
    double StopPrice = NaN;
    TDateTime PlannedExit = 0;
    std::string Setting;       // the setting whose signal led to it; empty when none
    TDateTime SignalDate = 0;  // the day of that signal; 0 when none
    std::string Note;
    TDateTime ExitDate = 0;  // 0 while open
    double ExitPrice = NaN;
    double ExitBrokerage = 0;
    TExitReason ExitReason = TExitReason::erManual;

    // A position bought on ADate at APrice, its brokerage and tax those ASizing charges on the
    // amount (rounded to the cent, as a broker bills them) and its planned exit the 20th session
    // after the entry. Throws EPositionError as Validate.
    static TPosition Bought(std::string_view ASymbol, TDateTime ADate, double APrice,
                            std::int64_t AShares, const TSizingParams& ASizing);

    bool IsClosed() const { return ExitDate > 0; }
    // Throws EPositionError with the first broken rule: the symbol's form, shares and prices
    // above zero, fees not below zero, a stop below the entry, no date after Today(), an exit
    // not before the entry.
    void Validate() const;

    // What the purchase cost: shares x entry price + brokerage + tax.
    double Cost() const;
    // The result of the closed position, at its exit price and after its exit brokerage.
    TPositionResult Result() const;
    // The result if the shares were sold at APrice with AExitBrokerage paid (an open position
    // valued at the last close).
    TPositionResult ResultAt(double APrice, double AExitBrokerage) const;
    // The amount at risk at the close AClose: shares x (close - stop) x ASlippageFactor, never
    // below 0; without a stop, the whole value at that close.
    double RiskAt(double AClose, double ASlippageFactor) const;
    // The value of the shares at the close AClose.
    double InvestedAt(double AClose) const;

    bool operator==(const TPosition&) const;
};

// The planned exit of a position entered on AEntry: the 20th weekday after it. Weekdays stand
// in for sessions: the few days Euronext closes on a weekday (1 May, Christmas...) are not
// known here, so on those weeks the planned exit comes one session early.
TDateTime PlannedExitDate(TDateTime AEntry);
// The number of sessions a position is planned to be held.
inline constexpr int PlannedSessions = 20;

// True for a symbol of the quote service's form: "AI.PA", "STLAP.PA", "^FCHI" (upper case,
// letters, digits and "-", an optional market suffix after a dot).
bool IsSymbolForm(std::string_view ASymbol);

// AValue rounded to the cent, halves away from zero.
double RoundCents(double AValue);

}  // namespace cotalys
