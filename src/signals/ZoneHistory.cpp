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
    const int start = AFromIndex < 2 ? 1 : AFromIndex;
    // The weeks and daily swings of the whole series serve every window.
    const std::span<const TPriceBar> bars = ASeries.Bars();
    const TSupportResistanceAnalyzer::TBarFacts facts = analyzer.Facts(bars);
    for (int i = start; i < count; ++i) {
        const int first = AWindowBars > 0 ? std::max(0, i + 1 - AWindowBars) : 0;
        try {
            history[i] = analyzer.AnalyzeStretch(bars, facts, first, i + 1 - first);
        } catch (const EIndicatorError&) {
            // Too short a history so far: the bar keeps its empty result and is skipped.
        }
    }
    return history;
}

}  // namespace cotalys
