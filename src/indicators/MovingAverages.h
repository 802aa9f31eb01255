#pragma once

#include <vector>

namespace cotalys {

// Indicator arrays hold one double per bar, oldest first, with a quiet NaN wherever no value
// exists (warm-up, gaps); every consumer tests for NaN before use.

// Count quiet NaNs: the starting point of every indicator result.
std::vector<double> NaNArray(int ACount);

// Simple moving average over APeriod values ending at each position; a NaN input restarts the
// window, so the next value comes APeriod positions after the gap. Throws EIndicatorError when
// APeriod < 1.
std::vector<double> ComputeSMA(const std::vector<double>& AValues, int APeriod);

// Exponential moving average with K = 2 / (APeriod + 1), seeded by the plain mean of the first
// APeriod values after any leading NaNs; a later NaN input repeats the previous average. Too
// short an input gives all NaN. Throws EIndicatorError when APeriod < 1 or when the seed window
// holds a NaN.
std::vector<double> ComputeEMA(const std::vector<double>& AValues, int APeriod);

// Index of the first value of an SMA or EMA over an input without NaN.
inline int MovingAverageLookback(int APeriod) {
    return APeriod - 1;
}

}  // namespace cotalys
