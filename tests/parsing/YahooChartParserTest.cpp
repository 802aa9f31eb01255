#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "parsing/ParsingTestSupport.h"

namespace cotalys {
namespace {

using test::ParseErrorOf;

// A chart document around the given result members (timestamps, quote arrays, meta...).
std::string ChartDocument(const std::string& AResultMembers) {
    return "{\"chart\":{\"result\":[{" + AResultMembers + "}],\"error\":null}}";
}

// One session at 08:00 UTC on 15 January 2024 with the given quote arrays.
std::string OneDay(const std::string& AQuote) {
    return ChartDocument("\"timestamp\":[1705305600],\"indicators\":{\"quote\":[{" + AQuote +
                         "}]}");
}

TEST(ChartParser, DocumentWithNullsDividendsOffsetAndShortCloseArray) {
    TPriceSeries series("RNO.PA");
    series.AddDividend(EncodeDate(2020, 1, 1), 5);
    TParseReport report;
    const int count = TYahooChartParser().Parse(
        test::ReadAll(test::FixturePath("parsing/chart_renault.json")), series, report);
    EXPECT_EQ(count, 4);
    ASSERT_EQ(series.Count(), 4);
    EXPECT_EQ(report.SourceName(), "Yahoo chart JSON");
    EXPECT_EQ(report.Accepted(), 4);
    EXPECT_EQ(series.Name(), "Renault SA");
    EXPECT_EQ(series.Currency(), "EUR");

    test::ExpectBar(series[0], EncodeDate(2024, 1, 15), 36.5, 36.9, 36.02, 36.61, 1204311);
    // Only a close: a flat bar.
    test::ExpectBar(series[1], EncodeDate(2024, 1, 17), 35.22, 35.22, 35.22, 35.22, 998800);
    // 23:30 UTC is already the next day in Paris; half a share rounds to even.
    test::ExpectBar(series[2], EncodeDate(2024, 1, 19), 35.1, 35.5, 34.8, 35.0, 1500000);
    // A null volume is 0.
    test::ExpectBar(series[3], EncodeDate(2024, 1, 22), 33.0, 33.6, 32.9, 33.2, 0);

    test::ExpectIssues(
        report, {{2, "cloture nulle (seance non cotee)"}, {6, "cloture nulle (seance non cotee)"}});
    EXPECT_EQ(report.Warnings(),
              std::vector<std::string>{"Longueurs incoherentes : 6 horodatages, 5 clotures"});

    // The listed dividends replace the old ones, in document order; a zero amount is skipped.
    ASSERT_EQ(series.DividendCount(), 2);
    EXPECT_EQ(series.Dividends()[0].Date, EncodeDate(2023, 5, 12));
    EXPECT_DOUBLE_EQ(series.Dividends()[0].Amount, 1.1);
    EXPECT_EQ(series.Dividends()[1].Date, EncodeDate(2022, 5, 13));
    EXPECT_DOUBLE_EQ(series.Dividends()[1].Amount, 0.65);
}

TEST(ChartParser, ErrorDocumentGivesTheServersText) {
    EXPECT_EQ(ParseErrorOf(TYahooChartParser(),
                           test::ReadAll(test::FixturePath("parsing/chart_error.json"))),
              "Yahoo chart JSON : erreur renvoyee par le serveur : No data found, symbol may be "
              "delisted");
}

TEST(ChartParser, UnusableDocumentsRaiseParseErrors) {
    const std::string htmlPage =
        "  <!DOCTYPE html><html><head><title>Erreur 502</title></head><body>Service "
        "indisponible, reessayez plus tard</body></html>";
    const struct {
        std::string Content;
        std::string Text;
    } cases[] = {
        {htmlPage, "JSON invalide (debut : \"" + htmlPage.substr(2, 80) + "\")"},
        {"", "JSON invalide (debut : \"\")"},
        {"{\"chart\":", "JSON invalide (debut : \"{\"chart\":\")"},
        {"{\"chart\":{\"result\":[],\"error\":{\"code\":\"Not Found\"}}}",
         "erreur renvoyee par le serveur : {\"code\":\"Not Found\"}"},
        {"{\"chart\":{\"error\":{\"code\":\"X\",\"description\":null}}}",
         "erreur renvoyee par le serveur : {\"code\":\"X\",\"description\":null}"},
        {"{\"chart\":{\"result\":null,\"error\":null}}", "noeud chart.result[0] absent"},
        {"{\"chart\":{\"result\":[],\"error\":null}}", "noeud chart.result[0] absent"},
        {"{\"chart\":{\"result\":[3]}}", "noeud chart.result[0] absent"},
        {"[1,2]", "noeud chart.result[0] absent"},
        {ChartDocument("\"meta\":{}"), "aucun horodatage (symbole inconnu ou periode vide)"},
        {ChartDocument("\"timestamp\":null"), "aucun horodatage (symbole inconnu ou periode vide)"},
        {ChartDocument("\"timestamp\":[1],\"indicators\":{}"), "bloc indicators.quote absent"},
        {ChartDocument("\"timestamp\":[1],\"indicators\":{\"quote\":[]}"),
         "bloc indicators.quote absent"},
        {OneDay("\"open\":[1]"), "tableau close absent"},
        {OneDay("\"close\":[null]"), "aucune barre valide dans la reponse"},
        {OneDay("\"close\":[-3]"), "aucune barre valide dans la reponse"},
        {ChartDocument("\"timestamp\":[],\"indicators\":{\"quote\":[{\"close\":[]}]}"),
         "aucune barre valide dans la reponse"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseErrorOf(TYahooChartParser(), c.Content), "Yahoo chart JSON : " + c.Text)
            << c.Content;
    }
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_THROW(TYahooChartParser().Parse(ChartDocument("\"meta\":{}"), series, report),
                 EEmptyChartDocument);
}

TEST(ChartParser, MembersOfTheWrongKindAreReportedAsTypeErrors) {
    const std::string documents[] = {
        ChartDocument("\"meta\":null,\"timestamp\":[1705305600],"
                      "\"indicators\":{\"quote\":[{\"close\":[1]}]}"),
        ChartDocument("\"meta\":[],\"timestamp\":[1705305600]"),
        OneDay("\"close\":null"),
        OneDay("\"close\":{\"0\":1}"),
        OneDay("\"close\":[1],\"volume\":null"),
        OneDay("\"close\":[1],\"open\":\"1\""),
    };
    for (const auto& document : documents) {
        TPriceSeries series("X");
        TParseReport report;
        try {
            TYahooChartParser().Parse(document, series, report);
            ADD_FAILURE() << "accepted: " << document;
        } catch (const EParseError&) {
            ADD_FAILURE() << "a type error, not a parse error, was expected: " << document;
        } catch (const std::runtime_error& E) {
            EXPECT_NE(std::string(E.what()).find("est de type"), std::string::npos) << E.what();
        }
    }
}

TEST(ChartParser, GmtOffsetMovesTheDay) {
    // 1705275000 is 14 January 2024 at 23:30 UTC.
    const std::string arrays =
        "\"timestamp\":[1705275000],\"indicators\":{\"quote\":[{\"close\":[10]}]}";
    const struct {
        std::string Meta;
        TDateTime Day;
    } cases[] = {
        {"", EncodeDate(2024, 1, 14)},
        {"\"meta\":{\"gmtoffset\":0},", EncodeDate(2024, 1, 14)},
        {"\"meta\":{\"gmtoffset\":3600},", EncodeDate(2024, 1, 15)},
        {"\"meta\":{\"gmtoffset\":\"3600\"},", EncodeDate(2024, 1, 15)},
        {"\"meta\":{\"gmtoffset\":null},", EncodeDate(2024, 1, 14)},
        {"\"meta\":{\"gmtoffset\":-86400},", EncodeDate(2024, 1, 13)},
    };
    for (const auto& c : cases) {
        TPriceSeries series("X");
        TParseReport report;
        TYahooChartParser().Parse(ChartDocument(c.Meta + arrays), series, report);
        ASSERT_EQ(series.Count(), 1);
        EXPECT_EQ(series[0].Date, c.Day) << c.Meta;
    }
}

TEST(ChartParser, NameAndCurrencyFollowTheMetadata) {
    const std::string arrays =
        "\"timestamp\":[1705305600],\"indicators\":{\"quote\":[{\"close\":[10]}]}";
    const struct {
        std::string Meta;
        std::string Name, Currency;
    } cases[] = {
        {"", "Ancien nom", "USD"},  // without meta nothing changes
        {"\"meta\":{},", "", ""},
        {"\"meta\":{\"longName\":null,\"shortName\":\"RENAULT\",\"currency\":\"EUR\"},", "RENAULT",
         "EUR"},
        {"\"meta\":{\"longName\":\"Renault SA\",\"shortName\":\"RENAULT\"},", "Renault SA", ""},
    };
    for (const auto& c : cases) {
        TPriceSeries series("RNO.PA");
        series.SetName("Ancien nom");
        series.SetCurrency("USD");
        TParseReport report;
        TYahooChartParser().Parse(ChartDocument(c.Meta + arrays), series, report);
        EXPECT_EQ(series.Name(), c.Name) << c.Meta;
        EXPECT_EQ(series.Currency(), c.Currency) << c.Meta;
    }
}

TEST(ChartParser, MetadataAndDividendsAreReadBeforeTheArraysAreChecked) {
    TPriceSeries series("X");
    TParseReport report;
    const std::string document = ChartDocument(
        "\"meta\":{\"currency\":\"EUR\",\"longName\":\"Orange\"},"
        "\"events\":{\"dividends\":{\"a\":{\"amount\":0.3,\"date\":1705305600}}}");
    EXPECT_THROW(TYahooChartParser().Parse(document, series, report), EParseError);
    EXPECT_EQ(series.Name(), "Orange");
    EXPECT_EQ(series.DividendCount(), 1);
}

TEST(ChartParser, TwoHundredFiftyDaysWithTwoUnquotedSessions) {
    std::string timestamps, closes;
    for (int j = 0; j < 250; ++j) {
        timestamps += (j ? "," : "") + std::to_string(1705305600 + j * 86400);
        closes += j ? "," : "";
        closes += j == 9 || j == 199 ? "null" : std::to_string(40 + j % 7);
    }
    TPriceSeries series("X");
    TParseReport report;
    EXPECT_EQ(TYahooChartParser().Parse(
                  ChartDocument("\"timestamp\":[" + timestamps +
                                "],\"indicators\":{\"quote\":[{\"close\":[" + closes + "]}]}"),
                  series, report),
              248);
    test::ExpectIssues(report, {{10, "cloture nulle (seance non cotee)"},
                                {200, "cloture nulle (seance non cotee)"}});
    EXPECT_TRUE(report.Warnings().empty());
}

TEST(ChartParser, BadTimestampsAndValuesAreRefusedOneByOne) {
    TPriceSeries series("X");
    TParseReport report;
    const std::string document = ChartDocument(
        "\"timestamp\":[\"1705305600\",null,1e300,1705305600,1705392000],"
        "\"indicators\":{\"quote\":[{\"close\":[1,1,1,\"12\",12],"
        "\"volume\":[0,0,0,0,1e30],\"open\":[1,1,1,1,true]}]}");
    EXPECT_EQ(TYahooChartParser().Parse(document, series, report), 1);
    test::ExpectIssues(report, {{1, "horodatage invalide"},
                                {2, "horodatage invalide"},
                                {3, "horodatage invalide"},
                                {4, "cloture nulle (seance non cotee)"}});
    // A volume beyond any count is treated as missing; a non-number open as absent.
    test::ExpectBar(series[0], EncodeDate(2024, 1, 16), 12, 12, 12, 12, 0);
}

TEST(ChartParser, AbsurdPricesAreRefused) {
    TPriceSeries series("X");
    TParseReport report;
    const std::string document = ChartDocument(
        "\"timestamp\":[1705305600,1705392000,1705478400],"
        "\"indicators\":{\"quote\":[{\"close\":[1e308,12,12],\"open\":[12,5e9,12]}]}");
    EXPECT_EQ(TYahooChartParser().Parse(document, series, report), 1);
    test::ExpectIssues(report, {{1, "prix aberrant"}, {2, "prix aberrant"}});
    test::ExpectBar(series[0], EncodeDate(2024, 1, 17), 12, 12, 12, 12, 0);
}

}  // namespace
}  // namespace cotalys
