#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/Indicators.h"
#include "indicators/Wilder.h"
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
    // Wilder smoothing, as for the RSI.
    const double reciprocal = 1.0 / APeriod;
    for (int i = APeriod + 1; i < n; ++i) {
        atr = WilderStep(atr, TrueRange(bars[i].High, bars[i].Low, bars[i - 1].Close), reciprocal);
        out[i] = atr;
    }
    return result;
}

}  // namespace cotalys
