#include <cmath>

#include "core/Core.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

std::vector<double> ComputeSMA(const std::vector<double>& AValues, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode SMA invalide : %d", APeriod));
    }
    std::vector<double> result = NaNArray(static_cast<int>(AValues.size()));
    // A running sum: the value entering the window is added, the one leaving it subtracted.
    double sum = 0;
    int filled = 0;
    for (std::size_t i = 0; i < AValues.size(); ++i) {
        if (std::isnan(AValues[i])) {
            // The window starts again after a gap.
            sum = 0;
            filled = 0;
            continue;
        }
        sum += AValues[i];
        ++filled;
        if (filled > APeriod) {
            sum -= AValues[i - APeriod];
            filled = APeriod;
        }
        if (filled == APeriod) {
            result[i] = sum / APeriod;
        }
    }
    return result;
}

}  // namespace cotalys
