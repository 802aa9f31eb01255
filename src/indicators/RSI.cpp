#include "indicators/RSI.h"

#include <cmath>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/MovingAverages.h"
#include "indicators/Smoothing.h"

namespace cotalys {

int ClassifyRSI(double AValue, double ALow, double AHigh) {
    if (AValue <= ALow) {
        return 0;
    }
    return AValue >= AHigh ? 2 : 1;
}

std::vector<double> ComputeRSI(const std::vector<double>& ACloses, int APeriod) {
    if (APeriod < 2) {
        throw EIndicatorError(Format("Periode RSI invalide : %d", APeriod));
    }
    const int n = static_cast<int>(ACloses.size());
    std::vector<double> result = NaNArray(n);
    if (n <= APeriod) {
        return result;
    }
    const double* closes = ACloses.data();
    for (int i = 0; i < n; ++i) {
        if (std::isnan(closes[i])) {
            throw EIndicatorError(Format("RSI : cours manquant a l'index %d", i));
        }
    }
    double gain = 0;
    double loss = 0;
    for (int i = 1; i <= APeriod; ++i) {
        const double d = closes[i] - closes[i - 1];
        if (d > 0) {
            gain += d;
        } else {
            loss -= d;
        }
    }
    double avgGain = gain / APeriod;
    double avgLoss = loss / APeriod;
    double* out = result.data();
    out[APeriod] = RSIFromAverages(avgGain, avgLoss);
    // Wilder smoothing, four bars at a time where four remain.
    const TExponentialSmoothing smoothing(1.0 / APeriod);
    double gains[4];
    double losses[4];
    double gainAverages[4];
    double lossAverages[4];
    int i = APeriod + 1;
    for (; i + 3 < n; i += 4) {
        for (int j = 0; j < 4; ++j) {
            const double d = closes[i + j] - closes[i + j - 1];
            // max(d, 0) and max(-d, 0) without a branch: rises and falls alternate at random,
            // so a branch here would be mispredicted about every other bar. Both are exact.
            const double magnitude = std::fabs(d);
            gains[j] = (magnitude + d) * 0.5;
            losses[j] = (magnitude - d) * 0.5;
        }
        avgGain = smoothing.StepFour(avgGain, gains, gainAverages);
        avgLoss = smoothing.StepFour(avgLoss, losses, lossAverages);
        for (int j = 0; j < 4; ++j) {
            out[i + j] = RSIFromAverages(gainAverages[j], lossAverages[j]);
        }
    }
    for (; i < n; ++i) {
        const double d = closes[i] - closes[i - 1];
        const double magnitude = std::fabs(d);
        avgGain = smoothing.Step(avgGain, (magnitude + d) * 0.5);
        avgLoss = smoothing.Step(avgLoss, (magnitude - d) * 0.5);
        out[i] = RSIFromAverages(avgGain, avgLoss);
    }
    return result;
}

}  // namespace cotalys
