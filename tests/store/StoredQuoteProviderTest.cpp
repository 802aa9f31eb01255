#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "StoreTestSupport.h"

namespace cotalys::test {
namespace {

using StoredQuoteProviderTest = StoreFixture;

const std::string StoreNote = "Cotations en cache : ";

TEST_F(StoredQuoteProviderTest, ASecondLoadAsksOnlyForTheLastSessions) {
    TParseReport first;
    const TPriceSeries downloaded = LoadThroughStore(first);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"AI.PA 22/11/2019 23/02/2021 200"});
    ExpectSameSeries(downloaded, LoadDirectly());
    TakeRequests();
    ASSERT_EQ(first.Notes().size(), 1u);
    EXPECT_EQ(first.Notes()[0], Format("Cotations en cache : 0 seance(s) locales, %d "
                                       "telechargee(s)",
                                       downloaded.Count()));
    EXPECT_EQ(first.Accepted(), downloaded.Count()) << "the tally of what the service sent";

    // The same morning, 22 February's session is not over: its last sessions are asked again,
    // from the sixth last.
    TParseReport second;
    const TPriceSeries again = LoadThroughStore(second);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"AI.PA 15/02/2021 23/02/2021 200"});
    ExpectSameSeries(again, downloaded);
    EXPECT_EQ(second.Notes(), std::vector<std::string>{Format(
                                  "Cotations en cache : %d seance(s) locales, 6 telechargee(s)",
                                  downloaded.Count() - 6)});
    EXPECT_TRUE(second.Details(30).starts_with("[Yahoo chart JSON] 6 ligne(s) retenue(s)"));

    // Fetched after the close, the day is known whole: nothing is asked any more, even on the
    // weekend after it.
    SetTime(EncodeDate(2021, 2, 22) + 19.0 / 24);
    TParseReport third;
    LoadThroughStore(third);
    EXPECT_EQ(TakeRequests().size(), 1u);
    for (const TDateTime day :
         {EncodeDate(2021, 2, 22) + 20.0 / 24, EncodeDate(2021, 2, 23) + 0.3}) {
        SetTime(day);
        TParseReport report;
        TPriceSeries series("AI.PA");
        FProvider.Load("AI.PA", IncMonth(Today(), -15), EncodeDate(2021, 2, 22), series, report);
        EXPECT_TRUE(TakeRequests().empty());
        EXPECT_EQ(report.Details(30),
                  Format("[Yahoo chart JSON] 0 ligne(s) retenue(s), 0 rejetee(s), 0 "
                         "avertissement(s)\r\nCotations en cache : %d seance(s) locales, 0 "
                         "telechargee(s)\r\n",
                         series.Count()));
    }
}

TEST_F(StoredQuoteProviderTest, AnEarlierStartAsksOnlyForTheDaysBefore) {
    TParseReport report;
    LoadThroughStore(report);
    TakeRequests();
    SetTime(EncodeDate(2021, 2, 22) + 19.0 / 24);
    TPriceSeries longer("AI.PA");
    FProvider.Load("AI.PA", EncodeDate(2019, 1, 2), Today(), longer, report);
    const std::vector<std::string> asked = TakeRequests();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], "AI.PA 02/01/2019 22/11/2019 200");
    TPriceSeries direct("AI.PA");
    TParseReport directReport;
    TYahooChartProvider().Load("AI.PA", EncodeDate(2019, 1, 2), Today(), direct, directReport);
    ExpectSameSeries(longer, direct);
}

// Prices of AI.PA multiplied by AFactor before ADay, as a split rewrites a history.
std::string SplitHistory(const std::string& ACsv, const std::string& ADay, double AFactor) {
    std::istringstream in(ACsv);
    std::string line, out;
    std::getline(in, line);
    out = line + "\n";
    while (std::getline(in, line)) {
        if (line.substr(0, 10) >= ADay) {
            out += line + "\n";
            continue;
        }
        std::istringstream cells(line);
        std::string cell, rewritten;
        for (int column = 0; std::getline(cells, cell, ','); ++column) {
            if (column >= 1 && column <= 5 && !cell.empty()) {
                cell = Format("%g", std::stod(cell) * AFactor);
            }
            rewritten += (column > 0 ? "," : "") + cell;
        }
        out += rewritten + "\n";
    }
    return out;
}

TEST_F(StoredQuoteProviderTest, ARevisedHistoryIsReplacedByAWholeDownload) {
    TParseReport report;
    LoadThroughStore(report);
    const std::string csv = ReadAll(FData.Path() / "AI.PA.csv");
    FData.Write("AI.PA.csv", SplitHistory(csv, "2021-02-19", 2.0));
    StartService();
    TakeRequests();

    TParseReport revised;
    const TPriceSeries series = LoadThroughStore(revised);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"AI.PA 15/02/2021 23/02/2021 200",
                                                        "AI.PA 22/11/2019 23/02/2021 200"}));
    ExpectSameSeries(series, LoadDirectly());
    TakeRequests();
    // What is stored is the revised history: the next load agrees with it.
    TParseReport next;
    ExpectSameSeries(LoadThroughStore(next), series);
    EXPECT_EQ(TakeRequests().size(), 1u);
}

TEST_F(StoredQuoteProviderTest, WithTheServiceDownTheStoredDaysStandIn) {
    TParseReport report;
    const TPriceSeries stored = LoadThroughStore(report);
    StopService();
    SetTime(EncodeDate(2021, 2, 23) + 10.0 / 24);

    TParseReport offline;
    TPriceSeries series("AI.PA");
    FProvider.Load("AI.PA", stored.First().Date, Today(), series, offline);
    ExpectSameSeries(series, stored);
    EXPECT_EQ(offline.Notes(),
              (std::vector<std::string>{
                  "Service de cotations injoignable : donnees en cache jusqu'au 22/02/2021",
                  Format("Cotations en cache : %d seance(s) locales, 0 telechargee(s)",
                         stored.Count())}));

    // Asked to judge today, stale data is refused.
    TStoredQuoteProvider scanner;
    scanner.SetFreshFrom(EncodeDate(2021, 2, 23));
    TPriceSeries today("AI.PA");
    TParseReport refused;
    try {
        scanner.Load("AI.PA", stored.First().Date, Today(), today, refused);
        ADD_FAILURE() << "stale data accepted";
    } catch (const EDataProviderError& e) {
        EXPECT_EQ(e.Message(), "donnees en cache du 22/02/2021, service injoignable");
    }
    // A symbol never stored still fails as the service does.
    TPriceSeries other("BNP.PA");
    EXPECT_THROW(FProvider.Load("BNP.PA", From(), Today(), other, refused), EServiceUnreachable);
}

TEST_F(StoredQuoteProviderTest, AnUnknownSymbolNeverFallsBackToTheStore) {
    TParseReport report;
    LoadThroughStore(report);
    std::filesystem::remove(FData.Path() / "AI.PA.csv");
    StartService();
    SetTime(EncodeDate(2021, 2, 23) + 10.0 / 24);
    TParseReport unknown;
    try {
        LoadThroughStore(unknown);
        ADD_FAILURE() << "stored data used for an unknown symbol";
    } catch (const EServiceUnreachable&) {
        ADD_FAILURE() << "a 404 is not an unreachable service";
    } catch (const EDataProviderError& e) {
        EXPECT_EQ(e.Message(), "Ressource introuvable (HTTP 404) : symbole ou URL errone");
    }
}

TEST_F(StoredQuoteProviderTest, ADamagedFileIsSetAsideAndRebuilt) {
    const std::string garbage(8192, 'x');
    std::ofstream(FStoreDir.Path() / "quotes.sqlite3", std::ios::binary) << garbage;
    TParseReport report;
    const TPriceSeries series = LoadThroughStore(report);
    ExpectSameSeries(series, LoadDirectly());
    ASSERT_EQ(report.Notes().size(), 2u);
    EXPECT_EQ(report.Notes()[0],
              "Cache des cotations endommage, renomme en quotes.sqlite3.corrompu-20210222 ; "
              "nouveau cache cree");
    EXPECT_EQ(ReadAll(FStoreDir.Path() / "quotes.sqlite3.corrompu-20210222"), garbage);
    TPriceStore store(FStoreDir.Path());
    EXPECT_EQ(store.Symbols().size(), 1u);
}

TEST_F(StoredQuoteProviderTest, AnUnusableFolderLeavesTheLoadAsWithoutAStore) {
    const auto file = FStoreDir.Write("plain-file", "x");
    TStoredQuoteProvider provider(file / "cotalys");
    TParseReport report;
    TPriceSeries series("AI.PA");
    provider.Load("AI.PA", From(), Today(), series, report);
    ExpectSameSeries(series, LoadDirectly());
    ASSERT_EQ(report.Notes().size(), 1u);
    EXPECT_TRUE(report.Notes()[0].starts_with("Cache des cotations indisponible : dossier "))
        << report.Notes()[0];
}

TEST_F(StoredQuoteProviderTest, ADiskFullWhileWritingLeavesTheStoreAsItWas) {
    { const TPriceStore create(FStoreDir.Path()); }
    TParseReport report;
    TPriceSeries series("AI.PA");
    {
        // Room for the journal's index, not for five years of bars.
        const FileSizeLimit full(40 * 1024);
        FProvider.Load("AI.PA", EncodeDate(2016, 2, 22), Today(), series, report);
    }
    ASSERT_FALSE(report.Notes().empty());
    EXPECT_TRUE(report.Notes()[0].starts_with(
        "Cache des cotations non mis a jour : ecriture du cache : erreur d'entree-sortie sur le "
        "disque"))
        << report.Notes()[0];
    EXPECT_GT(series.Count(), 1000);
    TPriceStore store(FStoreDir.Path());
    EXPECT_FALSE(store.Read("AI.PA").has_value());
}

}  // namespace
}  // namespace cotalys::test
