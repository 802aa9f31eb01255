#pragma once

#include "sizing/SizingParams.h"

namespace cotalys {

// One broker plan: a flat fee for orders up to and including a band, a rate above it.
struct TBrokerPlan {
    TFeePlan Plan;
    const char* Name;
    double BandTop;  // EUR
    double BandFee;  // EUR
    double Rate;     // fraction of the order above the band
};

// The plan's terms, or nullptr for the custom plan and any value outside the broker plans.
const TBrokerPlan* FindBrokerPlan(TFeePlan APlan);

}  // namespace cotalys
