#pragma once

#include <algorithm>
#include <limits>
#include <vector>

namespace cotalys {

// Positions an indicator routine computes at a time into a buffer on the stack: small enough
// to stay in the first-level cache, large enough that the per-chunk work does not count.
constexpr int IndicatorChunk = 512;

// Builds an array of ACount values front to back, AFill(from, count, out) writing positions
// from .. from + count - 1 into out, at most IndicatorChunk at a time. Each position of the
// result is written once, where filling an array with NaN and then overwriting it writes every
// position twice.
template <typename TFill>
std::vector<double> FillInChunks(int ACount, TFill&& AFill) {
    std::vector<double> result;
    result.reserve(ACount > 0 ? static_cast<std::size_t>(ACount) : 0);
    double chunk[IndicatorChunk];
    for (int from = 0; from < ACount; from += IndicatorChunk) {
        const int count = std::min(IndicatorChunk, ACount - from);
        AFill(from, count, chunk);
        result.insert(result.end(), chunk, chunk + count);
    }
    return result;
}

// For a chunk of positions AFrom .. AFrom + ACount - 1: writes NaN at the positions before
// AFirstIndex, where an indicator has no value yet, and AFirstValue at AFirstIndex; returns
// how many positions of the chunk it wrote.
inline int WriteWarmUp(int AFrom, int ACount, int AFirstIndex, double AFirstValue,
                       double* AOut) {
    int j = 0;
    for (; j < ACount && AFrom + j <= AFirstIndex; ++j) {
        AOut[j] = AFrom + j < AFirstIndex ? std::numeric_limits<double>::quiet_NaN() : AFirstValue;
    }
    return j;
}

}  // namespace cotalys
