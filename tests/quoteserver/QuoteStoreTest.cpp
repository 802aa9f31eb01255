#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/Core.h"
#include "quoteserver/QuoteService.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

using ::testing::ElementsAre;

class QuoteStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        FFolder.Write("AAA.PA.csv",
                      "Date,Open,High,Low,Close,Volume,Dividends\n"
                      "2024-03-04,10,11,9,10.5,100,0\n"
                      "2024-03-05,10.5,11,10,10.75,120,0.8\n"
                      "2024-03-06,10.75,12,10.5,11.5,90,0\n");
        FFolder.Write("BBB.PA.json",
                      "{\"chart\":{\"result\":[{\"meta\":{\"longName\":\"Bbb SA\"},"
                      "\"timestamp\":[1709539200],\"indicators\":{\"quote\":[{\"close\":[20]}]}}],"
                      "\"error\":null}}");
        FFolder.Write("BROKEN.PA.csv", "rien d'utile\n");
        FFolder.Write("notes.md", "pas un fichier de cours");
        FFolder.Write(
            TQuoteStore::NamesFileName,
            "# Symbole;Nom\nAAA.PA ; Soci\xC3\xA9t\xC3\xA9 Aaa\n\nBBB.PA;Bbb (nom du fichier)\n");
    }

    test::TempDir FFolder;
};

TEST_F(QuoteStoreTest, ReadsEveryPriceFileWithItsNameAndDividends) {
    const TQuoteStore store = TQuoteStore::Load({FFolder.Path(), false});
    EXPECT_THAT(store.Symbols(), ElementsAre("AAA.PA", "BBB.PA"));
    const TPriceSeries* aaa = store.Find("AAA.PA");
    ASSERT_NE(aaa, nullptr);
    EXPECT_EQ(aaa->Count(), 3);
    EXPECT_EQ(aaa->Name(), "Soci\xC3\xA9t\xC3\xA9 Aaa");
    ASSERT_EQ(aaa->DividendCount(), 1);
    EXPECT_EQ(aaa->Dividends()[0].Date, EncodeDate(2024, 3, 5));
    EXPECT_EQ(aaa->Dividends()[0].Amount, 0.8);
    // The names file wins over the name inside a chart document.
    EXPECT_EQ(store.Find("BBB.PA")->Name(), "Bbb (nom du fichier)");
    EXPECT_EQ(store.Find("CCC.PA"), nullptr);
    ASSERT_EQ(store.Problems().size(), 1u);
    EXPECT_THAT(store.Problems()[0], ::testing::StartsWith("BROKEN.PA.csv ignore : "));
}

TEST_F(QuoteStoreTest, MovesEveryHistoryByWholeWeeksUpToLastWeek) {
    // Thursday 14 November 2024: the last weekday before it is Wednesday 13 November.
    SetClock([] { return EncodeDate(2024, 11, 14) + 0.5; });
    const TQuoteStore store = TQuoteStore::Load({FFolder.Path(), true});
    ResetClock();
    // The latest session, Wednesday 6 March 2024, becomes Wednesday 13 November 2024.
    EXPECT_EQ(store.ShiftDays(), 252);
    const TPriceSeries& aaa = *store.Find("AAA.PA");
    EXPECT_EQ(aaa.Last().Date, EncodeDate(2024, 11, 13));
    EXPECT_EQ(aaa.Dividends()[0].Date, EncodeDate(2024, 11, 12));
    EXPECT_EQ(store.Find("BBB.PA")->Last().Date, EncodeDate(2024, 11, 11));
}

TEST(QuoteStore, RefusesAMissingOrUselessFolder) {
    test::TempDir folder;
    const auto messageOf = [](const std::filesystem::path& APath) {
        try {
            TQuoteStore::Load({APath, false});
        } catch (const EDataProviderError& e) {
            return e.Message();
        }
        return std::string("aucune erreur");
    };
    EXPECT_EQ(messageOf(folder.Path() / "absent"),
              "Dossier de cours introuvable : " + (folder.Path() / "absent").string());
    folder.Write("VIDE.csv", "");
    EXPECT_EQ(messageOf(folder.Path()),
              "Aucun fichier de cours exploitable dans " + folder.Path().string());
}

TEST(QuoteStore, ReadsTheWholeDemoFolder) {
    const TQuoteStore store = TQuoteStore::Load({test::DataPath("demo"), false});
    EXPECT_TRUE(store.Problems().empty()) << store.Problems().front();
    EXPECT_EQ(store.Symbols().size(), 34u);
    ASSERT_NE(store.Find("^FCHI"), nullptr);
    EXPECT_EQ(store.Find("^FCHI")->Name(), "CAC 40");
    EXPECT_EQ(store.Find("RNO.PA")->Last().Date, EncodeDate(2021, 2, 22));
}

}  // namespace
}  // namespace cotalys
