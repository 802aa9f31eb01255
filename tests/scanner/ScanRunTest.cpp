// Daily scans through the real quote-service provider against the offline quote service.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "scanner/Scanner.h"
#include "support/OfflineQuotes.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

const char* const kCsvHeader =
    "Statut;Symbole;Nom;Date;Cours;DateSignal;Note;Conditions;Zone;BorneBasse;BorneHaute;"
    "DistanceSupport;MargeResistance;Stop;Risque;GainRisque;EcartPlusHaut1an;RSI;MACD;"
    "Rendement12m;CritereSupport;CritereResistance;CritereMACD;CritereRendement;Quantite;Montant;"
    "PoidsCapital;PerteAuStop;LimiteTaille;VariationDepuisSignal;EtatSignal;Portefeuille;Erreur;"
    "PhaseCAC40;RSICAC40;EcartPlusHautCAC40";

struct TScan {
    std::vector<TScanRow> Rows;
    std::vector<std::string> Progress;
};

TScan RunScan(TDailyScanner& AScanner, const TCancelQuery& ACancel = nullptr) {
    TScan scan;
    AScanner.SetDelayMs(0);
    scan.Rows =
        AScanner.Run([&](const std::string& ALine) { scan.Progress.push_back(ALine); }, ACancel);
    return scan;
}

TEST(ScanRun, EvaluatesSortsSelectsAndWritesEveryRow) {
    const test::TOfflineQuotes quotes(
        {"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "MC.PA", "^FCHI"},
        {{"SHORT.PA.csv", test::TOfflineQuotes::LastSessions("AI.PA", 119)},
         {"EDGE.PA.csv", test::TOfflineQuotes::LastSessions("OR.PA", 120)}});
    TDailyScanner scanner(
        {"AI.PA", "SHORT.PA", "BNP.PA", "EDGE.PA", "OR.PA", "SAN.PA", "MC.PA", "NONE.PA"});
    const TScan scan = RunScan(scanner);

    ASSERT_FALSE(scan.Progress.empty());
    EXPECT_EQ(scan.Progress[0], scanner.Market().Summary() + " | " + scanner.Market().Advice());
    EXPECT_TRUE(scanner.Market().Valid) << scanner.Market().ErrorText;
    EXPECT_NE(std::find(scan.Progress.begin(), scan.Progress.end(),
                        "[2/8] SHORT.PA ignore : 119 seances seulement"),
              scan.Progress.end());

    ASSERT_EQ(scan.Rows.size(), 8u);
    std::vector<TScanRow> sorted = scan.Rows;
    TDailyScanner::SortRows(sorted);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(sorted[i].Symbol, scan.Rows[i].Symbol) << "rows come back sorted";
    }
    EXPECT_EQ(scan.Rows[6].Status, TScanStatus::ssError);
    EXPECT_EQ(scan.Rows[7].Status, TScanStatus::ssError);
    const auto edge = std::find_if(scan.Rows.begin(), scan.Rows.end(),
                                   [](const TScanRow& ARow) { return ARow.Symbol == "EDGE.PA"; });
    ASSERT_NE(edge, scan.Rows.end());
    EXPECT_NE(edge->Status, TScanStatus::ssError) << edge->ErrorText;
    EXPECT_EQ(edge->LastDate, EncodeDate(2021, 2, 22));
    for (const TScanRow& row : scan.Rows) {
        if (row.Status == TScanStatus::ssSignal || row.Status == TScanStatus::ssWatch) {
            const std::string tail = Format("] %s : %s", row.Symbol, row.StatusText());
            EXPECT_TRUE(
                std::any_of(scan.Progress.begin(), scan.Progress.end(),
                            [&](const std::string& ALine) { return ALine.ends_with(tail); }))
                << tail;
        } else {
            EXPECT_TRUE(row.SelectionNote.empty()) << row.Symbol;
        }
    }

    const std::string report = TDailyScanner::FormatReport(scan.Rows, scanner.Market());
    EXPECT_NE(report.find("Scanner du jour : 8 titre(s), donnees au 22/02/2021 | "),
              std::string::npos);
    // Errors have no distance: the symbol orders them.
    EXPECT_NE(report.find(" SHORT.PA (119 seances seulement)\r\n"), std::string::npos);
    EXPECT_NE(report.find("  Erreurs : NONE.PA ("), std::string::npos);

    ASSERT_FALSE(scanner.CsvFileName().empty());
    EXPECT_EQ(scanner.CsvFileName().parent_path(), quotes.Documents() / "Cotalys");
    EXPECT_EQ(scanner.CsvFileName().filename().string().rfind("scanner_20210222_", 0), 0u);
    const std::vector<std::string> lines = test::CsvLinesOf(scanner.CsvFileName());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], kCsvHeader);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> cells = test::CsvCellsOf(lines[i]);
        ASSERT_EQ(cells.size(), 36u) << lines[i];
        EXPECT_EQ(cells[0], scan.Rows[i - 1].StatusText());
        EXPECT_EQ(cells[1], scan.Rows[i - 1].Symbol);
        EXPECT_EQ(cells[31], scan.Rows[i - 1].SelectionNote);
        EXPECT_EQ(cells[33], scanner.Market().PhaseText());
    }
    EXPECT_EQ(test::CsvCellsOf(lines[8])[32], "119 seances seulement");
}

TEST(ScanRun, CancelledAfterTwoSymbolsStillSortsAndWrites) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "OR.PA", "^FCHI"});
    TDailyScanner scanner({"AI.PA", "BNP.PA", "OR.PA"});
    int queries = 0;
    const TScan scan = RunScan(scanner, [&] { return ++queries > 2; });
    EXPECT_EQ(queries, 3);
    ASSERT_EQ(scan.Rows.size(), 2u);
    EXPECT_EQ(test::CsvLinesOf(scanner.CsvFileName()).size(), 3u);
    EXPECT_TRUE(scanner.Interrupted());
    const std::string report = TDailyScanner::FormatReport(scan.Rows, true);
    EXPECT_TRUE(report.substr(0, report.find("\r\n")).ends_with(" (INTERROMPU)")) << report;

    // A second scan in the same minute writes beside the first one.
    const std::filesystem::path first = scanner.CsvFileName();
    RunScan(scanner);
    EXPECT_FALSE(scanner.Interrupted());
    EXPECT_EQ(scanner.CsvFileName().filename(), first.stem().string() + "_2.csv");
    EXPECT_EQ(test::CsvLinesOf(first).size(), 3u);
    EXPECT_EQ(test::CsvLinesOf(scanner.CsvFileName()).size(), 4u);
}

TEST(ScanRun, ACsvThatCannotBeWrittenSaysWhy) {
    const test::TOfflineQuotes quotes({"AI.PA", "^FCHI"});
    const test::TempDir folder;
    TDailyScanner scanner({"AI.PA"});
    // A folder that cannot be made: its parent is a file.
    scanner.SetOutputDir(folder.Write("file", "x") / "reports");
    const TScan scan = RunScan(scanner);
    ASSERT_EQ(scan.Rows.size(), 1u);
    EXPECT_TRUE(scanner.CsvFileName().empty());
    EXPECT_NE(scanner.CsvError().find("reports"), std::string::npos) << scanner.CsvError();
}

TEST(ScanRun, WithoutIndexEverySymbolIsStillEvaluated) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA"});
    TDailyScanner scanner({"AI.PA", "BNP.PA"});
    TSizingParams sizing = TSizingParams::Default();
    sizing.OnlyFavorablePhase = true;
    scanner.SetSizing(sizing);
    const TScan scan = RunScan(scanner);
    EXPECT_FALSE(scanner.Market().Valid);
    ASSERT_FALSE(scan.Progress.empty());
    EXPECT_EQ(scan.Progress[0].rfind("CAC 40 indisponible : ", 0), 0u) << scan.Progress[0];
    EXPECT_NE(scan.Progress[0].find(" | Phase inconnue : "), std::string::npos);
    ASSERT_EQ(scan.Rows.size(), 2u);
    for (const TScanRow& row : scan.Rows) {
        EXPECT_NE(row.Status, TScanStatus::ssError) << row.ErrorText;
        if (row.Status == TScanStatus::ssSignal) {
            EXPECT_TRUE(
                row.SelectionNote.ends_with(" (filtre de phase inactif : CAC 40 indisponible)"));
        }
    }
}

TEST(ScanRun, RefusesAnEmptyList) {
    try {
        TDailyScanner scanner({});
        ADD_FAILURE() << "no error";
    } catch (const EFinanceError& e) {
        EXPECT_EQ(e.Message(), "Scanner : liste de symboles vide");
    }
}

TEST(ScanEvaluate, RowsHoldTogether) {
    // Real histories: whatever the verdict, the row's figures agree with each other.
    const test::TOfflineQuotes quotes({"^FCHI"});
    const TDailyScanner scanner({"X"});
    for (const char* symbol : {"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "MC.PA", "RNO.PA"}) {
        TPriceSeries series(symbol);
        TParseReport report;
        TLocalFileProvider(test::DataPath(std::string("demo/") + symbol + ".csv").string())
            .Load(symbol, IncMonth(Today(), -15), Today(), series, report);
        const TScanRow row = scanner.Evaluate(series);
        EXPECT_EQ(row.LastClose, series.Last().Close);
        EXPECT_EQ(row.OkSupport, !std::isnan(row.DistSupportPct) && row.DistSupportPct <= 1.7);
        EXPECT_EQ(row.OkMargin, row.MarginResPct >= 5.0);
        EXPECT_EQ(row.OkMacd, row.Macd > 0);
        if (row.StopPrice > 0) {
            EXPECT_NEAR(row.RiskPct, (row.LastClose - row.StopPrice) / row.LastClose * 100, 1e-9);
        } else {
            EXPECT_TRUE(std::isnan(row.RiskPct));
            EXPECT_FALSE(row.Size.Valid);
        }
        if (row.Status == TScanStatus::ssSignal) {
            EXPECT_LE(row.SignalAge, 2) << symbol;
            EXPECT_EQ(row.Invalidated, row.ZoneBottom >= row.LastClose);
        } else {
            EXPECT_EQ(row.Status == TScanStatus::ssWatch,
                      !std::isnan(row.DistSupportPct) && row.DistSupportPct <= 1.7)
                << symbol;
            EXPECT_TRUE(std::isnan(row.ChangeSinceSignalPct));
        }
    }
}

}  // namespace
}  // namespace cotalys
