#include <algorithm>

#include "zones/SupportResistanceAnalyzer.h"

namespace cotalys {

int TSupportResistanceAnalyzer::WeekStart(TDateTime ADate) {
    return static_cast<int>(DayOf(ADate)) - (IsoDayOfWeek(ADate) - 1);
}

std::vector<TPriceBar> TSupportResistanceAnalyzer::WeeklyBars(const TPriceSeries& ASeries) {
    std::vector<int> weeks;
    weeks.reserve(ASeries.Bars().size());
    for (const TPriceBar& bar : ASeries.Bars()) {
        weeks.push_back(WeekStart(bar.Date));
    }
    return WeeklyBars(ASeries.Bars(), weeks);
}

std::vector<TPriceBar> TSupportResistanceAnalyzer::WeeklyBars(std::span<const TPriceBar> ABars,
                                                              std::span<const int> AWeekStart) {
    std::vector<TPriceBar> weeks;
    if (ABars.empty()) {
        return weeks;
    }
    weeks.reserve(ABars.size() / 4 + 2);
    TPriceBar week = ABars.front();
    for (std::size_t i = 1; i < ABars.size(); ++i) {
        const TPriceBar& bar = ABars[i];
        if (AWeekStart[i] != AWeekStart[i - 1]) {
            weeks.push_back(week);
            week = bar;
            continue;
        }
        week.High = std::max(week.High, bar.High);
        week.Low = std::min(week.Low, bar.Low);
        week.Close = bar.Close;
        week.Date = bar.Date;
        week.Volume += bar.Volume;
    }
    // The current week may be unfinished: it still counts, dated by its last session.
    weeks.push_back(week);
    return weeks;
}

}  // namespace cotalys
