#pragma once

#include <vector>

namespace cotalys {

// Relative strength index 0..100 with Wilder smoothing; the first value is at index APeriod.
// An input no longer than APeriod gives all NaN without being read. Throws EIndicatorError when
// APeriod < 2 or when a close is NaN (the RSI never skips a gap).
std::vector<double> ComputeRSI(const std::vector<double>& ACloses, int APeriod);

// One RSI value from the average gain and loss: 100 - 100 / (1 + gain / loss); 50 when both are
// zero, 100 when only the loss is zero (zero meaning at most 1e-12).
double RSIFromAverages(double AAvgGain, double AAvgLoss);

// 0 when AValue <= ALow ("survente"), 2 when AValue >= AHigh ("surachat"), else 1 ("neutre").
int ClassifyRSI(double AValue, double ALow, double AHigh);

// Index of the first RSI value.
inline int RSILookback(int APeriod) {
    return APeriod;
}

}  // namespace cotalys
