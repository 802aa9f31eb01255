#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "LoopbackServer.h"
#include "ProviderTestData.h"
#include "providers/Providers.h"

namespace cotalys {
namespace {

using test::Day;
using test::ProviderErrorOf;

TEST(UrlEncode, KeepsSafeCharactersAndEncodesTheRestByte) {
    const std::pair<std::string, std::string> cases[] = {
        {"^FCHI", "%5EFCHI"},
        {"RNO.PA", "RNO.PA"},
        {"!$'()*-.@_azAZ09", "!$'()*-.@_azAZ09"},
        {"A B", "A+B"},
        {"a/b?c&d=e", "a%2Fb%3Fc%26d%3De"},
        {"\xC3\xA9", "%C3%A9"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(UrlEncode(text), expected) << text;
}

TEST(QuoteServiceConfig, UsesHttpsOnAHostOrABaseUrlAsGiven) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "https://query1.finance.yahoo.com"},
        {"quotes.example", "https://quotes.example"},
        {"http://127.0.0.1:8080/", "http://127.0.0.1:8080"},
        {"https://127.0.0.1:8443", "https://127.0.0.1:8443"},
    };
    for (const auto& [host, expected] : cases) {
        SetQuoteHost(host);
        EXPECT_EQ(QuoteServiceBaseUrl(), expected) << host;
    }
    SetQuoteHost("");
}

TEST(QuoteServiceConfig, TellsALoopbackHost) {
    const std::pair<std::string, bool> cases[] = {
        {"", false},
        {"quotes.example", false},
        {"127.0.0.1.example", false},
        {"http://127.0.0.1:8080/", true},
        {"https://127.0.0.2", true},
        {"http://LocalHost:9000", true},
        {"http://[::1]:9000", true},
        {"http://localhost.example:9000", false},
        {"http://10.0.0.1:8080", false},
    };
    for (const auto& [host, loopback] : cases) {
        SetQuoteHost(host);
        EXPECT_EQ(QuoteHostIsLoopback(), loopback) << host;
    }
    SetQuoteHost("");
}

TEST(YahooChartProviderUrl, AsksFromLocalMidnightToTheMidnightAfterTheLastDay) {
    test::TTimeZoneScope paris("Europe/Paris");
    test::TQuoteHostScope host("quotes.example");
    struct TCase {
        const char* From;
        const char* To;
        long long Period1;
        long long Period2;
    };
    const TCase cases[] = {
        // Winter on both ends: midnight in Paris is 23:00 UTC the day before.
        {"2024-01-01", "2024-01-31", 1704063600, 1706742000},  // 2023-12-31 23:00, 01-31 23:00
        // Summer on both ends: 22:00 UTC the day before.
        {"2024-07-01", "2024-07-31", 1719784800, 1722463200},  // 06-30 22:00, 07-31 22:00
        // Across the change to summer time on 31 March: 1 April starts at 22:00 UTC.
        {"2024-01-01", "2024-03-31", 1704063600, 1711922400},  // 2023-12-31 23:00, 03-31 22:00
    };
    for (const auto& c : cases) {
        // A time of day on either date changes nothing.
        EXPECT_EQ(TYahooChartProvider::ChartUrl(" ^FCHI ", Day(c.From) + 0.75, Day(c.To) + 0.5),
                  "https://quotes.example/v8/finance/chart/%5EFCHI?period1=" +
                      std::to_string(c.Period1) + "&period2=" + std::to_string(c.Period2) +
                      "&interval=1d&events=div%2Csplits&includeAdjustedClose=true")
            << c.From << " " << c.To;
    }
}

class YahooChartProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        FServer.Server().Get(R"(/v8/finance/chart/(.+))", [this](const httplib::Request& req,
                                                                 httplib::Response& res) {
            FRequests.push_back(req.target);
            if (req.matches[1] != "RNO.PA") {
                res.status = 404;
                res.set_content(
                    "{\"chart\":{\"result\":null,\"error\":{\"code\":\"Not Found\","
                    "\"description\":\"No data found, symbol may be delisted\"}}}",
                    "application/json");
                return;
            }
            // The service adds today's session and repeats a day: both must be dealt with.
            res.set_content(test::ChartDocument({{"2024-03-01", 30.0},
                                                 {"2024-03-04", 31.0},
                                                 {"2024-03-04", 31.5},
                                                 {"2024-03-05", 32.0},
                                                 {"2024-06-03", 40.0}},
                                                {"2024-03-04"}),
                            "application/json; charset=utf-8");
        });
        FServer.Start();
        FHost = std::make_unique<test::TQuoteHostScope>(FServer.Url(""));
    }

    test::TLoopbackServer FServer;
    std::unique_ptr<test::TQuoteHostScope> FHost;
    std::vector<std::string> FRequests;
    TYahooChartProvider FProvider;
    TPriceSeries FSeries{"RNO.PA"};
    TParseReport FReport;
};

TEST_F(YahooChartProviderTest, LoadsTheRequestedDaysFromTheConfiguredHost) {
    FProvider.Load("RNO.PA", Day("2024-03-01"), Day("2024-03-05"), FSeries, FReport);
    EXPECT_THAT(test::Days(FSeries),
                ::testing::ElementsAre("2024-03-01", "2024-03-04", "2024-03-05"));
    EXPECT_EQ(FSeries[1].Close, 31.5);
    EXPECT_EQ(FSeries.Name(), "Renault SA");
    EXPECT_EQ(FSeries.Currency(), "EUR");
    ASSERT_EQ(FSeries.DividendCount(), 1);
    EXPECT_EQ(FReport.SourceName(), "Yahoo chart JSON");
    ASSERT_EQ(FRequests.size(), 1u);
    EXPECT_THAT(FRequests[0], ::testing::StartsWith("/v8/finance/chart/RNO.PA?period1="));
    EXPECT_EQ(FProvider.Name(), "Yahoo Finance (JSON)");
}

TEST_F(YahooChartProviderTest, ReportsAnUnknownSymbolAndABlankOne) {
    EXPECT_EQ(ProviderErrorOf([&] {
                  FProvider.Load("XXX.PA", Day("2024-03-01"), Day("2024-03-05"), FSeries, FReport);
              }),
              "Ressource introuvable (HTTP 404) : symbole ou URL errone");
    EXPECT_EQ(ProviderErrorOf([&] {
                  FProvider.Load("  ", Day("2024-03-01"), Day("2024-03-05"), FSeries, FReport);
              }),
              "Symbole vide");
    EXPECT_EQ(FRequests.size(), 1u);
}

TEST_F(YahooChartProviderTest, RefusesARangeWithoutSessions) {
    // A weekend between two sessions.
    EXPECT_EQ(ProviderErrorOf([&] {
                  FProvider.Load("RNO.PA", Day("2024-03-02"), Day("2024-03-03"), FSeries, FReport);
              }),
              "Aucune seance entre le 02/03/2024 et le 03/03/2024");
}

}  // namespace
}  // namespace cotalys
