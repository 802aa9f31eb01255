#include <algorithm>

#include "core/Core.h"
#include "signals/EntrySignalDetector.h"

namespace cotalys {

std::vector<TSRResult> TEntrySignalDetector::BuildZoneHistory(const TPriceSeries& ASeries,
                                                              const TSRParams& ASRParams,
                                                              int AFromIndex, int AWindowBars) {
    const TSupportResistanceAnalyzer analyzer(ASRParams);
    const int count = ASeries.Count();
    // Empty results say "no zone": their nearest-zone indices are -1, never an index into an
    // empty zone list.
    std::vector<TSRResult> history(count);
    const std::vector<TPriceBar>& bars = ASeries.Bars();
    const int start = AFromIndex < 2 ? 1 : AFromIndex;

    TPriceSeries working(ASeries.Symbol());
    for (int i = 0; i < std::min(start, count); ++i) {
        working.Add(bars[i]);
    }
    for (int i = start; i < count; ++i) {
        working.Add(bars[i]);
        if (AWindowBars > 0 && working.Count() > AWindowBars) {
            working.DeleteFirst(working.Count() - AWindowBars);
        }
        try {
            history[i] = analyzer.Analyze(working);
        } catch (const EIndicatorError&) {
            // Too short a history so far: the bar keeps its empty result and is skipped.
        }
    }
    return history;
}

}  // namespace cotalys
