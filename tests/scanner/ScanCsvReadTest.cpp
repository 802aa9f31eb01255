// A scanner CSV read back: the file a scan wrote, written again from what was read, is the same
// file; hand-made files show the cells the writer protects and the files that are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "scanner/Scanner.h"
#include "support/OfflineQuotes.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

TEST(ScanCsvRead, AScanFileReadsBackToTheSameFile) {
    const test::TOfflineQuotes quotes(
        {"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "MC.PA", "^FCHI"},
        {{"SHORT.PA.csv", test::TOfflineQuotes::LastSessions("AI.PA", 119)}});
    TDailyScanner scanner({"AI.PA", "SHORT.PA", "BNP.PA", "OR.PA", "SAN.PA", "MC.PA", "NONE.PA"});
    scanner.SetDelayMs(0);
    const std::vector<TScanRow> rows = scanner.Run(nullptr, nullptr);
    ASSERT_FALSE(scanner.CsvFileName().empty()) << scanner.CsvError();

    const std::vector<TScanRow> read = ReadScanCsv(scanner.CsvFileName());
    ASSERT_EQ(read.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(read[i].Symbol, rows[i].Symbol);
        EXPECT_EQ(read[i].Status, rows[i].Status) << rows[i].Symbol;
        EXPECT_EQ(read[i].SignalAge, rows[i].SignalAge) << rows[i].Symbol;
        EXPECT_EQ(read[i].Selected, rows[i].Selected) << rows[i].Symbol;
        EXPECT_EQ(read[i].Size.Valid, rows[i].Size.Valid) << rows[i].Symbol;
        EXPECT_EQ(read[i].Size.Shares, rows[i].Size.Shares) << rows[i].Symbol;
        EXPECT_EQ(read[i].ErrorText, rows[i].ErrorText) << rows[i].Symbol;
    }
    EXPECT_TRUE(std::any_of(read.begin(), read.end(),
                            [](const TScanRow& R) { return R.Status == TScanStatus::ssError; }));

    const test::TempDir folder;
    TDailyScanner::SaveCsv(read, scanner.Market(), folder.Path() / "again.csv");
    EXPECT_EQ(test::ReadAll(folder.Path() / "again.csv"), test::ReadAll(scanner.CsvFileName()));
}

// A header, and a line of cells by column; the cells not given are empty.
std::string ScanFile(const std::vector<std::pair<std::string, std::string>>& ACells) {
    const std::string header =
        "Statut;Symbole;Nom;Date;Cours;DateSignal;Note;Conditions;Zone;BorneBasse;BorneHaute;"
        "DistanceSupport;MargeResistance;Stop;Risque;GainRisque;EcartPlusHaut1an;RSI;MACD;"
        "Rendement12m;CritereSupport;CritereResistance;CritereMACD;CritereRendement;Quantite;"
        "Montant;PoidsCapital;PerteAuStop;LimiteTaille;VariationDepuisSignal;EtatSignal;"
        "Portefeuille;Erreur;PhaseCAC40;RSICAC40;EcartPlusHautCAC40";
    std::vector<std::string> columns(1);
    for (const char c : header) {
        c == ';' ? columns.emplace_back() : (columns.back() += c, columns.back());
    }
    std::string line;
    for (const std::string& column : columns) {
        const auto cell = std::find_if(ACells.begin(), ACells.end(),
                                       [&](const auto& ACell) { return ACell.first == column; });
        line += (line.empty() && column == columns.front() ? "" : ";") +
                (cell != ACells.end() ? cell->second : std::string());
    }
    return "\xEF\xBB\xBF" + header + "\r\n" + line + "\r\n";
}

TEST(ScanCsvRead, QuotedAndProtectedCellsComeBackAsWritten) {
    const test::TempDir folder;
    const auto file = folder.Write(
        "scanner_20210222_1800.csv",
        ScanFile({{"Statut", "SIGNAL J-2"},
                  {"Symbole", "'=X.PA"},
                  {"Nom", "\"Societe \"\"A\"\"; B\""},
                  {"Date", "22/02/2021"},
                  {"Cours", "-1234,5"},
                  {"Note", "4"},
                  {"DistanceSupport", "0,25"},
                  {"CritereMACD", "oui"},
                  {"Quantite", "30"},
                  {"Montant", "1500,00"},
                  {"LimiteTaille", "risque"},
                  {"EtatSignal", "repasse sous la zone"},
                  {"Portefeuille", "retenu, reduit de 40 a 30 titres (budget restant)"},
                  {"Erreur", "\"ligne 1\r\nligne 2\""}}));
    const std::vector<TScanRow> rows = ReadScanCsv(file);
    ASSERT_EQ(rows.size(), 1u);
    const TScanRow& row = rows.front();
    EXPECT_EQ(row.Status, TScanStatus::ssSignal);
    EXPECT_EQ(row.SignalAge, 2);
    EXPECT_EQ(row.Symbol, "=X.PA");
    EXPECT_EQ(row.Name, "Societe \"A\"; B");
    EXPECT_EQ(row.LastDate, EncodeDate(2021, 2, 22));
    EXPECT_EQ(row.LastClose, -1234.5);
    EXPECT_EQ(row.Score, 4);
    EXPECT_EQ(row.DistSupportPct, 0.25);
    EXPECT_TRUE(std::isnan(row.MarginResPct));
    EXPECT_TRUE(row.OkMacd);
    // An empty margin that met its criterion: no resistance above.
    const auto open =
        folder.Write("scanner_20210222_1801.csv", ScanFile({{"CritereResistance", "oui"}}));
    EXPECT_EQ(ReadScanCsv(open).front().MarginResPct, std::numeric_limits<double>::infinity());
    EXPECT_FALSE(row.OkSupport);
    EXPECT_TRUE(row.Size.Valid);
    EXPECT_EQ(row.Size.Shares, 30);
    EXPECT_EQ(row.Size.Amount, 1500.0);
    EXPECT_TRUE(row.Invalidated);
    EXPECT_TRUE(row.Selected);
    EXPECT_EQ(row.ErrorText, "ligne 1\r\nligne 2");
}

TEST(ScanCsvRead, FilesThatAreNotScannerCsvAreRefusedWithTheLine) {
    const test::TempDir folder;
    const struct {
        const char* Case;
        std::string Content;
        std::string Message;
    } cases[] = {
        {"price file", "Date;Open;High\r\n", "ne commence pas par l'en-tete du scanner"},
        {"empty file", "", "ne commence pas par l'en-tete du scanner"},
        {"unknown status", ScanFile({{"Statut", "ACHAT"}}), "ligne 2 : statut inconnu : ACHAT"},
        {"signal age", ScanFile({{"Statut", "SIGNAL J-x"}}), "statut inconnu : SIGNAL J-x"},
        {"number", ScanFile({{"Cours", "12,5,3"}}),
         "ligne 2 : nombre invalide dans Cours : 12,5,3"},
        {"infinite number", ScanFile({{"RSI", "inf"}}), "nombre invalide dans RSI : inf"},
        {"whole number", ScanFile({{"Note", "2,5"}}), "entier invalide dans Note : 2,5"},
        {"date", ScanFile({{"Date", "30/02/2021"}}), "date invalide dans Date : 30/02/2021"},
        {"size limit", ScanFile({{"Quantite", "10"}, {"LimiteTaille", "???"}}),
         "limite de taille inconnue : ???"},
        {"short line", "Statut;Symbole\r\nSIGNAL\r\n", "ligne 2 : 1 cellules au lieu de 2"},
        {"missing column", "Statut;Symbole\r\nSIGNAL;AI.PA\r\n", "colonne Nom absente"},
    };
    for (const auto& c : cases) {
        const auto file = folder.Write("scanner.csv", c.Content);
        try {
            ReadScanCsv(file);
            ADD_FAILURE() << c.Case << ": read";
        } catch (const EFinanceError& e) {
            EXPECT_NE(e.Message().find(c.Message), std::string::npos)
                << c.Case << ": " << e.Message();
            EXPECT_EQ(e.Message().rfind("Fichier du scanner illisible : " + file.string(), 0), 0u)
                << c.Case;
        }
    }
    EXPECT_THROW(ReadScanCsv(folder.Path()), EFinanceError);
}

TEST(ScanCsvRead, TheLatestScanFileIsTheOneWithTheLatestTime) {
    const test::TempDir folder;
    EXPECT_EQ(LatestScanCsv(folder.Path()), std::filesystem::path());
    EXPECT_EQ(LatestScanCsv(folder.Path() / "absent"), std::filesystem::path());
    for (const char* name :
         {"scanner_20210222_1800.csv", "scanner_20210223_0900.csv", "scanner_20210222_1800_2.csv",
          "backtest_1ans_20210224_1000.csv", "scanner_20210224_1000.txt"}) {
        folder.Write(name, "");
    }
    std::filesystem::create_directory(folder.Path() / "scanner_20991231_2359.csv");
    EXPECT_EQ(LatestScanCsv(folder.Path()), folder.Path() / "scanner_20210223_0900.csv");
}

}  // namespace
}  // namespace cotalys
