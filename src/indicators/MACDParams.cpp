#include "core/Core.h"
#include "indicators/MACD.h"

namespace cotalys {

void TMACDParams::Validate() const {
    if (FastPeriod < 1 || SlowPeriod < 1 || SignalPeriod < 1) {
        throw EIndicatorError("Periodes MACD strictement positives requises");
    }
    if (FastPeriod >= SlowPeriod) {
        throw EIndicatorError(
            Format("MACD : periode rapide (%d) >= periode lente (%d)", FastPeriod, SlowPeriod));
    }
}

int TMACDParams::WarmUpBars() const {
    return SlowPeriod + SignalPeriod - 1;
}

std::string TMACDParams::ToString() const {
    return Format("MACD(%d,%d,%d)", FastPeriod, SlowPeriod, SignalPeriod);
}

std::string CrossKindName(TCrossKind AKind) {
    switch (AKind) {
        case TCrossKind::ckBullish:
            return "haussier";
        case TCrossKind::ckBearish:
            return "baissier";
        case TCrossKind::ckNone:
            break;
    }
    return "aucun";
}

}  // namespace cotalys
