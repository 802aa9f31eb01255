#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "indicators/Indicators.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::ExpectIndicatorError;
using test::SeriesFromCloses;
using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST(TechnicalAnalysis, CreationChecksSeriesAndParameters) {
    ExpectIndicatorError([] { TTechnicalAnalysis(nullptr, TMACDParams::Default(), 14); },
                         "Serie non affectee");
    const TPriceSeries series = SeriesFromCloses({1, 2, 3});
    ExpectIndicatorError(
        [&] {
            TTechnicalAnalysis(&series, TMACDParams{26, 12, 9}, 14);
        },
        "MACD : periode rapide (26) >= periode lente (12)");
}

TEST(TechnicalAnalysis, NeedsWarmUpPlusOneBars) {
    const TPriceSeries short34 = SeriesFromCloses(std::vector<double>(34, 10));
    TTechnicalAnalysis failing(&short34, TMACDParams::Default(), 14);
    ExpectIndicatorError([&] { failing.Compute(); },
                         "Historique insuffisant : 34 barres, 35 requises pour MACD(12,26,9)");
    EXPECT_FALSE(failing.Computed());
    EXPECT_EQ(failing.SignalSummary(0), "Indicateurs non calcules");

    const TPriceSeries exact35 = SeriesFromCloses(std::vector<double>(35, 10));
    TTechnicalAnalysis analysis(&exact35, TMACDParams::Default(), 14);
    analysis.Compute();
    EXPECT_TRUE(analysis.Computed());
    ASSERT_EQ(analysis.RSI().size(), 35u);
    EXPECT_EQ(analysis.MACD().Histogram.size(), 35u);
}

TEST(TechnicalAnalysis, FailedRecomputeKeepsPreviousResults) {
    TPriceSeries series = SeriesFromCloses(std::vector<double>(40, 10));
    TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 1);
    ExpectIndicatorError([&] { analysis.Compute(); }, "Periode RSI invalide : 1");
    EXPECT_FALSE(analysis.Computed());
    EXPECT_TRUE(analysis.MACD().MACD.empty());
}

TEST(TechnicalAnalysis, SummaryOfAFlatSeries) {
    const TPriceSeries series = SeriesFromCloses(std::vector<double>(40, 100));
    TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 14);
    analysis.Compute();
    EXPECT_EQ(analysis.SignalSummary(0),
              "TEST.PA au 10/02/2025 : cloture 100,00 | MACD(12,26,9) quotidien : MACD 0,000, "
              "signal 0,000, histogramme +0,000 | aucun croisement sur la periode | RSI(14) "
              "50,0 (neutre)");
}

TEST(TechnicalAnalysis, SummaryReportsTheCrossingOutOfAFlatHistogram) {
    // Flat closes keep the histogram at exactly 0 from its first value; the first rise turns it
    // positive, a crossing since nothing negative or positive came before.
    std::vector<double> closes(40, 100);
    for (int i = 0; i < 5; ++i) {
        closes.push_back(101 + i);
    }
    const TPriceSeries series = SeriesFromCloses(closes);
    TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 14);
    analysis.Compute();
    const std::string summary = analysis.SignalSummary(0);
    EXPECT_THAT(summary, HasSubstr(" | dernier croisement haussier le 11/02/2025 | "));
    EXPECT_THAT(summary, EndsWith(" | RSI(14) 100,0 (surachat)"));
    EXPECT_THAT(analysis.SignalSummary(41), HasSubstr(" | aucun croisement sur la periode"));
}

TEST(TechnicalAnalysis, SummaryRefusesArraysOfAnotherBarCount) {
    TPriceSeries series = SeriesFromCloses(std::vector<double>(40, 100));
    TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 14);
    analysis.Compute();
    series.Add(TPriceBar::New(EncodeDate(2025, 3, 1), 1, 1, 1, 1, 1));
    EXPECT_EQ(analysis.SignalSummary(0), "Indicateurs non calcules");
}

}  // namespace
}  // namespace cotalys
