#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

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

// CsvNumber works the cents out on its own: it must write what FormatFloat writes, on halves
// (exact, or exact only to 15 digits), on carries into a new digit, on figures too small to show
// and across the whole range of magnitudes.
TEST(CsvCells, NumbersAsFormatFloatWritesThem) {
    std::vector<double> values = {0.005,
                                  0.015,
                                  1.005,
                                  2.675,
                                  0.125,
                                  -0.125,
                                  -0.005,
                                  -0.0049999,
                                  9.995,
                                  -9.995,
                                  99.995,
                                  0.994999999999,
                                  0.0049999999999999999,
                                  123456789012345.5,
                                  999999999999999.9,
                                  99999999999999.99,
                                  1e14 + 0.125,
                                  1e15,
                                  -2e20,
                                  1e300,
                                  1e-300,
                                  5e-324,
                                  -0.0};
    std::mt19937_64 random(20210222);
    for (int i = 0; i < 20000; ++i) {
        // Every magnitude from 1e-6 to 1e17, and cents of up to seven figures.
        const double mantissa = std::uniform_real_distribution<double>(1, 10)(random);
        values.push_back((i % 2 == 0 ? 1 : -1) * mantissa * std::pow(10.0, i % 24 - 6));
        values.push_back(static_cast<double>(i * 7919 % 2000003 - 1000001) / 200);
    }
    for (const double value : values) {
        EXPECT_EQ(CsvNumber(value), FormatFloat("0.00", value, FrenchFormatSettings()))
            << std::hexfloat << value;
    }
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

// What the writers above wrote reads back as it was; anything else is refused.
TEST(CsvCells, CellsReadBack) {
    for (const std::string text : {"plain", "=1+1", "-3 %", "a;b \"c\"", "@x", ""}) {
        const std::string line = CsvLine({CsvOutsideText(text), "x"});
        const std::vector<std::vector<std::string>> records = CsvRecords(line + "\r\n");
        ASSERT_EQ(records.size(), 1u) << line;
        EXPECT_EQ(CsvOutsideTextValue(records[0][0]), text) << line;
    }
    std::vector<int> lines;
    EXPECT_EQ(CsvRecords("a;\"b\r\nc\"\r\nd\n\"\"\nlast", &lines),
              (std::vector<std::vector<std::string>>{{"a", "b\r\nc"}, {"d"}, {""}, {"last"}}));
    EXPECT_EQ(lines, (std::vector<int>{1, 3, 4, 5}));
    const struct {
        const char* Cell;
        bool Ok;
        double Value;
    } numbers[] = {{"136,10", true, 136.1}, {"-2.5", true, -2.5}, {"8,962", true, 8.962},
                   {"1,2,3", false, 0},     {"", false, 0},       {"abc", false, 0},
                   {"1e999", false, 0},     {"12,5 %", false, 0}};
    for (const auto& c : numbers) {
        double value = 0;
        EXPECT_EQ(TryCsvNumber(c.Cell, value), c.Ok) << c.Cell;
        if (c.Ok) {
            EXPECT_EQ(value, c.Value) << c.Cell;
        }
    }
    TDateTime day = 0;
    EXPECT_TRUE(TryCsvDate("01/02/2021", day));
    EXPECT_EQ(day, EncodeDate(2021, 2, 1));
    for (const char* bad : {"2021-02-01", "1/2/2021", "31/02/2021", "", "01/02/21"}) {
        EXPECT_FALSE(TryCsvDate(bad, day)) << bad;
    }
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
