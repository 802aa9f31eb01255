#include <gtest/gtest.h>

#include <limits>

#include "support/AnalysisTestSupport.h"
#include "zones/SupportResistance.h"
#include "zones/ZoneSteps.h"

namespace cotalys {
namespace {

using test::NaN;
using zones::TPivot;

// Bars from lows and highs; volumes default to 1000.
std::vector<TPriceBar> Bars(const std::vector<double>& ALows, const std::vector<double>& AHighs,
                            const std::vector<std::int64_t>& AVolumes = {}) {
    std::vector<TPriceBar> bars;
    for (std::size_t i = 0; i < ALows.size(); ++i) {
        const std::int64_t volume = i < AVolumes.size() ? AVolumes[i] : 1000;
        bars.push_back(TPriceBar::New(45000 + static_cast<double>(i), ALows[i], AHighs[i], ALows[i],
                                      AHighs[i], volume));
    }
    return bars;
}

std::vector<int> PivotIndices(const std::vector<TPivot>& APivots) {
    std::vector<int> indices;
    for (const TPivot& pivot : APivots) {
        indices.push_back(pivot.Index);
    }
    return indices;
}

TEST(FindPivots, OnlyBarsAWindowAwayFromBothEnds) {
    const std::vector<double> average(9, 500);
    const std::vector<double> highs(9, 20);
    const struct {
        std::vector<double> Lows;
        std::vector<int> Pivots;
    } cases[] = {
        {{9, 5, 9, 9, 9, 9, 9, 9, 9}, {}},   // index 1, one bar too near the start
        {{9, 9, 5, 9, 9, 9, 9, 9, 9}, {2}},  // index 2, the first possible
        {{9, 9, 9, 9, 9, 9, 5, 9, 9}, {6}},  // index 6, the last possible
        {{9, 9, 9, 9, 9, 9, 9, 5, 9}, {}},   // index 7, too near the end
        {{9, 8, 5, 5, 8, 9, 9, 9, 9}, {2}},  // equal lows: the first one only
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PivotIndices(zones::FindPivots(Bars(c.Lows, highs), 2, average)), c.Pivots);
    }
}

TEST(FindPivots, OutsideBarGivesLowThenHigh) {
    const std::vector<TPivot> pivots = zones::FindPivots(
        Bars({10, 10, 8, 10, 10}, {12, 12, 14, 12, 12}), 1, std::vector<double>(5, 1000));
    ASSERT_EQ(pivots.size(), 2u);
    EXPECT_EQ(pivots[0].Price, 8);
    EXPECT_EQ(pivots[1].Price, 14);
    EXPECT_EQ(pivots[0].Index, 2);
    EXPECT_EQ(pivots[1].Index, 2);
}

TEST(FindPivots, VolumeOfTheBarAndTheNextTwo) {
    const std::vector<double> highs(7, 20);
    const struct {
        const char* Name;
        std::vector<double> Lows;
        std::vector<std::int64_t> Volumes;
        std::vector<double> Average;
        bool VolumeOK;
    } cases[] = {
        {"third bar reaches the average",
         {9, 9, 9, 9, 5, 9, 9},
         {1, 1, 1, 1, 1, 1, 600},
         std::vector<double>(7, 600),
         true},
        {"below the average",
         {9, 9, 9, 9, 5, 9, 9},
         {1, 1, 1, 1, 1, 1, 599},
         std::vector<double>(7, 600),
         false},
        {"bar before last sees only the last",
         {9, 9, 9, 9, 9, 5, 9},
         {1, 1, 1, 1, 1, 1, 600},
         std::vector<double>(7, 600),
         true},
        {"no average yet",
         {9, 9, 9, 9, 5, 9, 9},
         {1, 1, 1, 1, 1, 1, 600},
         std::vector<double>(7, NaN),
         false},
        {"no volume at all",
         {9, 9, 9, 9, 5, 9, 9},
         {0, 0, 0, 0, 0, 0, 0},
         std::vector<double>(7, 0),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto pivots = zones::FindPivots(Bars(c.Lows, highs, c.Volumes), 1, c.Average);
        ASSERT_EQ(pivots.size(), 1u);
        EXPECT_EQ(pivots[0].VolumeOK, c.VolumeOK);
    }
}

TEST(WeeklyPivotPrices, TiesAreAllPivots) {
    // Weeks 1 and 2 share the lowest low and weeks 1 and 2 the high of 21 before week 3 tops
    // it: every tie is a pivot, each low listed before the high of its week.
    const std::vector<double> prices =
        zones::WeeklyPivotPrices(Bars({9, 5, 5, 9, 9}, {20, 21, 21, 22, 20}), 1);
    EXPECT_EQ(prices, (std::vector<double>{5, 21, 5, 22}));
}

TEST(CountTouches, SpacingBetweenCountedTouches) {
    const int huge = std::numeric_limits<int>::max();
    const struct {
        const char* Name;
        std::vector<TPivot> Cluster;
        int MinBarsBetween;
        int Touches, VolumeConfirmed, First, Last;
    } cases[] = {
        {"5 bars apart", {{10, 1, true}, {15, 1, true}}, 8, 1, 1, 10, 15},
        {"8 bars apart", {{10, 1, true}, {18, 1, false}}, 8, 2, 1, 10, 18},
        {"measured from the last counted",
         {{19, 1, true}, {10, 1, false}, {15, 1, true}},
         8,
         2,
         1,
         10,
         19},
        {"low and high of one bar", {{10, 1, true}, {10, 2, true}}, 8, 1, 1, 10, 10},
        {"no spacing asked", {{10, 1, true}, {10, 2, true}}, 0, 2, 2, 10, 10},
        {"largest spacing", {{0, 1, true}, {30, 1, true}}, huge, 1, 1, 0, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<TPivot> cluster = c.Cluster;
        TPriceZone zone;
        zones::CountTouches(zone, cluster, c.MinBarsBetween);
        EXPECT_EQ(zone.Touches, c.Touches);
        EXPECT_EQ(zone.VolumeConfirmed, c.VolumeConfirmed);
        EXPECT_EQ(zone.FirstTouchIndex, c.First);
        EXPECT_EQ(zone.LastTouchIndex, c.Last);
    }
}

TPriceZone Zone(double ABottom, double ATop, double AScore = 1) {
    TPriceZone zone;
    zone.Bottom = ABottom;
    zone.Top = ATop;
    zone.Touches = 2;
    zone.WeeklyTouches = 1;
    zone.VolumeConfirmed = 1;
    zone.Score = AScore;
    zone.FirstTouchIndex = static_cast<int>(ABottom);
    zone.LastTouchIndex = static_cast<int>(ATop);
    return zone;
}

TEST(MergeZones, ContactOrOverlapFoldsZones) {
    const std::vector<TPriceZone> merged =
        zones::MergeZones({Zone(10, 12, 2), Zone(12, 13, 3), Zone(12.5, 15, 4), Zone(15.01, 16)});
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].Bottom, 10);
    EXPECT_EQ(merged[0].Top, 15);
    EXPECT_EQ(merged[0].Touches, 6);
    EXPECT_EQ(merged[0].WeeklyTouches, 3);
    EXPECT_EQ(merged[0].VolumeConfirmed, 3);
    EXPECT_EQ(merged[0].Score, 9);
    EXPECT_EQ(merged[0].FirstTouchIndex, 10);
    EXPECT_EQ(merged[0].LastTouchIndex, 15);
    EXPECT_EQ(merged[1].Bottom, 15.01);
}

TEST(ClassifyZones, NearestFirstAndAtMostMaxPerSide) {
    // Four zones below the close: the farthest goes, although it scores best.
    TSRResult result;
    zones::ClassifyZones(
        {Zone(10, 11, 99), Zone(20, 21), Zone(30, 31), Zone(40, 41), Zone(60, 61), Zone(70, 71)},
        50, 3, result);
    ASSERT_EQ(result.Zones.size(), 5u);
    const char* labels[] = {"S1", "S2", "S3", "R1", "R2"};
    const double bottoms[] = {40, 30, 20, 60, 70};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(result.Zones[i].Lab(), labels[i]);
        EXPECT_EQ(result.Zones[i].Bottom, bottoms[i]);
    }
    EXPECT_EQ(result.NearestSupport, 0);
    EXPECT_EQ(result.NearestResistance, 3);
}

TEST(ClassifyZones, CloseOnABoundIsInside) {
    for (double close : {40.0, 41.0}) {
        TSRResult result;
        result.LastClose = close;
        zones::ClassifyZones({Zone(30, 31), Zone(40, 41)}, close, 3, result);
        ASSERT_EQ(result.Zones.size(), 2u);
        EXPECT_EQ(result.Zones[0].Kind, TZoneKind::zkInside);
        EXPECT_EQ(result.Zones[0].Lab(), "S1*");
        EXPECT_EQ(result.Zones[1].Lab(), "S2");
        EXPECT_EQ(result.NearestResistance, -1);
        EXPECT_EQ(result.DistanceToSupportPct(), 0);
    }
}

TEST(ClassifyZones, OneSideEmpty) {
    TSRResult above;
    zones::ClassifyZones({Zone(60, 61), Zone(70, 71)}, 50, 3, above);
    EXPECT_EQ(above.NearestSupport, -1);
    EXPECT_EQ(above.NearestResistance, 0);
    EXPECT_EQ(above.Zones[0].Lab(), "R1");
    TSRResult none;
    zones::ClassifyZones({}, 50, 3, none);
    EXPECT_TRUE(none.Zones.empty());
    EXPECT_EQ(none.NearestSupport, -1);
    EXPECT_EQ(none.NearestResistance, -1);
}

}  // namespace
}  // namespace cotalys
