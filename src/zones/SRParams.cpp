#include "zones/SRParams.h"

#include "core/Core.h"

namespace cotalys {

void TSRParams::Validate() const {
    // Written as the rules that must hold, so a NaN distance fails them too.
    const bool valid = PivotWindow >= 1 && WeeklyPivotWindow >= 1 && AtrPeriod >= 2 &&
                       MinTouches >= 1 && MinBarsBetween >= 0 && MaxZonesPerSide >= 1 &&
                       VolumePeriod >= 2 && ClusterAtr > 0 && MinWidthAtr >= 0;
    if (!valid) {
        throw EIndicatorError("Parametres supports/resistances invalides");
    }
}

}  // namespace cotalys
