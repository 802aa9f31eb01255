#include "indicators/MACD.h"

#include <cmath>

#include "indicators/MovingAverages.h"

namespace cotalys {

namespace {

// ALeft[i] - ARight[i] wherever neither is NaN; NaN elsewhere.
std::vector<double> Difference(const std::vector<double>& ALeft,
                               const std::vector<double>& ARight) {
    std::vector<double> result = NaNArray(static_cast<int>(ALeft.size()));
    for (std::size_t i = 0; i < ALeft.size(); ++i) {
        if (!std::isnan(ALeft[i]) && !std::isnan(ARight[i])) {
            result[i] = ALeft[i] - ARight[i];
        }
    }
    return result;
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
    result.MACD = Difference(ComputeEMA(ACloses, AParams.FastPeriod),
                             ComputeEMA(ACloses, AParams.SlowPeriod));
    // The signal's average skips the MACD line's leading NaNs: with 12, 26, 9 and no missing
    // close, its first value is at index 25 + 9 - 1 = 33.
    result.Signal = ComputeEMA(result.MACD, AParams.SignalPeriod);
    result.Histogram = Difference(result.MACD, result.Signal);
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
