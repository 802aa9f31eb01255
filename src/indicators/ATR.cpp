#include "indicators/ATR.h"

#include "indicators/MovingAverages.h"
#include "indicators/TrueRange.h"

namespace cotalys {
namespace {

// Wilder's average of the true ranges ARanges[1..], handed to AVisit with its position from
// APeriod on.
template <class Visit>
void WilderAverage(std::span<const double> ARanges, int APeriod, Visit AVisit) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode ATR invalide : %d", APeriod));
    }
    const int n = static_cast<int>(ARanges.size());
    if (n <= APeriod) {
        return;
    }
    double sum = 0;
    for (int i = 1; i <= APeriod; ++i) {
        sum += ARanges[i];
    }
    double atr = sum / APeriod;
    AVisit(APeriod, atr);
    for (int i = APeriod + 1; i < n; ++i) {
        atr = (atr * (APeriod - 1) + ARanges[i]) / APeriod;
        AVisit(i, atr);
    }
}

}  // namespace

std::vector<double> TrueRanges(std::span<const TPriceBar> ABars) {
    std::vector<double> ranges = NaNArray(static_cast<int>(ABars.size()));
    for (std::size_t i = 1; i < ABars.size(); ++i) {
        ranges[i] = TrueRange(ABars[i].High, ABars[i].Low, ABars[i - 1].Close);
    }
    return ranges;
}

std::vector<double> ComputeATR(const TPriceSeries& ASeries, int APeriod) {
    return ComputeATR(std::span(ASeries.Bars()), APeriod);
}

std::vector<double> ComputeATR(std::span<const TPriceBar> ABars, int APeriod) {
    std::vector<double> result = NaNArray(static_cast<int>(ABars.size()));
    WilderAverage(TrueRanges(ABars), APeriod,
                  [&](int AIndex, double AValue) { result[AIndex] = AValue; });
    return result;
}

double LastATR(std::span<const double> ARanges, int APeriod) {
    double last = NaN;
    WilderAverage(ARanges, APeriod, [&](int, double AValue) { last = AValue; });
    return last;
}

}  // namespace cotalys
