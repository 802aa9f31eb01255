#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "review/Review.h"
#include "support/OfflineQuotes.h"

namespace cotalys {
namespace {

using test::TOfflineQuotes;

std::vector<std::string> LoggedBy(const TSymbolLoad& ALoad) {
    std::vector<std::string> lines;
    ALoad.LogReport([&lines](const std::string& AText) { lines.push_back(AText); });
    return lines;
}

TSymbolLoad LoadFromService(const std::string& ASymbol) {
    const TLoadRequest request =
        TLoadRequest::For(ASymbol, TSourceKind::skQuoteService, "", Today());
    return LoadSymbol(request, *BuildProvider(request));
}

TEST(SymbolLoadTest, LoadsTheSymbolAndTheIndexRegime) {
    const TOfflineQuotes quotes({"AI.PA", "^FCHI"});
    const TSymbolLoad load = LoadFromService(" ai.pa");
    ASSERT_TRUE(load.Succeeded()) << load.Error;
    EXPECT_EQ(load.Series->Symbol(), "AI.PA");
    EXPECT_EQ(load.Series->Last().Date, EncodeDate(2021, 2, 22));
    EXPECT_NE(load.Market, nullptr);
    const std::vector<std::string> lines = LoggedBy(load);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("[Yahoo chart JSON] ")) << lines[0];
    EXPECT_FALSE(lines[0].ends_with("\n"));
}

TEST(SymbolLoadTest, WithoutTheIndexTheMarketFilterIsIgnoredAndSaysWhyFirst) {
    const TOfflineQuotes quotes({"AI.PA"});
    const TSymbolLoad load = LoadFromService("AI.PA");
    ASSERT_TRUE(load.Succeeded());
    EXPECT_EQ(load.Market, nullptr);
    const std::vector<std::string> lines = LoggedBy(load);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("Indice ^FCHI indisponible, filtre de marche ignore : "))
        << lines[0];
}

TEST(SymbolLoadTest, AFailedLoadNamesItsKindAndSkipsTheIndex) {
    const TOfflineQuotes quotes({"^FCHI"});
    const TSymbolLoad load = LoadFromService("XYZ.PA");
    EXPECT_FALSE(load.Succeeded());
    EXPECT_TRUE(load.Error.starts_with("Erreur de source : ")) << load.Error;
    EXPECT_EQ(load.Series, nullptr);
    EXPECT_EQ(load.Market, nullptr);
    EXPECT_TRUE(load.MarketMessage.empty());
}

// The quote service does not know the symbol; what the fallback page does decides the hint.
TEST(SymbolLoadTest, BehindAFallbackPageTheHintComesFromEachSourcesFailure) {
    const TOfflineQuotes quotes({"^FCHI"});
    const struct {
        const char* Name;
        std::string Page;
        const char* Hint;
    } cases[] = {
        {"page unreachable", "http://127.0.0.1:1/{SYMBOL}",
         "Verifier la connexion ou l'hote du service de cotations (COTALYS_QUOTE_HOST)"},
        {"page not found either", QuoteServiceBaseUrl() + "/absent/{SYMBOL}",
         "Les valeurs de Paris se terminent par .PA, par exemple RNO.PA"},
    };
    for (const auto& c : cases) {
        const TLoadRequest request =
            TLoadRequest::For("XYZ", TSourceKind::skQuoteService, c.Page, Today());
        const TSymbolLoad load = LoadSymbol(request, *BuildProvider(request));
        EXPECT_TRUE(load.Error.starts_with("Erreur de source : Toutes les sources ont echoue : "))
            << c.Name << ": " << load.Error;
        EXPECT_EQ(load.Hint, c.Hint) << c.Name;
    }
}

TEST(SymbolLoadTest, ALocalFileIsReadWhateverTheQuoteService) {
    const TOfflineQuotes quotes({"^FCHI"});
    const test::TempDir files;
    const auto file = files.Write("rno.csv", TOfflineQuotes::LastSessions("RNO.PA", 80));
    const TLoadRequest request =
        TLoadRequest::For("RNO.PA", TSourceKind::skLocalFile, file.string(), Today());
    const TSymbolLoad load = LoadSymbol(request, *BuildProvider(request));
    ASSERT_TRUE(load.Succeeded()) << load.Error;
    EXPECT_EQ(load.Series->Count(), 80);
    EXPECT_NE(load.Market, nullptr);
}

TEST(SymbolReviewTest, TooShortAHistoryIsRefusedWithTheBarCount) {
    const TOfflineQuotes quotes({"^FCHI"},
                                {{"SHORT.PA.csv", TOfflineQuotes::LastSessions("AI.PA", 59)}});
    TSymbolLoad load = LoadFromService("SHORT.PA");
    ASSERT_TRUE(load.Succeeded()) << load.Error;
    TSymbolReview review(std::move(*load.Series), IncMonth(Today(), -12), load.Market.get(),
                         TSizingParams::Default());
    std::vector<std::string> lines;
    EXPECT_FALSE(review.Run([&lines](const std::string& AText) { lines.push_back(AText); }));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(review.ErrorMessage(), "Historique trop court : 59 seances (minimum 60)");
    EXPECT_EQ(review.ErrorText(),
              "Calcul des indicateurs : Historique trop court : 59 seances (minimum 60)");
}

}  // namespace
}  // namespace cotalys
