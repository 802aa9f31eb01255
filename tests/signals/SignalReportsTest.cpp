#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "ReportLines.h"
#include "signals/ReportText.h"
#include "signals/SignalBucket.h"
#include "signals/SignalOutcomes.h"
#include "signals/SignalReports.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::SplitLines;

using test::NaN;

const double Inf = std::numeric_limits<double>::infinity();

TEST(FormatStatsLine, FillsEveryColumn) {
    TEntrySignal a;
    a.Perf10 = 2;
    a.Perf20 = 4;
    a.MaxDrawdown20 = -1;
    a.Perf20Stop = 4;
    TEntrySignal b;
    b.Perf10 = -1;
    b.Perf20 = -2;
    b.MaxDrawdown20 = -3;
    b.Perf20Stop = -1.5;
    b.StopHit = true;
    TEntrySignal c;
    c.MaxDrawdown20 = -2;
    EXPECT_EQ(FormatStatsLine("Test", Statistics({a, b, c})),
              "  Test                             3     +0,5 %     +1,0 %  1/2 (50 %)        "
              "-2,0 %       +1,3 %    1/2  1/2 (50 %)");
    EXPECT_EQ(FormatStatsLine("Vide", Statistics({})),
              "  Vide                             0          -          -  -                      -"
              "            -      -  -");
}

TEST(StopsTable, AStopWithoutMeasuredSignalsShowsZeroOutOfZero) {
    const std::string text = StopsTable({StandardStops()[0]}, {Statistics({})});
    EXPECT_EQ(
        text,
        "  Stop                     Resultat 20 s.  Gagnants            Stops touches    Pire   "
        "  5 % pires  Pertes > 10 %\r\n"
        "  Sans stop                             -  0/0 (0 %)           0/0                    "
        "-          -  0");
}

TEST(StopsTable, TwoDecimalResults) {
    TEntrySignal loss;
    loss.Perf20Stop = -12.5;
    loss.StopHit = true;
    TEntrySignal gain;
    gain.Perf20Stop = 3.25;
    const std::vector<std::string> lines =
        SplitLines(StopsTable({StandardStops()[6]}, {Statistics({loss, gain})}));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1],
              "  1,5 ATR sur cloture             -4,63 %  1/2 (50 %)          1/2             "
              "-12,50 %   -12,50 %  1");
}

TEST(DefaultStopText, DescribesTheDefaultStop) {
    EXPECT_EQ(DefaultStopText(), "borne basse - 1,5 ATR en seance");
}

TEST(SignalBuckets, Edges) {
    struct TCase {
        double Value;
        int DistHigh;
        int RewardRisk;
    };
    const TCase cases[] = {{0, 0, 0},     {-5, 0, 0},    {-5.01, 1, 0}, {-10, 1, 0}, {-30, 3, 0},
                           {-30.5, 4, 0}, {-2000, 4, 0}, {NaN, -1, -1}, {0.5, 0, 1}, {1.5, 0, 3},
                           {1.49, 0, 2},  {2.99, 0, 4},  {3, 0, 5},     {Inf, 0, 6}};
    for (const TCase& c : cases) {
        EXPECT_EQ(DistHighBucket(c.Value), c.DistHigh) << c.Value;
        EXPECT_EQ(RewardRiskBucket(c.Value), c.RewardRisk) << c.Value;
    }
    EXPECT_EQ(DistHighBuckets()[1].Label, "-5 a -10 %");
    EXPECT_EQ(RewardRiskBuckets()[3].Label, "G/R 1,5 a 2");
    EXPECT_EQ(RewardRiskBuckets()[6].Label, "Sans resistance");
}

TEST(RewardRiskTable, SevenSlicesEmptyOnesIncluded) {
    TEntrySignal exact;  // 6 / 4 = 1.5
    exact.MarginResPct = 6;
    exact.RiskPct = 4;
    TEntrySignal open;  // no resistance above
    open.MarginResPct = Inf;
    open.RiskPct = 4;
    TEntrySignal unknown;  // no risk: no ratio, no slice
    unknown.MarginResPct = 6;
    unknown.RiskPct = 0;
    const std::vector<std::string> lines = SplitLines(RewardRiskTable({exact, open, unknown}));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], StatsHeader());
    EXPECT_EQ(lines[1].substr(0, 36), "  G/R < 0,5                        0");
    EXPECT_EQ(lines[4].substr(0, 36), "  G/R 1,5 a 2                      1");
    EXPECT_EQ(lines[7].substr(0, 36), "  Sans resistance                  1");
}

TEST(DistHighTable, EachSliceBesideItsReference) {
    TEntrySignal atFive;
    atFive.DistHighPct = -5;
    TEntrySignal beyond;
    beyond.DistHighPct = -5.01;
    TEntrySignal young;  // fewer than 200 sessions: no distance, no slice
    const std::vector<std::string> lines =
        SplitLines(DistHighTable({atFive, beyond, young}, {atFive, atFive, young}));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1].substr(0, 36), "  Signaux 0 a -5 %                 1");
    EXPECT_EQ(lines[2].substr(0, 36), "    reference 0 a -5 %             2");
    EXPECT_EQ(lines[3].substr(0, 36), "  Signaux -5 a -10 %               1");
    EXPECT_EQ(lines[4].substr(0, 36), "    reference -5 a -10 %           0");
    EXPECT_EQ(lines[10].substr(0, 36), "    reference au-dela de -30 %     0");
}

TEST(FormatReport, ASignalOnTheLastBarIsStillRunning) {
    const TPriceSeries series = test::SeriesFromCloses({100, 100, 100});
    TEntrySignal signal;
    signal.Index = 2;
    signal.Date = series[2].Date;
    signal.Price = 100;
    signal.Score = 3;
    signal.Contact = signal.RsiOK = signal.VolumeOK = true;
    signal.ZoneLabel = "S1*";
    signal.RsiValue = 35.5;
    signal.StopPrice = 98;
    MeasureOutcome(series, signal);
    EXPECT_EQ(FormatReport(series, {signal}),
              "Signaux d'entree TEST.PA sur la periode affichee : 1\r\n"
              "  Date        Note  Zone  Cours    RSI   Conditions                    +10 s.    "
              "+20 s.  Baisse max     Stop  Resultat avec stop\r\n"
              "  04/01/2025  3/4   S1*    100,00   35,5  support+ RSI+ MACD- volume+   en cours  "
              "en cours  en cours    98,00  en cours\r\n"
              "  Bilan : 1 signal(aux) dont 0 complet(s) 4/4 | moyenne +10 s. en cours | moyenne "
              "+20 s. en cours | gagnants a +20 s. 0/0 | baisse max moyenne en cours | avec stop "
              "en cours, 0 stop(s) touche(s)");
}

TEST(FormatReport, StopHitAndNoSignal) {
    std::vector<double> closes(25, 100);
    closes[3] = 97;
    const TPriceSeries series = test::SeriesFromCloses(closes);
    TEntrySignal signal;
    signal.Price = 100;
    signal.Score = 4;
    signal.StopPrice = 98;
    MeasureOutcome(series, signal);
    const std::vector<std::string> lines = SplitLines(FormatReport(series, {signal}));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[2].find("   -3,0 %    98,00  -3,0 % (stop a 3 s.)"), std::string::npos)
        << lines[2];
    EXPECT_NE(lines[3].find("gagnants a +20 s. 0/1 (0 %) |"), std::string::npos) << lines[3];
    EXPECT_EQ(FormatReport(series, {}), "Signaux d'entree TEST.PA sur la periode affichee : 0\r\n");
}

TEST(JoinLines, NoBreakAfterTheLastLine) {
    EXPECT_EQ(JoinLines({"a", "b"}), "a\r\nb");
    EXPECT_EQ(JoinLines({}), "");
}

}  // namespace
}  // namespace cotalys
