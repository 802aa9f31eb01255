#include "signals/StopConfig.h"

namespace cotalys {

std::string StopModeName(TStopMode AMode) {
    return AMode == TStopMode::smClose ? "sur cloture" : "en seance";
}

TStopConfig TStopConfig::Make(const std::string& AName, double AAtrMult, TStopMode AMode) {
    return TStopConfig{AName, AAtrMult, AMode};
}

}  // namespace cotalys
