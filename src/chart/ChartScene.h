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
// the displayed bars, where the mouse is, and copies of the zones and signals.
struct TChartScene {
    const TPriceSeries* Series = nullptr;
    const TTechnicalAnalysis* Analysis = nullptr;
    const TVolumeColorizer* Colorizer = nullptr;
    int First = 0;  // the displayed bars: First to Last
    int Last = -1;
    int HoverIndex = -1;  // bar under the mouse, -1 for none
    int HoverY = -1;      // pixel row of the mouse when it is over a panel, -1 otherwise
    std::string Message;  // shown when there is nothing to draw
    std::vector<TPriceZone> Zones;
    std::vector<TEntrySignal> Signals;

    // A scene of ASeries from its first bar on or after ADisplayFrom (clamped to the last bar)
    // to its last bar. Throws EFinanceError "Serie vide" for an empty series and "Analyse ou
    // coloriseur non calcules" when AAnalysis has not been computed.
    static TChartScene Of(const TPriceSeries& ASeries, const TTechnicalAnalysis& AAnalysis,
                          const TVolumeColorizer& AColorizer, TDateTime ADisplayFrom);

    // A series, an analysis and a colorizer are set and First .. Last are bars of the series.
    bool HasData() const;
    // Displayed bars, First to Last; 0 without data.
    int VisibleCount() const;
    // The first signal on bar AIndex, or null.
    const TEntrySignal* FindSignal(int AIndex) const;
};

// AValues[AIndex], or NaN outside the array: an analysis computed on fewer bars than the series
// shows gaps instead of reading past its arrays.
double ValueAt(const std::vector<double>& AValues, int AIndex);

}  // namespace cotalys
