#include "indicators/RSI.h"

#include <cmath>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/ChunkedArray.h"
#include "indicators/Lanes.h"
#include "indicators/MovingAverages.h"
#include "indicators/Smoothing.h"
#include "indicators/SmoothingTurns.h"

namespace cotalys {

namespace {

using namespace lanes;

// ARSI[j] := RSIFromAverages(AGains[j], ALosses[j]) for ACount positions, in a loop the
// compiler turns into vector code.
COTALYS_LANE_CLONES
void RSIFromAverageArrays(const double* __restrict AGains, const double* __restrict ALosses,
                          double* __restrict ARSI, int ACount) {
    for (int j = 0; j < ACount; ++j) {
        ARSI[j] = RSIFromAverages(AGains[j], ALosses[j]);
    }
}

// The gains and losses of ACount bars from the closes before and at each: max(d, 0) and
// max(-d, 0) of the difference d, both exact, without a branch (rises and falls alternate at
// random, so a branch would be mispredicted about every other bar).
COTALYS_LANE_CLONES
void GainsAndLosses(const double* __restrict ACloses, double* __restrict AGains,
                    double* __restrict ALosses, int ACount) {
    for (int j = 0; j < ACount; ++j) {
        const double d = ACloses[j + 1] - ACloses[j];
        const double magnitude = std::fabs(d);
        AGains[j] = (magnitude + d) * 0.5;
        ALosses[j] = (magnitude - d) * 0.5;
    }
}

// Wilder's averages of the gains and losses of the first bars of ACloses (ACloses[-1] is the
// close before the first), sixteen bars per turn while sixteen remain; returns how many bars it
// did, with AGain and ALoss the averages at the last of them. The gains and losses stay in the
// registers. Each average goes from one turn to the next as E' = a^16 E + C, with C from the
// turn's gains (or losses) alone, so a turn waits on one multiply-add per average; a zero
// average stays exactly zero over a flat stretch.
COTALYS_LANE_CLONES
int SmoothGainsAndLosses(const TBlockWeights& AWeights, const double* ACloses,
                         double* AGainAverages, double* ALossAverages, int ACount,
                         double& AGain, double& ALoss) {
    typedef long long TBits __attribute__((vector_size(64)));
    // A local copy, which the stores cannot overwrite as far as the compiler knows.
    const TBlockWeights weights = AWeights;
    const TBits noSign = TBits{} + 0x7FFFFFFFFFFFFFFFLL;
    const double halfK = 0.5 * weights.K;
    const TLanes zero = {};
    TLanes gainAverage = zero + AGain;
    TLanes lossAverage = zero + ALoss;
    int i = 0;
    for (; i + 2 * Width <= ACount; i += 2 * Width) {
        TLanes gains[2];
        TLanes losses[2];
        for (int block = 0; block < 2; ++block) {
            TLanes close;
            TLanes previous;
            Load(ACloses + i + block * Width, close);
            Load(ACloses + i + block * Width - 1, previous);
            const TLanes d = close - previous;
            const TLanes magnitude = (TLanes)((TBits)d & noSign);
            // K x max(d, 0) and K x max(-d, 0), without a comparison, smoothed from zero.
            gains[block] = (magnitude + d) * halfK;
            losses[block] = (magnitude - d) * halfK;
            DecayedPrefixSum(gains[block], weights.A);
            DecayedPrefixSum(losses[block], weights.A);
        }
        TLanes averages[2];
        AverageTurn(weights, gains, gainAverage, averages);
        Store(averages[0], AGainAverages + i);
        Store(averages[1], AGainAverages + i + Width);
        AverageTurn(weights, losses, lossAverage, averages);
        Store(averages[0], ALossAverages + i);
        Store(averages[1], ALossAverages + i + Width);
    }
    AGain = gainAverage[0];
    ALoss = lossAverage[0];
    return i;
}

// Index of the first NaN among ACount values, or -1. The values are first checked all together
// at vector speed, by summing x - x, which is 0 for a number and NaN for a NaN (or an
// infinity); only when that sum is not 0 are they searched one by one.
COTALYS_LANE_CLONES
int FirstNaN(const double* AValues, int ACount) {
    TLanes flags = {};
    int i = 0;
    for (; i + Width <= ACount; i += Width) {
        TLanes values;
        Load(AValues + i, values);
        flags += values - values;
    }
    double sum = 0;
    for (; i < ACount; ++i) {
        sum += AValues[i] - AValues[i];
    }
    for (int lane = 0; lane < Width; ++lane) {
        sum += flags[lane];
    }
    if (sum == 0) {
        return -1;
    }
    for (i = 0; i < ACount; ++i) {
        if (std::isnan(AValues[i])) {
            return i;
        }
    }
    return -1;
}

}  // namespace

int ClassifyRSI(double AValue, double ALow, double AHigh) {
    if (AValue <= ALow) {
        return 0;
    }
    return AValue >= AHigh ? 2 : 1;
}

std::vector<double> ComputeRSI(const std::vector<double>& ACloses, int APeriod) {
    if (APeriod < 2) {
        throw EIndicatorError(Format("Periode RSI invalide : %d", APeriod));
    }
    const int n = static_cast<int>(ACloses.size());
    if (n <= APeriod) {
        return NaNArray(n);
    }
    const double* closes = ACloses.data();
    double gain = 0;
    double loss = 0;
    for (int i = 1; i <= APeriod; ++i) {
        const double d = closes[i] - closes[i - 1];
        if (d > 0) {
            gain += d;
        } else {
            loss -= d;
        }
    }
    double avgGain = gain / APeriod;
    double avgLoss = loss / APeriod;
    const double firstRSI = RSIFromAverages(avgGain, avgLoss);
    // Wilder smoothing, a chunk of bars at a time: the averages of the gains and losses, by
    // turns of sixteen bars and then bar by bar for the few left, then the RSI of each bar.
    // Each chunk of closes is first checked for a missing one, while it is in the cache: the
    // chunks come in order, so the first missing close is the one reported, and nothing
    // computed before it is returned.
    const TExponentialSmoothing smoothing(1.0 / APeriod);
    return FillInChunks(n, [&](int AFrom, int ACount, double* AOut) {
        if (const int missing = FirstNaN(closes + AFrom, ACount); missing >= 0) {
            throw EIndicatorError(Format("RSI : cours manquant a l'index %d", AFrom + missing));
        }
        const int j = WriteWarmUp(AFrom, ACount, APeriod, firstRSI, AOut);
        const int from = AFrom + j;
        const int count = ACount - j;
        double gainAverages[IndicatorChunk];
        double lossAverages[IndicatorChunk];
        const int fused = SmoothGainsAndLosses(smoothing.Weights(), closes + from, gainAverages,
                                               lossAverages, count, avgGain, avgLoss);
        // Fewer than a turn's bars are left.
        const int rest = count - fused;
        double gains[2 * Width];
        double losses[2 * Width];
        GainsAndLosses(closes + from + fused - 1, gains, losses, rest);
        smoothing.StepAll(gains, gainAverages + fused, rest, avgGain);
        smoothing.StepAll(losses, lossAverages + fused, rest, avgLoss);
        RSIFromAverageArrays(gainAverages, lossAverages, AOut + j, count);
    });
}

}  // namespace cotalys
