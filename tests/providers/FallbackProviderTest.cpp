#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "LoopbackServer.h"
#include "ProviderTestData.h"
#include "providers/Providers.h"

namespace cotalys {
namespace {

using test::Day;
using test::ProviderErrorOf;

// The quote service and a web page on one loopback server: the service knows only "RNO.PA",
// the page answers "/page" and fails on "/broken".
class FallbackProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& server = FServer.Server();
        server.Get(R"(/v8/finance/chart/(.+))",
                   [](const httplib::Request& req, httplib::Response& res) {
                       if (req.matches[1] != "RNO.PA") {
                           res.status = 404;
                           res.set_content("{}", "application/json");
                           return;
                       }
                       // Sessions and a dividend, all before the range asked by the tests below.
                       res.set_content(test::ChartDocument({{"2023-12-01", 30.0}}, {"2023-12-01"}),
                                       "application/json");
                   });
        server.Get("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(test::HtmlPage({{"2024-03-01", 10.0}, {"2024-03-04", 11.0}}),
                            "text/html");
        });
        server.Get("/broken", [](const httplib::Request&, httplib::Response& res) {
            res.status = 503;
            res.set_content("en maintenance", "text/plain");
        });
        FServer.Start();
        FHost = std::make_unique<test::TQuoteHostScope>(FServer.Url(""));
    }

    TFallbackProvider Chain(const std::string& APagePath) {
        return TFallbackProvider({std::make_shared<TYahooChartProvider>(),
                                  std::make_shared<THtmlPageProvider>(FServer.Url(APagePath), -1)});
    }

    void Load(const TFallbackProvider& AChain, const std::string& ASymbol, const char* AFrom) {
        AChain.Load(ASymbol, Day(AFrom), Day("2024-03-31"), FSeries, FReport);
    }

    test::TLoopbackServer FServer;
    std::unique_ptr<test::TQuoteHostScope> FHost;
    TPriceSeries FSeries{"RNO.PA"};
    TParseReport FReport;
};

TEST_F(FallbackProviderTest, FallsBackOnThePageAndNamesTheFailedSource) {
    Load(Chain("/page"), "XXX.PA", "2024-03-01");
    EXPECT_THAT(test::Days(FSeries), ::testing::ElementsAre("2024-03-01", "2024-03-04"));
    EXPECT_THAT(
        FReport.Warnings(),
        ::testing::ElementsAre("Sources precedentes en echec : [Yahoo Finance (JSON)] "
                               "Ressource introuvable (HTTP 404) : symbole ou URL errone |"));
    EXPECT_EQ(FReport.SourceName(), "HTML");
}

TEST_F(FallbackProviderTest, NamesEverySourceWhenAllFail) {
    const auto chain = Chain("/broken");
    EXPECT_EQ(ProviderErrorOf([&] { Load(chain, "XXX.PA", "2024-03-01"); }),
              "Toutes les sources ont echoue : [Yahoo Finance (JSON)] Ressource introuvable "
              "(HTTP 404) : symbole ou URL errone | [Page HTML] HTTP 503 Service Unavailable | ");
    try {
        Load(chain, "XXX.PA", "2024-03-01");
        ADD_FAILURE() << "no error";
    } catch (const ESourcesFailed& e) {
        // Each source's failure is kept whole, with its kind.
        ASSERT_EQ(e.Failures().size(), 2u);
        EXPECT_THROW(std::rethrow_exception(e.Failures()[0]), EResourceNotFound);
        EXPECT_THROW(std::rethrow_exception(e.Failures()[1]), EServiceUnreachable);
    }
}

TEST_F(FallbackProviderTest, WrapsTheErrorOfASingleSource) {
    const TFallbackProvider chain({std::make_shared<TYahooChartProvider>()});
    EXPECT_EQ(ProviderErrorOf([&] { Load(chain, "", "2024-03-01"); }),
              "Toutes les sources ont echoue : [Yahoo Finance (JSON)] Symbole vide | ");
}

TEST_F(FallbackProviderTest, AddsNoWarningWhenTheFirstSourceSucceeds) {
    Load(Chain("/broken"), "RNO.PA", "2023-12-01");
    EXPECT_EQ(FSeries.Count(), 1);
    EXPECT_TRUE(FReport.Warnings().empty());
}

TEST_F(FallbackProviderTest, KeepsTheDividendsOfAFailedSourceButNotItsBars) {
    // The service's only session is out of range, so it fails after setting the dividends.
    Load(Chain("/page"), "RNO.PA", "2024-03-01");
    EXPECT_EQ(FSeries.Count(), 2);
    EXPECT_EQ(FSeries.DividendCount(), 1);
    EXPECT_THAT(FReport.Warnings(),
                ::testing::ElementsAre("Sources precedentes en echec : [Yahoo Finance (JSON)] "
                                       "Aucune seance entre le 01/03/2024 et le 31/03/2024 |"));
}

TEST_F(FallbackProviderTest, AStoppedLoadTriesNoOtherSource) {
    const std::atomic<bool> stop{true};
    const TTransferCancelScope scope(&stop);
    const auto chain = Chain("/page");
    EXPECT_THROW(Load(chain, "XXX.PA", "2024-03-01"), ETransferCancelled);
    EXPECT_TRUE(FReport.Warnings().empty());
}

TEST(FallbackProviderChain, CountsItsProvidersAndRefusesAnEmptyChain) {
    const TFallbackProvider chain({std::make_shared<TYahooChartProvider>(), nullptr,
                                   std::make_shared<TLocalFileProvider>("x")});
    EXPECT_EQ(chain.Name(), "Chaine de 2 fournisseur(s)");
    EXPECT_EQ(ProviderErrorOf([] { TFallbackProvider({nullptr}); }), "Aucun fournisseur configure");
    EXPECT_EQ(ProviderErrorOf([] { TFallbackProvider({}); }), "Aucun fournisseur configure");
}

}  // namespace
}  // namespace cotalys
