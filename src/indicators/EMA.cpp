#include <cmath>
#include <limits>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/ChunkedArray.h"
#include "indicators/MovingAverages.h"
#include "indicators/StreamingEMA.h"

namespace cotalys {

int LeadingNaNCount(const double* AValues, int ACount) {
    int count = 0;
    while (count < ACount && std::isnan(AValues[count])) {
        ++count;
    }
    return count;
}

TStreamingEMA::TStreamingEMA(int APeriod, bool AComputes)
    : FPeriod(APeriod), FComputes(AComputes), FSmoothing(2.0 / (APeriod + 1.0)) {}

void TStreamingEMA::Run(const double* AValues, double* AOut, int ACount) {
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    int i = 0;
    // The usual seed: the plain mean of the first FPeriod values, so the average starts from a
    // level the data supports instead of from the first value alone.
    while (i < ACount && (!FComputes || FSeedCount < FPeriod)) {
        const double value = AValues[i];
        AOut[i] = NaN;
        if (FComputes && !(FSeedCount == 0 && std::isnan(value))) {
            if (std::isnan(value)) {
                throw EIndicatorError("EMA : donnees discontinues pendant l'amorcage");
            }
            FSeedSum += value;
            if (++FSeedCount == FPeriod) {
                FAverage = FSeedSum / FPeriod;
                AOut[i] = FAverage;
            }
        }
        ++i;
    }
    while (i < ACount) {
        i += FSmoothing.StepBlocks(AValues + i, AOut + i, ACount - i, FAverage);
        if (i == ACount) {
            break;
        }
        // A missing value carries the previous average forward; it resumes at the next value.
        if (!std::isnan(AValues[i])) {
            FAverage = FSmoothing.Step(FAverage, AValues[i]);
        }
        AOut[i] = FAverage;
        ++i;
    }
}

std::vector<double> ComputeEMA(const std::vector<double>& AValues, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode EMA invalide : %d", APeriod));
    }
    const int n = static_cast<int>(AValues.size());
    const double* values = AValues.data();
    TStreamingEMA ema(APeriod, n - LeadingNaNCount(values, n) >= APeriod);
    return FillInChunks(n, [&](int AFrom, int ACount, double* AOut) {
        ema.Run(values + AFrom, AOut, ACount);
    });
}

}  // namespace cotalys
