#include <gtest/gtest.h>

#include <string>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "parsing/ParsingTestSupport.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

using test::ParseErrorOf;

TEST(CsvSeparator, CountsTheWholeHeaderLine) {
    const struct {
        std::string Line;
        char Separator;
    } cases[] = {
        {"Date;Cours;\"Var, %\";Volume", ';'},  // three semicolons beat one comma
        {"a;b;c;d,e,f", ';'},
        {"Date\tClose,x\tVolume,y", '\t'},  // tabs and commas in equal numbers: the tab
        {"Date,Close,x\tVolume", ','},
        {"Date", ';'},
        {"Date,Close;Volume", ';'},  // semicolons win ties against commas
        {"", ';'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TCsvPriceParser::DetectSeparator(c.Line), c.Separator) << c.Line;
    }
}

TEST(CsvSplit, QuotesSeparatorsAndTrimming) {
    const struct {
        std::string Line;
        char Separator;
        TCells Fields;
    } cases[] = {
        {"12/03/2024;\"1 234,56\";x", ';', {"12/03/2024", "1 234,56", "x"}},
        {"\"dit \"\"bonjour\"\"\";2", ';', {"dit \"bonjour\"", "2"}},
        {"a;b;", ';', {"a", "b", ""}},
        {"", ';', {""}},
        {" a , b ,c", ',', {"a", "b", "c"}},
        {"x\"y,z\"w,v", ',', {"xy,zw", "v"}},  // a quote opens anywhere in a field
        {"\"non ferme;1", ';', {"non ferme;1"}},
        {"a\tb", ';', {"a\tb"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TCsvPriceParser::SplitCsvLine(c.Line, c.Separator), c.Fields) << c.Line;
    }
}

TEST(CsvParser, FrenchSemicolonFileWithDecimalCommasAndQuotedThousands) {
    const auto [series, report, count] =
        test::ParseFixture(TCsvPriceParser(), "french_semicolon.csv");
    EXPECT_EQ(count, 4);
    ASSERT_EQ(series.Count(), 4);
    EXPECT_EQ(report.SourceName(), "CSV");
    EXPECT_EQ(report.Accepted(), 4);
    test::ExpectBar(series[0], EncodeDate(2024, 1, 2), 1234.5, 1250, 1230.1, 1245.6, 1234567);
    EXPECT_EQ(series[2].Volume, 2'500'000);
    EXPECT_EQ(series[3].Date, EncodeDate(2024, 1, 8));
    EXPECT_EQ(series[3].Volume, 0);

    // Line numbers count the blank line.
    test::ExpectIssues(report, {{5, "cloture illisible \"n/a\""},
                                {7, "date illisible \"32/01/2024\""},
                                {9, "1 cellule(s) seulement"}});
    EXPECT_EQ(report.Warnings(), std::vector<std::string>{
                                     "Volumes illisibles sur certaines lignes : remplaces par 0"});
}

TEST(CsvParser, EnglishCommaFileReadsCloseNotAdjustedClose) {
    const auto [series, report, count] =
        test::ParseFixture(TCsvPriceParser(), "english_adjclose.csv");
    EXPECT_EQ(count, 4);
    test::ExpectBar(series[0], EncodeDate(2024, 1, 2), 45.459999, 45.785, 45.110001, 45.75,
                    1523400);
    EXPECT_EQ(series[3].Volume, 0);
    test::ExpectIssues(report, {{4, "cloture illisible \"null\""}});
    EXPECT_TRUE(report.Warnings().empty());
}

TEST(CsvParser, TabSeparatedFileWithFrenchDatesAndVolumeSuffixes) {
    const auto [series, report, count] = test::ParseFixture(TCsvPriceParser(), "tab_separated.txt");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(series[0].Date, EncodeDate(2024, 1, 15));
    EXPECT_DOUBLE_EQ(series[0].Close, 45.1);
    EXPECT_EQ(series[0].Volume, 1'200'000);
    EXPECT_EQ(series[1].Volume, 850'000);
    EXPECT_EQ(series[2].Volume, 1'100'000);
    EXPECT_EQ(report.Rejected(), 0);
}

TEST(CsvParser, RealHistoryIsReadWhole) {
    const auto [series, report, count] = test::ParseFixture(TCsvPriceParser(), "real_RNO.PA.csv");
    EXPECT_EQ(count, 3802);
    EXPECT_EQ(report.Rejected(), 0);
    EXPECT_TRUE(report.Warnings().empty());
    EXPECT_EQ(series.First().Date, EncodeDate(2006, 4, 7));
    EXPECT_EQ(series.Last().Date, EncodeDate(2021, 2, 22));
    for (int i = 1; i < series.Count(); ++i) {
        ASSERT_GT(series[i].Date, series[i - 1].Date);
    }
}

TEST(CsvParser, AppendsWithoutClearingAndNumbersLinesAfterLeadingBlanks) {
    TPriceSeries series("X");
    series.Add(TPriceBar::New(EncodeDate(2020, 1, 2), 1, 1, 1, 1, 1));
    TParseReport report;
    const std::string content = "\r\n  \nDate;Cours\n01/01/2024;abc\n02/01/2024;10\n";
    EXPECT_EQ(TCsvPriceParser().Parse(content, series, report), 1);
    EXPECT_EQ(series.Count(), 2);
    ASSERT_EQ(report.Issues().size(), 1u);
    EXPECT_EQ(report.Issues()[0].LineNo, 4);
    EXPECT_EQ(report.Warnings(), std::vector<std::string>{
                                     "Colonne Volume absente : coloration par volume neutralisee"});
}

TEST(CsvParser, LoneCarriageReturnsEndLinesToo) {
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_EQ(TCsvPriceParser().Parse("Date,Close\r2024-01-02,10\r2024-01-03,11", series, report),
              2);
}

TEST(CsvParser, HighRejectionRateIsWarned) {
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_EQ(TCsvPriceParser().Parse("Date;Cours;Volume\n01/01/2024;1;1\nx;1;1\ny;1;1\n", series,
                                      report),
              1);
    EXPECT_EQ(
        report.Warnings(),
        std::vector<std::string>{"Taux de rejet eleve : 2 rejet(s) pour 1 ligne(s) retenue(s)"});
}

TEST(CsvParser, UnusableFilesRaiseParseErrors) {
    const std::string longHeader = "Titre " + std::string(200, 'x');
    const struct {
        std::string Content;
        int Line;
        std::string Message;
    } cases[] = {
        {"", 0, "CSV : fichier vide"},
        {" \r\n\t\n", 0, "CSV : fichier vide"},
        {"\n<html><body>", 2,
         "CSV (ligne 2) : le contenu ressemble a du HTML ou du JSON, pas a un CSV"},
        {"{\"chart\":{}}", 1,
         "CSV (ligne 1) : le contenu ressemble a du HTML ou du JSON, pas a un CSV"},
        // Spaces before the tag hide it from the first test; the header check catches it.
        {"  <html>\n<table>", 1, "CSV (ligne 1) : en-tete non reconnu \"  <html>\""},
        {longHeader + "\n1;2", 1,
         "CSV (ligne 1) : en-tete non reconnu \"" + longHeader.substr(0, 120) + "\""},
        {"Date;Cours\n", 0, "CSV : aucune ligne de cours exploitable (0 rejet(s))"},
        {"Date;Cours\nx;1\n", 0, "CSV : aucune ligne de cours exploitable (1 rejet(s))"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseErrorOf(TCsvPriceParser(), c.Content, c.Line), c.Message) << c.Content;
    }
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_THROW(TCsvPriceParser().Parse("Jour;Cours moyen\n01/02/2021;10\n", series, report),
                 EUnrecognisedHeader);
}

TEST(CsvParser, HeaderExcerptNeverCutsACharacter) {
    const std::string header = std::string(119, 'x') + "é;z";
    EXPECT_EQ(ParseErrorOf(TCsvPriceParser(), header + "\n1;2", 1),
              "CSV (ligne 1) : en-tete non reconnu \"" + std::string(119, 'x') + "é\"");
}

}  // namespace
}  // namespace cotalys
