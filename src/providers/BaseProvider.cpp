#include "providers/BaseProvider.h"

#include <vector>

#include "core/Core.h"

namespace cotalys {

void TBaseProvider::FinishLoad(TPriceSeries& ASeries, TDateTime AFrom, TDateTime ATo) {
    ASeries.SortAndDeduplicate();
    const int firstDay = DayOf(AFrom);
    const int lastDay = DayOf(ATo);
    std::vector<TPriceBar> kept;
    for (const TPriceBar& bar : ASeries.Bars())
        if (bar.Date >= firstDay && bar.Date <= lastDay)
            kept.push_back(bar);
    ASeries.Clear();
    for (const TPriceBar& bar : kept)
        ASeries.Add(bar);
    if (ASeries.Count() == 0)
        throw ENoSessionInRange(
            Format("Aucune seance entre le %s et le %s", FrenchDate(AFrom), FrenchDate(ATo)));
}

}  // namespace cotalys
