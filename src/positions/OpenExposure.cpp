#include "positions/OpenExposure.h"

namespace cotalys {

TOpenExposure OpenExposure(const std::vector<TPosition>& APositions,
                           const std::map<std::string, double>& ALastCloses,
                           double ASlippageFactor) {
    TOpenExposure exposure;
    for (const TPosition& position : APositions) {
        if (position.IsClosed()) {
            continue;
        }
        const auto close = ALastCloses.find(position.Symbol);
        const double price = close != ALastCloses.end() ? close->second : position.EntryPrice;
        ++exposure.Positions;
        exposure.Risk += position.RiskAt(price, ASlippageFactor);
        exposure.Invested += position.InvestedAt(price);
    }
    return exposure;
}

}  // namespace cotalys
