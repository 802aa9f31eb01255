#pragma once

#include <string>
#include <vector>

namespace cotalys {

// Periods of the MACD: fast and slow EMAs of the closes, and the EMA of their difference.
struct TMACDParams {
    int FastPeriod = 12;
    int SlowPeriod = 26;
    int SignalPeriod = 9;

    // The classic 12, 26, 9.
    static TMACDParams Default() { return TMACDParams{}; }
    // Throws EIndicatorError when a period is below 1, then when fast >= slow.
    void Validate() const;
    // Bars before the first histogram value can settle: SlowPeriod + SignalPeriod - 1.
    int WarmUpBars() const;
    // "MACD(12,26,9)".
    std::string ToString() const;
};

// Direction of a crossing of the MACD and signal lines; ordinals are the declared order.
enum class TCrossKind { ckNone, ckBullish, ckBearish };

// "aucun", "haussier", "baissier".
std::string CrossKindName(TCrossKind AKind);

// The three MACD arrays, as long as the closes, NaN where no value exists.
struct TMACDResult {
    std::vector<double> MACD;
    std::vector<double> Signal;
    std::vector<double> Histogram;

    // The most recent sign change of the histogram at or after AFromIndex (never before 1),
    // with its bar index in AIndex (-1 for ckNone). A histogram that touches 0 and turns back
    // is no crossing; the search stops at the first NaN going back.
    TCrossKind LastCross(int AFromIndex, int& AIndex) const;
};

// MACD of the closes. Throws EIndicatorError on invalid parameters or, through ComputeEMA, on a
// missing close inside an EMA seed.
TMACDResult ComputeMACD(const std::vector<double>& ACloses, const TMACDParams& AParams);

}  // namespace cotalys
