#pragma once

#include "indicators/Smoothing.h"

namespace cotalys {

// The number of NaNs before the first number of AValues (ACount when all are NaN).
int LeadingNaNCount(const double* AValues, int ACount);

// The exponential moving average of a series fed chunk by chunk, position by position the
// same as ComputeEMA over the whole series: NaN over the leading NaNs, the seed (the mean of
// the next APeriod values) at the last of them, then smoothing where a NaN repeats the previous
// average. Built with AComputes false, for a series with fewer than APeriod values after its
// leading NaNs, it gives NaN everywhere without looking at the values.
class TStreamingEMA {
public:
    TStreamingEMA(int APeriod, bool AComputes);

    // The averages at the next ACount positions. Throws EIndicatorError when the seed meets a
    // NaN.
    void Run(const double* AValues, double* AOut, int ACount);

    // True once the seed is behind: from then on every position gets an average.
    bool Seeded() const { return FComputes && FSeedCount == FPeriod; }

    const TExponentialSmoothing& Smoothing() const { return FSmoothing; }

    // The average at the last position run. A loop that runs several averages together over
    // the next positions, once they are seeded, moves it on for them.
    double& Average() { return FAverage; }

private:
    int FPeriod;
    bool FComputes;
    TExponentialSmoothing FSmoothing;
    int FSeedCount = 0;
    double FSeedSum = 0;
    double FAverage = 0;
};

}  // namespace cotalys
