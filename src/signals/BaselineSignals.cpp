#include "signals/BaselineSignals.h"

#include <algorithm>

#include "signals/SignalOutcomes.h"
#include "signals/YearHigh.h"

namespace cotalys {

std::vector<TEntrySignal> BaselineSignals(const TPriceSeries& ASeries, int AFromIndex) {
    const std::vector<double> distHigh = YearHighDistance(ASeries);
    const std::vector<TPriceBar>& bars = ASeries.Bars();
    std::vector<TEntrySignal> signals;
    for (int j = std::max(AFromIndex, 0); j < ASeries.Count(); ++j) {
        // No stop price: Perf20Stop stays NaN and the reference shows "-" in its stop columns.
        TEntrySignal signal = TEntrySignal::AtBar(j, bars[j], distHigh[j]);
        MeasureOutcome(ASeries, signal);
        signals.push_back(signal);
    }
    return signals;
}

TSignalStats BaselineStats(const TPriceSeries& ASeries, int AFromIndex) {
    return Statistics(BaselineSignals(ASeries, AFromIndex));
}

}  // namespace cotalys
