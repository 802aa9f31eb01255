#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReportLines.h"
#include "signals/EntrySignals.h"
#include "support/AnalysisTestSupport.h"
#include "support/DemoHistory.h"

// Signals on the bundled real histories: the comparison report's shape on 15 months with the
// CAC 40, and the default setting on several years.
namespace cotalys {
namespace {

using test::SplitLines;

bool StartsWith(const std::string& AText, const std::string& APrefix) {
    return AText.compare(0, APrefix.size(), APrefix) == 0;
}

class RealHistorySignals : public ::testing::Test {
protected:
    // Renault over the 15 months ending 22 February 2021, the CAC 40 over 18 months.
    const TDateTime FLast = EncodeDate(2021, 2, 22);
    const TPriceSeries FStock = test::LoadDemoHistory("RNO.PA", IncMonth(FLast, -15), FLast);
    const TPriceSeries FIndex = test::LoadDemoHistory("^FCHI", IncMonth(FLast, -18), FLast);
    // The first bar of the displayed year, as the main window passes it.
    const int FFirstVisible = FStock.IndexOfFirstOnOrAfter(IncMonth(FLast, -12));
};

TEST_F(RealHistorySignals, CompareVariantsTableShape) {
    TTechnicalAnalysis analysis(&FStock, TMACDParams::Default(), 14);
    analysis.Compute();
    const TMarketRegime regime(&FIndex, 50);
    const std::vector<TSignalParams> variants = StandardVariants();
    const std::string text =
        CompareVariants(FStock, analysis, FFirstVisible, TSRParams::Default(), variants, &regime);
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 2u + 10 + 1 + 2 + 9 + 1 + 2 + 10);
    EXPECT_EQ(lines[0],
              "Comparaison des reglages du signal (RNO.PA, periode affichee, stop = borne basse - "
              "1,5 ATR en seance)");
    EXPECT_EQ(lines[1], StatsHeader());
    for (std::size_t v = 0; v < variants.size(); ++v) {
        EXPECT_TRUE(StartsWith(lines[2 + v], "  " + variants[v].Name)) << lines[2 + v];
        EXPECT_EQ(lines[2 + v].find("indisponible"), std::string::npos) << lines[2 + v];
    }
    EXPECT_TRUE(StartsWith(lines[12], "  Reference : chaque seance  ")) << lines[12];
    EXPECT_EQ(lines[13],
              "Comparaison des stops (RSI obligatoire (defaut), signaux du reglage par defaut)");
    EXPECT_TRUE(StartsWith(lines[14], "  Stop "));
    for (std::size_t s = 0; s < StandardStops().size(); ++s) {
        EXPECT_TRUE(StartsWith(lines[15 + s], "  " + StandardStops()[s].Name)) << lines[15 + s];
    }
    EXPECT_EQ(
        lines[24],
        "  Un reglage n'apporte quelque chose que s'il fait nettement mieux que la reference, "
        "sur un nombre de signaux suffisant (au moins 10).");
    // Then each setting's difference to the reference, with its interval and verdict.
    EXPECT_EQ(lines[25], "Ecart a la reference (IC 95 %, reechantillonnage par mois)");
    for (std::size_t v = 0; v < variants.size(); ++v) {
        const std::string& line = lines[27 + v];
        EXPECT_TRUE(StartsWith(line, "  " + variants[v].Name)) << line;
        const bool verdict = line.ends_with(" mieux") || line.ends_with(" moins bien") ||
                             line.ends_with(" indecis") || line.ends_with(" trop peu");
        EXPECT_TRUE(verdict) << line;
    }

    // The reference buys every displayed session.
    EXPECT_EQ(BaselineStats(FStock, FFirstVisible).Count, FStock.Count() - FFirstVisible);

    // Without the index, the two settings that need it say so and have no difference to the
    // reference; the rest is unchanged.
    const std::vector<std::string> alone = SplitLines(
        CompareVariants(FStock, analysis, FFirstVisible, TSRParams::Default(), variants, nullptr));
    ASSERT_EQ(alone.size(), lines.size() - 2);
    EXPECT_EQ(alone[7], "  RSI oblig. + marche > MM50   indice de marche indisponible");
    EXPECT_EQ(alone[11], "  RSI oblig. + phase CAC favorable indice de marche indisponible");
    for (std::size_t k = 0; k < alone.size(); ++k) {
        // The differences of the settings after the first one left out move up by one.
        const std::size_t same = k < 27 + 5 ? k : (k < 27 + 8 ? k + 1 : k + 2);
        if (k != 7 && k != 11) {
            EXPECT_EQ(alone[k], lines[same]) << k;
        }
    }
}

TEST_F(RealHistorySignals, CompareVariantsNeedsASetting) {
    TTechnicalAnalysis analysis(&FStock, TMACDParams::Default(), 14);
    analysis.Compute();
    test::ExpectIndicatorError(
        [&] { CompareVariants(FStock, analysis, 0, TSRParams::Default(), {}, nullptr); },
        "Comparaison des reglages : aucun reglage a comparer");
}

// Three years of BNP Paribas with the 320-session window of the backtest and the scanner.
TEST(RealHistoryDefaultSetting, FindsSignalsFreeOfLookAhead) {
    const TPriceSeries series =
        test::LoadDemoHistory("BNP.PA", EncodeDate(2018, 2, 1), EncodeDate(2021, 2, 22));
    ASSERT_GT(series.Count(), 750);
    TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 14);
    analysis.Compute();
    const std::vector<TSRResult> history =
        TEntrySignalDetector::BuildZoneHistory(series, TSRParams::Default(), 250, 320);
    const TEntrySignalDetector detector(TSignalParams::Default(), TSRParams::Default());
    const std::vector<TEntrySignal> signals = detector.Scan(series, analysis, 250, history);
    ASSERT_GE(signals.size(), 3u);
    int previous = -100;
    for (const TEntrySignal& s : signals) {
        SCOPED_TRACE(s.Index);
        EXPECT_GT(s.Index - previous, TSignalParams::Default().CooldownBars);
        previous = s.Index;
        EXPECT_TRUE(s.Contact && s.RsiOK);
        EXPECT_GE(s.Score, 3);
        EXPECT_EQ(s.Price, series[s.Index].Close);
        EXPECT_GT(s.Price, series[s.Index - 1].Close);
        EXPECT_LT(s.StopPrice, s.ZoneBottom);
        EXPECT_GT(s.RiskPct, 0);
        EXPECT_FALSE(std::isnan(s.DistHighPct));
    }

    // Cut the history just after a signal: the shorter series finds the same signals up to it.
    const TEntrySignal& middle = signals[signals.size() / 2];
    TPriceSeries cut(series.Symbol());
    for (int j = 0; j <= middle.Index; ++j) {
        cut.Add(series[j]);
    }
    TTechnicalAnalysis cutAnalysis(&cut, TMACDParams::Default(), 14);
    cutAnalysis.Compute();
    const std::vector<TSRResult> cutHistory(history.begin(), history.begin() + cut.Count());
    const std::vector<TEntrySignal> early = detector.Scan(cut, cutAnalysis, 250, cutHistory);
    ASSERT_EQ(early.size(), signals.size() / 2 + 1);
    for (std::size_t k = 0; k < early.size(); ++k) {
        EXPECT_EQ(early[k].Index, signals[k].Index);
        EXPECT_EQ(early[k].Score, signals[k].Score);
        EXPECT_EQ(early[k].StopPrice, signals[k].StopPrice);
    }
    EXPECT_TRUE(std::isnan(early.back().Perf10));  // on the last bar of the cut series
}

}  // namespace
}  // namespace cotalys
