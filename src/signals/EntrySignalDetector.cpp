#include "signals/EntrySignalDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "signals/SignalOutcomes.h"
#include "signals/YearHigh.h"

namespace cotalys {

namespace {

// The first bar a signal may be looked for: bar 0 has no previous close.
int FirstBar(int AFromIndex) {
    return AFromIndex < 2 ? 1 : AFromIndex;
}

}  // namespace

// Everything EvaluateBar reads, computed once per scan.
struct TEntrySignalDetector::TBarData {
    const std::vector<TPriceBar>& Bars;
    const std::vector<double>& Rsi;
    const std::vector<double>& MacdLine;
    const std::vector<double>& Histogram;
    std::vector<double> VolumeAverage;
    std::vector<double> DistHigh;
};

TEntrySignalDetector::TEntrySignalDetector(const TSignalParams& AParams, const TSRParams& ASRParams)
    : FParams(AParams), FSRParams(ASRParams) {
    AParams.Validate();
    ASRParams.Validate();
}

std::vector<TEntrySignal> TEntrySignalDetector::Scan(
    const TPriceSeries& ASeries, const TTechnicalAnalysis& AAnalysis, int AFromIndex,
    const std::vector<TSRResult>& AZoneHistory) const {
    const std::size_t count = ASeries.Bars().size();
    // Arrays of another length belong to another series (or an older state of this one):
    // reading them bar by bar would go out of bounds or mix two histories.
    if (!AAnalysis.Computed() || AAnalysis.RSI().size() != count ||
        AAnalysis.MACD().Histogram.size() != count || AAnalysis.MACD().MACD.size() != count) {
        throw EIndicatorError("Signal d'entree : indicateurs non calcules");
    }
    std::vector<TSRResult> builtHistory;
    if (AZoneHistory.size() != count) {
        builtHistory = BuildZoneHistory(ASeries, FSRParams, AFromIndex, 0);
    }
    const std::vector<TSRResult>& history =
        AZoneHistory.size() == count ? AZoneHistory : builtHistory;
    const TBarData data{ASeries.Bars(),
                        AAnalysis.RSI(),
                        AAnalysis.MACD().MACD,
                        AAnalysis.MACD().Histogram,
                        ComputeSMA(ASeries.Volumes(), FParams.VolumePeriod),
                        YearHighDistance(ASeries)};

    std::vector<TEntrySignal> signals;
    const int first = std::max(FirstBar(AFromIndex), FParams.WindowBars + 1);
    // Far in the past, so the first signal is never held back by the cooldown.
    std::int64_t lastSignal = -1073741823;
    for (int i = first; i < static_cast<int>(count); ++i) {
        if (i - lastSignal <= FParams.CooldownBars) {
            continue;
        }
        const double atr = history[i].Atr;
        if (IsNearZero(atr) || std::isnan(atr)) {
            continue;
        }
        TEntrySignal signal;
        if (EvaluateBar(data, history[i], i, signal)) {
            MeasureOutcome(ASeries, signal);
            signals.push_back(std::move(signal));
            lastSignal = i;
        }
    }
    return signals;
}

const TPriceZone* TEntrySignalDetector::SupportContact(const TBarData& AData,
                                                       const TSRResult& AZones, int AIndex) const {
    const std::vector<TPriceBar>& bars = AData.Bars;
    const double close = bars[AIndex].Close;
    // The rebound test is the same for every zone, so without it nothing qualifies.
    if (!(close > bars[AIndex - 1].Close)) {
        return nullptr;
    }
    // The first qualifying zone in stored order (supports nearest first).
    for (const TPriceZone& candidate : AZones.Zones) {
        if (candidate.Kind == TZoneKind::zkResistance || candidate.Rank > FParams.MaxZoneRank) {
            continue;
        }
        if (FParams.StrongZonesOnly && candidate.Touches < 3 && candidate.WeeklyTouches < 1) {
            continue;
        }
        if (!(candidate.Bottom < close)) {
            continue;
        }
        const double reach = candidate.Top + FParams.ContactAtr * AZones.Atr;
        for (int j = WindowStart(AIndex); j <= AIndex; ++j) {
            if (bars[j].Low <= reach) {
                return &candidate;
            }
        }
    }
    return nullptr;
}

bool TEntrySignalDetector::RsiConfirms(const TBarData& AData, int AIndex) const {
    // A rebound from a low level.
    const std::vector<double>& rsi = AData.Rsi;
    double rsiLow = std::numeric_limits<double>::max();
    for (int j = std::max(AIndex - FParams.RsiLookback + 1, 0); j <= AIndex; ++j) {
        if (!std::isnan(rsi[j])) {
            rsiLow = std::min(rsiLow, rsi[j]);
        }
    }
    return !std::isnan(rsi[AIndex]) && !std::isnan(rsi[AIndex - 1]) &&
           rsiLow <= FParams.RsiLowLevel && rsi[AIndex] > rsi[AIndex - 1] &&
           rsi[AIndex] - rsiLow >= FParams.RsiMinRise;
}

bool TEntrySignalDetector::MacdConfirms(const TBarData& AData, int AIndex) const {
    // The histogram turning up, or crossing above zero within the window. NaN compares false.
    const std::vector<double>& hist = AData.Histogram;
    if (hist[AIndex] > hist[AIndex - 1]) {
        return true;
    }
    for (int j = WindowStart(AIndex); j <= AIndex; ++j) {
        if (hist[j - 1] <= 0 && hist[j] > 0) {
            return true;
        }
    }
    return false;
}

bool TEntrySignalDetector::VolumeConfirms(const TBarData& AData, int AIndex) const {
    // A spike against the average of the sessions before, not one that includes itself.
    for (int j = WindowStart(AIndex); j <= AIndex; ++j) {
        const double average = AData.VolumeAverage[j - 1];
        if (average > 0 &&
            static_cast<double>(AData.Bars[j].Volume) >= FParams.VolumeRatio * average) {
            return true;
        }
    }
    return false;
}

bool TEntrySignalDetector::PassesFilters(const TBarData& AData, const TEntrySignal& ASignal) const {
    if (ASignal.Score < FParams.MinScore) {
        return false;
    }
    if ((FParams.RequireMarketUptrend && !ASignal.MarketOK) ||
        (FParams.RequireFavorablePhase && !ASignal.PhaseOK)) {
        return false;
    }
    if (FParams.MinRewardRisk > 0) {
        const double rewardRisk = ASignal.RewardRisk();
        if (std::isnan(rewardRisk) || rewardRisk < FParams.MinRewardRisk) {
            return false;
        }
    }
    if (FParams.MinMarginPct > 0 &&
        (std::isnan(ASignal.MarginResPct) || ASignal.MarginResPct < FParams.MinMarginPct)) {
        return false;
    }
    if (FParams.MaxDistHighPct > 0 &&
        (std::isnan(ASignal.DistHighPct) || ASignal.DistHighPct < -FParams.MaxDistHighPct)) {
        return false;
    }
    if (FParams.RequireRsi && !ASignal.RsiOK) {
        return false;
    }
    return !FParams.RequireMacdPositive || AData.MacdLine[ASignal.Index] > 0;
}

bool TEntrySignalDetector::EvaluateBar(const TBarData& AData, const TSRResult& AZones, int AIndex,
                                       TEntrySignal& ASignal) const {
    const TPriceBar& bar = AData.Bars[AIndex];
    ASignal = TEntrySignal::AtBar(AIndex, bar, AData.DistHigh[AIndex]);
    const TPriceZone* zone = SupportContact(AData, AZones, AIndex);
    if (zone == nullptr) {
        return false;
    }
    ASignal.Contact = true;
    ASignal.ZoneLabel = zone->Lab();
    ASignal.ZoneBottom = zone->Bottom;
    ASignal.ZoneTop = zone->Top;
    ASignal.Atr = AZones.Atr;
    ASignal.StopPrice = zone->Bottom - FParams.StopAtr * ASignal.Atr;
    ASignal.StopMode = FParams.StopMode;
    ASignal.MarginResPct = AZones.MarginToResistancePct();
    if (bar.Close > 0) {
        ASignal.RiskPct = (bar.Close - ASignal.StopPrice) / bar.Close * 100;
    }
    ASignal.RsiValue = AData.Rsi[AIndex];
    ASignal.RsiOK = RsiConfirms(AData, AIndex);
    ASignal.MacdOK = MacdConfirms(AData, AIndex);
    ASignal.VolumeOK = VolumeConfirms(AData, AIndex);
    ASignal.Score = ASignal.Contact + ASignal.RsiOK + ASignal.MacdOK + ASignal.VolumeOK;
    if (FMarket != nullptr) {
        bool known = false;
        ASignal.MarketOK = FMarket->IsFavorable(ASignal.Date, known) && known;
        ASignal.PhaseOK = FMarket->IsPhaseFavorable(ASignal.Date, known) && known;
    }
    return PassesFilters(AData, ASignal);
}

}  // namespace cotalys
