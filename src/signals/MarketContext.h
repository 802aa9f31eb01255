#pragma once

#include <string>

#include "core/Core.h"

namespace cotalys {

// Where the index stands on its latest session; ordinals are the declared order.
enum class TMarketPhase {
    mpUnknown,
    mpOversold,  // RSI below 40
    mpPullback,  // more than 8 % below the one-year high
    mpNearHigh   // neither
};

// The CAC 40 on its latest session, for the daily scanner. Missing numbers are NaN.
struct TMarketContext {
    bool Valid = false;
    std::string ErrorText;  // why it is not valid; empty when valid
    std::string Symbol;
    TDateTime Date = 0;  // latest session; 0 when not valid
    double Close = 0;
    double Rsi = 0;          // RSI(14)
    double Sma50 = 0;        // 50-session average of the closes
    double Sma200 = 0;       // 200-session average; NaN below 200 sessions
    double DistHighPct = 0;  // from the highest high of 252 sessions, % (<= 0); NaN below 200
    TDateTime IndexSignalDate = 0;  // the index's own entry signal in its last five sessions
    TMarketPhase Phase = TMarketPhase::mpUnknown;

    // "indice survendu (RSI < 40)", "indice en repli (...)", "indice proche de ses plus hauts"
    // or "etat de l'indice inconnu".
    std::string PhaseText() const;
    // Oversold or pulled back: the moments the support-rebound signal paid best.
    bool IsFavorable() const;
    // One French line: close, RSI, position against both averages and distance from the high,
    // or "CAC 40 indisponible : " and the reason.
    std::string Summary() const;
    // One French line of advice for the phase, quoting the five-year results.
    std::string Advice() const;
};

// The phase for an RSI and a distance from the one-year high (%): oversold below RSI 40, else
// pulled back below -8 %, else near the high (also when the distance is NaN).
TMarketPhase MarketPhaseOf(double ARsi, double ADistHighPct);

// A context that is not valid, with AError as its reason: every number NaN, dates 0.
TMarketContext InvalidMarketContext(const std::string& ASymbol, const std::string& AError);

// The context of AIndex's last session (nullptr or fewer than 60 sessions: not valid, "historique
// insuffisant"; no RSI on the last bar: not valid, "RSI incalculable"). A failing signal scan of
// the index only leaves IndexSignalDate at 0; errors of the MACD and RSI computation propagate.
TMarketContext BuildMarketContext(const TPriceSeries* AIndex);

}  // namespace cotalys
