#include "zones/SupportResistanceAnalyzer.h"

#include <algorithm>
#include <cstdint>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "zones/ZoneSteps.h"

namespace cotalys {

namespace {

using zones::TPivot;

// A touch within this many bars of the last one makes a zone current.
constexpr int RecentBars = 60;
// Weekly swing points count for a zone within this share of the clustering distance.
constexpr double WeeklyTolerance = 0.25;

struct TClusterContext {
    const TSRParams& Params;
    int BarCount;
    double MinWidth;
    double WeeklyMargin;
    const std::vector<double>& WeeklyPrices;
};

// Turns one cluster of pivots (in ascending price order) into a candidate zone when it was
// touched often enough.
void CloseCluster(const TClusterContext& AContext, std::span<TPivot> ACluster,
                  std::vector<TPriceZone>& ACandidates) {
    if (ACluster.empty()) {
        return;
    }
    TPriceZone zone;
    zone.Bottom = ACluster.front().Price;
    zone.Top = ACluster.back().Price;
    if (AContext.MinWidth > zone.Top - zone.Bottom) {
        // Too thin a cluster is widened around its centre, so one price still makes a band.
        const double centre = (zone.Bottom + zone.Top) / 2;
        zone.Bottom = centre - AContext.MinWidth / 2;
        zone.Top = centre + AContext.MinWidth / 2;
    }
    zones::CountTouches(zone, ACluster, AContext.Params.MinBarsBetween);
    if (zone.Touches < AContext.Params.MinTouches) {
        return;
    }
    const double low = zone.Bottom - AContext.WeeklyMargin;
    const double high = zone.Top + AContext.WeeklyMargin;
    zone.WeeklyTouches = static_cast<int>(
        std::count_if(AContext.WeeklyPrices.begin(), AContext.WeeklyPrices.end(),
                      [low, high](double APrice) { return low <= APrice && APrice <= high; }));
    zone.Score = zone.Touches + 1.5 * zone.WeeklyTouches + 0.5 * zone.VolumeConfirmed;
    if ((AContext.BarCount - 1) - zone.LastTouchIndex <= RecentBars) {
        zone.Score += 1;
    }
    ACandidates.push_back(zone);
}

}  // namespace

TSupportResistanceAnalyzer::TSupportResistanceAnalyzer(const TSRParams& AParams)
    : FParams(AParams) {
    AParams.Validate();
}

std::vector<double> TSupportResistanceAnalyzer::VolumeAverage(
    std::span<const TPriceBar> ABars) const {
    std::vector<double> volumes;
    volumes.reserve(ABars.size());
    for (const TPriceBar& bar : ABars) {
        volumes.push_back(static_cast<double>(bar.Volume));
    }
    return ComputeSMA(volumes, FParams.VolumePeriod);
}

TSRResult TSupportResistanceAnalyzer::Analyze(const TPriceSeries& ASeries) const {
    return AnalyzeStretch(ASeries.Bars(), Facts(ASeries.Bars()), 0, ASeries.Count());
}

TSupportResistanceAnalyzer::TBarFacts TSupportResistanceAnalyzer::Facts(
    std::span<const TPriceBar> ABars) const {
    TBarFacts facts;
    facts.WeekStart.reserve(ABars.size());
    for (const TPriceBar& bar : ABars) {
        facts.WeekStart.push_back(WeekStart(bar.Date));
    }
    zones::FindSwings(ABars, FParams.PivotWindow, facts.SwingLow, facts.SwingHigh);
    facts.VolumeAverage = VolumeAverage(ABars);
    facts.TrueRanges = TrueRanges(ABars);
    const double exactLimit = 9007199254740992.0 / FParams.VolumePeriod;
    facts.ExactVolumeSums =
        std::all_of(ABars.begin(), ABars.end(), [exactLimit](const TPriceBar& ABar) {
            return ABar.Volume >= 0 && static_cast<double>(ABar.Volume) <= exactLimit;
        });
    return facts;
}

TSRResult TSupportResistanceAnalyzer::AnalyzeStretch(std::span<const TPriceBar> ABars,
                                                     const TBarFacts& AFacts, int AFirst,
                                                     int ACount) const {
    TSRResult result;
    const int n = ACount;
    const std::int64_t required =
        2 * static_cast<std::int64_t>(FParams.PivotWindow) + FParams.AtrPeriod + 1;
    if (n < required) {
        throw EIndicatorError(Format("Supports/resistances : %d seances insuffisantes", n));
    }
    const std::span<const TPriceBar> bars = ABars.subspan(AFirst, ACount);
    result.Atr = LastATR(std::span(AFacts.TrueRanges).subspan(AFirst, ACount), FParams.AtrPeriod);
    result.LastClose = bars.back().Close;
    const double clusterDistance = FParams.ClusterAtr * result.Atr;

    std::vector<double> volumeAverage;
    if (AFacts.ExactVolumeSums) {
        volumeAverage.assign(AFacts.VolumeAverage.begin() + AFirst,
                             AFacts.VolumeAverage.begin() + AFirst + ACount);
        std::fill_n(volumeAverage.begin(), std::min(ACount, FParams.VolumePeriod - 1), NaN);
    } else {
        volumeAverage = VolumeAverage(bars);
    }
    const std::vector<double> weeklyPrices = zones::WeeklyPivotPrices(
        WeeklyBars(bars, std::span(AFacts.WeekStart).subspan(AFirst, ACount)),
        FParams.WeeklyPivotWindow);
    std::vector<TPivot> pivots =
        zones::FindPivots(bars, FParams.PivotWindow, volumeAverage,
                          std::span(AFacts.SwingLow).subspan(AFirst, ACount),
                          std::span(AFacts.SwingHigh).subspan(AFirst, ACount));
    std::sort(pivots.begin(), pivots.end(), [](const TPivot& A, const TPivot& B) {
        return A.Price < B.Price || (A.Price == B.Price && A.Index < B.Index);
    });

    const TClusterContext context{FParams, n, FParams.MinWidthAtr * result.Atr,
                                  WeeklyTolerance * clusterDistance, weeklyPrices};
    // One pass over the pivots by price: a cluster grows while each new price stays within the
    // clustering distance above the mean of the prices already in it.
    std::vector<TPriceZone> candidates;
    std::size_t clusterStart = 0;
    double clusterSum = 0;
    for (std::size_t i = 0; i < pivots.size(); ++i) {
        const std::size_t size = i - clusterStart;
        if (size > 0 &&
            pivots[i].Price - clusterSum / static_cast<double>(size) > clusterDistance) {
            CloseCluster(context, std::span(pivots).subspan(clusterStart, size), candidates);
            clusterStart = i;
            clusterSum = 0;
        }
        clusterSum += pivots[i].Price;
    }
    CloseCluster(context, std::span(pivots).subspan(clusterStart), candidates);

    zones::ClassifyZones(zones::MergeZones(candidates), result.LastClose, FParams.MaxZonesPerSide,
                         result);
    return result;
}

}  // namespace cotalys
