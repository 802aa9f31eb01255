#include "indicators/MACD.h"

#include <algorithm>
#include <cmath>

#include "indicators/ChunkedArray.h"
#include "indicators/Lanes.h"
#include "indicators/SmoothingTurns.h"
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

// The three lines over the first positions of ACloses, sixteen per turn while a turn's closes
// are all finite, from the three averages, already seeded, before the first position (AFast,
// ASlow, ASignal), which become those at the last position done; returns how many positions it
// did. Everything stays in the registers from the closes to the histogram, and a flat stretch
// of closes gives a MACD line of exactly 0.
COTALYS_LANE_CLONES
int MACDTurns(const lanes::TBlockWeights& AFastWeights, const lanes::TBlockWeights& ASlowWeights,
              const lanes::TBlockWeights& ASignalWeights, const double* ACloses, int ACount,
              double* AMACD, double* ASignal, double* AHistogram, double& AFast, double& ASlow,
              double& ASignalAverage) {
    using namespace lanes;
    // Local copies, which the stores cannot overwrite as far as the compiler knows.
    const TBlockWeights fastWeights = AFastWeights;
    const TBlockWeights slowWeights = ASlowWeights;
    const TBlockWeights signalWeights = ASignalWeights;
    // The check of a turn reads the fast average's smoothing, whose weights must all be positive.
    if (!(fastWeights.A > 0) || ACount < 2 * Width) {
        return 0;
    }
    const TLanes zero = {};
    TLanes fastGap = zero + (AFast - ACloses[0]);
    TLanes slowGap = zero + (ASlow - ACloses[0]);
    TLanes signal = zero + ASignalAverage;
    TLanes fastAverages[2] = {};
    TLanes slowAverages[2] = {};
    int i = 0;
    for (; i + 2 * Width <= ACount; i += 2 * Width) {
        const double first[2] = {ACloses[i], ACloses[i + Width]};
        TLanes fast[2];
        TLanes slow[2];
        for (int block = 0; block < 2; ++block) {
            Load(ACloses + i + block * Width, fast[block]);
            fast[block] -= first[block];
            slow[block] = fast[block];
            SmoothFromZero(fastWeights, fast[block]);
            SmoothFromZero(slowWeights, slow[block]);
        }
        if (!TurnIsFinite(fast)) {
            break;
        }
        const double next = i + 2 * Width < ACount ? ACloses[i + 2 * Width] : first[1];
        RelativeAverageTurn(fastWeights, fast, first, next, fastGap, fastAverages);
        RelativeAverageTurn(slowWeights, slow, first, next, slowGap, slowAverages);
        const TLanes macd[2] = {fastAverages[0] - slowAverages[0],
                                fastAverages[1] - slowAverages[1]};
        TLanes smoothed[2] = {macd[0], macd[1]};
        SmoothFromZero(signalWeights, smoothed[0]);
        SmoothFromZero(signalWeights, smoothed[1]);
        TLanes signals[2];
        AverageTurn(signalWeights, smoothed, signal, signals);
        for (int block = 0; block < 2; ++block) {
            const int at = i + block * Width;
            Store(macd[block], AMACD + at);
            Store(signals[block], ASignal + at);
            Store(macd[block] - signals[block], AHistogram + at);
        }
    }
    if (i > 0) {
        AFast = fastAverages[1][Width - 1];
        ASlow = slowAverages[1][Width - 1];
        ASignalAverage = signal[0];
    }
    return i;
}

// Asks for the cache lines of the chunk after the one starting at AFrom in ALine, whose capacity
// holds ACount values. Three fresh arrays of a million values do not fit in the cache, and
// storing into lines still in memory would stall the loop: asked for in advance, they arrive
// while this chunk is computed. The routines writing a single array ran slower with it.
void PrefetchNextChunk(const std::vector<double>& ALine, int AFrom, int ACount) {
    const int next = AFrom + IndicatorChunk;
    const int count = std::min(IndicatorChunk, ACount - next);
    constexpr int ValuesPerLine = 64 / sizeof(double);
    for (int k = 0; k < count; k += ValuesPerLine) {
        __builtin_prefetch(ALine.data() + next + k, 1);
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
        for (const std::vector<double>* line : {&result.MACD, &result.Signal, &result.Histogram}) {
            PrefetchNextChunk(*line, from, n);
        }
        // Once the three averages are seeded the turns do the chunk, and each average runs on
        // its own over what they leave: the warm-up, and positions near missing closes.
        int done = 0;
        if (fast.Seeded() && slow.Seeded() && signal.Seeded()) {
            done = MACDTurns(fast.Smoothing().Weights(), slow.Smoothing().Weights(),
                             signal.Smoothing().Weights(), closes + from, count, macdChunk,
                             signalChunk, histogramChunk, fast.Average(), slow.Average(),
                             signal.Average());
        }
        const int rest = count - done;
        fast.Run(closes + from + done, fastChunk, rest);
        slow.Run(closes + from + done, slowChunk, rest);
        Subtract(fastChunk, slowChunk, macdChunk + done, rest);
        signal.Run(macdChunk + done, signalChunk + done, rest);
        Subtract(macdChunk + done, signalChunk + done, histogramChunk + done, rest);
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
