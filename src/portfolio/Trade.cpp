#include "portfolio/Trade.h"

namespace cotalys {

std::string ExitReasonText(TExitReason AReason) {
    switch (AReason) {
        case TExitReason::erStop:
            return "stop";
        case TExitReason::erHorizon:
            return "20 seances";
        default:
            return "fin de periode";
    }
}

}  // namespace cotalys
