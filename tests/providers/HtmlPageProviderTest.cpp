#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "LoopbackServer.h"
#include "ProviderTestData.h"
#include "providers/Providers.h"

namespace cotalys {
namespace {

using test::Day;
using test::ProviderErrorOf;

TEST(HtmlPageProviderUrl, ReplacesEveryMarkerInAnyCase) {
    const THtmlPageProvider provider(
        "https://bourse.example/{Symbol}/hist?s={SYMBOL}&du={from}&au={To}&x={TO}", -1);
    EXPECT_EQ(provider.BuildUrl(" ^FCHI ", Day("2024-01-05") + 0.5, Day("2024-03-31")),
              "https://bourse.example/%5EFCHI/hist?s=%5EFCHI&du=2024-01-05&au=2024-03-31"
              "&x=2024-03-31");
    // Without markers the template is the address, whatever the symbol.
    EXPECT_EQ(THtmlPageProvider("https://bourse.example/cours", -1)
                  .BuildUrl("", Day("2024-01-05"), Day("2024-03-31")),
              "https://bourse.example/cours");
}

TEST(HtmlPageProviderUrl, RefusesABlankTemplate) {
    EXPECT_EQ(ProviderErrorOf([] { THtmlPageProvider(" \t ", -1); }), "Modele d'URL vide");
}

class HtmlPageProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        FServer.Server().Get("/page", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(test::HtmlPage({{req.get_param_value("first"), 10.5},
                                            {"2024-05-02", 11.0},
                                            {"2024-05-03", 11.25}}),
                            "text/html; charset=utf-8");
        });
        FServer.Start();
    }

    void Load(const std::string& AFirstSession, TDateTime AFrom) {
        const THtmlPageProvider provider(FServer.Url("/page?first=" + AFirstSession), -1);
        provider.Load("RNO.PA", AFrom, Day("2024-05-31"), FSeries, FReport);
    }

    test::TLoopbackServer FServer;
    TPriceSeries FSeries{"RNO.PA"};
    TParseReport FReport;
};

TEST_F(HtmlPageProviderTest, LoadsTheTableOfThePage) {
    Load("2024-05-01", Day("2024-05-01"));
    EXPECT_THAT(test::Days(FSeries),
                ::testing::ElementsAre("2024-05-01", "2024-05-02", "2024-05-03"));
    EXPECT_EQ(FSeries.Last().Close, 11.25);
    EXPECT_EQ(FReport.SourceName(), "HTML");
    EXPECT_THAT(FReport.Warnings(), ::testing::IsEmpty());
}

TEST_F(HtmlPageProviderTest, WarnsWhenTheHistoryStartsMoreThan45DaysLate) {
    // 60 days after the start of the range.
    Load("2024-04-30", Day("2024-03-01"));
    EXPECT_THAT(FReport.Warnings(),
                ::testing::ElementsAre("Historique partiel : premiere seance le 30/04/2024"));
}

TEST_F(HtmlPageProviderTest, GivesNoWarningAtExactly45Days) {
    Load("2024-04-15", Day("2024-03-01"));
    EXPECT_THAT(FReport.Warnings(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace cotalys
