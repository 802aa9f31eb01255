#pragma once

#include <string>
#include <vector>

#include "core/Core.h"

namespace cotalys {

// The favourable phase for a rebound: a pulled-back market, by momentum (the index's RSI under
// PhaseOversoldRsi) or by price (the index more than PhasePullbackPct % under its one-year high).
inline constexpr double PhaseOversoldRsi = 40;
inline constexpr double PhasePullbackPct = -8;

// The market index's trend and phase on every date of its history: is it above its moving
// average, and is it in a favourable moment (RSI below 40 or more than 8 % under its one-year
// high). Built once from the index, then read-only, so several threads may query it.
class TMarketRegime {
public:
    // Copies what it needs from AIndex, which may be freed afterwards. Throws EIndicatorError
    // "Indice de marche vide" on a null or empty index; errors of the averages and the RSI (a
    // missing close, an invalid period) propagate.
    TMarketRegime(const TPriceSeries* AIndex, int APeriod);

    // Close strictly above its APeriod average on the session standing for ADate (the last one
    // on or before it, at most 5 days earlier); false with AKnown false when unknown.
    bool IsFavorable(TDateTime ADate, bool& AKnown) const;
    // RSI(14) < 40, or close more than 8 % under the highest high of the last 252 sessions.
    bool IsPhaseFavorable(TDateTime ADate, bool& AKnown) const;
    // Percent 0..100 of the known sessions dated AFrom .. ATo (whole days, both included) that
    // were above the average; NaN when no session there is known.
    double FavorableShare(TDateTime AFrom, TDateTime ATo) const;
    // The same for the favourable phase.
    double PhaseFavorableShare(TDateTime AFrom, TDateTime ATo) const;

    const std::string& Symbol() const { return FSymbol; }
    int Period() const { return FPeriod; }
    const std::vector<TDateTime>& Dates() const { return FDates; }
    const std::vector<bool>& Favorable() const { return FFavorable; }
    const std::vector<bool>& Known() const { return FKnown; }
    const std::vector<bool>& PhaseFavorable() const { return FPhaseFavorable; }
    const std::vector<bool>& PhaseKnown() const { return FPhaseKnown; }

private:
    int IndexOfDate(TDateTime ADate) const;
    double Share(TDateTime AFrom, TDateTime ATo, const std::vector<bool>& AKnown,
                 const std::vector<bool>& AFavorable) const;

    std::string FSymbol;
    int FPeriod;
    std::vector<TDateTime> FDates;
    std::vector<bool> FFavorable;
    std::vector<bool> FKnown;
    std::vector<bool> FPhaseFavorable;
    std::vector<bool> FPhaseKnown;
};

// Per bar, (close / H - 1) x 100 where H is the highest high of the AWindow bars ending at that
// bar (the bar included): 0 at a new high, negative below it. NaN for the first AMinBars - 1
// bars, where H is not positive, and everywhere when AWindow < 1. Every caller passes 252 and
// 200: one year of sessions, with at least 200 of history.
std::vector<double> DistanceFromHigh(const TPriceSeries& ASeries, int AWindow, int AMinBars);

// Why a load or a run goes without the market filter: "Indice SYMBOL indisponible, filtre de
// marche ignore : REASON".
std::string MarketFilterSkippedText(const std::string& AIndexSymbol, const std::string& AReason);

}  // namespace cotalys
