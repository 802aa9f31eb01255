#pragma once

#include <cmath>
#include <vector>

namespace cotalys {

// Relative strength index 0..100 with Wilder smoothing; the first value is at index APeriod.
// An input no longer than APeriod gives all NaN without being read. Throws EIndicatorError when
// APeriod < 2 or when a close is NaN (the RSI never skips a gap).
std::vector<double> ComputeRSI(const std::vector<double>& ACloses, int APeriod);

// Average gains and losses of magnitude up to this count as zero.
constexpr double RSIZeroTolerance = 1e-12;

// One RSI value from the average gain and loss: 50 when both are zero, 100 when only the loss
// is zero. Inline: ComputeRSI calls it once per bar.
inline double RSIFromAverages(double AAvgGain, double AAvgLoss) {
    // 100 - 100 / (1 + RS) with RS = gain / loss, written with one division instead of two:
    // the same value up to rounding. Computed in every case and then chosen, without a branch,
    // so that a loop of these becomes vector code.
    const double withLoss = 100.0 * AAvgGain / (AAvgGain + AAvgLoss);
    // No loss at all: a flat market is neutral, a market that only rose is at the top.
    const double withoutLoss = std::fabs(AAvgGain) <= RSIZeroTolerance ? 50.0 : 100.0;
    return std::fabs(AAvgLoss) <= RSIZeroTolerance ? withoutLoss : withLoss;
}

// 0 when AValue <= ALow ("survente"), 2 when AValue >= AHigh ("surachat"), else 1 ("neutre").
int ClassifyRSI(double AValue, double ALow, double AHigh);

// Index of the first RSI value.
inline int RSILookback(int APeriod) {
    return APeriod;
}

}  // namespace cotalys
