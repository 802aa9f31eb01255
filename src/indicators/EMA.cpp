#include <cmath>

#include "core/Core.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

std::vector<double> ComputeEMA(const std::vector<double>& AValues, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode EMA invalide : %d", APeriod));
    }
    const int n = static_cast<int>(AValues.size());
    std::vector<double> result = NaNArray(n);
    int start = 0;
    while (start < n && std::isnan(AValues[start])) {
        ++start;
    }
    if (n - start < APeriod) {
        return result;
    }
    // Seeded by the plain mean of the first APeriod values, as most charting conventions do.
    double sum = 0;
    for (int i = start; i < start + APeriod; ++i) {
        if (std::isnan(AValues[i])) {
            throw EIndicatorError("EMA : donnees discontinues pendant l'amorcage");
        }
        sum += AValues[i];
    }
    double ema = sum / APeriod;
    result[start + APeriod - 1] = ema;
    const double k = 2.0 / (APeriod + 1);
    for (int i = start + APeriod; i < n; ++i) {
        // A missing value repeats the previous average, which resumes at the next value.
        if (!std::isnan(AValues[i])) {
            ema = ema + k * (AValues[i] - ema);
        }
        result[i] = ema;
    }
    return result;
}

}  // namespace cotalys
