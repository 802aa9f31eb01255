#pragma once

#include <limits>
#include <string>

#include "core/Core.h"
#include "sizing/PositionSizing.h"

namespace cotalys {

// The scanner's verdict on one symbol; the declared order is also the sort order.
enum class TScanStatus {
    ssSignal,  // an entry signal on one of the last bars
    ssWatch,   // no signal, but the close sits near the nearest support
    ssNone,    // nothing to report
    ssError    // loading or evaluating the symbol failed
};

// One symbol reduced to a line of the daily scan: verdict, the figures behind it, four technical
// criteria, a position size and the portfolio verdict. A default row is the "not set" row: the
// percentages that have no value are NaN.
struct TScanRow {
    static constexpr double NotSet = NaN;

    std::string Symbol;
    std::string Name;  // company name carried by the series; may be empty
    TScanStatus Status = TScanStatus::ssNone;
    TDateTime LastDate = 0;
    double LastClose = 0;
    TDateTime SignalDate = 0;
    int SignalAge = 0;  // bars from the signal bar to the last bar
    double SignalPrice = 0;
    double ChangeSinceSignalPct = NotSet;
    int Score = 0;
    std::string Conditions;
    std::string ZoneLabel;
    double ZoneBottom = 0;
    double ZoneTop = 0;
    double DistSupportPct = NotSet;
    double MarginResPct = NotSet;  // +infinity without resistance above
    double StopPrice = 0;          // 0: no stop
    double RiskPct = NotSet;
    double Rsi = 0;
    double Macd = 0;
    double YieldPct = NotSet;
    double DistHighPct = NotSet;
    TPositionSize Size;
    bool Invalidated = false;  // signal rows: the last close fell to the zone's bottom or below
    bool Selected = false;
    std::string SelectionNote;
    bool OkSupport = false;
    bool OkMargin = false;
    bool OkMacd = false;
    bool OkYield = false;
    std::string ErrorText;

    // Number of criteria met among support, margin, MACD and yield (0 to 4).
    int CriteriaCount() const;
    // "SIGNAL", "SIGNAL J-2", "surveiller", "erreur", or empty for a row without verdict.
    std::string StatusText() const;
    // Signal rows only: "repasse sous la zone" when invalidated, else "valide"; empty otherwise.
    std::string SignalStateText() const;
    // Room to the resistance over the risk to the stop: NaN without a positive risk or a margin,
    // +infinity without resistance, a negative margin counting as 0.
    double RewardRisk() const;
};

}  // namespace cotalys
