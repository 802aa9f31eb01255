#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "backtest/BacktestReport.h"
#include "backtest/FeeAccumulator.h"
#include "core/Formatting.h"
#include "support/OfflineQuotes.h"

namespace cotalys {
namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

TEntrySignal Signal(TDateTime ADate, double APerf10, double APerf20, double APerf20Stop,
                    double AStop = 95) {
    TEntrySignal signal;
    signal.Date = ADate;
    signal.Price = 100;
    signal.StopPrice = AStop;
    signal.Perf10 = APerf10;
    signal.Perf20 = APerf20;
    signal.Perf20Stop = APerf20Stop;
    return signal;
}

// A fixed fee of 10 EUR an order and a symbol outside the tax: an entry at 100 with a stop at
// 95 (6,25 EUR of risk a share with the slippage) buys 156 shares, 15 600 EUR, 20 EUR of fees
// for the round trip.
TSizingParams TenEuroFees() {
    TSizingParams sizing = TSizingParams::Default();
    sizing.FeeFixed = 10;
    return sizing;
}

TEST(FeeAccumulator, AddsNetResultsOfSizedSignalsOnly) {
    TFeeAccumulator fees;
    const TSizingParams sizing = TenEuroFees();
    const TDateTime day = EncodeDate(2020, 6, 1);
    fees.Add(sizing, Signal(day, 2, 5, -6.25), "MT.AS");
    fees.Add(sizing, Signal(day, 0, -1, NaN), "MT.AS");
    fees.Add(sizing, Signal(day, 3, 8, 8, 0), "MT.AS");     // no stop: cannot be sized
    fees.Add(sizing, Signal(day, NaN, NaN, NaN), "MT.AS");  // sized, nothing measured yet
    EXPECT_EQ(fees.Count, 2);
    EXPECT_EQ(fees.Winners, 1);
    EXPECT_EQ(fees.CountStop, 1);
    EXPECT_NEAR(fees.SumAmount, 31200, 1e-9);
    EXPECT_NEAR(fees.SumFeesPct, 2 * 20 / 15600.0 * 100, 1e-9);
    EXPECT_NEAR(fees.SumNet20, 5 - 1 - 2 * 20 / 15600.0 * 100, 1e-9);
    EXPECT_NEAR(fees.SumNetStop, -6.25 - 20 / 15600.0 * 100, 1e-9);
}

TEST(FeeAccumulator, UsesItsOwnPlan) {
    TFeeAccumulator fees;
    fees.Plan = TFeePlan::fpBoursoUltimate;
    fees.Add(TenEuroFees(), Signal(EncodeDate(2020, 6, 1), 2, 5, NaN), "MT.AS");
    // 154 shares: the Ultimate rate of 0,12 % above 10 000 EUR, on the buy and on the sale.
    ASSERT_EQ(fees.Count, 1);
    EXPECT_NEAR(fees.SumAmount, 15400, 1e-9);
    EXPECT_NEAR(fees.SumFeesPct, (15400 + 16170) * 0.0012 / 15400 * 100, 1e-9);
}

class BacktestReportTest : public ::testing::Test {
protected:
    BacktestReportTest() {
        Variants = StandardVariants();
        Results.BySetting.resize(Variants.size());
        Results.ByStop.resize(StandardStops().size());
        Results.Analysed = 2;
        const TFeePlan plans[] = {TFeePlan::fpCustom, TFeePlan::fpBoursoDecouverte,
                                  TFeePlan::fpBoursoTrader, TFeePlan::fpBoursoUltimate};
        for (int i = 0; i < 4; ++i) {
            Results.Fees[i].Plan = plans[i];
        }
        Period.Years = 1;
        Period.Start = EncodeDate(2020, 3, 15);
        Period.Today = EncodeDate(2021, 3, 15);
    }

    std::string Report(const std::vector<std::string>& AFailed = {}) const {
        return BacktestReport(Results, Variants, ConfidenceRows(Results, Variants), 3, AFailed,
                              Period, TenEuroFees());
    }

    std::vector<TSignalParams> Variants;
    TBacktestResults Results;
    TBacktestPeriod Period;
};

TEST_F(BacktestReportTest, SectionsComeInOrder) {
    Results.Interrupted = true;
    Results.HasRegime = true;
    const std::string report = Report({"XX.PA : 119 seances seulement", "YY.PA : HTTP 404"});
    EXPECT_EQ(report.substr(0, report.find("\r\n")),
              "Backtest sur 2 titre(s) analyse(s) sur 3, 1 an(s) : 15/03/2020 - 15/03/2021, stop "
              "par defaut = borne basse - 1,5 ATR en seance (INTERROMPU)");
    test::ExpectInOrder(
        report,
        {StatsHeader() + "\r\n",
         FormatStatsLine("RSI obligatoire (defaut)", Statistics({})) + "\r\n",
         FormatStatsLine("Reference : chaque seance", Statistics({})) + "\r\n",
         "Comparaison des stops (signaux du reglage RSI obligatoire (defaut))\r\n",
         "Resultats par gain/risque au jour du signal (reglage RSI obligatoire (defaut), stop "
         "borne basse - 1,5 ATR en seance)\r\n",
         "Achat differe (reglage RSI obligatoire (defaut), meme stop, entree a la cloture de J+1 "
         "ou J+2)\r\n",
         FormatStatsLine("Achat le jour du signal", Statistics({})) + "\r\n",
         FormatStatsLine("Achat a J+2, rebond tenu", Statistics({})) + "\r\n",
         "Resultat net de frais a 20 seances (reglage RSI obligatoire (defaut), capital 100 000 "
         "EUR, risque 1,0 % par position, compte-titres)\r\n"
         "  Forfait                          Signaux  Ordre moyen  Frais A/R  Net +20 s.  Net "
         "avec stop  Gagnants net\r\n"
         "  Brut avant frais : voir la ligne du reglage par defaut ci-dessus. Ultimate Trader "
         "exige 30 ordres par mois (119 EUR de frais mensuels sinon).\r\n\r\n"
         "Resultats par ecart au plus haut sur un an (reglage RSI obligatoire (defaut), chaque "
         "tranche comparee a la reference de la meme tranche)\r\n",
         "Par annee (signaux dates de l'annee, resultat sans stop)\r\n"
         "  Annee  Reglage                      Sig.     +10 s.     +20 s.  Gagnants 20 s.\r\n",
         "  2020   RSI obligatoire (defaut)", "  2021   Reference",
         "  Titres ignores (2) : XX.PA : 119 seances seulement | YY.PA : HTTP 404\r\n"});
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
}

TEST_F(BacktestReportTest, FeeLinesShowOnlyPlansWithSizedSignals) {
    const TSizingParams sizing = TenEuroFees();
    for (const TEntrySignal& signal : {Signal(EncodeDate(2020, 6, 1), 2, 5, -6.25),
                                       Signal(EncodeDate(2020, 6, 1), 0, -1, NaN)}) {
        Results.Fees[0].Add(sizing, signal, "MT.AS");
    }
    const std::string report = Report();
    EXPECT_NE(report.find("Gagnants net\r\n"
                          "  Vos reglages : frais personnalises       2    15 600 EUR   0,13 %  "
                          "    +1,9 %         -6,4 %        50 %\r\n"
                          "  Brut avant frais"),
              std::string::npos);
}

TEST_F(BacktestReportTest, WithoutIndexMarketSettingsAreUnavailable) {
    const std::string report = Report();
    for (const char* name : {"RSI oblig. + marche > MM50", "RSI oblig. + phase CAC favorable"}) {
        EXPECT_NE(report.find(Format("  %-28s indice indisponible\r\n", name)), std::string::npos)
            << name;
        // Nor in the per-year table.
        EXPECT_EQ(report.find(std::string("   ") + name), std::string::npos) << name;
    }
    EXPECT_EQ(report.find("Titres ignores"), std::string::npos);
    EXPECT_EQ(report.find("INTERROMPU"), std::string::npos);
}

TEST_F(BacktestReportTest, PerYearTableCoversEveryCalendarYearOfThePeriod) {
    Results.HasRegime = true;
    // Dated in 2020, measured into 2021: it counts in 2020.
    Results.BySetting[0] = {Signal(EncodeDate(2020, 12, 28), 2, 4, NaN)};
    Results.Reference = {Signal(EncodeDate(2020, 3, 16), 1, -2, NaN),
                         Signal(EncodeDate(2021, 3, 15), NaN, NaN, NaN)};
    const std::string report = Report();
    test::ExpectInOrder(
        report,
        {"  2020   RSI obligatoire (defaut)         1     +2,0 %     +4,0 %  1/1 (100 %)     \r\n",
         "  2020   RSI oblig. + marche > MM50       0          -          -  -               \r\n",
         // A name longer than its column keeps every figure.
         "  2020   RSI oblig. + phase CAC favorable     0          -          -  -               "
         "\r\n",
         "  2020   Reference                        1     +1,0 %     -2,0 %  0/1 (0 %)       \r\n",
         "  2021   RSI obligatoire (defaut)         0          -          -  -               \r\n",
         "  2021   Reference                        1          -          -  -               "
         "\r\n"});
}

}  // namespace
}  // namespace cotalys
