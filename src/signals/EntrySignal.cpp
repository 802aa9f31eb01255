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

double RewardRiskRatio(double AMarginResPct, double ARiskPct) {
    if (std::isnan(ARiskPct) || ARiskPct <= 0 || std::isnan(AMarginResPct)) {
        return TEntrySignal::NotMeasured;
    }
    if (std::isinf(AMarginResPct)) {
        return std::numeric_limits<double>::infinity();
    }
    return std::max(AMarginResPct, 0.0) / ARiskPct;
}

double TEntrySignal::RewardRisk() const {
    return RewardRiskRatio(MarginResPct, RiskPct);
}

std::string TEntrySignal::Conditions() const {
    const auto mark = [](bool AFlag) { return AFlag ? "+" : "-"; };
    return std::string("support") + mark(Contact) + " RSI" + mark(RsiOK) + " MACD" + mark(MacdOK) +
           " volume" + mark(VolumeOK);
}

}  // namespace cotalys
