#include "indicators/MACD.h"

#include <cmath>

#include "indicators/MovingAverages.h"

namespace cotalys {

namespace {

// AInto[i] := A[i] - B[i], NaN where either is NaN as NaN arithmetic gives it. AInto may be A
// or B: each position is read before it is written.
void Subtract(const std::vector<double>& A, const std::vector<double>& B,
              std::vector<double>& AInto) {
    const std::size_t n = A.size();
    const double* a = A.data();
    const double* b = B.data();
    double* into = AInto.data();
    for (std::size_t i = 0; i < n; ++i) {
        into[i] = a[i] - b[i];
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
    TMACDResult result;
    // The fast EMA's array becomes the MACD line and the slow one's the histogram: three
    // arrays in all, one per result.
    result.MACD = ComputeEMA(ACloses, AParams.FastPeriod);
    result.Histogram = ComputeEMA(ACloses, AParams.SlowPeriod);
    Subtract(result.MACD, result.Histogram, result.MACD);
    // The EMA skips the leading NaNs of the MACD line, so the signal starts once the slow EMA
    // has run SignalPeriod bars.
    result.Signal = ComputeEMA(result.MACD, AParams.SignalPeriod);
    Subtract(result.MACD, result.Signal, result.Histogram);
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
