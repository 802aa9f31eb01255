#include "signals/SignalBucket.h"

#include <cmath>
#include <limits>

namespace cotalys {

const std::vector<TSignalBucket>& DistHighBuckets() {
    static const std::vector<TSignalBucket> buckets = {{"0 a -5 %", -5},
                                                       {"-5 a -10 %", -10},
                                                       {"-10 a -20 %", -20},
                                                       {"-20 a -30 %", -30},
                                                       {"au-dela de -30 %", -1000}};
    return buckets;
}

int DistHighBucket(double ADistHighPct) {
    if (std::isnan(ADistHighPct)) {
        return -1;
    }
    const std::vector<TSignalBucket>& buckets = DistHighBuckets();
    const int last = static_cast<int>(buckets.size()) - 1;
    for (int k = 0; k < last; ++k) {
        if (ADistHighPct >= buckets[k].Lower) {
            return k;
        }
    }
    return last;
}

const std::vector<TSignalBucket>& RewardRiskBuckets() {
    static const std::vector<TSignalBucket> buckets = {
        {"G/R < 0,5", 0},
        {"G/R 0,5 a 1", 0.5},
        {"G/R 1 a 1,5", 1},
        {"G/R 1,5 a 2", 1.5},
        {"G/R 2 a 3", 2},
        {"G/R >= 3", 3},
        {"Sans resistance", std::numeric_limits<double>::infinity()}};
    return buckets;
}

int RewardRiskBucket(double ARewardRisk) {
    if (std::isnan(ARewardRisk)) {
        return -1;
    }
    const std::vector<TSignalBucket>& buckets = RewardRiskBuckets();
    const int infinite = static_cast<int>(buckets.size()) - 1;
    if (std::isinf(ARewardRisk) && ARewardRisk > 0) {
        return infinite;
    }
    for (int k = infinite - 1; k > 0; --k) {
        if (ARewardRisk >= buckets[k].Lower) {
            return k;
        }
    }
    return 0;
}

}  // namespace cotalys
