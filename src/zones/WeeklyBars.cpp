#include <algorithm>

#include "zones/ZoneSteps.h"

namespace cotalys {

int TSupportResistanceAnalyzer::WeekStart(TDateTime ADate) {
    return static_cast<int>(DayOf(ADate)) - (IsoDayOfWeek(ADate) - 1);
}

namespace zones {

TPriceBar WeeklyBar(std::span<const TPriceBar> ABars) {
    TPriceBar week = ABars.front();
    for (const TPriceBar& bar : ABars.subspan(1)) {
        week.High = std::max(week.High, bar.High);
        week.Low = std::min(week.Low, bar.Low);
        week.Close = bar.Close;
        week.Date = bar.Date;
        week.Volume += bar.Volume;
    }
    return week;
}

std::vector<int> WeekFirstBars(std::span<const TPriceBar> ABars) {
    std::vector<int> firsts;
    int previous = 0;
    for (std::size_t i = 0; i < ABars.size(); ++i) {
        const int week = TSupportResistanceAnalyzer::WeekStart(ABars[i].Date);
        if (i == 0 || week != previous) {
            firsts.push_back(static_cast<int>(i));
        }
        previous = week;
    }
    firsts.push_back(static_cast<int>(ABars.size()));
    return firsts;
}

std::vector<TPriceBar> WeeklyBars(std::span<const TPriceBar> ABars,
                                  std::span<const int> AFirstBars) {
    std::vector<TPriceBar> weeks;
    // The current week may be unfinished: it still counts, dated by its last session.
    for (std::size_t k = 0; k + 1 < AFirstBars.size(); ++k) {
        weeks.push_back(WeeklyBar(ABars.subspan(AFirstBars[k], AFirstBars[k + 1] - AFirstBars[k])));
    }
    return weeks;
}

}  // namespace zones

std::vector<TPriceBar> TSupportResistanceAnalyzer::WeeklyBars(const TPriceSeries& ASeries) {
    return zones::WeeklyBars(ASeries.Bars(), zones::WeekFirstBars(ASeries.Bars()));
}

}  // namespace cotalys
