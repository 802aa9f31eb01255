#pragma once

#include "indicators/Lanes.h"

namespace cotalys {

// Exponential smoothing, average := average + K x (value - average): the EMA with
// K = 2 / (period + 1), and Wilder's average of the RSI and the ATR with K = 1 / period (the
// same as (average x (period - 1) + value) / period up to rounding, without a division in the
// chain that carries the average from bar to bar).
class TExponentialSmoothing {
public:
    explicit TExponentialSmoothing(double AK);

    // The average after one more value.
    double Step(double AAverage, double AValue) const {
        return AAverage + FWeights.K * (AValue - AAverage);
    }

    // Smooths the first values of AValues into AOut, from AAverage, the average before the
    // first, in blocks of eight at vector speed. Stops at the first block that holds a value
    // that is not finite, and before the last values short of a block; returns the number of
    // values smoothed (a multiple of eight), with AAverage the average of the last of them. The
    // same averages as Step up to rounding, and exact on constant input like Step.
    int StepBlocks(const double* AValues, double* AOut, int ACount, double& AAverage) const;

    // Smooths ACount values into AOut from AAverage, the average before the first; AAverage
    // becomes the last average. Every value counts, as in Step.
    void StepAll(const double* AValues, double* AOut, int ACount, double& AAverage) const;

    // K and the weights of the blocks of eight: a = 1 - K, lane j of Decay a^(j+1),
    // Decay8 = a^8 and Decay16 = a^16.
    struct TBlockWeights {
        double K;
        double A;
        lanes::TLanes Decay;
        double Decay8;
        double Decay16;
    };

    const TBlockWeights& Weights() const { return FWeights; }

private:
    TBlockWeights FWeights;
};

}  // namespace cotalys
