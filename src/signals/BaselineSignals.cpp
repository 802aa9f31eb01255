#include "signals/BaselineSignals.h"

#include <algorithm>
#include <utility>

#include "signals/SignalOutcomes.h"
#include "signals/YearHigh.h"

namespace cotalys {

std::vector<TEntrySignal> BaselineSignals(const TPriceSeries& ASeries, int AFromIndex) {
    const std::vector<double> distHigh = YearHighDistance(ASeries);
    const std::vector<TPriceBar>& bars = ASeries.Bars();
    const int first = std::max(AFromIndex, 0);
    std::vector<TEntrySignal> signals;
    signals.reserve(static_cast<std::size_t>(std::max(ASeries.Count() - first, 0)));
    for (int j = first; j < ASeries.Count(); ++j) {
        // No stop price: Perf20Stop stays NaN and the reference shows "-" in its stop columns.
        TEntrySignal signal = TEntrySignal::AtBar(j, bars[j], distHigh[j]);
        MeasureOutcome(ASeries, signal);
        signals.push_back(std::move(signal));
    }
    return signals;
}

TSignalStats BaselineStats(const TPriceSeries& ASeries, int AFromIndex) {
    return Statistics(BaselineSignals(ASeries, AFromIndex));
}

}  // namespace cotalys
