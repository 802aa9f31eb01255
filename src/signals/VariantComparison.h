#pragma once

#include <string>
#include <vector>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "signals/MarketRegime.h"
#include "signals/SignalParams.h"
#include "zones/SupportResistance.h"

namespace cotalys {

// The comparison report of one series: each of AVariants scanned from AFromIndex on one shared
// zone history (a setting that needs the market index and gets no AMarket says so instead),
// the buy-every-session reference, then the nine standard stops applied to the signals of the
// first setting scanned. CR LF between lines, none after the last. Throws EIndicatorError when
// AVariants is empty, and whatever the scans throw.
std::string CompareVariants(const TPriceSeries& ASeries, const TTechnicalAnalysis& AAnalysis,
                            int AFromIndex, const TSRParams& ASRParams,
                            const std::vector<TSignalParams>& AVariants,
                            const TMarketRegime* AMarket);

}  // namespace cotalys
