#include "indicators/RSI.h"

#include <cmath>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

namespace {

constexpr double ZeroTolerance = 1e-12;

}  // namespace

double RSIFromAverages(double AAvgGain, double AAvgLoss) {
    if (std::fabs(AAvgLoss) <= ZeroTolerance) {
        // No loss at all: a flat market is neutral, a market that only rose is at the top.
        return std::fabs(AAvgGain) <= ZeroTolerance ? 50.0 : 100.0;
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
    // Wilder smoothing: each new difference weighs 1/APeriod, the running average the rest.
    const double keep = APeriod - 1.0;
    for (int i = APeriod + 1; i < n; ++i) {
        const double d = closes[i] - closes[i - 1];
        avgGain = (avgGain * keep + (d > 0 ? d : 0.0)) / APeriod;
        avgLoss = (avgLoss * keep + (d < 0 ? -d : 0.0)) / APeriod;
        out[i] = RSIFromAverages(avgGain, avgLoss);
    }
    return result;
}

}  // namespace cotalys
