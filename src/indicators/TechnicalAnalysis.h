#pragma once

#include <string>
#include <vector>

#include "core/Core.h"
#include "indicators/MACD.h"

namespace cotalys {

// The daily MACD and RSI of one price series, as every chart, signal, backtest and scan reads
// them. The series is referenced, never owned: recompute (or recreate) after it changes.
class TTechnicalAnalysis {
public:
    // Throws EIndicatorError "Serie non affectee" when ASeries is null, or on invalid MACD
    // periods. The RSI period is checked by Compute.
    TTechnicalAnalysis(const TPriceSeries* ASeries, const TMACDParams& AMACDParams, int ARSIPeriod);

    // Computes MACD and RSI of the closes. Throws EIndicatorError when the series is shorter than
    // WarmUpBars + 1 or through the indicator routines; the previous results stay on failure.
    void Compute();

    // One French line on the last bar: close, MACD values, the latest crossing at or after
    // AFromIndex and the RSI zone; "Indicateurs non calcules" before a successful Compute or
    // when the series no longer has the bar count the indicators were computed on.
    std::string SignalSummary(int AFromIndex) const;

    const TPriceSeries& Series() const { return *FSeries; }
    const TMACDParams& MACDParams() const { return FMACDParams; }
    int RSIPeriod() const { return FRSIPeriod; }
    const TMACDResult& MACD() const { return FMACD; }
    const std::vector<double>& RSI() const { return FRSI; }
    bool Computed() const { return FComputed; }

private:
    const TPriceSeries* FSeries;
    TMACDParams FMACDParams;
    int FRSIPeriod;
    TMACDResult FMACD;
    std::vector<double> FRSI;
    bool FComputed = false;
};

}  // namespace cotalys
