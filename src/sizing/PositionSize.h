#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sizing/SizingParams.h"

namespace cotalys {

// What decided a position's size, or why there is none.
enum class TSizingLimit { slRisk, slMaxPosition, slCapital, slTooSmall, slInvalid };

// The size of one long position; when Valid is false every number is 0.
struct TPositionSize {
    bool Valid = false;
    std::int32_t Shares = 0;      // a multiple of the lot
    double Amount = 0;            // Shares x entry, EUR
    double PctOfCapital = 0;      // Amount / capital x 100
    double RiskPerShare = 0;      // (entry - stop) x slippage factor
    double RiskAmount = 0;        // loss at the stop, fees included, EUR
    double RiskPctOfCapital = 0;  // RiskAmount / capital x 100
    double Fees = 0;              // buying at the entry and selling at the stop, EUR
    TSizingLimit Limit = TSizingLimit::slRisk;

    // The French text of Limit; values beyond slTooSmall read "stop invalide".
    std::string LimitText() const;
    // One French line: "Taille de position : ..." with the figures and the limit.
    std::string Describe() const;
};

// Shares to buy at AEntry with a stop at AStop: the most whose loss at the stop, slippage and
// round-trip fees included, stays within the risk budget, capped by the largest position and
// by the capital, rounded down to the lot and to at most 2,147,483,647. An unusable entry/stop
// pair gives slInvalid; invalid settings throw EFinanceError. ASymbol only decides the TTF.
TPositionSize ComputePositionSize(const TSizingParams& ASizing, double AEntry, double AStop,
                                  std::string_view ASymbol);

}  // namespace cotalys
