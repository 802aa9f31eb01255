#include "indicators/ATR.h"

#include "indicators/MovingAverages.h"
#include "indicators/TrueRange.h"

namespace cotalys {

std::vector<double> ComputeATR(const TPriceSeries& ASeries, int APeriod) {
    return ComputeATR(std::span(ASeries.Bars()), APeriod);
}

std::vector<double> ComputeATR(std::span<const TPriceBar> ABars, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode ATR invalide : %d", APeriod));
    }
    const std::span<const TPriceBar> bars = ABars;
    const int n = static_cast<int>(bars.size());
    std::vector<double> result = NaNArray(n);
    if (n <= APeriod) {
        return result;
    }
    double sum = 0;
    for (int i = 1; i <= APeriod; ++i) {
        sum += TrueRange(bars[i].High, bars[i].Low, bars[i - 1].Close);
    }
    result[APeriod] = sum / APeriod;
    for (int i = APeriod + 1; i < n; ++i) {
        const double range = TrueRange(bars[i].High, bars[i].Low, bars[i - 1].Close);
        result[i] = (result[i - 1] * (APeriod - 1) + range) / APeriod;
    }
    return result;
}

}  // namespace cotalys
