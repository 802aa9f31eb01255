#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "zones/SupportResistance.h"
#include "zones/ZoneFixtures.h"

namespace cotalys {
namespace {

using test::ExpectArrayNear;
using test::ExpectIndicatorError;
using test::NaN;
using test::PlateauWithDips;
using test::TBarSpec;

TEST(SRParams, DefaultsAndEveryBrokenRule) {
    const TSRParams defaults = TSRParams::Default();
    EXPECT_EQ(defaults.PivotWindow, 5);
    EXPECT_EQ(defaults.WeeklyPivotWindow, 2);
    EXPECT_EQ(defaults.AtrPeriod, 14);
    EXPECT_EQ(defaults.ClusterAtr, 0.6);
    EXPECT_EQ(defaults.MinWidthAtr, 0.5);
    EXPECT_EQ(defaults.MinTouches, 2);
    EXPECT_EQ(defaults.MinBarsBetween, 8);
    EXPECT_EQ(defaults.MaxZonesPerSide, 3);
    EXPECT_EQ(defaults.VolumePeriod, 20);
    EXPECT_NO_THROW(defaults.Validate());

    const std::function<void(TSRParams&)> breaks[] = {
        [](TSRParams& p) { p.PivotWindow = 0; },     [](TSRParams& p) { p.WeeklyPivotWindow = 0; },
        [](TSRParams& p) { p.AtrPeriod = 1; },       [](TSRParams& p) { p.MinTouches = 0; },
        [](TSRParams& p) { p.MinBarsBetween = -1; }, [](TSRParams& p) { p.MaxZonesPerSide = 0; },
        [](TSRParams& p) { p.VolumePeriod = 1; },    [](TSRParams& p) { p.ClusterAtr = 0; },
        [](TSRParams& p) { p.ClusterAtr = NaN; },    [](TSRParams& p) { p.MinWidthAtr = -0.1; },
        [](TSRParams& p) { p.MinWidthAtr = NaN; },
    };
    for (const auto& breakRule : breaks) {
        TSRParams params = defaults;
        breakRule(params);
        ExpectIndicatorError([&] { TSupportResistanceAnalyzer analyzer(params); },
                             "Parametres supports/resistances invalides");
    }
}

TEST(SupportResistanceAnalyzer, NeedsTwoWindowsPlusTheATRPeriod) {
    const TSupportResistanceAnalyzer analyzer(TSRParams::Default());
    ExpectIndicatorError([&] { analyzer.Analyze(PlateauWithDips(24, {})); },
                         "Supports/resistances : 24 seances insuffisantes");
    const TSRResult result = analyzer.Analyze(PlateauWithDips(25, {}));
    EXPECT_TRUE(result.Zones.empty());
    EXPECT_EQ(result.Atr, 2);
    EXPECT_EQ(result.LastClose, 100);
}

// Wilder's definition one bar at a time, over several chunks of the routine (512 bars), to
// compare the fast routine with.
TEST(SupportResistanceAnalyzer, ATRMatchesWilderDefinitionOverLongHistories) {
    std::vector<TBarSpec> bars;
    for (int i = 0; i < 1100; ++i) {
        // A flat stretch (no range at all) across the first chunk edge.
        const bool flat = i >= 500 && i < 530;
        const double close = flat ? 90 : 100 + 10 * std::sin(i * 0.37) + (i % 11) * 0.25;
        const double spread = flat ? 0 : 0.5 + (i % 5) * 0.3;
        bars.push_back({close, close + spread, close - spread, close, 1000});
    }
    const TPriceSeries series = test::SeriesFromBars(bars);
    for (int period : {1, 2, 14}) {
        SCOPED_TRACE(period);
        std::vector<double> expected(bars.size(), NaN);
        double atr = 0;
        for (int i = 1; i < static_cast<int>(bars.size()); ++i) {
            const double previous = bars[i - 1].Close;
            const double range =
                std::max({bars[i].High - bars[i].Low, std::fabs(bars[i].High - previous),
                          std::fabs(bars[i].Low - previous)});
            if (i <= period) {
                atr += range / period;
            } else {
                atr = (atr * (period - 1) + range) / period;
            }
            if (i >= period) {
                expected[i] = atr;
            }
        }
        ExpectArrayNear(TSupportResistanceAnalyzer::ATR(series, period), expected, 1e-9);
    }
}

TEST(SupportResistanceAnalyzer, ATRWorkedByHand) {
    // True ranges of bars 1..4: 2, 5 (gap up from 11 to a 14..16 bar), 2, 2.
    const TPriceSeries series = test::SeriesFromBars({{10, 11, 9, 10, 0},
                                                      {10, 12, 10, 11, 0},
                                                      {15, 16, 14, 15, 0},
                                                      {14, 15, 13, 14, 0},
                                                      {12.5, 13, 12, 12.5, 0}});
    ExpectArrayNear(TSupportResistanceAnalyzer::ATR(series, 2), {NaN, NaN, 3.5, 2.75, 2.375});
    ExpectArrayNear(TSupportResistanceAnalyzer::ATR(series, 5), std::vector<double>(5, NaN));
    ExpectIndicatorError([&] { TSupportResistanceAnalyzer::ATR(series, 0); },
                         "Periode ATR invalide : 0");
}

TEST(SupportResistanceAnalyzer, WeeklyBarsFollowISOWeeks) {
    // Monday 30 December 2024 opens ISO week 1 of 2025; Friday 1 January 2021 still belongs to
    // week 53 of 2020.
    TPriceSeries series("TEST.PA");
    const struct {
        int Y, M, D;
        double Open, High, Low, Close;
        std::int64_t Volume;
    } days[] = {
        {2020, 12, 31, 1, 5, 1, 2, 10},    {2021, 1, 1, 2, 6, 0.5, 3, 20},
        {2021, 1, 4, 3, 4, 3, 4, 30},      {2024, 12, 30, 10, 12, 9, 11, 1},
        {2024, 12, 31, 11, 13, 10, 12, 2}, {2025, 1, 3, 12, 12.5, 8, 9, 3},
        {2025, 1, 10, 9, 10, 8, 9.5, 4},
    };
    for (const auto& d : days) {
        series.Add(
            TPriceBar::New(EncodeDate(d.Y, d.M, d.D), d.Open, d.High, d.Low, d.Close, d.Volume));
    }
    const std::vector<TPriceBar> weeks = TSupportResistanceAnalyzer::WeeklyBars(series);
    ASSERT_EQ(weeks.size(), 4u);
    const struct {
        TDateTime Date;
        double Open, High, Low, Close;
        std::int64_t Volume;
    } expected[] = {
        {EncodeDate(2021, 1, 1), 1, 6, 0.5, 3, 30},
        {EncodeDate(2021, 1, 4), 3, 4, 3, 4, 30},
        {EncodeDate(2025, 1, 3), 10, 13, 8, 9, 6},
        {EncodeDate(2025, 1, 10), 9, 10, 8, 9.5, 4},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(weeks[i].Date, expected[i].Date) << i;
        EXPECT_EQ(weeks[i].Open, expected[i].Open) << i;
        EXPECT_EQ(weeks[i].High, expected[i].High) << i;
        EXPECT_EQ(weeks[i].Low, expected[i].Low) << i;
        EXPECT_EQ(weeks[i].Close, expected[i].Close) << i;
        EXPECT_EQ(weeks[i].Volume, expected[i].Volume) << i;
    }
    EXPECT_TRUE(TSupportResistanceAnalyzer::WeeklyBars(TPriceSeries("X")).empty());
}

TEST(SupportResistanceAnalyzer, TwoSpacedDipsMakeOneScoredSupport) {
    // Bottoms at bars 40 and 70 (weeks 5 and 10), each a weekly low too; constant volume
    // confirms both; the last touch is 49 bars old.
    const TSRResult result =
        TSupportResistanceAnalyzer(TSRParams::Default()).Analyze(PlateauWithDips(120, {40, 70}));
    ASSERT_EQ(result.Zones.size(), 1u);
    const TPriceZone& zone = result.Zones[0];
    EXPECT_EQ(zone.Bottom, 96.5);  // one price, widened to 0.5 ATR around it
    EXPECT_EQ(zone.Top, 97.5);
    EXPECT_EQ(zone.Touches, 2);
    EXPECT_EQ(zone.WeeklyTouches, 2);
    EXPECT_EQ(zone.VolumeConfirmed, 2);
    EXPECT_EQ(zone.FirstTouchIndex, 40);
    EXPECT_EQ(zone.LastTouchIndex, 70);
    EXPECT_EQ(zone.Score, 2 + 1.5 * 2 + 0.5 * 2 + 1);
    EXPECT_EQ(zone.Lab(), "S1");
    EXPECT_EQ(result.NearestSupport, 0);
    EXPECT_EQ(result.NearestResistance, -1);
    EXPECT_DOUBLE_EQ(result.DistanceToSupportPct(), 2.5);
}

TEST(SupportResistanceAnalyzer, TouchSpacingAndSinglePivotZones) {
    const struct {
        const char* Name;
        std::vector<int> Bottoms;
        int MinTouches;
        int MinBarsBetween;
        int Zones;
    } cases[] = {
        {"8 bars apart count twice", {40, 48}, 2, 8, 1},
        {"closer than asked count once", {40, 48}, 2, 9, 0},
        {"one touch suffices when asked", {40}, 1, 8, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSRParams params = TSRParams::Default();
        params.MinTouches = c.MinTouches;
        params.MinBarsBetween = c.MinBarsBetween;
        const TSRResult result =
            TSupportResistanceAnalyzer(params).Analyze(PlateauWithDips(100, c.Bottoms));
        ASSERT_EQ(static_cast<int>(result.Zones.size()), c.Zones);
        if (c.Zones == 1) {
            EXPECT_EQ(result.Zones[0].Top - result.Zones[0].Bottom, 0.5 * result.Atr);
            EXPECT_EQ(result.Zones[0].Center(), 97);
        }
    }
}

TEST(SupportResistanceAnalyzer, RecencyPointWithinSixtyBars) {
    for (int age : {59, 60, 61, 62}) {
        const int count = 150;
        const TSRResult result = TSupportResistanceAnalyzer(TSRParams::Default())
                                     .Analyze(PlateauWithDips(count, {30, count - 1 - age}));
        ASSERT_EQ(result.Zones.size(), 1u) << age;
        const TPriceZone& zone = result.Zones[0];
        const double base = zone.Touches + 1.5 * zone.WeeklyTouches + 0.5 * zone.VolumeConfirmed;
        EXPECT_EQ(zone.Score - base, age <= 60 ? 1 : 0) << age;
    }
}

}  // namespace
}  // namespace cotalys
