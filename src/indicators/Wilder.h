#pragma once

namespace cotalys {

// One step of Wilder's smoothing, the average of the RSI and the ATR: the new value weighs
// 1/period and the running average the rest. Written as A + (x - A) x (1/period), the same
// average as (A x (period - 1) + x) / period up to rounding, exact on constant input, and
// without a division in the chain that carries the average from bar to bar (a division there
// would set the pace of the whole loop).
inline double WilderStep(double AAverage, double AValue, double AReciprocal) {
    return AAverage + (AValue - AAverage) * AReciprocal;
}

}  // namespace cotalys
