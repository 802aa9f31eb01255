#include "signals/EntrySignal.h"

#include <algorithm>
#include <cmath>

namespace cotalys {

TEntrySignal TEntrySignal::AtBar(int AIndex, const TPriceBar& ABar, double ADistHighPct) {
    TEntrySignal signal;
    signal.Index = AIndex;
    signal.Date = ABar.Date;
    signal.Price = ABar.Close;
    signal.DistHighPct = ADistHighPct;
    return signal;
}

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
