#pragma once

#include <string>

#include "zones/PriceZone.h"

namespace cotalys {

// The technical criteria checked before a purchase: close enough above a support, room enough
// below the next resistance, and a positive MACD line.
struct TEntryFilter {
    double MaxSupportDistancePct = 1.7;
    double MinResistanceMarginPct = 5.0;
    bool RequirePositiveMACD = true;

    static TEntryFilter Default() { return TEntryFilter{}; }

    // True when every criterion holds; AReport receives the one-line French verdict. AMACDLast is
    // the MACD line (not the histogram) at the last bar; NaN fails the MACD criterion.
    bool Evaluate(const TSRResult& ASR, double AMACDLast, std::string& AReport) const;
};

}  // namespace cotalys
