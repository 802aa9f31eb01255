#include "signals/SignalParams.h"

#include "core/Core.h"

namespace cotalys {

void TSignalParams::Validate() const {
    // Written as positive conditions so that a NaN ratio or stop distance fails them: a NaN
    // would otherwise slip through "not <= 0" and disable the volume test or the stop.
    const bool valid = WindowBars >= 1 && MaxZoneRank >= 1 && RsiLookback >= 1 &&
                       VolumePeriod >= 2 && MinScore >= 1 && MinScore <= 4 && CooldownBars >= 0 &&
                       VolumeRatio > 0 && StopAtr >= 0;
    if (!valid) {
        throw EIndicatorError("Parametres du signal d'entree invalides");
    }
}

}  // namespace cotalys
