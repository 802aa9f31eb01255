#include "signals/EntrySignalDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

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
            signals.push_back(signal);
            lastSignal = i;
        }
    }
    return signals;
}

bool TEntrySignalDetector::EvaluateBar(const TBarData& AData, const TSRResult& AZones, int AIndex,
                                       TEntrySignal& ASignal) const {
    const int i = AIndex;
    const std::vector<TPriceBar>& bars = AData.Bars;
    ASignal = TEntrySignal::AtBar(i, bars[i], AData.DistHigh[i]);
    const int windowStart = std::max(i - FParams.WindowBars + 1, 1);
    const double close = bars[i].Close;

    // Support contact: the first qualifying zone in stored order (supports nearest first). The
    // rebound test is the same for every zone, so without it nothing qualifies.
    const bool rebound = close > bars[i - 1].Close;
    const TPriceZone* zone = nullptr;
    for (const TPriceZone& candidate : AZones.Zones) {
        if (candidate.Kind == TZoneKind::zkResistance || candidate.Rank > FParams.MaxZoneRank) {
            continue;
        }
        if (FParams.StrongZonesOnly && candidate.Touches < 3 && candidate.WeeklyTouches < 1) {
            continue;
        }
        if (!(candidate.Bottom < close) || !rebound) {
            continue;
        }
        const double reach = candidate.Top + FParams.ContactAtr * AZones.Atr;
        bool touched = false;
        for (int j = windowStart; j <= i && !touched; ++j) {
            touched = bars[j].Low <= reach;
        }
        if (touched) {
            zone = &candidate;
            break;
        }
    }
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
    if (close > 0) {
        ASignal.RiskPct = (close - ASignal.StopPrice) / close * 100;
    }

    // RSI rebound from a low level.
    const std::vector<double>& rsi = AData.Rsi;
    ASignal.RsiValue = rsi[i];
    double rsiLow = std::numeric_limits<double>::max();
    for (int j = std::max(i - FParams.RsiLookback + 1, 0); j <= i; ++j) {
        if (!std::isnan(rsi[j])) {
            rsiLow = std::min(rsiLow, rsi[j]);
        }
    }
    ASignal.RsiOK = !std::isnan(rsi[i]) && !std::isnan(rsi[i - 1]) &&
                    rsiLow <= FParams.RsiLowLevel && rsi[i] > rsi[i - 1] &&
                    rsi[i] - rsiLow >= FParams.RsiMinRise;

    // MACD histogram turning up, or crossing above zero within the window. NaN compares false.
    const std::vector<double>& hist = AData.Histogram;
    ASignal.MacdOK = hist[i] > hist[i - 1];
    for (int j = windowStart; j <= i && !ASignal.MacdOK; ++j) {
        ASignal.MacdOK = hist[j - 1] <= 0 && hist[j] > 0;
    }

    // Volume spike against the average of the sessions before, not one that includes itself.
    for (int j = windowStart; j <= i && !ASignal.VolumeOK; ++j) {
        const double average = AData.VolumeAverage[j - 1];
        ASignal.VolumeOK =
            average > 0 && static_cast<double>(bars[j].Volume) >= FParams.VolumeRatio * average;
    }

    ASignal.Score = ASignal.Contact + ASignal.RsiOK + ASignal.MacdOK + ASignal.VolumeOK;
    if (FMarket != nullptr) {
        bool known = false;
        ASignal.MarketOK = FMarket->IsFavorable(ASignal.Date, known) && known;
        ASignal.PhaseOK = FMarket->IsPhaseFavorable(ASignal.Date, known) && known;
    }

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
    if (FParams.RequireMacdPositive && !(AData.MacdLine[i] > 0)) {
        return false;
    }
    return true;
}

}  // namespace cotalys
