#pragma once

#include <algorithm>
#include <vector>

#include "core/Core.h"
#include "indicators/Indicators.h"
#include "signals/EntrySignal.h"
#include "signals/MarketRegime.h"
#include "signals/SignalParams.h"
#include "zones/SupportResistance.h"

namespace cotalys {

// Finds entry signals: a close above the previous one after the price came down to a support
// zone within the last few sessions, scored with the RSI, MACD and volume confirmations and
// filtered by the setting. Scanning does not change the detector, so one detector may scan
// several series in turn; it holds no reference to them.
class TEntrySignalDetector {
public:
    // Throws EIndicatorError "Parametres du signal d'entree invalides", then
    // "Parametres supports/resistances invalides".
    TEntrySignalDetector(const TSignalParams& AParams, const TSRParams& ASRParams);

    // The index regime stamped on every signal, or nullptr (then MarketOK and PhaseOK stay
    // false). Referenced, never owned: it must outlive the scans.
    void SetMarket(const TMarketRegime* AMarket) { FMarket = AMarket; }
    const TMarketRegime* Market() const { return FMarket; }
    const TSignalParams& Params() const { return FParams; }
    const TSRParams& SRParams() const { return FSRParams; }

    // Signals from bar AFromIndex on, in bar order, each measured by MeasureOutcome; after a
    // signal, the next needs more than CooldownBars bars of distance. AZoneHistory is used when
    // it has one result per bar, otherwise a history with every past bar is built. Throws
    // EIndicatorError "Signal d'entree : indicateurs non calcules" when AAnalysis was not
    // computed on this series' bar count.
    std::vector<TEntrySignal> Scan(const TPriceSeries& ASeries, const TTechnicalAnalysis& AAnalysis,
                                   int AFromIndex,
                                   const std::vector<TSRResult>& AZoneHistory = {}) const;

    // The zones of each bar i computed from bars up to i only (the last AWindowBars of them when
    // AWindowBars > 0), from bar max(AFromIndex, 1) on. Bars before, and bars whose analysis
    // fails with EIndicatorError, get an empty result (no zone, Atr 0, no nearest zone).
    // Throws EIndicatorError on invalid ASRParams.
    static std::vector<TSRResult> BuildZoneHistory(const TPriceSeries& ASeries,
                                                   const TSRParams& ASRParams, int AFromIndex,
                                                   int AWindowBars);

private:
    struct TBarData;

    // Fills ASignal for bar AIndex and tells whether the setting accepts it.
    bool EvaluateBar(const TBarData& AData, const TSRResult& AZones, int AIndex,
                     TEntrySignal& ASignal) const;
    // The first bar of the window of recent sessions ending at AIndex (never bar 0).
    int WindowStart(int AIndex) const { return std::max(AIndex - FParams.WindowBars + 1, 1); }
    // The support the price came down to within the window and rebounded from at AIndex (a
    // close above the previous one), or null.
    const TPriceZone* SupportContact(const TBarData& AData, const TSRResult& AZones,
                                     int AIndex) const;
    // The three confirmations: an RSI rebound from a low level, a MACD histogram turning up or
    // crossing zero, a volume spike within the window.
    bool RsiConfirms(const TBarData& AData, int AIndex) const;
    bool MacdConfirms(const TBarData& AData, int AIndex) const;
    bool VolumeConfirms(const TBarData& AData, int AIndex) const;
    // Whether the setting accepts the scored signal: score, market, reward/risk, margin to the
    // resistance, distance to the high, RSI and MACD requirements.
    bool PassesFilters(const TBarData& AData, const TEntrySignal& ASignal) const;

    TSignalParams FParams;
    TSRParams FSRParams;
    const TMarketRegime* FMarket = nullptr;
};

}  // namespace cotalys
