#include "indicators/Smoothing.h"

#include "indicators/SmoothingTurns.h"

namespace cotalys {

namespace {

using namespace lanes;

// The loop of StepBlocks: whole turns of sixteen values while they are finite, then one more
// block of eight if it is.
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
    for (; i + 2 * Width <= ACount; i += 2 * Width) {
        const double first[2] = {AValues[i], AValues[i + Width]};
        TLanes smoothed[2];
        for (int block = 0; block < 2; ++block) {
            Load(AValues + i + block * Width, smoothed[block]);
            smoothed[block] -= first[block];
            SmoothFromZero(weights, smoothed[block]);
        }
        if (!TurnIsFinite(smoothed)) {
            break;
        }
        const double next = i + 2 * Width < ACount ? AValues[i + 2 * Width] : first[1];
        TLanes averages[2];
        RelativeAverageTurn(weights, smoothed, first, next, gap, averages);
        Store(averages[0], AOut + i);
        Store(averages[1], AOut + i + Width);
    }
    if (i + Width <= ACount) {
        // A last block of eight (or the first of a turn that met a value not finite), relative
        // to its first value as in a turn.
        const double first = AValues[i];
        TLanes smoothed;
        Load(AValues + i, smoothed);
        smoothed -= first;
        SmoothFromZero(weights, smoothed);
        if (__builtin_isfinite(smoothed[Width - 1])) {
            Store(first + (weights.Decay * gap + smoothed), AOut + i);
            i += Width;
        }
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
