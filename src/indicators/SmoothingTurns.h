#pragma once

#include "indicators/Lanes.h"
#include "indicators/Smoothing.h"

// The steps of the vector loops of exponential smoothing, for the files that compile them for
// each instruction set. A turn smooths two blocks of eight values; the average handed from one
// turn to the next waits on a single multiply-add, whatever else the turn computes.
namespace cotalys::lanes {

using TBlockWeights = TExponentialSmoothing::TBlockWeights;

// Lane j of ALanes becomes the smoothing from 0, with weights AWeights, of the block's values up
// to lane j: sum over m <= j of K a^(j - m) x lane m.
[[gnu::always_inline]] inline void SmoothFromZero(const TBlockWeights& AWeights,
                                                  TLanes& ALanes) {
    ALanes *= AWeights.K;
    DecayedPrefixSum(ALanes, AWeights.A);
}

// The averages of a turn from the average AAverage (in every lane) before it, ASmoothed being
// each block's SmoothFromZero: a^(j+1) x average + smoothed. AAverage becomes the average after
// the turn.
[[gnu::always_inline]] inline void AverageTurn(const TBlockWeights& AWeights,
                                               const TLanes (&ASmoothed)[2], TLanes& AAverage,
                                               TLanes (&AOut)[2]) {
    TLanes lastA;
    TLanes lastB;
    BroadcastLast(ASmoothed[0], lastA);
    BroadcastLast(ASmoothed[1], lastB);
    AOut[0] = AWeights.Decay * AAverage + ASmoothed[0];
    AOut[1] = AWeights.Decay * (AWeights.Decay8 * AAverage + lastA) + ASmoothed[1];
    AAverage = AWeights.Decay16 * AAverage + (AWeights.Decay8 * lastA + lastB);
}

// The same, each block smoothed relative to its first value (AFirst, with ANext the first value
// after the turn), so that a constant input gives exactly the constant: ASmoothed is the
// SmoothFromZero of the values minus the block's first, and AGap the average before the turn
// minus the turn's first value, which becomes the average after it minus ANext.
[[gnu::always_inline]] inline void RelativeAverageTurn(const TBlockWeights& AWeights,
                                                       const TLanes (&ASmoothed)[2],
                                                       const double (&AFirst)[2], double ANext,
                                                       TLanes& AGap, TLanes (&AOut)[2]) {
    TLanes lastA;
    TLanes lastB;
    BroadcastLast(ASmoothed[0], lastA);
    BroadcastLast(ASmoothed[1], lastB);
    const TLanes stepA = lastA + (AFirst[0] - AFirst[1]);
    const TLanes stepB = lastB + (AFirst[1] - ANext);
    AOut[0] = AFirst[0] + (AWeights.Decay * AGap + ASmoothed[0]);
    AOut[1] = AFirst[1] + (AWeights.Decay * (AWeights.Decay8 * AGap + stepA) + ASmoothed[1]);
    AGap = AWeights.Decay16 * AGap + (AWeights.Decay8 * stepA + stepB);
}

// Every weight of SmoothFromZero is positive when a > 0, so a NaN or an infinity anywhere in
// a turn's values reaches the sum of the blocks' last lanes.
[[gnu::always_inline]] inline bool TurnIsFinite(const TLanes (&ASmoothed)[2]) {
    return __builtin_isfinite(ASmoothed[0][Width - 1] + ASmoothed[1][Width - 1]);
}

}  // namespace cotalys::lanes
