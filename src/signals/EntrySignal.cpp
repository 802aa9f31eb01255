#include "signals/EntrySignal.h"

#include <algorithm>
#include <cmath>

namespace cotalys {

double TEntrySignal::RewardRisk() const {
    if (std::isnan(RiskPct) || RiskPct <= 0 || std::isnan(MarginResPct)) {
        return NotMeasured;
    }
    if (std::isinf(MarginResPct)) {
        return std::numeric_limits<double>::infinity();
    }
    return std::max(MarginResPct, 0.0) / RiskPct;
}

std::string TEntrySignal::Conditions() const {
    const auto mark = [](bool AFlag) { return AFlag ? "+" : "-"; };
    return std::string("support") + mark(Contact) + " RSI" + mark(RsiOK) + " MACD" + mark(MacdOK) +
           " volume" + mark(VolumeOK);
}

}  // namespace cotalys
