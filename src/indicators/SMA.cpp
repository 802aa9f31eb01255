#include <cmath>
#include <limits>

#include "core/Exceptions.h"
#include "core/Formatting.h"
#include "indicators/ChunkedArray.h"
#include "indicators/Lanes.h"
#include "indicators/MovingAverages.h"

namespace cotalys {

namespace {

// The averages at the first positions of AValues eight at a time while the window is full,
// ASum holding the sum of the APeriod values before the first (AValues[-APeriod..-1]): each
// lane's sum is the running sum plus the changes (entering minus leaving value) up to its
// position, so the sum carried from block to block waits on a single addition per eight
// values. Stops before a block that holds a NaN and before a last block shorter than eight;
// returns the number of averages written, with ASum the sum of the window at the last of them.
COTALYS_LANE_CLONES
int AverageBlocks(const double* AValues, int APeriod, double* AOut, int ACount, double& ASum) {
    using namespace lanes;
    const TLanes zero = {};
    const TLanes period = zero + APeriod;
    TLanes sum = zero + ASum;
    int i = 0;
    for (; i + Width <= ACount; i += Width) {
        TLanes changes;
        TLanes leaving;
        Load(AValues + i, changes);
        Load(AValues + i - APeriod, leaving);
        changes -= leaving;
        DecayedPrefixSum(changes, 1);
        if (!std::isfinite(changes[Width - 1])) {
            break;
        }
        Store((sum + changes) / period, AOut + i);
        TLanes last;
        BroadcastLast(changes, last);
        sum += last;
    }
    ASum = sum[0];
    return i;
}

}  // namespace

std::vector<double> ComputeSMA(const std::vector<double>& AValues, int APeriod) {
    if (APeriod < 1) {
        throw EIndicatorError(Format("Periode SMA invalide : %d", APeriod));
    }
    const double* values = AValues.data();
    double sum = 0;
    int filled = 0;
    return FillInChunks(static_cast<int>(AValues.size()), [&](int AFrom, int ACount,
                                                              double* AOut) {
        int j = 0;
        while (j < ACount) {
            const int i = AFrom + j;
            if (filled == APeriod) {
                const int done = AverageBlocks(values + i, APeriod, AOut + j, ACount - j, sum);
                if (done > 0) {
                    j += done;
                    continue;
                }
            }
            const double value = values[i];
            AOut[j] = std::numeric_limits<double>::quiet_NaN();
            if (std::isnan(value)) {
                // A gap restarts the window: an average never spans missing data.
                sum = 0;
                filled = 0;
            } else {
                if (filled == APeriod) {
                    sum += value - values[i - APeriod];
                } else {
                    sum += value;
                    ++filled;
                }
                if (filled == APeriod) {
                    AOut[j] = sum / APeriod;
                }
            }
            ++j;
        }
    });
}

}  // namespace cotalys
