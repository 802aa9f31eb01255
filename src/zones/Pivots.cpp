#include <algorithm>
#include <cmath>
#include <cstdint>

#include "zones/ZoneSteps.h"

namespace cotalys::zones {

void FindSwings(std::span<const TPriceBar> ABars, int AWindow, std::vector<char>& ASwingLow,
                std::vector<char>& ASwingHigh) {
    const int n = static_cast<int>(ABars.size());
    ASwingLow.assign(ABars.size(), 0);
    ASwingHigh.assign(ABars.size(), 0);
    for (int i = AWindow; i < n - AWindow; ++i) {
        const double low = ABars[i].Low;
        const double high = ABars[i].High;
        // Strict against the bars before, loose against the bars after: of a run of equal
        // extremes only the first bar is a turning point.
        bool swingLow = true;
        bool swingHigh = true;
        for (int k = 1; k <= AWindow && (swingLow || swingHigh); ++k) {
            swingLow = swingLow && low < ABars[i - k].Low && low <= ABars[i + k].Low;
            swingHigh = swingHigh && high > ABars[i - k].High && high >= ABars[i + k].High;
        }
        ASwingLow[i] = swingLow;
        ASwingHigh[i] = swingHigh;
    }
}

std::vector<TPivot> FindPivots(std::span<const TPriceBar> ABars, int AWindow,
                               const std::vector<double>& AVolumeAverage,
                               std::span<const char> ASwingLow, std::span<const char> ASwingHigh) {
    std::vector<TPivot> pivots;
    const int n = static_cast<int>(ABars.size());
    for (int i = AWindow; i < n - AWindow; ++i) {
        if (!ASwingLow[i] && !ASwingHigh[i]) {
            continue;
        }
        // A turn is confirmed by volume when the bar or one of the next two traded at least the
        // average volume.
        std::int64_t maxVolume = 0;
        for (int j = i; j <= std::min(i + 2, n - 1); ++j) {
            maxVolume = std::max(maxVolume, ABars[j].Volume);
        }
        const double average = AVolumeAverage[i];
        const bool volumeOK =
            maxVolume > 0 && !std::isnan(average) && static_cast<double>(maxVolume) >= average;
        if (ASwingLow[i]) {
            pivots.push_back({i, ABars[i].Low, volumeOK});
        }
        if (ASwingHigh[i]) {
            pivots.push_back({i, ABars[i].High, volumeOK});
        }
    }
    return pivots;
}

std::vector<TPivot> FindPivots(const std::vector<TPriceBar>& ABars, int AWindow,
                               const std::vector<double>& AVolumeAverage) {
    std::vector<char> swingLow;
    std::vector<char> swingHigh;
    FindSwings(ABars, AWindow, swingLow, swingHigh);
    return FindPivots(ABars, AWindow, AVolumeAverage, swingLow, swingHigh);
}

std::vector<double> WeeklyPivotPrices(const std::vector<TPriceBar>& AWeeks, int AWindow) {
    std::vector<double> prices;
    const int m = static_cast<int>(AWeeks.size());
    for (int p = AWindow; p < m - AWindow; ++p) {
        bool weeklyLow = true;
        bool weeklyHigh = true;
        for (int k = p - AWindow; k <= p + AWindow; ++k) {
            if (k != p) {
                weeklyLow = weeklyLow && !(AWeeks[k].Low < AWeeks[p].Low);
                weeklyHigh = weeklyHigh && !(AWeeks[k].High > AWeeks[p].High);
            }
        }
        if (weeklyLow) {
            prices.push_back(AWeeks[p].Low);
        }
        if (weeklyHigh) {
            prices.push_back(AWeeks[p].High);
        }
    }
    return prices;
}

}  // namespace cotalys::zones
