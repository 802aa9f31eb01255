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

void AddPivots(std::span<const TPriceBar> ABars, int AIndex, double AVolumeAverage, bool ASwingLow,
               bool ASwingHigh, std::vector<TPivot>& APivots) {
    const int n = static_cast<int>(ABars.size());
    std::int64_t maxVolume = 0;
    for (int j = AIndex; j <= std::min(AIndex + 2, n - 1); ++j) {
        maxVolume = std::max(maxVolume, ABars[j].Volume);
    }
    const bool volumeOK = maxVolume > 0 && !std::isnan(AVolumeAverage) &&
                          static_cast<double>(maxVolume) >= AVolumeAverage;
    if (ASwingLow) {
        APivots.push_back({AIndex, ABars[AIndex].Low, volumeOK});
    }
    if (ASwingHigh) {
        APivots.push_back({AIndex, ABars[AIndex].High, volumeOK});
    }
}

std::vector<TPivot> FindPivots(const std::vector<TPriceBar>& ABars, int AWindow,
                               const std::vector<double>& AVolumeAverage) {
    std::vector<char> swingLow;
    std::vector<char> swingHigh;
    FindSwings(ABars, AWindow, swingLow, swingHigh);
    std::vector<TPivot> pivots;
    for (int i = AWindow; i < static_cast<int>(ABars.size()) - AWindow; ++i) {
        AddPivots(ABars, i, AVolumeAverage[i], swingLow[i], swingHigh[i], pivots);
    }
    return pivots;
}

namespace {

void WeeklySwing(std::span<const TPriceBar> AWeeks, int AIndex, int AWindow, bool& ALow,
                 bool& AHigh) {
    ALow = true;
    AHigh = true;
    for (int k = AIndex - AWindow; k <= AIndex + AWindow; ++k) {
        if (k != AIndex) {
            ALow = ALow && !(AWeeks[k].Low < AWeeks[AIndex].Low);
            AHigh = AHigh && !(AWeeks[k].High > AWeeks[AIndex].High);
        }
    }
}

}  // namespace

void FindWeeklySwings(std::span<const TPriceBar> AWeeks, int AWindow, std::vector<char>& ALow,
                      std::vector<char>& AHigh) {
    const int m = static_cast<int>(AWeeks.size());
    ALow.assign(AWeeks.size(), 0);
    AHigh.assign(AWeeks.size(), 0);
    for (int p = AWindow; p < m - AWindow; ++p) {
        bool low = false;
        bool high = false;
        WeeklySwing(AWeeks, p, AWindow, low, high);
        ALow[p] = low;
        AHigh[p] = high;
    }
}

std::vector<double> WeeklyPivotPrices(const std::vector<TPriceBar>& AWeeks, int AWindow,
                                      std::span<const char> AKnownLow,
                                      std::span<const char> AKnownHigh) {
    std::vector<double> prices;
    const int m = static_cast<int>(AWeeks.size());
    for (int p = AWindow; p < m - AWindow; ++p) {
        bool low = false;
        bool high = false;
        if (AKnownLow.empty() || p == AWindow || p == m - 1 - AWindow) {
            WeeklySwing(AWeeks, p, AWindow, low, high);
        } else {
            low = AKnownLow[p];
            high = AKnownHigh[p];
        }
        if (low) {
            prices.push_back(AWeeks[p].Low);
        }
        if (high) {
            prices.push_back(AWeeks[p].High);
        }
    }
    return prices;
}

}  // namespace cotalys::zones
