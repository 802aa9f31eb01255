#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "signals/EntrySignals.h"
#include "signals/MarketContext.h"
#include "support/AnalysisTestSupport.h"
#include "support/DemoHistory.h"

namespace cotalys {
namespace {

using test::NaN;

TPriceSeries RisingIndex(int ACount) {
    std::vector<double> closes;
    for (int k = 0; k < ACount; ++k) {
        closes.push_back(1000 + k);
    }
    TPriceSeries index = test::SeriesFromCloses(closes);
    index.SetSymbol("^FCHI");
    return index;
}

TMarketContext ValidContext() {
    TMarketContext context = InvalidMarketContext("^FCHI", "");
    context.Valid = true;
    context.Date = EncodeDate(2025, 3, 14);
    context.Close = 7520.4;
    context.Rsi = 38.6;
    context.Sma50 = 7520.4;
    context.Sma200 = 7711.5;
    context.DistHighPct = -9.25;
    context.Phase = TMarketPhase::mpOversold;
    return context;
}

TEST(MarketContext, TooShortOrMissingIndex) {
    const TPriceSeries shortIndex = RisingIndex(59);
    for (const TPriceSeries* index : {static_cast<const TPriceSeries*>(nullptr), &shortIndex}) {
        const TMarketContext context = BuildMarketContext(index);
        EXPECT_FALSE(context.Valid);
        EXPECT_EQ(context.Symbol, "^FCHI");
        EXPECT_EQ(context.ErrorText, "historique insuffisant");
        EXPECT_EQ(context.Phase, TMarketPhase::mpUnknown);
        EXPECT_FALSE(context.IsFavorable());
        EXPECT_TRUE(std::isnan(context.Close));
        EXPECT_EQ(context.Date, 0);
        EXPECT_EQ(context.Summary(), "CAC 40 indisponible : historique insuffisant");
        EXPECT_EQ(context.Advice(), "Phase inconnue : historique insuffisant");
    }
}

TEST(MarketContext, SixtySessionsWithoutAYearOfHistory) {
    const TPriceSeries index = RisingIndex(60);
    const TMarketContext context = BuildMarketContext(&index);
    ASSERT_TRUE(context.Valid);
    EXPECT_EQ(context.ErrorText, "");
    EXPECT_EQ(context.Close, 1059);
    EXPECT_EQ(context.Sma50, 1034.5);
    EXPECT_TRUE(std::isnan(context.Sma200));
    EXPECT_TRUE(std::isnan(context.DistHighPct));
    EXPECT_EQ(context.Rsi, 100);
    EXPECT_EQ(context.Phase, TMarketPhase::mpNearHigh);
    EXPECT_FALSE(context.IsFavorable());
    EXPECT_EQ(context.Summary(),
              "CAC 40 au 02/03/2025 : 1 059 points, RSI 100, MM50 au-dessus (1035), MM200 -, "
              "plus haut annuel inconnu");
    EXPECT_EQ(context.Advice(),
              "Phase defavorable : indice proche de ses plus hauts. Sur 5 ans, signaux +0,1 % a 20 "
              "seances, avance de +0,2 point, inferieure aux frais d'un aller-retour.");
}

TEST(MarketContext, PhaseThresholds) {
    struct TCase {
        double Rsi;
        double Dist;
        TMarketPhase Phase;
    };
    const TCase cases[] = {{40, -8.0, TMarketPhase::mpNearHigh},
                           {40, -8.01, TMarketPhase::mpPullback},
                           {39.99, 0, TMarketPhase::mpOversold},
                           {39.99, -20, TMarketPhase::mpOversold},
                           {55, NaN, TMarketPhase::mpNearHigh}};
    for (const TCase& c : cases) {
        EXPECT_EQ(MarketPhaseOf(c.Rsi, c.Dist), c.Phase) << c.Rsi << " " << c.Dist;
    }
}

TEST(MarketContext, SummaryAndAdvice) {
    TMarketContext context = ValidContext();
    EXPECT_EQ(context.Summary(),
              "CAC 40 au 14/03/2025 : 7 520 points, RSI 39, MM50 au-dessus (7520), MM200 en "
              "dessous (7712), 9,3 % sous le plus haut annuel");
    EXPECT_TRUE(context.IsFavorable());
    EXPECT_EQ(context.Advice(),
              "Phase favorable : indice survendu (RSI < 40). Sur 5 ans, signaux +3,2 % a 20 "
              "seances (achat au hasard +2,3 %), avance de +1,0 point avant frais.");
    context.Phase = TMarketPhase::mpPullback;
    EXPECT_TRUE(context.IsFavorable());
    EXPECT_EQ(context.Advice(),
              "Phase favorable : indice en repli (plus de 8 % sous son plus haut). Sur 5 ans, "
              "signaux +2,7 % a 20 seances (achat au hasard +1,6 %), avance de +1,1 point avant "
              "frais.");
    context.IndexSignalDate = EncodeDate(2025, 3, 12);
    EXPECT_EQ(context.Summary(),
              "CAC 40 au 14/03/2025 : 7 520 points, RSI 39, MM50 au-dessus (7520), MM200 en "
              "dessous (7712), 9,3 % sous le plus haut annuel, rebond sur support le 12/03/2025");
}

class MarketContextOnTheCac : public ::testing::Test {
protected:
    // Two years of the CAC 40 up to 22 February 2021.
    const TPriceSeries FIndex =
        test::LoadDemoHistory("^FCHI", EncodeDate(2019, 2, 22), EncodeDate(2021, 2, 22));

    TPriceSeries Until(int ALast) const {
        TPriceSeries cut(FIndex.Symbol());
        for (int j = 0; j <= ALast; ++j) {
            cut.Add(FIndex[j]);
        }
        return cut;
    }
};

TEST_F(MarketContextOnTheCac, AgreesWithTheRegimeOnTheLastDay) {
    for (int last : {FIndex.Count() - 1, FIndex.Count() - 230, FIndex.Count() - 260}) {
        const TPriceSeries index = Until(last);
        const TMarketContext context = BuildMarketContext(&index);
        ASSERT_TRUE(context.Valid);
        EXPECT_EQ(context.Symbol, "^FCHI");
        EXPECT_EQ(context.Date, index.Last().Date);
        EXPECT_FALSE(std::isnan(context.DistHighPct));
        bool known = false;
        const TMarketRegime regime(&index, 50);
        EXPECT_EQ(context.IsFavorable(), regime.IsPhaseFavorable(context.Date, known));
        EXPECT_TRUE(known);
    }
}

TEST_F(MarketContextOnTheCac, OnlyASignalOfTheLastFiveSessionsCounts) {
    TTechnicalAnalysis analysis(&FIndex, TMACDParams::Default(), 14);
    analysis.Compute();
    const std::vector<TEntrySignal> signals =
        TEntrySignalDetector(TSignalParams::Default(), TSRParams::Default())
            .Scan(FIndex, analysis, 1);
    // A signal with no other in the ten sessions before it, so no cooldown hides its neighbours.
    const TEntrySignal* chosen = nullptr;
    for (std::size_t k = 0; k < signals.size() && chosen == nullptr; ++k) {
        if (signals[k].Index >= 60 && signals[k].Index + 5 < FIndex.Count() &&
            (k == 0 || signals[k].Index - signals[k - 1].Index > 10)) {
            chosen = &signals[k];
        }
    }
    ASSERT_NE(chosen, nullptr);
    const TPriceSeries thirdToLast = Until(chosen->Index + 2);
    EXPECT_EQ(BuildMarketContext(&thirdToLast).IndexSignalDate, chosen->Date);
    const TPriceSeries sixBack = Until(chosen->Index + 5);
    EXPECT_NE(BuildMarketContext(&sixBack).IndexSignalDate, chosen->Date);
}

}  // namespace
}  // namespace cotalys
