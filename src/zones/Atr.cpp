#include "core/Exceptions.h"
#include "core/Formatting.h"
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
    std::vector<double> result = NaNArray(n);
    if (n <= APeriod) {
        return result;
    }
    // Bar 0 has no previous close, hence no true range: the seed is the mean of bars 1..APeriod.
    double sum = 0;
    for (int i = 1; i <= APeriod; ++i) {
        sum += TrueRange(bars[i].High, bars[i].Low, bars[i - 1].Close);
    }
    double* out = result.data();
    double atr = sum / APeriod;
    out[APeriod] = atr;
    // Wilder smoothing, as for the RSI, four bars at a time where four remain.
    const TExponentialSmoothing smoothing(1.0 / APeriod);
    int i = APeriod + 1;
    for (; i + 3 < n; i += 4) {
        double ranges[4];
        for (int j = 0; j < 4; ++j) {
            ranges[j] = TrueRange(bars[i + j].High, bars[i + j].Low, bars[i + j - 1].Close);
        }
        atr = smoothing.StepFour(atr, ranges, out + i);
    }
    for (; i < n; ++i) {
        atr = smoothing.Step(atr, TrueRange(bars[i].High, bars[i].Low, bars[i - 1].Close));
        out[i] = atr;
    }
    return result;
}

}  // namespace cotalys
