#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "core/Core.h"
#include "providers/Providers.h"
#include "quoteserver/QuoteService.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

// The message of the EFinanceError that AAction raises, or "aucune erreur".
template <class Action>
std::string ErrorOf(Action AAction) {
    try {
        AAction();
    } catch (const EFinanceError& e) {
        return e.Message();
    }
    return "aucune erreur";
}

// The quote service on 127.0.0.1 over data/demo plus a small file with dividends, the chart
// provider pointed at it, and the machine in Paris.
class QuoteServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::setenv("TZ", "Europe/Paris", 1);
        ::tzset();
    }
    static void TearDownTestSuite() {
        ::unsetenv("TZ");
        ::tzset();
    }

    void SetUp() override {
        for (const char* symbol : {"RNO.PA", "^FCHI"}) {
            const std::string name = std::string(symbol) + ".csv";
            FFolder.Write(name, test::ReadAll(test::DataPath("demo/" + name)));
        }
        FFolder.Write("DIV.PA.csv",
                      "Date;Cloture;Volume;Dividendes\n"
                      "04/03/2024;10,5;100;0\n05/03/2024;10,75;120;0,8\n06/03/2024;11;90;\n");
        FFolder.Write(TQuoteStore::NamesFileName, "RNO.PA;Renault SA\n");
        FServer = std::make_unique<TQuoteServer>(TQuoteStore::Load({FFolder.Path(), false}));
        FPort = FServer->Start("127.0.0.1", 0);
        SetQuoteHost("http://127.0.0.1:" + std::to_string(FPort));
    }
    void TearDown() override { SetQuoteHost(""); }

    void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo) {
        FProvider.Load(ASymbol, AFrom, ATo, FSeries, FReport);
    }

    test::TempDir FFolder;
    std::unique_ptr<TQuoteServer> FServer;
    int FPort = 0;
    TYahooChartProvider FProvider;
    TPriceSeries FSeries{"X"};
    TParseReport FReport;
};

TEST_F(QuoteServerTest, ASecondServiceOnATakenPortFails) {
    // Sharing the port would split the requests between the two services.
    TQuoteServer second(TQuoteStore::Load({FFolder.Path(), false}));
    EXPECT_EQ(ErrorOf([&] { second.Start("127.0.0.1", FPort); }),
              Format("Impossible d'ecouter sur 127.0.0.1:%d", FPort));
    Load("RNO.PA", EncodeDate(2020, 1, 1), EncodeDate(2020, 12, 31));
    EXPECT_GT(FSeries.Count(), 250);
}

TEST_F(QuoteServerTest, ServesAYearOfSessionsToTheChartProvider) {
    Load("RNO.PA", EncodeDate(2020, 1, 1), EncodeDate(2020, 12, 31));
    const std::string file = test::ReadAll(test::DataPath("demo/RNO.PA.csv"));
    int rows2020 = 0;
    for (size_t at = file.find("\n2020-"); at != std::string::npos;
         at = file.find("\n2020-", at + 1))
        ++rows2020;
    EXPECT_EQ(FSeries.Count(), rows2020);
    EXPECT_EQ(FReport.Rejected(), 0);
    // 2020-01-02,42.73,43,41.69,41.9,1200455 and 2020-12-31,35.73,36.09,35.44,35.76,365507
    EXPECT_EQ(FSeries.First().Date, EncodeDate(2020, 1, 2));
    EXPECT_EQ(FSeries.First().Open, 42.73);
    EXPECT_EQ(FSeries.First().Volume, 1200455);
    EXPECT_EQ(FSeries.Last().Date, EncodeDate(2020, 12, 31));
    EXPECT_EQ(FSeries.Last().Close, 35.76);
    EXPECT_EQ(FSeries.Name(), "Renault SA");
    EXPECT_EQ(FSeries.Currency(), "EUR");
}

TEST_F(QuoteServerTest, KeepsEverySessionAcrossClockChanges) {
    // Winter and summer days on both sides of the 2020 changes (29 March, 25 October).
    Load("^FCHI", EncodeDate(2020, 3, 27), EncodeDate(2020, 3, 30));
    EXPECT_EQ(FSeries.Count(), 2);
    FSeries.Clear();
    Load("^FCHI", EncodeDate(2020, 10, 23), EncodeDate(2020, 10, 26));
    EXPECT_EQ(FSeries.First().Date, EncodeDate(2020, 10, 23));
    EXPECT_EQ(FSeries.Last().Date, EncodeDate(2020, 10, 26));
}

TEST_F(QuoteServerTest, ServesTheDividendsColumn) {
    Load("DIV.PA", EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31));
    EXPECT_EQ(FSeries.Count(), 3);
    ASSERT_EQ(FSeries.DividendCount(), 1);
    EXPECT_EQ(FSeries.Dividends()[0].Date, EncodeDate(2024, 3, 5));
    EXPECT_EQ(FSeries.Dividends()[0].Amount, 0.8);
}

TEST_F(QuoteServerTest, AnswersAnUnknownSymbolWithTheErrorDocument) {
    EXPECT_EQ(ErrorOf([&] { Load("XXX.PA", EncodeDate(2020, 1, 1), EncodeDate(2020, 12, 31)); }),
              "Ressource introuvable (HTTP 404) : symbole ou URL errone");
    httplib::Client client("127.0.0.1", FPort);
    const auto response = client.Get("/v8/finance/chart/XXX.PA?period1=0&period2=1&interval=1d");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 404);
    EXPECT_EQ(response->body,
              "{\"chart\":{\"result\":null,\"error\":{\"code\":\"Not Found\","
              "\"description\":\"Aucune donnee pour le symbole XXX.PA\"}}}");
}

TEST_F(QuoteServerTest, RefusesABadQuery) {
    httplib::Client client("127.0.0.1", FPort);
    for (const char* query : {"?period1=0&period2=1&interval=1wk", "?period1=abc&period2=1",
                              "?period1=0&period2=12x"}) {
        const auto response = client.Get(std::string("/v8/finance/chart/RNO.PA") + query);
        ASSERT_TRUE(response) << query;
        EXPECT_EQ(response->status, 400) << query;
        EXPECT_THAT(response->body, ::testing::HasSubstr("\"code\":\"Bad Request\"")) << query;
    }
}

TEST_F(QuoteServerTest, AnswersAWindowBeyondTheCalendar) {
    httplib::Client client("127.0.0.1", FPort);
    const auto response = client.Get(
        "/v8/finance/chart/RNO.PA?period1=253402300800&period2=9223372036854775807&interval=1d");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 200);
    EXPECT_THAT(response->body, ::testing::Not(::testing::HasSubstr("\"timestamp\"")));
}

TEST_F(QuoteServerTest, AnswersAnEmptyWindowWithoutTimestamps) {
    EXPECT_EQ(ErrorOf([&] { Load("RNO.PA", EncodeDate(2022, 1, 3), EncodeDate(2022, 1, 7)); }),
              "Yahoo chart JSON : aucun horodatage (symbole inconnu ou periode vide)");
}

}  // namespace
}  // namespace cotalys
