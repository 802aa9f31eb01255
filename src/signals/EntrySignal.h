#pragma once

#include <limits>
#include <string>

#include "core/Core.h"
#include "signals/StopConfig.h"

namespace cotalys {

// Margin to resistance over risk, both in percent: the margin counts from 0, an infinite margin
// (no resistance) gives +infinity, and a risk that is not positive or a missing figure gives NaN.
double RewardRiskRatio(double AMarginResPct, double ARiskPct);

// One detected entry signal with everything measured about it. Percentages are of the entry
// price; a default-built signal is fresh: its results and risk figures are NaN (not measured).
struct TEntrySignal {
    static constexpr double NotMeasured = NaN;

    int Index = 0;  // bar index in its series
    TDateTime Date = 0;
    double Price = 0;  // entry price: the close of that bar
    int Score = 0;     // true conditions among the four flags, 0..4
    bool Contact = false;
    bool RsiOK = false;
    bool MacdOK = false;
    bool VolumeOK = false;
    std::string ZoneLabel;
    double ZoneBottom = 0;
    double ZoneTop = 0;
    double RsiValue = 0;  // may be NaN
    double Perf10 = NotMeasured;
    double Perf20 = NotMeasured;
    double MaxDrawdown20 = NotMeasured;  // <= 0
    double Atr = 0;
    double StopPrice = 0;  // 0 or less: no stop
    bool StopHit = false;
    int StopBar = 0;  // bars from entry to the stop hit
    double Perf20Stop = NotMeasured;
    TStopMode StopMode = TStopMode::smIntraday;
    bool MarketOK = false;
    bool PhaseOK = false;
    double MarginResPct = NotMeasured;  // +infinity without resistance
    double RiskPct = NotMeasured;
    double DistHighPct = NotMeasured;  // <= 0; NaN with too short a history

    // A fresh signal bought at the close of ABar, bar AIndex of its series.
    static TEntrySignal AtBar(int AIndex, const TPriceBar& ABar, double ADistHighPct);

    // Score 4.
    bool IsComplete() const { return Score == 4; }
    // Room to the resistance over the risk to the stop: NaN without a positive risk or a margin,
    // +infinity without resistance, a negative margin counting as 0.
    double RewardRisk() const;
    // "support+ RSI- MACD+ volume+": one mark per condition.
    std::string Conditions() const;
};

}  // namespace cotalys
