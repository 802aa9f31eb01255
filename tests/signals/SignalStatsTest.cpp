#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "signals/SignalStats.h"
#include "signals/StandardVariants.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::NaN;

TEntrySignal Measured(double APerf10, double APerf20, double ADrawdown, double APerfStop,
                      bool AStopHit = false, int AScore = 3) {
    TEntrySignal signal;
    signal.Perf10 = APerf10;
    signal.Perf20 = APerf20;
    signal.MaxDrawdown20 = ADrawdown;
    signal.Perf20Stop = APerfStop;
    signal.StopHit = AStopHit;
    signal.Score = AScore;
    return signal;
}

TEST(Statistics, CountsMeansAndRates) {
    const std::vector<TEntrySignal> signals = {Measured(2, 4, -1, 4, false, 4),
                                               Measured(-1, -2, -3, -1.5, true),
                                               Measured(NaN, NaN, -2, NaN)};
    const TSignalStats st = Statistics(signals);
    EXPECT_EQ(st.Count, 3);
    EXPECT_EQ(st.CompleteCount, 1);
    EXPECT_EQ(st.Measured20, 2);
    EXPECT_EQ(st.Winners20, 1);
    EXPECT_EQ(st.AvgPerf10, 0.5);
    EXPECT_EQ(st.AvgPerf20, 1);
    EXPECT_EQ(st.AvgDrawdown20, -2);
    EXPECT_EQ(st.MeasuredStop, 2);
    EXPECT_EQ(st.StopHits, 1);
    EXPECT_EQ(st.WinnersStop, 1);
    EXPECT_EQ(st.AvgPerf20Stop, 1.25);
    EXPECT_EQ(st.WorstStop, -1.5);
    EXPECT_EQ(st.WinRate20(), 50);
    EXPECT_EQ(st.WinRateStop(), 50);
}

TEST(Statistics, NothingMeasuredGivesZeroCountsAndNaN) {
    const TSignalStats st = Statistics({});
    EXPECT_EQ(st.Count, 0);
    EXPECT_EQ(st.MeasuredStop, 0);
    for (double value : {st.AvgPerf10, st.AvgPerf20, st.AvgDrawdown20, st.AvgPerf20Stop,
                         st.WorstStop, st.P5Stop, st.WinRate20(), st.WinRateStop()}) {
        EXPECT_TRUE(std::isnan(value));
    }
}

TEST(Statistics, ZeroIsNoWinAndMinusTenIsNoBigLoss) {
    const TSignalStats st =
        Statistics({Measured(0, 0, 0, 0), Measured(0, 0, 0, -10), Measured(0, 0, 0, -10.5)});
    EXPECT_EQ(st.Winners20, 0);
    EXPECT_EQ(st.WinnersStop, 0);
    EXPECT_EQ(st.BigLossesStop, 1);
}

TEST(Statistics, FifthPercentileAtTwentyAndTwentyOneValues) {
    // Stop results -1, -2, ... listed out of order: the percentile needs the sorted values.
    for (int count : {20, 21, 41}) {
        std::vector<TEntrySignal> signals;
        for (int k = 0; k < count; ++k) {
            signals.push_back(Measured(NaN, NaN, NaN, -static_cast<double>((k * 11) % count + 1)));
        }
        signals.push_back(Measured(NaN, NaN, NaN, NaN));  // not measured: left out
        const TSignalStats st = Statistics(signals);
        SCOPED_TRACE(count);
        EXPECT_EQ(st.MeasuredStop, count);
        EXPECT_EQ(st.WorstStop, -count);
        // trunc(19 x 0.05) = 0: the worst; trunc(20 x 0.05) = 1: the second worst;
        // trunc(40 x 0.05) = 2: the third worst.
        const int position = count == 20 ? 0 : count == 21 ? 1 : 2;
        EXPECT_EQ(st.P5Stop, -(count - position));
    }
}

TEST(StandardVariants, TenNamedSettingsEachOneChangeFromTheDefault) {
    const std::vector<TSignalParams> variants = StandardVariants();
    ASSERT_EQ(variants.size(), 10u);
    const TSignalParams d = TSignalParams::Default();
    EXPECT_EQ(variants[0].Name, d.Name);
    std::set<std::string> names;
    for (const TSignalParams& v : variants) {
        EXPECT_NO_THROW(v.Validate());
        names.insert(v.Name);
        const int changes = (v.RequireRsi != d.RequireRsi) + (v.MinScore != d.MinScore) +
                            (v.StrongZonesOnly != d.StrongZonesOnly) +
                            (v.RequireMacdPositive != d.RequireMacdPositive) +
                            (v.RequireMarketUptrend != d.RequireMarketUptrend) +
                            (v.MinRewardRisk != d.MinRewardRisk) +
                            (v.MinMarginPct != d.MinMarginPct) +
                            (v.MaxDistHighPct != d.MaxDistHighPct) +
                            (v.RequireFavorablePhase != d.RequireFavorablePhase);
        EXPECT_EQ(changes, &v == &variants[0] ? 0 : 1) << v.Name;
    }
    EXPECT_EQ(names.size(), 10u);
    EXPECT_EQ(variants[1].Name, "Ancien reglage 3/4");
    EXPECT_FALSE(variants[1].RequireRsi);
    EXPECT_EQ(variants[5].Name, "RSI oblig. + marche > MM50");
    EXPECT_TRUE(variants[5].RequireMarketUptrend);
    EXPECT_EQ(variants[9].Name, "RSI oblig. + phase CAC favorable");
    EXPECT_TRUE(variants[9].RequireFavorablePhase);
}

}  // namespace
}  // namespace cotalys
