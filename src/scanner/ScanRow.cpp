#include "scanner/ScanRow.h"

#include "core/Core.h"
#include "signals/EntrySignals.h"

namespace cotalys {

int TScanRow::CriteriaCount() const {
    return static_cast<int>(OkSupport) + static_cast<int>(OkMargin) + static_cast<int>(OkMacd) +
           static_cast<int>(OkYield);
}

std::string TScanRow::StatusText() const {
    switch (Status) {
        case TScanStatus::ssSignal:
            return SignalAge == 0 ? std::string("SIGNAL") : Format("SIGNAL J-%d", SignalAge);
        case TScanStatus::ssWatch:
            return "surveiller";
        case TScanStatus::ssError:
            return "erreur";
        case TScanStatus::ssNone:
            break;
    }
    return "";
}

std::string TScanRow::SignalStateText() const {
    if (Status != TScanStatus::ssSignal) {
        return "";
    }
    return Invalidated ? "repasse sous la zone" : "valide";
}

double TScanRow::RewardRisk() const {
    return RewardRiskRatio(MarginResPct, RiskPct);
}

}  // namespace cotalys
