#include <gtest/gtest.h>

#include "indicators/Indicators.h"
#include "signals/EntrySignals.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::ExpectArrayNear;
using test::ExpectIndicatorError;
using test::NaN;

// Index sessions Monday to Friday from Monday 6 January 2025; open = high = low = close.
TPriceSeries WeekdayIndex(const std::vector<double>& ACloses) {
    TPriceSeries index("^FCHI");
    TDateTime day = EncodeDate(2025, 1, 6);
    for (double close : ACloses) {
        while (IsoDayOfWeek(day) > 5) {
            day += 1;
        }
        index.Add(TPriceBar::New(day, close, close, close, close, 0));
        day += 1;
    }
    return index;
}

std::vector<double> Ramp(int ACount, double AStart, double AStep) {
    std::vector<double> values;
    for (int i = 0; i < ACount; ++i) {
        values.push_back(AStart + AStep * i);
    }
    return values;
}

TEST(MarketRegime, RefusesAnEmptyIndex) {
    ExpectIndicatorError([] { TMarketRegime regime(nullptr, 50); }, "Indice de marche vide");
    const TPriceSeries empty("^FCHI");
    ExpectIndicatorError([&] { TMarketRegime regime(&empty, 50); }, "Indice de marche vide");
}

TEST(MarketRegime, DatesMapToTheLastSessionAtMostFiveDaysBefore) {
    // Sessions Monday 6 to Friday 10 January 2025, then, after a closure, from Monday 20.
    TPriceSeries index("^FCHI");
    const int days[] = {6, 7, 8, 9, 10, 20, 21};
    const double closes[] = {1, 2, 3, 4, 5, 4, 3};
    for (int i = 0; i < 7; ++i) {
        index.Add(TPriceBar::New(EncodeDate(2025, 1, days[i]), closes[i], closes[i], closes[i],
                                 closes[i], 0));
    }
    const TMarketRegime regime(&index, 2);
    const struct {
        int Day;
        double TimeOfDay;
        bool Known;
        bool Favorable;
    } cases[] = {
        {5, 0, false, false},   // before the first session
        {6, 0, false, false},   // first session: no average yet
        {7, 0.75, true, true},  // the time of day is ignored
        {11, 0, true, true},    // Saturday: Friday's session
        {15, 0, true, true},    // 5 days after the last session before the closure
        {16, 0, false, false},  // 6 days after
        {20, 0, true, false},   // back at 4, under the average of 5 and 4
        {26, 0, true, false},   // 5 days after the last session
        {27, 0, false, false},  // 6 days after
    };
    for (const auto& c : cases) {
        bool known = !c.Known;
        EXPECT_EQ(regime.IsFavorable(EncodeDate(2025, 1, c.Day) + c.TimeOfDay, known), c.Favorable)
            << c.Day;
        EXPECT_EQ(known, c.Known) << c.Day;
    }
    EXPECT_EQ(regime.Symbol(), "^FCHI");
    EXPECT_EQ(regime.Period(), 2);
}

TEST(MarketRegime, ShortIndexKnowsThePhaseBeforeTheTrend) {
    const TPriceSeries index = WeekdayIndex(Ramp(40, 100, -1));
    const TMarketRegime regime(&index, 50);
    for (int i = 0; i < 40; ++i) {
        EXPECT_FALSE(regime.Known()[i]) << i;
        EXPECT_EQ(regime.PhaseKnown()[i], i >= 14) << i;
        // A falling market has an RSI of 0: a favourable phase as soon as it is known.
        EXPECT_EQ(regime.PhaseFavorable()[i], i >= 14) << i;
    }
    const TDateTime first = index.First().Date;
    const TDateTime last = index.Last().Date;
    EXPECT_TRUE(std::isnan(regime.FavorableShare(first, last)));
    EXPECT_EQ(regime.PhaseFavorableShare(first, last), 100);
}

TEST(MarketRegime, PullbackMakesAFavourablePhaseWhileTheRSIRecovers) {
    // 230 rising sessions to 329, a fall to 290 (12 % under the high), then a climb of 1 a day.
    std::vector<double> closes = Ramp(230, 100, 1);
    const std::vector<double> climb = Ramp(20, 290, 1);
    closes.insert(closes.end(), climb.begin(), climb.end());
    const TPriceSeries index = WeekdayIndex(closes);
    const TMarketRegime regime(&index, 50);
    const std::vector<double> rsi = ComputeRSI(closes, 14);
    const std::vector<double> distance = DistanceFromHigh(index, 252, 200);
    int throughDistanceOnly = 0;
    for (int i = 200; i < 250; ++i) {
        const bool expected = rsi[i] < 40 || distance[i] < -8;
        EXPECT_EQ(regime.PhaseFavorable()[i], expected) << i;
        throughDistanceOnly += (rsi[i] >= 40 && distance[i] < -8) ? 1 : 0;
    }
    EXPECT_GT(throughDistanceOnly, 0);
    EXPECT_FALSE(regime.PhaseFavorable()[229]);  // rising: RSI 100, at its high
    EXPECT_TRUE(regime.PhaseFavorable()[230]);   // the fall
    EXPECT_FALSE(regime.PhaseFavorable()[249]);  // RSI recovered, back within 8 %
    EXPECT_TRUE(regime.Favorable()[229]);
    EXPECT_FALSE(regime.Favorable()[230]);
}

TEST(MarketRegime, SharesOverDateRanges) {
    // Average of 2: known from the second session; above it on the 2nd and 3rd sessions only.
    const TPriceSeries index = WeekdayIndex({1, 2, 3, 2, 1});
    const TMarketRegime regime(&index, 2);
    const TDateTime monday = EncodeDate(2025, 1, 6);
    EXPECT_EQ(regime.FavorableShare(monday, monday + 4), 50);
    EXPECT_EQ(regime.FavorableShare(monday + 0.9, monday + 2.5), 100);
    EXPECT_EQ(regime.FavorableShare(monday + 3, monday + 30), 0);
    EXPECT_TRUE(std::isnan(regime.FavorableShare(monday - 10, monday - 1)));
    EXPECT_TRUE(std::isnan(regime.FavorableShare(monday, monday)));
    EXPECT_TRUE(std::isnan(regime.PhaseFavorableShare(monday, monday + 4)));
}

TPriceSeries HighsAndCloses(const std::vector<double>& AHighs, const std::vector<double>& ACloses) {
    TPriceSeries series("TEST.PA");
    for (std::size_t i = 0; i < AHighs.size(); ++i) {
        series.Add(TPriceBar::New(45000 + static_cast<double>(i), ACloses[i], AHighs[i], ACloses[i],
                                  ACloses[i], 0));
    }
    return series;
}

TEST(DistanceFromHigh, SlidingWindowMaximum) {
    const struct {
        const char* Name;
        std::vector<double> Highs;
        std::vector<double> Closes;
        int Window;
        int MinBars;
        std::vector<double> Expected;
    } cases[] = {
        {"window of two", {5, 3, 4, 2, 1}, {5, 2.5, 3, 3, 1}, 2, 1, {0, -50, -25, -25, -50}},
        {"minimum history", {5, 3, 4, 2, 1}, {5, 2.5, 3, 3, 1}, 2, 3, {NaN, NaN, -25, -25, -50}},
        // The later of two equal highs holds the maximum until it leaves the window.
        {"equal highs",
         {5, 1, 5, 1, 1, 1},
         {2.5, 2.5, 2.5, 2.5, 2.5, 2.5},
         3,
         1,
         {-50, -50, -50, -50, -50, 150}},
        {"non-positive high", {0, 2}, {1, 1}, 5, 1, {NaN, -50}},
        {"window below one", {5, 3, 4}, {5, 3, 4}, 0, 1, {NaN, NaN, NaN}},
        {"empty", {}, {}, 252, 200, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectArrayNear(DistanceFromHigh(HighsAndCloses(c.Highs, c.Closes), c.Window, c.MinBars),
                        c.Expected);
    }
}

TEST(DistanceFromHigh, YearWindowNeedsTwoHundredSessions) {
    const std::vector<double> rising = Ramp(260, 10, 0.5);
    const std::vector<double> full = DistanceFromHigh(HighsAndCloses(rising, rising), 252, 200);
    for (int i = 0; i < 260; ++i) {
        if (i < 199) {
            EXPECT_TRUE(std::isnan(full[i])) << i;
        } else {
            EXPECT_EQ(full[i], 0) << i;
        }
    }
    const std::vector<double> short199(rising.begin(), rising.begin() + 199);
    ExpectArrayNear(DistanceFromHigh(HighsAndCloses(short199, short199), 252, 200),
                    std::vector<double>(199, NaN));
}

}  // namespace
}  // namespace cotalys
