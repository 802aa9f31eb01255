#include <algorithm>

#include "zones/SupportResistanceAnalyzer.h"

namespace cotalys {

namespace {

// The Monday that opens a day's ISO week. Two days share an ISO week (number and week-based
// year) exactly when they share that Monday, which is far cheaper to compare per bar.
int MondayOf(TDateTime ADate) {
    return DayOf(ADate) - (IsoDayOfWeek(ADate) - 1);
}

}  // namespace

std::vector<TPriceBar> TSupportResistanceAnalyzer::WeeklyBars(const TPriceSeries& ASeries) {
    std::vector<TPriceBar> weeks;
    const std::vector<TPriceBar>& bars = ASeries.Bars();
    if (bars.empty()) {
        return weeks;
    }
    weeks.reserve(bars.size() / 4 + 2);
    TPriceBar week = bars.front();
    int weekMonday = MondayOf(week.Date);
    for (std::size_t i = 1; i < bars.size(); ++i) {
        const TPriceBar& bar = bars[i];
        const int monday = MondayOf(bar.Date);
        if (monday != weekMonday) {
            weeks.push_back(week);
            week = bar;
            weekMonday = monday;
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
