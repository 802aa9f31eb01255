#include "chart/ChartScene.h"

#include <algorithm>
#include <limits>

namespace cotalys {

TChartScene TChartScene::Of(const TPriceSeries& ASeries, const TTechnicalAnalysis& AAnalysis,
                            const TVolumeColorizer& AColorizer, TDateTime ADisplayFrom) {
    if (ASeries.Count() == 0) {
        throw EFinanceError("Serie vide");
    }
    if (!AAnalysis.Computed()) {
        throw EFinanceError("Analyse ou coloriseur non calcules");
    }
    TChartScene scene;
    scene.Series = &ASeries;
    scene.Analysis = &AAnalysis;
    scene.Colorizer = &AColorizer;
    scene.Last = ASeries.Count() - 1;
    scene.First = std::clamp(ASeries.IndexOfFirstOnOrAfter(ADisplayFrom), 0, scene.Last);
    return scene;
}

bool TChartScene::HasData() const {
    return Series != nullptr && Analysis != nullptr && Colorizer != nullptr && First >= 0 &&
           First <= Last && Last < Series->Count();
}

int TChartScene::VisibleCount() const {
    return HasData() ? Last - First + 1 : 0;
}

double ValueAt(const std::vector<double>& AValues, int AIndex) {
    if (AIndex < 0 || AIndex >= static_cast<int>(AValues.size())) {
        return NaN;
    }
    return AValues[AIndex];
}

const TEntrySignal* TChartScene::FindSignal(int AIndex) const {
    const auto found = std::find_if(Signals.begin(), Signals.end(),
                                    [AIndex](const TEntrySignal& s) { return s.Index == AIndex; });
    return found != Signals.end() ? &*found : nullptr;
}

}  // namespace cotalys
