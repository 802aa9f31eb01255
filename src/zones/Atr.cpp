
#include <algorithm>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/ChunkedArray.h"
#include "indicators/Indicators.h"
#include "indicators/Smoothing.h"
#include "zones/SupportResistanceAnalyzer.h"

namespace cotalys {

std::vector<double> TSupportResistanceAnalyzer::ATR(const TPriceSeries& ASeries, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode ATR invalide : %d", APeriod));
    }
    const std::vector<TPriceBar>& bars = ASeries.Bars();
    const int n = static_cast<int>(bars.size());
    if (n <= APeriod) {
        return NaNArray(n);
    }
    // Bar 0 has no previous close, hence no true range: the seed is the mean of bars 1..APeriod.
    double sum = 0;
    for (int i = 1; i <= APeriod; ++i) {
        sum += TrueRange(bars[i].High, bars[i].Low, bars[i - 1].Close);
    }
    double atr = sum / APeriod;
    const double firstAtr = atr;
    // Wilder smoothing, as for the RSI, a chunk of true ranges at a time.
    const TExponentialSmoothing smoothing(1.0 / APeriod);
    return FillInChunks(n, [&](int AFrom, int ACount, double* AOut) {
        const int j = WriteWarmUp(AFrom, ACount, APeriod, firstAtr, AOut);
        double ranges[IndicatorChunk];
        for (int k = j; k < ACount; ++k) {
            const int i = AFrom + k;
            // The bars of the next chunk start coming from memory while this one is smoothed.
            __builtin_prefetch(bars.data() + std::min(i + IndicatorChunk, n - 1));
            ranges[k] = TrueRange(bars[i].High, bars[i].Low, bars[i - 1].Close);
        }
        smoothing.StepAll(ranges + j, AOut + j, ACount - j, atr);
    });
}

}  // namespace cotalys
