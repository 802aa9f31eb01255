#include "backtest/FeeAccumulator.h"

#include <cmath>

namespace cotalys {

void TFeeAccumulator::Add(const TSizingParams& ASizing, const TEntrySignal& ASignal,
                          const std::string& ASymbol) {
    TSizingParams sizing = ASizing;
    sizing.FeePlan = Plan;
    const TPositionSize size =
        ComputePositionSize(sizing, ASignal.Price, ASignal.StopPrice, ASymbol);
    if (!size.Valid) {
        return;
    }
    // Round-trip fees of a sale at the result, in percent of the order.
    const auto feesPct = [&](double APerf) {
        const double sale = size.Amount * (1 + APerf / 100);
        return sizing.RoundTripFees(size.Amount, sale, ASymbol) / size.Amount * 100;
    };
    if (!std::isnan(ASignal.Perf20)) {
        const double fees = feesPct(ASignal.Perf20);
        const double net = ASignal.Perf20 - fees;
        Count += 1;
        SumNet20 += net;
        Winners += net > 0 ? 1 : 0;
        SumFeesPct += fees;
        SumAmount += size.Amount;
    }
    if (!std::isnan(ASignal.Perf20Stop)) {
        CountStop += 1;
        SumNetStop += ASignal.Perf20Stop - feesPct(ASignal.Perf20Stop);
    }
}

}  // namespace cotalys
