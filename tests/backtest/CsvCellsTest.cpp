#include <gtest/gtest.h>

#include <limits>

#include "backtest/BacktestCsv.h"
#include "backtest/CsvCells.h"

namespace cotalys {
namespace {

const double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(CsvCells, NumbersDatesAndFlags) {
    EXPECT_EQ(CsvNumber(1234.567), "1234,57");
    EXPECT_EQ(CsvNumber(-0.004), "0,00");
    EXPECT_EQ(CsvNumber(0), "0,00");
    EXPECT_EQ(CsvNumber(-12.5), "-12,50");
    EXPECT_EQ(CsvNumber(NaN), "");
    EXPECT_EQ(CsvNumber(Inf), "");
    EXPECT_EQ(CsvNumber(-Inf), "");
    EXPECT_EQ(CsvDate(EncodeDate(2021, 2, 5) + 0.75), "05/02/2021");
    EXPECT_EQ(CsvDate(0), "");
    EXPECT_EQ(CsvDate(-3), "");
    EXPECT_EQ(CsvFlag(true), "oui");
    EXPECT_EQ(CsvFlag(false), "non");
}

TEST(CsvCells, TextThatWouldBreakTheLineIsQuoted) {
    struct TCase {
        const char* Text;
        const char* Own;
        const char* Outside;
    };
    const TCase cases[] = {
        {"Air Liquide", "Air Liquide", "Air Liquide"},
        {"", "", ""},
        {"LVMH; Moet", "\"LVMH; Moet\"", "\"LVMH; Moet\""},
        {"dit \"X\"", "\"dit \"\"X\"\"\"", "\"dit \"\"X\"\"\""},
        {"deux\r\nlignes", "\"deux\r\nlignes\"", "\"deux\r\nlignes\""},
        {"=HYPERLINK(1)", "=HYPERLINK(1)", "'=HYPERLINK(1)"},
        {"+33", "+33", "'+33"},
        {"-5 %", "-5 %", "'-5 %"},
        {"@SUM(A1)", "@SUM(A1)", "'@SUM(A1)"},
        {"=A1;B1", "\"=A1;B1\"", "\"'=A1;B1\""},
        {"a=b", "a=b", "a=b"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CsvText(c.Text), c.Own) << c.Text;
        EXPECT_EQ(CsvOutsideText(c.Text), c.Outside) << c.Text;
    }
    EXPECT_EQ(CsvLine({"a", "", "\"b;c\""}), "a;;\"b;c\"");
}

TEST(BacktestCsv, HeaderAndOneSignalLine) {
    EXPECT_EQ(BacktestCsvHeader(),
              "Symbole;Reglage;Date;Note;Zone;Cours;RSI;Conditions;MarcheMM50;MargeResistance;"
              "Risque;GainRisque;EcartPlusHaut1an;Perf10;Perf20;BaisseMax20;Stop;StopTouche;"
              "SeancesAvantStop;Perf20AvecStop");
    TEntrySignal signal;
    signal.Date = EncodeDate(2020, 11, 3);
    signal.Score = 3;
    signal.Contact = true;
    signal.RsiOK = true;
    signal.VolumeOK = true;
    signal.ZoneLabel = "S1*";
    signal.Price = 48.125;
    signal.RsiValue = 41.25;
    signal.MarginResPct = Inf;
    signal.RiskPct = 4.5;
    signal.DistHighPct = -12.75;
    signal.Perf10 = 1.5;
    signal.Perf20 = NaN;
    signal.MaxDrawdown20 = -2.25;
    signal.StopPrice = 45.95;
    signal.StopHit = true;
    signal.StopBar = 7;
    signal.Perf20Stop = -4.5;
    signal.MarketOK = true;
    EXPECT_EQ(BacktestCsvLine("=AI.PA", "RSI obligatoire (defaut)", signal),
              "'=AI.PA;RSI obligatoire (defaut);03/11/2020;3;S1*;48,13;41,25;" +
                  signal.Conditions() + ";oui;;4,50;;-12,75;1,50;;-2,25;45,95;oui;7;-4,50");
}

}  // namespace
}  // namespace cotalys
