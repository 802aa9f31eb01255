#include <gtest/gtest.h>

#include <vector>

#include "signals/EntrySignals.h"
#include "support/AnalysisTestSupport.h"
#include "support/DemoHistory.h"

namespace cotalys {
namespace {

void ExpectSameResult(const TSRResult& AActual, const TSRResult& AExpected) {
    EXPECT_EQ(AActual.Atr, AExpected.Atr);
    EXPECT_EQ(AActual.LastClose, AExpected.LastClose);
    EXPECT_EQ(AActual.NearestSupport, AExpected.NearestSupport);
    EXPECT_EQ(AActual.NearestResistance, AExpected.NearestResistance);
    ASSERT_EQ(AActual.Zones.size(), AExpected.Zones.size());
    for (std::size_t k = 0; k < AActual.Zones.size(); ++k) {
        EXPECT_EQ(AActual.Zones[k].Bottom, AExpected.Zones[k].Bottom);
        EXPECT_EQ(AActual.Zones[k].Top, AExpected.Zones[k].Top);
        EXPECT_EQ(AActual.Zones[k].Lab(), AExpected.Zones[k].Lab());
        EXPECT_EQ(AActual.Zones[k].Score, AExpected.Zones[k].Score);
        EXPECT_EQ(AActual.Zones[k].Touches, AExpected.Zones[k].Touches);
        EXPECT_EQ(AActual.Zones[k].WeeklyTouches, AExpected.Zones[k].WeeklyTouches);
        EXPECT_EQ(AActual.Zones[k].VolumeConfirmed, AExpected.Zones[k].VolumeConfirmed);
        EXPECT_EQ(AActual.Zones[k].FirstTouchIndex, AExpected.Zones[k].FirstTouchIndex);
        EXPECT_EQ(AActual.Zones[k].LastTouchIndex, AExpected.Zones[k].LastTouchIndex);
    }
}

void ExpectEmpty(const TSRResult& AResult) {
    EXPECT_TRUE(AResult.Zones.empty());
    EXPECT_EQ(AResult.Atr, 0);
    EXPECT_EQ(AResult.NearestSupport, -1);
    EXPECT_EQ(AResult.NearestResistance, -1);
}

// The slow, obvious way: analyze a fresh copy of the bars the zones of bar i may see.
TSRResult Reference(const TPriceSeries& ASeries, const TSRParams& AParams, int ALast,
                    int AWindowBars) {
    TPriceSeries visible(ASeries.Symbol());
    const int first = AWindowBars > 0 ? std::max(0, ALast - AWindowBars + 1) : 0;
    for (int j = first; j <= ALast; ++j) {
        visible.Add(ASeries[j]);
    }
    try {
        return TSupportResistanceAnalyzer(AParams).Analyze(visible);
    } catch (const EIndicatorError&) {
        return TSRResult{};
    }
}

class ZoneHistory : public ::testing::Test {
protected:
    // Air Liquide, 160 sessions from September 2020.
    const TPriceSeries FSeries =
        test::LoadDemoHistory("AI.PA", EncodeDate(2020, 7, 1), EncodeDate(2021, 2, 22));
};

TEST_F(ZoneHistory, EachBarSeesOnlyItsPast) {
    ASSERT_GT(FSeries.Count(), 120);
    for (int window : {0, 60}) {
        SCOPED_TRACE(window);
        const std::vector<TSRResult> history =
            TEntrySignalDetector::BuildZoneHistory(FSeries, TSRParams::Default(), 10, window);
        ASSERT_EQ(static_cast<int>(history.size()), FSeries.Count());
        for (int i = 0; i < 10; ++i) {
            ExpectEmpty(history[i]);
        }
        // Too short a past (fewer than 25 bars) leaves an empty result, with no nearest zone.
        ExpectEmpty(history[23]);
        for (int i = 10; i < FSeries.Count(); ++i) {
            SCOPED_TRACE(i);
            ExpectSameResult(history[i], Reference(FSeries, TSRParams::Default(), i, window));
        }
    }
}

// Windows that cut a week anywhere, with one-bar and one-week swings: a pivot whose volume
// window reaches past the last bar, and weekly swings next to a cut week.
TEST_F(ZoneHistory, NarrowSwingsInShortWindows) {
    TSRParams params = TSRParams::Default();
    params.PivotWindow = 1;
    params.WeeklyPivotWindow = 1;
    params.AtrPeriod = 5;
    params.MinBarsBetween = 2;
    params.VolumePeriod = 5;
    for (int window : {17, 33}) {
        SCOPED_TRACE(window);
        const std::vector<TSRResult> history =
            TEntrySignalDetector::BuildZoneHistory(FSeries, params, 0, window);
        for (int i = 1; i < FSeries.Count(); ++i) {
            SCOPED_TRACE(i);
            ExpectSameResult(history[i], Reference(FSeries, params, i, window));
        }
    }
}

TEST_F(ZoneHistory, EdgesOfTheRange) {
    EXPECT_TRUE(
        TEntrySignalDetector::BuildZoneHistory(TPriceSeries("VIDE"), TSRParams::Default(), 0, 0)
            .empty());
    // A start beyond the last bar: every bar keeps an empty result.
    const std::vector<TSRResult> beyond = TEntrySignalDetector::BuildZoneHistory(
        FSeries, TSRParams::Default(), FSeries.Count() + 50, 0);
    ASSERT_EQ(static_cast<int>(beyond.size()), FSeries.Count());
    ExpectEmpty(beyond.back());
    TSRParams invalid = TSRParams::Default();
    invalid.PivotWindow = 0;
    test::ExpectIndicatorError(
        [&] { TEntrySignalDetector::BuildZoneHistory(FSeries, invalid, 0, 0); },
        "Parametres supports/resistances invalides");
}

TEST_F(ZoneHistory, ScanRebuildsAHistoryOfTheWrongLength) {
    TTechnicalAnalysis analysis(&FSeries, TMACDParams::Default(), 14);
    analysis.Compute();
    TSignalParams params = TSignalParams::Default();
    params.RequireRsi = false;
    params.MinScore = 2;
    const TEntrySignalDetector detector(params, TSRParams::Default());
    const std::vector<TSRResult> history =
        TEntrySignalDetector::BuildZoneHistory(FSeries, TSRParams::Default(), 40, 0);
    const std::vector<TEntrySignal> expected = detector.Scan(FSeries, analysis, 40, history);
    ASSERT_FALSE(expected.empty());
    const std::vector<TSRResult> shorter(history.begin(), history.end() - 1);
    const std::vector<TEntrySignal> rebuilt = detector.Scan(FSeries, analysis, 40, shorter);
    ASSERT_EQ(rebuilt.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(rebuilt[k].Index, expected[k].Index);
        EXPECT_EQ(rebuilt[k].ZoneLabel, expected[k].ZoneLabel);
    }
}

}  // namespace
}  // namespace cotalys
