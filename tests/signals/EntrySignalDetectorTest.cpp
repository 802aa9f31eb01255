#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "signals/EntrySignals.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

// 40 flat sessions at 100, twelve falling by 1 (to 88), then four closing moves; the last bar
// (55) is the one evaluated. Bars are flat (open = high = low = close).
constexpr int FlatBars = 40;
constexpr int FallingBars = 12;

struct TScenario {
    std::array<double, 4> Moves;
    std::int64_t LastVolume = 2000;  // the evaluated bar; the two before it trade half the usual
    std::int64_t UsualVolume = 1000;
};

TPriceSeries ScenarioSeries(const TScenario& AScenario) {
    std::vector<double> closes(FlatBars, 100);
    for (int k = 0; k < FallingBars; ++k) {
        closes.push_back(closes.back() - 1);
    }
    for (double move : AScenario.Moves) {
        closes.push_back(closes.back() + move);
    }
    std::vector<test::TBarSpec> bars;
    for (std::size_t k = 0; k < closes.size(); ++k) {
        // The bars of the window trade little, so only the last one can pass the volume test.
        const bool inWindow = k + 3 >= closes.size();
        std::int64_t volume = inWindow ? AScenario.UsualVolume / 2 : AScenario.UsualVolume;
        if (k + 1 == closes.size()) {
            volume = AScenario.LastVolume;
        }
        bars.push_back({closes[k], closes[k], closes[k], closes[k], volume});
    }
    return test::SeriesFromBars(bars);
}

// A one-zone result for the last bar: a support whose top plus 0.1 ATR (ATR 10) reaches exactly
// the lowest low of the window, or stops 0.5 short of it.
std::vector<TSRResult> OneZoneHistory(const TPriceSeries& ASeries, bool AContact) {
    const int last = ASeries.Count() - 1;
    double lowest = ASeries[last].Low;
    for (int j = last - 2; j < last; ++j) {
        lowest = std::min(lowest, ASeries[j].Low);
    }
    TPriceZone zone;
    zone.Top = lowest - 1 - (AContact ? 0 : 0.5);
    zone.Bottom = zone.Top - 1;
    zone.Touches = 2;
    zone.Kind = TZoneKind::zkSupport;
    zone.Rank = 1;
    std::vector<TSRResult> history(ASeries.Count());
    history[last].Zones = {zone};
    history[last].Atr = 10;
    history[last].LastClose = ASeries[last].Close;
    history[last].NearestSupport = 0;
    return history;
}

TTechnicalAnalysis Analysis(const TPriceSeries& ASeries) {
    TTechnicalAnalysis analysis(&ASeries, TMACDParams::Default(), 14);
    analysis.Compute();
    return analysis;
}

// Every bar with a contact is reported, whatever its score.
TSignalParams AnyScore() {
    TSignalParams params = TSignalParams::Default();
    params.MinScore = 1;
    params.RequireRsi = false;
    return params;
}

std::vector<TEntrySignal> ScanLastBar(const TPriceSeries& ASeries,
                                      const std::vector<TSRResult>& AHistory,
                                      const TSignalParams& AParams,
                                      const TMarketRegime* AMarket = nullptr) {
    TEntrySignalDetector detector(AParams, TSRParams::Default());
    detector.SetMarket(AMarket);
    return detector.Scan(ASeries, Analysis(ASeries), ASeries.Count() - 1, AHistory);
}

TEST(EntrySignalDetector, EachConditionSwitchedOnAndOff) {
    struct TCase {
        const char* Name;
        TScenario Scenario;
        bool Contact;
        bool Signal;  // with any score
        bool RsiOK;
        bool MacdOK;
        bool VolumeOK;
    };
    // The RSI rises by 13.9 from 0 after +2, only 3.9 after +0.5 (yet the MACD histogram, still
    // falling from the steep drop, turns down), and 1.2 after +0.1 following a gentler fall.
    const TCase cases[] = {
        {"all four", {{0, -4, -3, 2}}, true, true, true, true, true},
        {"no volume", {{0, -4, -3, 2}, 500}, true, true, true, true, false},
        // The 20 sessions before average (18 x 1000 + 2 x 500) / 20 = 950.
        {"volume at the average", {{0, -4, -3, 2}, 950}, true, true, true, true, true},
        {"volume just below", {{0, -4, -3, 2}, 949}, true, true, true, true, false},
        {"no volume traded", {{0, -4, -3, 2}, 0, 0}, true, true, true, true, false},
        {"no MACD", {{0, -4, -3, 0.5}}, true, true, true, false, true},
        {"no RSI", {{0, -1, -1, 0.1}}, true, true, false, true, true},
        {"no contact", {{0, -4, -3, 2}}, false, false, false, false, false},
        {"no rebound", {{0, -4, -3, 0}}, true, false, false, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TPriceSeries series = ScenarioSeries(c.Scenario);
        const std::vector<TSRResult> history = OneZoneHistory(series, c.Contact);
        const std::vector<TEntrySignal> any = ScanLastBar(series, history, AnyScore());
        ASSERT_EQ(any.size(), c.Signal ? 1u : 0u);
        const std::vector<TEntrySignal> byDefault =
            ScanLastBar(series, history, TSignalParams::Default());
        if (!c.Signal) {
            EXPECT_TRUE(byDefault.empty());
            continue;
        }
        const TEntrySignal& s = any[0];
        EXPECT_TRUE(s.Contact);
        EXPECT_EQ(s.RsiOK, c.RsiOK);
        EXPECT_EQ(s.MacdOK, c.MacdOK);
        EXPECT_EQ(s.VolumeOK, c.VolumeOK);
        EXPECT_EQ(s.Score, 1 + c.RsiOK + c.MacdOK + c.VolumeOK);
        // The default setting wants the RSI and a score of 3.
        EXPECT_EQ(byDefault.size(), c.RsiOK && s.Score >= 3 ? 1u : 0u);
    }
}

TEST(EntrySignalDetector, SignalRecordsTheZoneStopAndRisk) {
    const TPriceSeries series = ScenarioSeries({{0, -4, -3, 2}});
    const std::vector<TSRResult> history = OneZoneHistory(series, true);
    const std::vector<TEntrySignal> signals =
        ScanLastBar(series, history, TSignalParams::Default());
    ASSERT_EQ(signals.size(), 1u);
    const TEntrySignal& s = signals[0];
    const int last = series.Count() - 1;
    EXPECT_EQ(s.Index, last);
    EXPECT_EQ(s.Date, series[last].Date);
    EXPECT_EQ(s.Price, 83);
    EXPECT_EQ(s.ZoneLabel, "S1");
    EXPECT_EQ(s.ZoneTop, 80);
    EXPECT_EQ(s.ZoneBottom, 79);
    EXPECT_EQ(s.Atr, 10);
    EXPECT_EQ(s.StopPrice, 79 - 15);
    EXPECT_EQ(s.StopMode, TStopMode::smIntraday);
    EXPECT_NEAR(s.RiskPct, (83.0 - 64) / 83 * 100, 1e-12);
    EXPECT_TRUE(std::isinf(s.MarginResPct));
    EXPECT_EQ(s.RsiValue, Analysis(series).RSI()[last]);
    EXPECT_TRUE(std::isnan(s.DistHighPct));  // fewer than 200 sessions
    EXPECT_FALSE(s.MarketOK);
    EXPECT_TRUE(std::isnan(s.Perf10));  // the last bar: nothing to measure yet
}

TEST(EntrySignalDetector, ZoneChoice) {
    const TPriceSeries series = ScenarioSeries({{0, -4, -3, 2}});
    const std::vector<TSRResult> base = OneZoneHistory(series, true);
    const TPriceZone support = base.back().Zones[0];
    const auto scanWith = [&](const std::vector<TPriceZone>& AZones, const TSignalParams& AParams) {
        std::vector<TSRResult> history = base;
        history.back().Zones = AZones;
        return ScanLastBar(series, history, AParams);
    };
    TPriceZone farther = support;  // a second support further down, also touched
    farther.Rank = 2;
    farther.Bottom -= 1;
    TPriceZone resistanceBelow = support;  // never a support, even where the low reached it
    resistanceBelow.Kind = TZoneKind::zkResistance;
    TPriceZone atClose = support;  // a bottom equal to the close is not below it
    atClose.Bottom = 83;
    atClose.Top = 84;
    TPriceZone rankThree = support;
    rankThree.Rank = 3;

    std::vector<TEntrySignal> signals =
        scanWith({resistanceBelow, atClose, farther, support}, AnyScore());
    ASSERT_EQ(signals.size(), 1u);
    EXPECT_EQ(signals[0].ZoneLabel, "S2");  // the first qualifying zone in stored order
    EXPECT_TRUE(scanWith({rankThree}, AnyScore()).empty());
    TSignalParams strong = AnyScore();
    strong.StrongZonesOnly = true;
    EXPECT_TRUE(scanWith({support}, strong).empty());
    TPriceZone weekly = support;
    weekly.WeeklyTouches = 1;
    EXPECT_EQ(scanWith({weekly}, strong).size(), 1u);
}

TEST(EntrySignalDetector, RiskAndMarketFilters) {
    const TPriceSeries series = ScenarioSeries({{0, -4, -3, 2}});
    std::vector<TSRResult> history = OneZoneHistory(series, true);
    TSignalParams params = TSignalParams::Default();
    params.MinRewardRisk = 1.5;
    EXPECT_EQ(ScanLastBar(series, history, params).size(), 1u) << "no resistance: infinite";

    // A resistance 4 % above the close: reward/risk 4 / 22.9, margin 4 %.
    TPriceZone resistance;
    resistance.Bottom = 83 * 1.04;
    resistance.Top = resistance.Bottom + 1;
    resistance.Kind = TZoneKind::zkResistance;
    resistance.Rank = 1;
    history.back().Zones.push_back(resistance);
    history.back().NearestResistance = 1;
    EXPECT_TRUE(ScanLastBar(series, history, params).empty());
    params = TSignalParams::Default();
    params.MinMarginPct = 5;
    EXPECT_TRUE(ScanLastBar(series, history, params).empty());
    params.MinMarginPct = 3.5;
    EXPECT_EQ(ScanLastBar(series, history, params).size(), 1u);

    params = TSignalParams::Default();
    params.MaxDistHighPct = 10;  // fewer than 200 sessions: no distance, no signal
    EXPECT_TRUE(ScanLastBar(series, history, params).empty());
    params = TSignalParams::Default();
    params.RequireMacdPositive = true;  // the MACD line is negative after the fall
    EXPECT_TRUE(ScanLastBar(series, history, params).empty());

    // The market: without a regime a setting that needs it finds nothing; with an index that
    // rose every session both flags are known and the uptrend holds.
    params = TSignalParams::Default();
    params.RequireMarketUptrend = true;
    EXPECT_TRUE(ScanLastBar(series, history, params).empty());
    std::vector<double> rising;
    for (int k = 0; k < series.Count(); ++k) {
        rising.push_back(1000 + k);
    }
    const TPriceSeries index = test::SeriesFromCloses(rising);
    const TMarketRegime regime(&index, 50);
    const std::vector<TEntrySignal> withMarket = ScanLastBar(series, history, params, &regime);
    ASSERT_EQ(withMarket.size(), 1u);
    EXPECT_TRUE(withMarket[0].MarketOK);
    EXPECT_FALSE(withMarket[0].PhaseOK);  // RSI 100, at its high
    params.RequireFavorablePhase = true;
    EXPECT_TRUE(ScanLastBar(series, history, params, &regime).empty());
}

// Closes rising every session and a support touched on every bar: every bar qualifies, so the
// signals show the cooldown alone.
TEST(EntrySignalDetector, CooldownCountsFromAcceptedSignals) {
    std::vector<double> closes;
    for (int k = 0; k < 60; ++k) {
        closes.push_back(100 + k);
    }
    const TPriceSeries series = test::SeriesFromCloses(closes);
    std::vector<TSRResult> history(series.Count());
    for (int i = 0; i < series.Count(); ++i) {
        TPriceZone zone;
        zone.Top = series[i].Low;
        zone.Bottom = zone.Top - 1;
        zone.Kind = TZoneKind::zkSupport;
        zone.Rank = 1;
        history[i].Zones = {zone};
        history[i].Atr = 1;
        history[i].NearestSupport = 0;
    }
    history[12].Atr = 0;  // no usable zone analysis on that bar
    TEntrySignalDetector detector(AnyScore(), TSRParams::Default());
    const TTechnicalAnalysis analysis = Analysis(series);
    std::vector<TEntrySignal> signals = detector.Scan(series, analysis, 10, history);
    ASSERT_GE(signals.size(), 3u);
    EXPECT_EQ(signals[0].Index, 10);
    EXPECT_EQ(signals[1].Index, 16);  // 15 - 10 = 5 is not more than 5
    EXPECT_EQ(signals[2].Index, 22);

    TSignalParams noCooldown = AnyScore();
    noCooldown.CooldownBars = 0;
    signals =
        TEntrySignalDetector(noCooldown, TSRParams::Default()).Scan(series, analysis, 10, history);
    ASSERT_GE(signals.size(), 3u);
    EXPECT_EQ(signals[1].Index, 11);
    EXPECT_EQ(signals[2].Index, 13);  // bar 12 was skipped without counting as a signal

    // The first bar looked at is never earlier than WindowBars + 1.
    signals =
        TEntrySignalDetector(noCooldown, TSRParams::Default()).Scan(series, analysis, 0, history);
    ASSERT_FALSE(signals.empty());
    EXPECT_EQ(signals[0].Index, 4);
}

TEST(EntrySignalDetector, RefusesIndicatorsOfAnotherSeries) {
    const TPriceSeries series = ScenarioSeries({{0, -4, -3, 2}});
    const TEntrySignalDetector detector(TSignalParams::Default(), TSRParams::Default());
    const TTechnicalAnalysis notComputed(&series, TMACDParams::Default(), 14);
    test::ExpectIndicatorError([&] { detector.Scan(series, notComputed, 0); },
                               "Signal d'entree : indicateurs non calcules");
    TPriceSeries longer = series;
    longer.Add(TPriceBar::New(series.Last().Date + 1, 90, 90, 90, 90, 1000));
    const TTechnicalAnalysis analysis = Analysis(series);
    test::ExpectIndicatorError([&] { detector.Scan(longer, analysis, 0); },
                               "Signal d'entree : indicateurs non calcules");
}

TEST(EntrySignalDetector, InvalidSettingsAreRefusedAtCreation) {
    TSignalParams params = TSignalParams::Default();
    params.MinScore = 0;
    test::ExpectIndicatorError([&] { TEntrySignalDetector(params, TSRParams::Default()); },
                               "Parametres du signal d'entree invalides");
    TSRParams zones = TSRParams::Default();
    zones.ClusterAtr = 0;
    test::ExpectIndicatorError([&] { TEntrySignalDetector(TSignalParams::Default(), zones); },
                               "Parametres supports/resistances invalides");
}

}  // namespace
}  // namespace cotalys
