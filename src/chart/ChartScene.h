#pragma once

#include <string>
#include <vector>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "indicators/VolumeColors.h"
#include "signals/EntrySignals.h"
#include "zones/SupportResistance.h"

namespace cotalys {

// Everything one rendering of the chart reads: the analysed series (referenced, never owned),
// the first displayed bar, the bar under the mouse, and copies of the zones and signals.
struct TChartScene {
    const TPriceSeries* Series = nullptr;
    const TTechnicalAnalysis* Analysis = nullptr;
    const TVolumeColorizer* Colorizer = nullptr;
    int First = 0;        // the window runs from this bar to the last one
    int HoverIndex = -1;  // -1 for none
    std::string Message;  // shown when there is nothing to draw
    std::vector<TPriceZone> Zones;
    std::vector<TEntrySignal> Signals;

    // A scene of ASeries from its first bar on or after ADisplayFrom (clamped to the last bar).
    // Throws EFinanceError "Serie vide" for an empty series and "Analyse ou coloriseur non
    // calcules" when AAnalysis has not been computed.
    static TChartScene Of(const TPriceSeries& ASeries, const TTechnicalAnalysis& AAnalysis,
                          const TVolumeColorizer& AColorizer, TDateTime ADisplayFrom);

    // A series, an analysis and a colorizer are set and First is one of the series' bars.
    bool HasData() const;
    // Displayed bars: from First to the last one; 0 without data.
    int VisibleCount() const;
    // The first signal on bar AIndex, or null.
    const TEntrySignal* FindSignal(int AIndex) const;
};

// AValues[AIndex], or NaN outside the array: an analysis computed on fewer bars than the series
// shows gaps instead of reading past its arrays.
double ValueAt(const std::vector<double>& AValues, int AIndex);

}  // namespace cotalys
