#include "signals/MarketContext.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "signals/EntrySignalDetector.h"
#include "signals/MarketRegime.h"
#include "signals/StandardVariants.h"
#include "signals/YearHigh.h"

namespace cotalys {

namespace {

// Sessions of the index the context needs, and the index's own recent signals it looks at.
constexpr int ContextMinimumSessions = 60;
constexpr int RecentSessions = 5;

std::string Number(const char* APattern, double AValue) {
    return FormatFloat(APattern, AValue, FrenchFormatSettings());
}

// "au-dessus (5650)", "en dessous (5650)" or "-" when either value is missing.
std::string Position(double AClose, double AAverage) {
    if (std::isnan(AClose) || std::isnan(AAverage)) {
        return "-";
    }
    return Format(AClose >= AAverage ? "au-dessus (%s)" : "en dessous (%s)", Number("0", AAverage));
}

// The date of the index's latest entry signal among its last sessions, or 0.
TDateTime RecentIndexSignal(const TPriceSeries& AIndex, const TTechnicalAnalysis& AAnalysis) {
    try {
        const TEntrySignalDetector detector(TSignalParams::Default(), TSRParams::Default());
        const std::vector<TEntrySignal> signals =
            detector.Scan(AIndex, AAnalysis, std::max(AIndex.Count() - RecentSessions, 1));
        return signals.empty() ? 0 : signals.back().Date;
    } catch (const EFinanceError&) {
        // The index's own signal is a detail of the context: without it the context holds.
        return 0;
    }
}

}  // namespace

std::string TMarketContext::PhaseText() const {
    switch (Phase) {
        case TMarketPhase::mpOversold:
            return "indice survendu (RSI < 40)";
        case TMarketPhase::mpPullback:
            return "indice en repli (plus de 8 % sous son plus haut)";
        case TMarketPhase::mpNearHigh:
            return "indice proche de ses plus hauts";
        default:
            return "etat de l'indice inconnu";
    }
}

bool TMarketContext::IsFavorable() const {
    return Phase == TMarketPhase::mpOversold || Phase == TMarketPhase::mpPullback;
}

std::string TMarketContext::Summary() const {
    if (!Valid) {
        return "CAC 40 indisponible : " + ErrorText;
    }
    // Below 200 sessions there is no one-year high to measure from.
    const std::string distance = std::isnan(DistHighPct)
                                     ? "plus haut annuel inconnu"
                                     : Number("0.0", -DistHighPct) + " % sous le plus haut annuel";
    std::string text = Format("CAC 40 au %s : %s points, RSI %s, MM50 %s, MM200 %s, %s",
                              FrenchDate(Date), Number("#,##0", Close), Number("0", Rsi),
                              Position(Close, Sma50), Position(Close, Sma200), distance);
    if (IndexSignalDate > 0) {
        text += Format(", rebond sur support le %s", FrenchDate(IndexSignalDate));
    }
    return text;
}

std::string TMarketContext::Advice() const {
    switch (Phase) {
        case TMarketPhase::mpOversold:
            return "Phase favorable : " + PhaseText() +
                   ". Sur 5 ans, signaux +3,2 % a 20 seances "
                   "(achat au hasard +2,3 %), avance de +1,0 point avant frais.";
        case TMarketPhase::mpPullback:
            return "Phase favorable : " + PhaseText() +
                   ". Sur 5 ans, signaux +2,7 % a 20 seances "
                   "(achat au hasard +1,6 %), avance de +1,1 point avant frais.";
        case TMarketPhase::mpNearHigh:
            return "Phase defavorable : " + PhaseText() +
                   ". Sur 5 ans, signaux +0,1 % a 20 seances, "
                   "avance de +0,2 point, inferieure aux frais d'un aller-retour.";
        default:
            return "Phase inconnue : " + ErrorText;
    }
}

TMarketPhase MarketPhaseOf(double ARsi, double ADistHighPct) {
    if (ARsi < PhaseOversoldRsi) {
        return TMarketPhase::mpOversold;
    }
    if (!std::isnan(ADistHighPct) && ADistHighPct < PhasePullbackPct) {
        return TMarketPhase::mpPullback;
    }
    return TMarketPhase::mpNearHigh;
}

TMarketContext InvalidMarketContext(const std::string& ASymbol, const std::string& AError) {
    TMarketContext context;
    context.Symbol = ASymbol;
    context.Valid = false;
    context.ErrorText = AError;
    context.Phase = TMarketPhase::mpUnknown;
    context.Close = NaN;
    context.Rsi = NaN;
    context.Sma50 = NaN;
    context.Sma200 = NaN;
    context.DistHighPct = NaN;
    return context;
}

TMarketContext BuildMarketContext(const TPriceSeries* AIndex) {
    if (AIndex == nullptr || AIndex->Count() < ContextMinimumSessions) {
        return InvalidMarketContext(MarketIndexSymbol, "historique insuffisant");
    }
    const TPriceSeries& index = *AIndex;
    const int last = index.Count() - 1;
    TMarketContext context = InvalidMarketContext(index.Symbol(), "");
    context.Date = index.Bars()[last].Date;
    context.Close = index.Bars()[last].Close;
    const std::vector<double> closes = index.Closes();
    context.Sma50 = ComputeSMA(closes, MarketAveragePeriod)[last];
    context.Sma200 = ComputeSMA(closes, 200)[last];
    context.DistHighPct = YearHighDistance(index)[last];

    TTechnicalAnalysis analysis(&index, TMACDParams::Default(), RsiPeriod);
    analysis.Compute();
    context.Rsi = analysis.RSI()[last];
    context.IndexSignalDate = RecentIndexSignal(index, analysis);

    if (std::isnan(context.Rsi)) {
        return InvalidMarketContext(index.Symbol(), "RSI incalculable");
    }
    context.Valid = true;
    context.ErrorText.clear();
    context.Phase = MarketPhaseOf(context.Rsi, context.DistHighPct);
    return context;
}

}  // namespace cotalys
