#pragma once

#include <span>
#include <vector>

#include "core/Core.h"
#include "zones/PriceZone.h"
#include "zones/SRParams.h"

namespace cotalys {

// Finds support and resistance zones from repeated swing points. It keeps no state beyond its
// parameters, so one analyzer may analyze any number of series in turn, from any one thread.
class TSupportResistanceAnalyzer {
public:
    // A daily swing point: its bar, its price (the low of a swing low, the high of a swing
    // high) and whether the volume of the bar or the next two reached the average.
    struct TPivot {
        int Index = 0;
        double Price = 0;
        bool VolumeOK = false;
    };

    // What the analyses of any stretch of one series share, found once for the whole series.
    struct TBarFacts {
        // The series' weeks: the first bar of each (then the bar count), the week of each bar,
        // each week's bar, and whether each week is a weekly swing low or high. A stretch's weeks
        // are the series' ones, but for its first and last, which it may cut short.
        std::vector<int> WeekFirstBar;
        std::vector<int> WeekOfBar;
        std::vector<TPriceBar> Weeks;
        std::vector<char> WeeklyLow;
        std::vector<char> WeeklyHigh;
        // Whether each bar is a daily swing low or high against its PivotWindow neighbours on
        // both sides, and the bars that are either, in order. A stretch's pivots are the series'
        // swings at least PivotWindow bars inside the stretch.
        std::vector<char> SwingLow;
        std::vector<char> SwingHigh;
        std::vector<int> SwingBars;
        // The series' volume average. Its sums of whole volumes are exact when no sum of a
        // window can pass 2^53, and then a stretch's average of a bar is the series' one from
        // the VolumePeriod-th bar of the stretch on.
        std::vector<double> VolumeAverage;
        bool ExactVolumeSums = false;
        // The true range of each bar, from which a stretch's average true range is drawn.
        std::vector<double> TrueRanges;
    };

    // Throws EIndicatorError "Parametres supports/resistances invalides".
    explicit TSupportResistanceAnalyzer(const TSRParams& AParams);

    // Zones as of the last bar: supports nearest first, then resistances nearest first, at most
    // MaxZonesPerSide per side. Throws EIndicatorError when the series has fewer than
    // 2 x PivotWindow + AtrPeriod + 1 bars. No zone at all is a normal result.
    TSRResult Analyze(const TPriceSeries& ASeries) const;

    // The facts of ABars for the analyses of its stretches.
    TBarFacts Facts(std::span<const TPriceBar> ABars) const;
    // Analyze of the stretch of ACount bars of ABars starting at AFirst, whose facts are
    // AFacts: the same zones as Analyze of a series holding just those bars.
    TSRResult AnalyzeStretch(std::span<const TPriceBar> ABars, const TBarFacts& AFacts, int AFirst,
                             int ACount) const;

    // Wilder's average true range, one value per bar from index APeriod on, NaN before (and
    // everywhere when the series has no more than APeriod bars). Throws EIndicatorError when
    // APeriod < 1.
    static std::vector<double> ATR(const TPriceSeries& ASeries, int APeriod);

    // One bar per ISO 8601 week present in the series (weeks start on Monday): first open,
    // highest high, lowest low, last close, summed volume, dated by its last session.
    static std::vector<TPriceBar> WeeklyBars(const TPriceSeries& ASeries);
    // The Monday that opens ADate's ISO week, as a day number: two days share an ISO week
    // exactly when they share it.
    static int WeekStart(TDateTime ADate);

    const TSRParams& Params() const { return FParams; }

private:
    // The VolumePeriod-session average of the volumes ending at each bar.
    std::vector<double> VolumeAverage(std::span<const TPriceBar> ABars) const;

    TSRParams FParams;
};

}  // namespace cotalys
