#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "signals/SignalOutcomes.h"
#include "signals/SignalParams.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::TBarSpec;

// ACount flat sessions at 100 (open = high = low = close), then the given bars replaced.
TPriceSeries FlatSeries(int ACount, const std::vector<std::pair<int, TBarSpec>>& AChanges = {}) {
    std::vector<TBarSpec> bars(ACount, TBarSpec{100, 100, 100, 100, 1000});
    for (const auto& [index, bar] : AChanges) {
        bars[index] = bar;
    }
    return test::SeriesFromBars(bars);
}

// A signal bought at 100 on bar AIndex, zone bottom 99.5 with an ATR of 1 (stop 98 at 1.5 ATR).
TEntrySignal SignalAt(const TPriceSeries& ASeries, int AIndex,
                      TStopMode AMode = TStopMode::smIntraday) {
    TEntrySignal signal;
    signal.Index = AIndex;
    signal.Date = ASeries[AIndex].Date;
    signal.Price = ASeries[AIndex].Close;
    signal.ZoneBottom = 99.5;
    signal.Atr = 1;
    signal.StopPrice = 98;
    signal.StopMode = AMode;
    return signal;
}

TEST(SimulateStop, StopCases) {
    struct TCase {
        const char* Name;
        TStopMode Mode;
        TBarSpec Bar;  // placed on the third session after entry
        bool Hit;
        double Perf20Stop;
    };
    const TCase cases[] = {
        // Opening below the stop exits at the open, not at the stop.
        {"gap", TStopMode::smIntraday, {95, 96, 94, 95, 1000}, true, -5.0},
        {"low at the stop", TStopMode::smIntraday, {100, 100, 98, 99, 1000}, true, -2.0},
        {"low above the stop", TStopMode::smIntraday, {100, 100, 98.5, 99, 1000}, false, 0.0},
        {"close at the stop", TStopMode::smClose, {100, 100, 97, 98, 1000}, true, -2.0},
        {"close below, gap", TStopMode::smClose, {95, 96, 94, 95, 1000}, true, -5.0},
        {"closing stop ignores the low", TStopMode::smClose, {100, 100, 90, 99, 1000}, false, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TPriceSeries series = FlatSeries(30, {{3, c.Bar}});
        TEntrySignal signal = SignalAt(series, 0, c.Mode);
        MeasureOutcome(series, signal);
        EXPECT_EQ(signal.StopHit, c.Hit);
        EXPECT_EQ(signal.StopBar, c.Hit ? 3 : 0);
        EXPECT_NEAR(signal.Perf20Stop, c.Perf20Stop, 1e-9);
        EXPECT_NEAR(signal.Perf20, 0.0, 1e-12);
    }
}

TEST(SimulateStop, OnlyTheFirstHitCounts) {
    const TPriceSeries series =
        FlatSeries(30, {{2, {99, 99, 97, 99, 1000}}, {5, {90, 90, 90, 90, 1000}}});
    TEntrySignal signal = SignalAt(series, 0);
    MeasureOutcome(series, signal);
    EXPECT_TRUE(signal.StopHit);
    EXPECT_EQ(signal.StopBar, 2);
    EXPECT_NEAR(signal.Perf20Stop, -2.0, 1e-9);
}

TEST(SimulateStop, ABarBeyondTwentySessionsIsNotTested) {
    const TPriceSeries series = FlatSeries(30, {{21, {90, 90, 90, 90, 1000}}});
    TEntrySignal signal = SignalAt(series, 0);
    MeasureOutcome(series, signal);
    EXPECT_FALSE(signal.StopHit);
    EXPECT_NEAR(signal.Perf20Stop, 0.0, 1e-12);
}

TEST(MeasureOutcome, SignalOnTheLastBarStaysUnmeasured) {
    const TPriceSeries series = FlatSeries(10);
    TEntrySignal signal = SignalAt(series, 9);
    MeasureOutcome(series, signal);
    EXPECT_TRUE(std::isnan(signal.Perf10));
    EXPECT_TRUE(std::isnan(signal.Perf20));
    EXPECT_TRUE(std::isnan(signal.MaxDrawdown20));
    EXPECT_TRUE(std::isnan(signal.Perf20Stop));
    EXPECT_FALSE(signal.StopHit);
}

TEST(MeasureOutcome, FifteenBarsBeforeTheEnd) {
    // Closes rise 1 a session from 100; the entry sits 15 bars before the last bar.
    std::vector<double> closes;
    for (int i = 0; i < 20; ++i) {
        closes.push_back(100 + i);
    }
    TPriceSeries series = test::SeriesFromCloses(closes);
    TEntrySignal signal;
    signal.Index = 4;
    signal.Price = 104;
    signal.StopPrice = 50;
    MeasureOutcome(series, signal);
    EXPECT_NEAR(signal.Perf10, (114.0 / 104 - 1) * 100, 1e-9);
    EXPECT_TRUE(std::isnan(signal.Perf20));
    // Every later low is above the entry: never a positive drawdown.
    EXPECT_EQ(signal.MaxDrawdown20, 0);
    EXPECT_FALSE(signal.StopHit);
    EXPECT_TRUE(std::isnan(signal.Perf20Stop));

    // A stop hit within the 15 sessions that exist gives a result although Perf20 does not.
    series = FlatSeries(20, {{7, {97, 97, 97, 97, 1000}}});
    signal = SignalAt(series, 4);
    MeasureOutcome(series, signal);
    EXPECT_TRUE(std::isnan(signal.Perf20));
    EXPECT_EQ(signal.StopBar, 3);
    EXPECT_NEAR(signal.Perf20Stop, -3.0, 1e-9);  // opened below the stop
    EXPECT_NEAR(signal.MaxDrawdown20, -3.0, 1e-9);
}

TEST(MeasureOutcome, ASignalOutsideItsSeriesIsRefused) {
    const TPriceSeries series = FlatSeries(5);
    for (int index : {-1, 5}) {
        TEntrySignal signal;
        signal.Index = index;
        signal.Price = 100;
        EXPECT_THROW(MeasureOutcome(series, signal), EIndicatorError);
    }
}

TEST(WithStop, SansStopGivesTheUnprotectedResult) {
    const TPriceSeries series =
        FlatSeries(30, {{3, {95, 96, 94, 95, 1000}}, {20, {110, 110, 110, 110, 1000}}});
    std::vector<TEntrySignal> signals = {SignalAt(series, 0)};
    MeasureOutcome(series, signals[0]);
    ASSERT_TRUE(signals[0].StopHit);

    const std::vector<TStopConfig>& stops = StandardStops();
    ASSERT_EQ(stops.size(), 9u);
    EXPECT_EQ(stops[0].Name, "Sans stop");
    const std::vector<TEntrySignal> unprotected = WithStop(series, signals, stops[0]);
    EXPECT_FALSE(unprotected[0].StopHit);
    EXPECT_EQ(unprotected[0].StopPrice, 0);
    EXPECT_NEAR(unprotected[0].Perf20Stop, 10.0, 1e-9);
    // The input is left untouched.
    EXPECT_TRUE(signals[0].StopHit);

    // 2.5 ATR below 99.5 is 97: the 94 low still hits it, at the 95 open.
    const std::vector<TEntrySignal> wide = WithStop(series, signals, stops[4]);
    EXPECT_EQ(wide[0].StopPrice, 97);
    EXPECT_TRUE(wide[0].StopHit);
    EXPECT_NEAR(wide[0].Perf20Stop, -5.0, 1e-9);
    // On the close, 95 is below 97 too; 1.0 ATR on the close (98.5) as well.
    const std::vector<TEntrySignal> onClose = WithStop(series, signals, stops[5]);
    EXPECT_EQ(onClose[0].StopMode, TStopMode::smClose);
    EXPECT_NEAR(onClose[0].Perf20Stop, -5.0, 1e-9);
}

TEST(StandardStops, TheDefaultSettingIsRowTwo) {
    const TStopConfig& row = StandardStops()[2];
    const TSignalParams params = TSignalParams::Default();
    EXPECT_EQ(row.AtrMult, params.StopAtr);
    EXPECT_EQ(row.Mode, params.StopMode);
}

TEST(DelayedEntries, DropsBrokenAndUnheldRebounds) {
    // Signal A on bar 0: next close 98 is at its stop. Signal B on bar 5: next close 99 is above
    // the stop but at or below the zone bottom 99.5. Signal C on bar 10: next close 101 holds.
    const TPriceSeries series = FlatSeries(40, {{1, {98, 98, 98, 98, 1000}},
                                                {6, {99, 99, 99, 99, 1000}},
                                                {11, {101, 101, 101, 101, 1000}}});
    const std::vector<TEntrySignal> signals = {SignalAt(series, 0), SignalAt(series, 5),
                                               SignalAt(series, 10), SignalAt(series, 39)};
    const std::vector<TEntrySignal> all = DelayedEntries(series, signals, 1, false);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Index, 6);
    EXPECT_EQ(all[0].Date, series[6].Date);
    EXPECT_EQ(all[0].Price, 99);
    EXPECT_NEAR(all[0].RiskPct, (99.0 - 98) / 99 * 100, 1e-12);
    EXPECT_EQ(all[0].StopPrice, 98);
    EXPECT_NEAR(all[0].Perf20, (100.0 / 99 - 1) * 100, 1e-9);
    EXPECT_EQ(all[1].Index, 11);

    const std::vector<TEntrySignal> held = DelayedEntries(series, signals, 1, true);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].Index, 11);
}

}  // namespace
}  // namespace cotalys
