#include "signals/ExitReason.h"

namespace cotalys {

std::string ExitReasonText(TExitReason AReason) {
    switch (AReason) {
        case TExitReason::erStop:
            return "stop";
        case TExitReason::erHorizon:
            return "20 seances";
        case TExitReason::erManual:
            return "manuel";
        default:
            return "fin de periode";
    }
}

}  // namespace cotalys
