#include <cmath>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

std::vector<double> ComputeEMA(const std::vector<double>& AValues, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode EMA invalide : %d", APeriod));
    }
    const int n = static_cast<int>(AValues.size());
    std::vector<double> result = NaNArray(n);
    const double* values = AValues.data();
    int start = 0;
    while (start < n && std::isnan(values[start])) {
        ++start;
    }
    if (n - start < APeriod) {
        return result;
    }
    // The usual seed: the plain mean of the first APeriod values, so the average starts from a
    // level the data supports instead of from the first close alone.
    double sum = 0;
    for (int i = start; i < start + APeriod; ++i) {
        if (std::isnan(values[i])) {
            throw EIndicatorError("EMA : donnees discontinues pendant l'amorcage");
        }
        sum += values[i];
    }
    double* out = result.data();
    double ema = sum / APeriod;
    out[start + APeriod - 1] = ema;
    const double k = 2.0 / (APeriod + 1.0);
    // Four bars at a time, each written as the average before the block plus its weighted
    // distances to the block's values: the same average up to rounding, exact on constant
    // input like the one-bar step, but the value carried to the next block waits on four
    // operations per four bars instead of three per bar.
    const double a = 1 - k;
    const double k1 = k * a;
    const double k2 = k1 * a;
    const double k3 = k2 * a;
    int i = start + APeriod;
    while (i < n) {
        if (i + 3 < n && !std::isnan(values[i]) && !std::isnan(values[i + 1]) &&
            !std::isnan(values[i + 2]) && !std::isnan(values[i + 3])) {
            const double d0 = values[i] - ema;
            const double d1 = values[i + 1] - ema;
            const double d2 = values[i + 2] - ema;
            const double d3 = values[i + 3] - ema;
            out[i] = ema + k * d0;
            out[i + 1] = ema + (k1 * d0 + k * d1);
            out[i + 2] = ema + (k2 * d0 + k1 * d1 + k * d2);
            ema += (k3 * d0 + k2 * d1) + (k1 * d2 + k * d3);
            out[i + 3] = ema;
            i += 4;
            continue;
        }
        // A missing value carries the previous average forward; it resumes at the next value.
        if (!std::isnan(values[i])) {
            ema += k * (values[i] - ema);
        }
        out[i] = ema;
        ++i;
    }
    return result;
}

}  // namespace cotalys
