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

// The weekly swing prices of the stretch of ACount bars of ABars from AFirst: the series' weeks,
// the first and the last cut to the stretch's bars.
std::vector<double> StretchWeeklyPrices(std::span<const TPriceBar> ABars,
                                        const TSupportResistanceAnalyzer::TBarFacts& AFacts,
                                        int AFirst, int ACount, int AWindow) {
    const int end = AFirst + ACount;
    const int firstWeek = AFacts.WeekOfBar[AFirst];
    const int lastWeek = AFacts.WeekOfBar[end - 1];
    std::vector<TPriceBar> weeks(AFacts.Weeks.begin() + firstWeek,
                                 AFacts.Weeks.begin() + lastWeek + 1);
    const int headEnd = std::min(AFacts.WeekFirstBar[firstWeek + 1], end);
    weeks.front() = zones::WeeklyBar(ABars.subspan(AFirst, headEnd - AFirst));
    const int tailStart = std::max(AFacts.WeekFirstBar[lastWeek], AFirst);
    weeks.back() = zones::WeeklyBar(ABars.subspan(tailStart, end - tailStart));
    return zones::WeeklyPivotPrices(weeks, AWindow, std::span(AFacts.WeeklyLow).subspan(firstWeek),
                                    std::span(AFacts.WeeklyHigh).subspan(firstWeek));
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
    facts.WeekFirstBar = zones::WeekFirstBars(ABars);
    facts.Weeks = zones::WeeklyBars(ABars, facts.WeekFirstBar);
    for (std::size_t k = 0; k < facts.Weeks.size(); ++k) {
        facts.WeekOfBar.insert(facts.WeekOfBar.end(),
                               facts.WeekFirstBar[k + 1] - facts.WeekFirstBar[k],
                               static_cast<int>(k));
    }
    zones::FindWeeklySwings(facts.Weeks, FParams.WeeklyPivotWindow, facts.WeeklyLow,
                            facts.WeeklyHigh);
    zones::FindSwings(ABars, FParams.PivotWindow, facts.SwingLow, facts.SwingHigh);
    for (std::size_t i = 0; i < ABars.size(); ++i) {
        if (facts.SwingLow[i] || facts.SwingHigh[i]) {
            facts.SwingBars.push_back(static_cast<int>(i));
        }
    }
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

    // The stretch's volume average at each bar: the series' one from the VolumePeriod-th bar of
    // the stretch on when the series' sums are exact, else its own.
    const std::vector<double> ownAverage =
        AFacts.ExactVolumeSums ? std::vector<double>() : VolumeAverage(bars);
    const auto volumeAverage = [&](int AIndex) {
        if (!AFacts.ExactVolumeSums) {
            return ownAverage[AIndex];
        }
        return AIndex < FParams.VolumePeriod - 1 ? NaN : AFacts.VolumeAverage[AFirst + AIndex];
    };
    const std::vector<double> weeklyPrices =
        StretchWeeklyPrices(ABars, AFacts, AFirst, ACount, FParams.WeeklyPivotWindow);
    // The series' swings at least PivotWindow bars inside the stretch, numbered from its start.
    const std::vector<int>& swings = AFacts.SwingBars;
    const auto from = std::lower_bound(swings.begin(), swings.end(), AFirst + FParams.PivotWindow);
    const auto to = std::lower_bound(from, swings.end(), AFirst + ACount - FParams.PivotWindow);
    std::vector<TPivot> pivots;
    pivots.reserve(2 * static_cast<std::size_t>(to - from));
    for (auto swing = from; swing != to; ++swing) {
        const int index = *swing - AFirst;
        zones::AddPivots(bars, index, volumeAverage(index), AFacts.SwingLow[*swing],
                         AFacts.SwingHigh[*swing], pivots);
    }
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
