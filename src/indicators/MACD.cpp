#include "indicators/MACD.h"

#include <algorithm>
#include <cmath>

#include "indicators/ChunkedArray.h"
#include "indicators/Lanes.h"
#include "indicators/StreamingEMA.h"

namespace cotalys {

namespace {

// ADifference[i] := A[i] - B[i] for ACount positions, NaN where either is NaN as NaN
// arithmetic gives it.
COTALYS_LANE_CLONES
void Subtract(const double* __restrict A, const double* __restrict B,
              double* __restrict ADifference, int ACount) {
    for (int i = 0; i < ACount; ++i) {
        ADifference[i] = A[i] - B[i];
    }
}

// The sign of the last non-zero histogram value at or before AIndex: +1, -1, or 0 when a NaN or
// the start of the array comes first.
int LastNonZeroSign(const std::vector<double>& AHistogram, int AIndex) {
    for (int j = AIndex; j >= 0; --j) {
        const double value = AHistogram[j];
        if (std::isnan(value)) {
            return 0;
        }
        if (value > 0) {
            return 1;
        }
        if (value < 0) {
            return -1;
        }
    }
    return 0;
}

}  // namespace

TMACDResult ComputeMACD(const std::vector<double>& ACloses, const TMACDParams& AParams) {
    AParams.Validate();
    const int n = static_cast<int>(ACloses.size());
    const double* closes = ACloses.data();
    // The three averages run side by side over each chunk of closes. Once seeded an average
    // never returns to NaN, so the MACD line has a value from the slow average's seed on, and
    // the signal needs SignalPeriod values of it.
    const int counted = n - LeadingNaNCount(closes, n);
    TStreamingEMA fast(AParams.FastPeriod, counted >= AParams.FastPeriod);
    TStreamingEMA slow(AParams.SlowPeriod, counted >= AParams.SlowPeriod);
    TStreamingEMA signal(AParams.SignalPeriod,
                         counted - (AParams.SlowPeriod - 1) >= AParams.SignalPeriod);
    TMACDResult result;
    for (std::vector<double>* line : {&result.MACD, &result.Signal, &result.Histogram}) {
        line->reserve(ACloses.size());
    }
    double fastChunk[IndicatorChunk];
    double slowChunk[IndicatorChunk];
    double macdChunk[IndicatorChunk];
    double signalChunk[IndicatorChunk];
    double histogramChunk[IndicatorChunk];
    for (int from = 0; from < n; from += IndicatorChunk) {
        const int count = std::min(IndicatorChunk, n - from);
        fast.Run(closes + from, fastChunk, count);
        slow.Run(closes + from, slowChunk, count);
        Subtract(fastChunk, slowChunk, macdChunk, count);
        signal.Run(macdChunk, signalChunk, count);
        Subtract(macdChunk, signalChunk, histogramChunk, count);
        result.MACD.insert(result.MACD.end(), macdChunk, macdChunk + count);
        result.Signal.insert(result.Signal.end(), signalChunk, signalChunk + count);
        result.Histogram.insert(result.Histogram.end(), histogramChunk, histogramChunk + count);
    }
    return result;
}

TCrossKind TMACDResult::LastCross(int AFromIndex, int& AIndex) const {
    AIndex = -1;
    const int lowest = AFromIndex > 1 ? AFromIndex : 1;
    for (int i = static_cast<int>(Histogram.size()) - 1; i >= lowest; --i) {
        const double cur = Histogram[i];
        const double prev = Histogram[i - 1];
        // The search never reaches into the warm-up.
        if (std::isnan(cur) || std::isnan(prev)) {
            return TCrossKind::ckNone;
        }
        // A candidate step is a crossing only when the histogram really changed side: a touch of
        // 0 followed by a return to the same side (+, 0, +) is no crossing, while -, 0, 0, +
        // is a bullish one at the + bar.
        if (prev <= 0 && cur > 0 && LastNonZeroSign(Histogram, i - 1) <= 0) {
            AIndex = i;
            return TCrossKind::ckBullish;
        }
        if (prev >= 0 && cur < 0 && LastNonZeroSign(Histogram, i - 1) >= 0) {
            AIndex = i;
            return TCrossKind::ckBearish;
        }
    }
    return TCrossKind::ckNone;
}

}  // namespace cotalys
