#pragma once

namespace cotalys {

// Exponential smoothing, average := average + K x (value - average): the EMA with
// K = 2 / (period + 1), and Wilder's average of the RSI and the ATR with K = 1 / period (the
// same as (average x (period - 1) + value) / period up to rounding, without a division in the
// chain that carries the average from bar to bar).
class TExponentialSmoothing {
public:
    explicit TExponentialSmoothing(double AK)
        : FK(AK), FK1(AK * (1 - AK)), FK2(FK1 * (1 - AK)), FK3(FK2 * (1 - AK)) {}

    // The average after one more value.
    double Step(double AAverage, double AValue) const {
        return AAverage + FK * (AValue - AAverage);
    }

    // The averages after each of four values, in AOut[0..3]; returns the last. Each is the
    // average before the block plus its weighted distances to the block's values: the same
    // averages up to rounding and exact on constant input like Step, but the average handed to
    // the next block waits on four operations for four values instead of three per value.
    double StepFour(double AAverage, const double* AValues, double* AOut) const {
        const double d0 = AValues[0] - AAverage;
        const double d1 = AValues[1] - AAverage;
        const double d2 = AValues[2] - AAverage;
        const double d3 = AValues[3] - AAverage;
        AOut[0] = AAverage + FK * d0;
        AOut[1] = AAverage + (FK1 * d0 + FK * d1);
        AOut[2] = AAverage + (FK2 * d0 + FK1 * d1 + FK * d2);
        AOut[3] = AAverage + ((FK3 * d0 + FK2 * d1) + (FK1 * d2 + FK * d3));
        return AOut[3];
    }

private:
    double FK;
    double FK1;  // K (1 - K): the weight of a value one step back
    double FK2;
    double FK3;
};

}  // namespace cotalys
