#include "indicators/Smoothing.h"

#include <cmath>

namespace cotalys {

namespace {

using lanes::TLanes;
using lanes::Width;

using TBlockWeights = TExponentialSmoothing::TBlockWeights;

// Smooths the block of eight values at AValues relative to its first value V: with G the
// previous average minus V and U the values minus V, the averages are V + a^(j+1) G + Y(j),
// where Y is the smoothing of U from 0 and depends on the values only. Returns false, writing
// nothing, when the block holds a value that is not finite. Leaves the last lane of Y in every
// lane of ALastSmoothed.
[[gnu::always_inline]] inline bool SmoothBlock(const TBlockWeights& AWeights,
                                               const double* AValues, const TLanes& AGap,
                                               double* AOut, TLanes& ALastSmoothed) {
    const double first = AValues[0];
    TLanes smoothed;
    lanes::Load(AValues, smoothed);
    smoothed = AWeights.K * (smoothed - first);
    lanes::DecayedPrefixSum(smoothed, AWeights.A);
    // Every weight is positive, so a NaN or an infinity anywhere in the block reaches the last
    // lane.
    if (!std::isfinite(smoothed[Width - 1])) {
        return false;
    }
    lanes::Store(first + (AWeights.Decay * AGap + smoothed), AOut);
    lanes::BroadcastLast(smoothed, ALastSmoothed);
    return true;
}

// The block loop of StepBlocks, two blocks per turn: the gap to the first value handed from
// one turn to the next, G' = a^16 G + C, waits on a single multiply-add per sixteen values (C
// depends on the values only), and a constant input keeps every gap at 0 exactly.
COTALYS_LANE_CLONES
int SmoothLanes(const TBlockWeights& AWeights, const double* AValues, double* AOut, int ACount,
                double& AAverage) {
    // A local copy: the stores of the averages could otherwise overwrite the weights as far as
    // the compiler knows, and it would reload them after each.
    const TBlockWeights weights = AWeights;
    // Without decay (K = 1) the last lane would not see the others' values.
    if (!(weights.A > 0) || ACount < Width) {
        return 0;
    }
    const TLanes zero = {};
    TLanes gap = zero + (AAverage - AValues[0]);
    int i = 0;
    while (i + Width <= ACount) {
        TLanes lastA;
        if (!SmoothBlock(weights, AValues + i, gap, AOut + i, lastA)) {
            break;
        }
        // The gap of the second block, relative to its own first value (the first block's
        // when there is no second block).
        const int second = i + Width < ACount ? i + Width : i;
        const TLanes stepA = lastA + (AValues[i] - AValues[second]);
        TLanes lastB;
        if (i + 2 * Width > ACount ||
            !SmoothBlock(weights, AValues + i + Width, weights.Decay8 * gap + stepA,
                         AOut + i + Width, lastB)) {
            i += Width;
            break;
        }
        const int third = i + 2 * Width < ACount ? i + 2 * Width : i + Width;
        const TLanes stepB = lastB + (AValues[i + Width] - AValues[third]);
        gap = weights.Decay16 * gap + (weights.Decay8 * stepA + stepB);
        i += 2 * Width;
    }
    if (i > 0) {
        AAverage = AOut[i - 1];
    }
    return i;
}

}  // namespace

TExponentialSmoothing::TExponentialSmoothing(double AK) : FWeights{AK, 1 - AK, {}, 1, 1} {
    for (int j = 0; j < Width; ++j) {
        FWeights.Decay8 *= FWeights.A;
        FWeights.Decay[j] = FWeights.Decay8;
    }
    FWeights.Decay16 = FWeights.Decay8 * FWeights.Decay8;
}

int TExponentialSmoothing::StepBlocks(const double* AValues, double* AOut, int ACount,
                                      double& AAverage) const {
    return SmoothLanes(FWeights, AValues, AOut, ACount, AAverage);
}

void TExponentialSmoothing::StepAll(const double* AValues, double* AOut, int ACount,
                                    double& AAverage) const {
    int i = 0;
    while (i < ACount) {
        i += StepBlocks(AValues + i, AOut + i, ACount - i, AAverage);
        if (i < ACount) {
            AAverage = Step(AAverage, AValues[i]);
            AOut[i] = AAverage;
            ++i;
        }
    }
}

}  // namespace cotalys
