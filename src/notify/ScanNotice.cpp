#include "notify/ScanNotice.h"

#include <algorithm>

#include "core/Core.h"

namespace cotalys {

int RowsWithStatus(const std::vector<TScanRow>& ARows, TScanStatus AStatus) {
    return static_cast<int>(std::count_if(
        ARows.begin(), ARows.end(), [AStatus](const TScanRow& R) { return R.Status == AStatus; }));
}

TScanNotice ScanNotice(const std::vector<TScanRow>& ARows) {
    const int signals = RowsWithStatus(ARows, TScanStatus::ssSignal);
    TScanNotice notice;
    notice.Title = Format("Cotalys : %d signal(s) ce soir", signals);
    if (signals == 0) {
        notice.Body = Format("Aucun signal ; %d titre(s) a surveiller",
                             RowsWithStatus(ARows, TScanStatus::ssWatch));
        return notice;
    }
    for (const TScanRow& row : ARows) {
        if (row.Status == TScanStatus::ssSignal && row.Selected && row.Size.Valid) {
            notice.Body += (notice.Body.empty() ? "" : "\n") +
                           Format("%s : %d titre(s)", row.Symbol, row.Size.Shares);
        }
    }
    if (notice.Body.empty()) {
        notice.Body = "Aucun signal retenu dans le portefeuille (reglages de taille)";
    }
    return notice;
}

}  // namespace cotalys
