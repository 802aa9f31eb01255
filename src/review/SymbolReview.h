#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "indicators/VolumeColors.h"
#include "review/SymbolLoad.h"
#include "signals/EntrySignals.h"
#include "sizing/PositionSizing.h"
#include "zones/SupportResistance.h"

namespace cotalys {

// The analysis of one loaded symbol: indicators, zones with the entry filter, signals with the
// sizing of a recent one, and the comparison of the standard settings, each step logging its
// report. Keeps what a chart of the symbol draws.
class TSymbolReview {
public:
    // Takes the loaded series; ADisplayFrom is the first day shown, AMarket the index regime or
    // null (referenced, it must outlive Run).
    TSymbolReview(TPriceSeries ASeries, TDateTime ADisplayFrom, const TMarketRegime* AMarket,
                  const TSizingParams& ASizing);
    // The analysis refers to the series held here, so the review stays where it was built.
    TSymbolReview(const TSymbolReview&) = delete;
    TSymbolReview& operator=(const TSymbolReview&) = delete;

    // Runs every step through ALog. Returns false when the indicators could not be computed (the
    // reason is then in ErrorMessage and not logged); a failing zone or signal step is logged and
    // the review goes on.
    bool Run(const TReviewLog& ALog);

    // Why the indicators could not be computed, alone and as the log words it.
    const std::string& ErrorMessage() const { return FErrorMessage; }
    std::string ErrorText() const { return "Calcul des indicateurs : " + FErrorMessage; }
    const TPriceSeries& Series() const { return FSeries; }
    const TTechnicalAnalysis& Analysis() const { return *FAnalysis; }
    const TVolumeColorizer& Colorizer() const { return *FColorizer; }
    // The first day asked to be shown.
    TDateTime DisplayFrom() const { return FDisplayFrom; }
    // The first bar shown: the first on or after the display start, within the series.
    int First() const { return FFirst; }
    const std::vector<TPriceZone>& Zones() const { return FZones; }
    const std::vector<TEntrySignal>& Signals() const { return FSignals; }

private:
    void ReviewZones(const TReviewLog& ALog);
    void ReviewSignals(const TReviewLog& ALog);

    TPriceSeries FSeries;
    TDateTime FDisplayFrom;
    const TMarketRegime* FMarket;
    TSizingParams FSizing;
    std::unique_ptr<TTechnicalAnalysis> FAnalysis;
    std::unique_ptr<TVolumeColorizer> FColorizer;
    int FFirst = 0;
    std::vector<TPriceZone> FZones;
    std::vector<TEntrySignal> FSignals;
    std::string FErrorMessage;
};

}  // namespace cotalys
