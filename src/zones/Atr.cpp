#include "indicators/Indicators.h"
#include "zones/SupportResistanceAnalyzer.h"

namespace cotalys {

std::vector<double> TSupportResistanceAnalyzer::ATR(const TPriceSeries& ASeries, int APeriod) {
    return ComputeATR(ASeries, APeriod);
}

}  // namespace cotalys
