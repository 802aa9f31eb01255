#include "signals/MarketRegime.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "signals/StandardVariants.h"
#include "signals/YearHigh.h"

namespace cotalys {

namespace {

// A date further than this after the last session (a long closure, or beyond the index's
// history) is not answered from that stale session.
constexpr int MaxStaleDays = 5;

}  // namespace

TMarketRegime::TMarketRegime(const TPriceSeries* AIndex, int APeriod) : FPeriod(APeriod) {
    if (AIndex == nullptr || AIndex->Count() == 0) {
        throw EIndicatorError("Indice de marche vide");
    }
    FSymbol = AIndex->Symbol();
    const std::vector<double> closes = AIndex->Closes();
    const std::vector<double> average = ComputeSMA(closes, APeriod);
    const std::vector<double> rsi = ComputeRSI(closes, RsiPeriod);
    const std::vector<double> distance = YearHighDistance(*AIndex);
    const std::vector<TPriceBar>& bars = AIndex->Bars();
    const std::size_t n = bars.size();
    FDates.resize(n);
    FKnown.resize(n);
    FFavorable.resize(n);
    FPhaseKnown.resize(n);
    FPhaseFavorable.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        FDates[i] = bars[i].Date;
        FKnown[i] = !std::isnan(average[i]);
        FFavorable[i] = FKnown[i] && closes[i] > average[i];
        FPhaseKnown[i] = !std::isnan(rsi[i]);
        FPhaseFavorable[i] =
            FPhaseKnown[i] && (rsi[i] < PhaseOversoldRsi ||
                               (!std::isnan(distance[i]) && distance[i] < PhasePullbackPct));
    }
}

int TMarketRegime::IndexOfDate(TDateTime ADate) const {
    const double day = DayOf(ADate);
    // The last session on or before the day: a weekend or holiday maps to the session before.
    const auto after = std::upper_bound(FDates.begin(), FDates.end(), day);
    if (after == FDates.begin()) {
        return -1;
    }
    const int index = static_cast<int>(after - FDates.begin()) - 1;
    if (day - FDates[index] > MaxStaleDays) {
        return -1;
    }
    return index;
}

bool TMarketRegime::IsFavorable(TDateTime ADate, bool& AKnown) const {
    const int index = IndexOfDate(ADate);
    AKnown = index >= 0 && FKnown[index];
    return AKnown && FFavorable[index];
}

bool TMarketRegime::IsPhaseFavorable(TDateTime ADate, bool& AKnown) const {
    const int index = IndexOfDate(ADate);
    AKnown = index >= 0 && FPhaseKnown[index];
    return AKnown && FPhaseFavorable[index];
}

double TMarketRegime::Share(TDateTime AFrom, TDateTime ATo, const std::vector<bool>& AKnown,
                            const std::vector<bool>& AFavorable) const {
    const double from = DayOf(AFrom);
    const double to = DayOf(ATo);
    int known = 0;
    int favorable = 0;
    for (auto date = std::lower_bound(FDates.begin(), FDates.end(), from);
         date != FDates.end() && *date <= to; ++date) {
        const std::size_t i = static_cast<std::size_t>(date - FDates.begin());
        if (AKnown[i]) {
            ++known;
            favorable += AFavorable[i] ? 1 : 0;
        }
    }
    if (known == 0) {
        return NaN;
    }
    return 100.0 * favorable / known;
}

double TMarketRegime::FavorableShare(TDateTime AFrom, TDateTime ATo) const {
    return Share(AFrom, ATo, FKnown, FFavorable);
}

std::string MarketFilterSkippedText(const std::string& AIndexSymbol, const std::string& AReason) {
    return Format("Indice %s indisponible, filtre de marche ignore : %s", AIndexSymbol, AReason);
}

double TMarketRegime::PhaseFavorableShare(TDateTime AFrom, TDateTime ATo) const {
    return Share(AFrom, ATo, FPhaseKnown, FPhaseFavorable);
}

}  // namespace cotalys
