#include <cmath>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/MovingAverages.h"
#include "indicators/Smoothing.h"

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
    const TExponentialSmoothing smoothing(2.0 / (APeriod + 1.0));
    int i = start + APeriod;
    while (i < n) {
        if (i + 3 < n && !std::isnan(values[i]) && !std::isnan(values[i + 1]) &&
            !std::isnan(values[i + 2]) && !std::isnan(values[i + 3])) {
            ema = smoothing.StepFour(ema, values + i, out + i);
            i += 4;
            continue;
        }
        // A missing value carries the previous average forward; it resumes at the next value.
        if (!std::isnan(values[i])) {
            ema = smoothing.Step(ema, values[i]);
        }
        out[i] = ema;
        ++i;
    }
    return result;
}

}  // namespace cotalys
