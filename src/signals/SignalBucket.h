#pragma once

#include <string>
#include <vector>

namespace cotalys {

// One slice of a report table: values at or above Lower fall in it unless an earlier slice
// (in search order) took them.
struct TSignalBucket {
    std::string Label;
    double Lower;
};

// Distance from the one-year high, nearest the high first: "0 a -5 %" .. "au-dela de -30 %".
const std::vector<TSignalBucket>& DistHighBuckets();
// Index in DistHighBuckets of a distance in percent; the last slice takes anything lower;
// -1 for NaN.
int DistHighBucket(double ADistHighPct);

// Reward/risk, lowest first: "G/R < 0,5" .. "G/R >= 3", then "Sans resistance" (infinite).
const std::vector<TSignalBucket>& RewardRiskBuckets();
// Index in RewardRiskBuckets of a reward/risk ratio; a negative ratio goes to the first slice,
// +infinity to the last; -1 for NaN.
int RewardRiskBucket(double ARewardRisk);

}  // namespace cotalys
