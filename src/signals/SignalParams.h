#pragma once

#include <string>

#include "signals/StopConfig.h"

namespace cotalys {

// One setting of the entry signal: what counts as a support contact, which confirmations are
// compulsory, and which market and risk filters apply.
struct TSignalParams {
    int WindowBars = 3;         // recent bars searched for contact, MACD cross and volume spike
    int MaxZoneRank = 2;        // only zones ranked at most this on their side
    double ContactAtr = 0.1;    // contact tolerance above the zone top, in ATR
    double RsiLowLevel = 40.0;  // the lowest RSI of the lookback must be at or below this
    int RsiLookback = 5;        // bars, signal bar included, for that lowest RSI
    double RsiMinRise = 3.0;    // RSI points above that lowest RSI
    int VolumePeriod = 20;      // period of the volume average
    double VolumeRatio = 1.0;   // volume must reach this multiple of the previous average
    int MinScore = 3;           // 1..4
    int CooldownBars = 5;       // the next signal needs strictly more bars of distance
    bool RequireRsi = true;
    bool RequireMacdPositive = false;
    bool StrongZonesOnly = false;  // at least 3 touches or 1 weekly touch
    double StopAtr = 1.5;          // stop distance below the zone bottom, in ATR
    TStopMode StopMode = TStopMode::smIntraday;
    bool RequireMarketUptrend = false;
    bool RequireFavorablePhase = false;
    double MinRewardRisk = 0;   // 0 or less disables
    double MinMarginPct = 0;    // room to the nearest resistance, %; 0 or less disables
    double MaxDistHighPct = 0;  // distance below the one-year high, %; 0 or less disables
    std::string Name = "RSI obligatoire (defaut)";

    static TSignalParams Default() { return TSignalParams{}; }
    // Throws EIndicatorError "Parametres du signal d'entree invalides" on any broken rule; a NaN
    // volume ratio or stop distance is refused too.
    void Validate() const;
};

}  // namespace cotalys
