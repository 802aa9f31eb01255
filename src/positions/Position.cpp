#include "positions/Position.h"

#include <algorithm>
#include <cmath>

#include "sizing/PositionSizing.h"

namespace cotalys {
namespace {

// The reasons a position of the journal may be closed for.
constexpr TExitReason JournalExitReasons[] = {TExitReason::erStop, TExitReason::erHorizon,
                                              TExitReason::erManual};

bool IsPositiveNumber(double AValue) {
    return std::isfinite(AValue) && AValue > 0;
}

bool IsSymbolChar(char AChar) {
    return (AChar >= 'A' && AChar <= 'Z') || (AChar >= '0' && AChar <= '9') || AChar == '-';
}

TPositionResult ResultOf(double AProceeds, double ACost) {
    const double euros = AProceeds - ACost;
    return {euros, ACost > 0 ? euros / ACost * 100 : NaN};
}

// A price in a message, as the user reads prices: "136,10", "8,962".
std::string PriceText(double APrice) {
    return FormatFloat("0.00##", APrice, FrenchFormatSettings());
}

bool SameNumber(double A, double B) {
    return A == B || (std::isnan(A) && std::isnan(B));
}

}  // namespace

TExitReason ExitReasonFromName(std::string_view AText) {
    const std::string name = LowerAscii(TrimBlanks(AText));
    for (const TExitReason reason : JournalExitReasons) {
        if (name == ExitReasonText(reason)) {
            return reason;
        }
    }
    throw EPositionError(
        Format("Motif de sortie inconnu : \"%s\" (attendu stop, 20 seances ou manuel)",
               std::string(AText)));
}

bool IsSymbolForm(std::string_view ASymbol) {
    std::string_view rest = ASymbol;
    if (rest.starts_with('^')) {
        rest.remove_prefix(1);
    }
    const std::size_t dot = rest.find('.');
    const std::string_view base = rest.substr(0, dot);
    const std::string_view market = dot == std::string_view::npos ? "" : rest.substr(dot + 1);
    const bool marketOk =
        dot == std::string_view::npos ||
        (!market.empty() && market.size() <= 3 &&
         std::all_of(market.begin(), market.end(), [](char C) { return C >= 'A' && C <= 'Z'; }));
    return !base.empty() && base.size() <= 12 && base.front() != '-' &&
           std::all_of(base.begin(), base.end(), IsSymbolChar) && marketOk;
}

double RoundCents(double AValue) {
    return std::round(AValue * 100) / 100;
}

TDateTime PlannedExitDate(TDateTime AEntry) {
    TDateTime day = DayOf(AEntry);
    for (int sessions = 0; sessions < PlannedSessions;) {
        day += 1;
        if (IsoDayOfWeek(day) <= 5) {
            ++sessions;
        }
    }
    return day;
}

TPosition TPosition::Bought(std::string_view ASymbol, TDateTime ADate, double APrice,
                            std::int64_t AShares, const TSizingParams& ASizing) {
    TPosition position;
    position.Symbol = UpperAscii(TrimBlanks(ASymbol));
    position.EntryDate = DayOf(ADate);
    position.EntryPrice = APrice;
    position.Shares = AShares;
    position.PlannedExit = PlannedExitDate(position.EntryDate);
    position.Validate();
    const double amount = static_cast<double>(AShares) * APrice;
    position.Brokerage = RoundCents(ASizing.Brokerage(amount));
    position.TTF = RoundCents(ASizing.TTF(amount, position.Symbol));
    return position;
}

void TPosition::Validate() const {
    if (!IsSymbolForm(Symbol)) {
        throw EPositionError(
            Format("Symbole invalide : \"%s\" (attendu par exemple AI.PA ou ^FCHI)", Symbol));
    }
    if (Shares <= 0) {
        throw EPositionError(
            Format("Nombre d'actions invalide pour %s : %d (attendu au moins 1)", Symbol, Shares));
    }
    if (!IsPositiveNumber(EntryPrice)) {
        throw EPositionError(Format("Prix d'entree invalide pour %s : %s (attendu au-dessus de 0)",
                                    Symbol, PriceText(EntryPrice)));
    }
    if (!std::isnan(StopPrice) && !IsPositiveNumber(StopPrice)) {
        throw EPositionError(Format("Stop invalide pour %s : %s (attendu au-dessus de 0)", Symbol,
                                    PriceText(StopPrice)));
    }
    if (!std::isnan(StopPrice) && StopPrice >= EntryPrice) {
        throw EPositionError(Format("Stop de %s a %s au niveau ou au-dessus de l'entree a %s",
                                    Symbol, PriceText(StopPrice), PriceText(EntryPrice)));
    }
    if (!(Brokerage >= 0) || !(TTF >= 0) || !(ExitBrokerage >= 0)) {
        throw EPositionError(Format("Frais negatifs pour %s", Symbol));
    }
    if (EntryDate <= 0) {
        throw EPositionError(Format("Date d'entree manquante pour %s", Symbol));
    }
    const TDateTime today = Today();
    for (const auto& [date, what] :
         {std::pair{EntryDate, "d'entree"}, std::pair{SignalDate, "du signal"},
          std::pair{ExitDate, "de sortie"}}) {
        if (DayOf(date) > DayOf(today)) {
            throw EPositionError(Format("Date %s de %s dans le futur : %s (nous sommes le %s)",
                                        what, Symbol, FrenchDate(date), FrenchDate(today)));
        }
    }
    if (!IsClosed()) {
        return;
    }
    if (ExitDate < EntryDate) {
        throw EPositionError(Format("Sortie de %s le %s avant son entree le %s", Symbol,
                                    FrenchDate(ExitDate), FrenchDate(EntryDate)));
    }
    if (std::isnan(ExitPrice)) {
        throw EPositionError(Format("Prix de sortie manquant pour %s", Symbol));
    }
    if (!IsPositiveNumber(ExitPrice)) {
        throw EPositionError(Format("Prix de sortie invalide pour %s : %s (attendu au-dessus de 0)",
                                    Symbol, PriceText(ExitPrice)));
    }
}

double TPosition::Cost() const {
    return static_cast<double>(Shares) * EntryPrice + Brokerage + TTF;
}

TPositionResult TPosition::Result() const {
    return ResultAt(ExitPrice, ExitBrokerage);
}

TPositionResult TPosition::ResultAt(double APrice, double AExitBrokerage) const {
    return ResultOf(static_cast<double>(Shares) * APrice - AExitBrokerage, Cost());
}

double TPosition::RiskAt(double AClose, double ASlippageFactor) const {
    if (std::isnan(StopPrice)) {
        return InvestedAt(AClose);
    }
    return std::max(0.0, static_cast<double>(Shares) * (AClose - StopPrice) * ASlippageFactor);
}

double TPosition::InvestedAt(double AClose) const {
    return static_cast<double>(Shares) * AClose;
}

bool TPosition::operator==(const TPosition& AOther) const {
    return Id == AOther.Id && Symbol == AOther.Symbol && EntryDate == AOther.EntryDate &&
           EntryPrice == AOther.EntryPrice && Shares == AOther.Shares &&
           Brokerage == AOther.Brokerage && TTF == AOther.TTF &&
           SameNumber(StopPrice, AOther.StopPrice) && PlannedExit == AOther.PlannedExit &&
           Setting == AOther.Setting && SignalDate == AOther.SignalDate && Note == AOther.Note &&
           ExitDate == AOther.ExitDate && SameNumber(ExitPrice, AOther.ExitPrice) &&
           ExitBrokerage == AOther.ExitBrokerage && ExitReason == AOther.ExitReason;
}

}  // namespace cotalys
