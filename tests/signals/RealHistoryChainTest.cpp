#include <gtest/gtest.h>

#include "indicators/Indicators.h"
#include "indicators/VolumeColors.h"
#include "signals/EntrySignals.h"
#include "support/AnalysisTestSupport.h"
#include "support/DemoHistory.h"
#include "zones/SupportResistance.h"

// The whole analysis chain on Air Liquide over the 15 months ending 22 February 2021 (320
// sessions, through the 2020 crash), with the CAC 40 over 18 months. The expected values come
// from real_history_reference.py beside this file, an independent plain recomputation.
namespace cotalys {
namespace {

using test::LoadDemoHistory;

class RealHistoryChain : public ::testing::Test {
protected:
    const TDateTime FLast = EncodeDate(2021, 2, 22);
    const TPriceSeries FStock = LoadDemoHistory("AI.PA", EncodeDate(2019, 11, 22), FLast);
    const TPriceSeries FIndex = LoadDemoHistory("^FCHI", EncodeDate(2019, 8, 22), FLast);
};

TEST_F(RealHistoryChain, TechnicalAnalysis) {
    ASSERT_EQ(FStock.Count(), 320);
    TTechnicalAnalysis analysis(&FStock, TMACDParams::Default(), 14);
    analysis.Compute();
    EXPECT_NEAR(analysis.MACD().MACD.back(), -0.61882538583770952, 1e-9);
    EXPECT_NEAR(analysis.MACD().Signal.back(), -0.14498159535101918, 1e-9);
    EXPECT_NEAR(analysis.MACD().Histogram.back(), -0.47384379048669034, 1e-9);
    EXPECT_NEAR(analysis.RSI().back(), 35.831018136656027, 1e-9);
    EXPECT_EQ(analysis.SignalSummary(0),
              "AI.PA au 22/02/2021 : cloture 131,20 | MACD(12,26,9) quotidien : MACD -0,619, "
              "signal -0,145, histogramme -0,474 | dernier croisement baissier le 12/02/2021 | "
              "RSI(14) 35,8 (neutre)");
}

TEST_F(RealHistoryChain, VolumeLevel) {
    TVolumeColorizer colorizer(20);
    colorizer.Compute(FStock);
    EXPECT_NEAR(colorizer.Ratio(319), 0.65695177910084368, 1e-12);
    EXPECT_EQ(colorizer.Level(319), TVolumeLevel::vlLow);
}

TEST_F(RealHistoryChain, ZonesAndEntryFilter) {
    const TSRResult result = TSupportResistanceAnalyzer(TSRParams::Default()).Analyze(FStock);
    EXPECT_NEAR(result.Atr, 1.8782578962947125, 1e-9);
    EXPECT_EQ(result.LastClose, 131.2);
    const struct {
        const char* Lab;
        double Bottom, Top;
        int Touches, Weekly, Confirmed;
        double Score;
    } expected[] = {
        {"S1*", 130.65543552592632, 131.59456447407368, 2, 1, 2, 5.5},
        {"S2", 128.80000000000001, 129.84999999999999, 3, 1, 2, 6.5},
        {"S3", 126.90000000000001, 127.95, 2, 1, 2, 4.5},
        {"R1", 133.15543552592632, 134.09456447407368, 3, 0, 2, 5},
        {"R2", 135.9304355259263, 136.86956447407366, 2, 1, 2, 4.5},
        {"R3", 137.59999999999999, 138.59999999999999, 6, 2, 4, 12},
    };
    ASSERT_EQ(result.Zones.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const TPriceZone& zone = result.Zones[i];
        SCOPED_TRACE(expected[i].Lab);
        EXPECT_EQ(zone.Lab(), expected[i].Lab);
        EXPECT_NEAR(zone.Bottom, expected[i].Bottom, 1e-9);
        EXPECT_NEAR(zone.Top, expected[i].Top, 1e-9);
        EXPECT_EQ(zone.Touches, expected[i].Touches);
        EXPECT_EQ(zone.WeeklyTouches, expected[i].Weekly);
        EXPECT_EQ(zone.VolumeConfirmed, expected[i].Confirmed);
        EXPECT_EQ(zone.Score, expected[i].Score);
    }
    EXPECT_EQ(result.NearestSupport, 0);
    EXPECT_EQ(result.NearestResistance, 3);
    std::string report;
    EXPECT_FALSE(TEntryFilter::Default().Evaluate(result, -0.61882538583770952, report));
    EXPECT_EQ(report,
              "Filtre : support <= 1,7 % oui (0,00 %) | resistance >= 5,0 % NON (1,49 %) | "
              "MACD > 0 NON (-0,619) | rendement non evalue par le module");
}

TEST_F(RealHistoryChain, MarketRegime) {
    ASSERT_EQ(FIndex.Count(), 385);
    const TMarketRegime regime(&FIndex, 50);
    bool known = false;
    EXPECT_TRUE(regime.IsFavorable(FLast, known));
    EXPECT_TRUE(known);
    EXPECT_FALSE(regime.IsPhaseFavorable(FLast, known));
    EXPECT_TRUE(known);
    const TDateTime first = FStock.First().Date;
    EXPECT_NEAR(regime.FavorableShare(first, FLast), 63.322884012539184, 1e-9);
    EXPECT_NEAR(regime.PhaseFavorableShare(first, FLast), 61.442006269592476, 1e-9);
    EXPECT_NEAR(DistanceFromHigh(FIndex, 252, 200).back(), -0.58503322631913157, 1e-9);
}

}  // namespace
}  // namespace cotalys
