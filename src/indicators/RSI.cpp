#include "indicators/RSI.h"

#include <algorithm>
#include <cmath>

#include "core/Core.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

double RSIFromAverages(double AAvgGain, double AAvgLoss) {
    // No loss at all: a flat market is neutral, a market that only rose is at the top.
    if (IsNearZero(AAvgLoss)) {
        return IsNearZero(AAvgGain) ? 50.0 : 100.0;
    }
    return 100.0 - 100.0 / (1.0 + AAvgGain / AAvgLoss);
}

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
    // The RSI never skips a gap.
    for (int i = 0; i < n; ++i) {
        if (std::isnan(ACloses[i])) {
            throw EIndicatorError(Format("RSI : cours manquant a l'index %d", i));
        }
    }
    double gain = 0;
    double loss = 0;
    for (int i = 1; i <= APeriod; ++i) {
        const double d = ACloses[i] - ACloses[i - 1];
        if (d > 0) {
            gain += d;
        } else {
            loss -= d;
        }
    }
    double avgGain = gain / APeriod;
    double avgLoss = loss / APeriod;
    result[APeriod] = RSIFromAverages(avgGain, avgLoss);
    // Wilder's smoothing of the gains and losses.
    for (int i = APeriod + 1; i < n; ++i) {
        const double d = ACloses[i] - ACloses[i - 1];
        avgGain = (avgGain * (APeriod - 1) + std::max(d, 0.0)) / APeriod;
        avgLoss = (avgLoss * (APeriod - 1) + std::max(-d, 0.0)) / APeriod;
        result[i] = RSIFromAverages(avgGain, avgLoss);
    }
    return result;
}

}  // namespace cotalys
