#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>

#include "indicators/Indicators.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::ExpectArrayNear;
using test::ExpectIndicatorError;
using test::NaN;
using test::SeriesFromBars;
using test::TBarSpec;

TEST(ATR, WorkedByHand) {
    // True ranges of bars 1..4: 2, 5 (gap up from 11 to a 14..16 bar), 2, 2.
    const TPriceSeries series = SeriesFromBars({{10, 11, 9, 10, 0},
                                                {10, 12, 10, 11, 0},
                                                {15, 16, 14, 15, 0},
                                                {14, 15, 13, 14, 0},
                                                {12.5, 13, 12, 12.5, 0}});
    ExpectArrayNear(ComputeATR(series, 2), {NaN, NaN, 3.5, 2.75, 2.375}, 0);
    ExpectArrayNear(ComputeATR(series, 1), {NaN, 2, 5, 2, 2}, 0);
    ExpectArrayNear(ComputeATR(series, 4), {NaN, NaN, NaN, NaN, 2.75}, 0);
    ExpectArrayNear(ComputeATR(series, 5), std::vector<double>(5, NaN));
    EXPECT_TRUE(ComputeATR(TPriceSeries("EMPTY.PA"), 14).empty());
    ExpectIndicatorError([&] { ComputeATR(series, 0); }, "Periode ATR invalide : 0");
}

// Wilder's definition one bar at a time: the mean of the first true ranges, then
// (previous x (period - 1) + true range) / period.
std::vector<double> ReferenceATR(const std::vector<TBarSpec>& ABars, int APeriod) {
    const auto trueRange = [&](int i) {
        const double previous = ABars[i - 1].Close;
        return std::max({ABars[i].High - ABars[i].Low, std::fabs(ABars[i].High - previous),
                         std::fabs(ABars[i].Low - previous)});
    };
    std::vector<double> result(ABars.size(), NaN);
    if (static_cast<int>(ABars.size()) <= APeriod) {
        return result;
    }
    double sum = 0;
    for (int i = 1; i <= APeriod; ++i) {
        sum += trueRange(i);
    }
    result[APeriod] = sum / APeriod;
    for (int i = APeriod + 1; i < static_cast<int>(ABars.size()); ++i) {
        result[i] = (result[i - 1] * (APeriod - 1) + trueRange(i)) / APeriod;
    }
    return result;
}

// A long history whose sessions often open beyond the previous close (up and down, so the true
// range reaches back to it on either side), with a flat stretch without any range.
std::vector<TBarSpec> LongHistory() {
    std::vector<TBarSpec> bars;
    double close = 100;
    for (int i = 0; i < 1100; ++i) {
        if (i >= 500 && i < 530) {
            bars.push_back({90, 90, 90, 90, 1000});
            close = 90;
            continue;
        }
        const double open = close + 3 * std::sin(i * 0.91);
        close = open + std::cos(i * 0.53);
        bars.push_back({open, std::max(open, close) + 0.2 * (i % 4), std::min(open, close) - 0.1,
                        close, 1000});
    }
    return bars;
}

TEST(ATR, IsExactlyWilderDefinitionOverLongHistories) {
    const std::vector<TBarSpec> bars = LongHistory();
    const TPriceSeries series = SeriesFromBars(bars);
    for (int period : {1, 2, 14}) {
        SCOPED_TRACE(period);
        ExpectArrayNear(ComputeATR(series, period), ReferenceATR(bars, period), 0);
    }
}

// The true ranges of a whole series serve every stretch of it: the last ATR drawn from them is
// exactly that of the stretch on its own.
TEST(ATR, LastValueOfAStretchFromTheSeriesTrueRanges) {
    const std::vector<TBarSpec> bars = LongHistory();
    const std::vector<double> ranges = TrueRanges(std::span(SeriesFromBars(bars).Bars()));
    const struct {
        int First, Count;
    } stretches[] = {{0, 1100}, {480, 320}, {700, 15}, {700, 14}, {1099, 1}};
    for (const auto& s : stretches) {
        SCOPED_TRACE(testing::Message() << s.First << " + " << s.Count);
        const std::vector<TBarSpec> part(bars.begin() + s.First, bars.begin() + s.First + s.Count);
        const double expected = ReferenceATR(part, 14).back();
        const double actual = LastATR(std::span(ranges).subspan(s.First, s.Count), 14);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(actual)) << actual;
        } else {
            EXPECT_EQ(actual, expected);
        }
    }
}

}  // namespace
}  // namespace cotalys
