#include "indicators/Indicators.h"
#include "signals/MarketRegime.h"

namespace cotalys {

std::vector<double> DistanceFromHigh(const TPriceSeries& ASeries, int AWindow, int AMinBars) {
    const std::vector<TPriceBar>& bars = ASeries.Bars();
    const int n = static_cast<int>(bars.size());
    std::vector<double> result = NaNArray(n);
    // An empty window has no high; the queue below needs at least the current bar.
    if (AWindow < 1) {
        return result;
    }
    // Sliding maximum in a monotonic queue of bar indices, highs decreasing from head to tail:
    // each bar enters and leaves once, so the whole pass is linear.
    std::vector<int> queue(n);
    int head = 0;
    int tail = 0;
    for (int i = 0; i < n; ++i) {
        const double high = bars[i].High;
        // Equal highs leave too, so the most recent of them stays the maximum longest.
        while (tail > head && high >= bars[queue[tail - 1]].High) {
            --tail;
        }
        queue[tail++] = i;
        if (queue[head] <= i - AWindow) {
            ++head;
        }
        if (i + 1 >= AMinBars) {
            const double windowHigh = bars[queue[head]].High;
            if (windowHigh > 0) {
                result[i] = (bars[i].Close / windowHigh - 1) * 100;
            }
        }
    }
    return result;
}

}  // namespace cotalys
