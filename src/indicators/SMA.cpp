#include <cmath>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

std::vector<double> ComputeSMA(const std::vector<double>& AValues, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode SMA invalide : %d", APeriod));
    }
    const int n = static_cast<int>(AValues.size());
    std::vector<double> result = NaNArray(n);
    const double* values = AValues.data();
    double* out = result.data();
    double sum = 0;
    int filled = 0;
    for (int i = 0; i < n; ++i) {
        const double value = values[i];
        if (std::isnan(value)) {
            // A gap restarts the window: an average never spans missing data.
            sum = 0;
            filled = 0;
            continue;
        }
        // Rolling sum: one addition of the entering minus the leaving value per bar, so the sum
        // carried from bar to bar waits on a single operation.
        if (filled == APeriod) {
            sum += value - values[i - APeriod];
        } else {
            sum += value;
            ++filled;
        }
        if (filled == APeriod) {
            out[i] = sum / APeriod;
        }
    }
    return result;
}

}  // namespace cotalys
