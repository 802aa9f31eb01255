// Backtests through the real quote-service provider against the offline quote service.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backtest/Backtest.h"
#include "support/OfflineQuotes.h"

namespace cotalys {
namespace {

const char* const kCsvHeader =
    "Symbole;Reglage;Date;Note;Zone;Cours;RSI;Conditions;MarcheMM50;MargeResistance;Risque;"
    "GainRisque;EcartPlusHaut1an;Perf10;Perf20;BaisseMax20;Stop;StopTouche;SeancesAvantStop;"
    "Perf20AvecStop";

struct TRun {
    std::string Report;
    std::vector<std::string> Progress;
};

TRun RunBacktest(TBacktestRunner& ARunner, const TCancelQuery& ACancel = nullptr) {
    TRun run;
    ARunner.SetDelayMs(0);
    run.Report =
        ARunner.Run([&](const std::string& ALine) { run.Progress.push_back(ALine); }, ACancel);
    return run;
}

TEST(BacktestRun, ReportsEverySectionAndWritesTheDetailFile) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "OR.PA", "^FCHI"});
    TBacktestRunner runner({"AI.PA", "BNP.PA", "OR.PA"}, StandardVariants());
    const TRun run = RunBacktest(runner);

    ASSERT_EQ(run.Progress.size(), 4u);
    EXPECT_EQ(run.Progress[0].rfind("Indice ^FCHI : ", 0), 0u) << run.Progress[0];
    EXPECT_NE(run.Progress[0].find(" % du temps sur la periode"), std::string::npos);
    EXPECT_EQ(run.Progress[1].rfind("[1/3] AI.PA : ", 0), 0u) << run.Progress[1];
    EXPECT_EQ(run.Progress[3].rfind("[3/3] OR.PA : ", 0), 0u) << run.Progress[3];

    test::ExpectInOrder(
        run.Report,
        {"Backtest sur 3 titre(s) analyse(s) sur 3, 1 an(s) : 22/02/2020 - 22/02/2021, stop par "
         "defaut = borne basse - 1,5 ATR en seance\r\n",
         StatsHeader() + "\r\n", "  RSI obligatoire (defaut)", "  RSI oblig. + marche > MM50",
         "  Reference : chaque seance",
         "\r\nEcart a la reference (IC 95 %, reechantillonnage par mois)\r\n",
         "  RSI obligatoire (defaut)", "Comparaison des stops (signaux du reglage ",
         "Resultats par gain/risque au jour du signal", "Achat differe (reglage ",
         "  Achat a J+2, rebond tenu", "Resultat net de frais a 20 seances", "  Forfait  ",
         "  Brut avant frais : ", "\r\n\r\nResultats par ecart au plus haut sur un an",
         "Par annee (signaux dates de l'annee, resultat sans stop)\r\n", "  2020   ",
         "  2021   Reference", "  Detail des signaux : "});
    EXPECT_EQ(run.Report.find("indice indisponible"), std::string::npos);
    EXPECT_EQ(run.Report.find("Titres ignores"), std::string::npos);

    ASSERT_FALSE(runner.CsvFileName().empty());
    EXPECT_TRUE(run.Report.ends_with("  Detail des signaux : " + runner.CsvFileName().string()));
    EXPECT_EQ(runner.CsvFileName().parent_path(), quotes.Documents() / "Cotalys");
    EXPECT_EQ(runner.CsvFileName().filename().string().rfind("backtest_1ans_20210222_", 0), 0u);
    const std::vector<std::string> lines = test::CsvLinesOf(runner.CsvFileName());
    ASSERT_GT(lines.size(), 1u);
    EXPECT_EQ(lines[0], kCsvHeader);
    for (const std::string& line : lines) {
        EXPECT_EQ(test::CsvCellsOf(line).size(), 20u) << line;
    }
    // Beside it, each setting's difference to the reference.
    std::string confidenceName = runner.CsvFileName().stem().string() + "_confiance.csv";
    EXPECT_EQ(runner.ConfidenceFileName(), runner.CsvFileName().parent_path() / confidenceName);
    const std::vector<std::string> confidence = test::CsvLinesOf(runner.ConfidenceFileName());
    ASSERT_EQ(confidence.size(), 1 + StandardVariants().size());
    EXPECT_EQ(confidence[0].rfind("Reglage;Signaux;Mois;Ecart 20 s. %;", 0), 0u);
    EXPECT_EQ(confidence[1].rfind("RSI obligatoire (defaut);", 0), 0u) << confidence[1];
    EXPECT_EQ(test::CsvCellsOf(confidence[1]).size(), 10u);
    // Symbols in run order, settings in their order within a symbol.
    EXPECT_EQ(lines[1].rfind("AI.PA;RSI obligatoire (defaut);", 0), 0u) << lines[1];

    // A second run in the same minute writes both files beside the first ones.
    const std::string stem = runner.CsvFileName().stem().string();
    RunBacktest(runner);
    EXPECT_EQ(runner.CsvFileName().filename(), stem + "_2.csv");
    EXPECT_EQ(runner.ConfidenceFileName().filename(), stem + "_2_confiance.csv");
    EXPECT_EQ(test::CsvLinesOf(runner.CsvFileName().parent_path() / (stem + ".csv")), lines);
}

TEST(BacktestRun, CancelledAfterTwoSymbolsReportsWhatWasDone) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "^FCHI"});
    TBacktestRunner runner({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA"}, StandardVariants());
    int queries = 0;
    const TRun run = RunBacktest(runner, [&] { return ++queries > 2; });
    EXPECT_EQ(queries, 3);
    EXPECT_EQ(run.Report.substr(0, run.Report.find("\r\n")),
              "Backtest sur 2 titre(s) analyse(s) sur 4, 1 an(s) : 22/02/2020 - 22/02/2021, stop "
              "par defaut = borne basse - 1,5 ATR en seance (INTERROMPU)");
    ASSERT_FALSE(runner.CsvFileName().empty());
    for (const std::string& line : test::CsvLinesOf(runner.CsvFileName())) {
        EXPECT_TRUE(line.rfind("OR.PA;", 0) != 0 && line.rfind("SAN.PA;", 0) != 0) << line;
    }
}

TEST(BacktestRun, WithoutIndexTheMarketSettingsAreSkipped) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA"});
    TBacktestRunner runner({"AI.PA", "BNP.PA"}, StandardVariants());
    const TRun run = RunBacktest(runner);
    ASSERT_FALSE(run.Progress.empty());
    EXPECT_EQ(run.Progress[0].rfind("Indice ^FCHI indisponible, filtre de marche ignore : ", 0), 0u)
        << run.Progress[0];
    for (const char* name : {"RSI oblig. + marche > MM50", "RSI oblig. + phase CAC favorable"}) {
        EXPECT_NE(run.Report.find(Format("  %-28s indice indisponible\r\n", name)),
                  std::string::npos);
    }
    const std::vector<std::string> lines = test::CsvLinesOf(runner.CsvFileName());
    ASSERT_GT(lines.size(), 1u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> cells = test::CsvCellsOf(lines[i]);
        EXPECT_NE(cells[1], "RSI oblig. + marche > MM50");
        EXPECT_NE(cells[1], "RSI oblig. + phase CAC favorable");
        EXPECT_EQ(cells[8], "non") << lines[i];
    }
}

TEST(BacktestRun, ShortHistoriesAndUnknownSymbolsAreSkipped) {
    const test::TOfflineQuotes quotes(
        {"^FCHI"}, {{"SHORT.PA.csv", test::TOfflineQuotes::LastSessions("AI.PA", 119)},
                    {"EDGE.PA.csv", test::TOfflineQuotes::LastSessions("OR.PA", 120)}});
    TBacktestRunner runner({"SHORT.PA", "EDGE.PA", "NONE.PA"}, StandardVariants());
    runner.SetYears(12);
    const TRun run = RunBacktest(runner);
    EXPECT_EQ(runner.Years(), TBacktestRunner::MaxYears);
    ASSERT_EQ(run.Progress.size(), 4u);
    EXPECT_EQ(run.Progress[1], "[1/3] SHORT.PA ignore : 119 seances seulement");
    EXPECT_EQ(run.Progress[2].rfind("[2/3] EDGE.PA : ", 0), 0u) << run.Progress[2];
    EXPECT_EQ(run.Progress[3].rfind("[3/3] NONE.PA ignore : ", 0), 0u) << run.Progress[3];
    ASSERT_EQ(runner.Failed().size(), 2u);
    EXPECT_EQ(runner.Failed()[0], "SHORT.PA : 119 seances seulement");
    EXPECT_NE(run.Report.find("Backtest sur 1 titre(s) analyse(s) sur 3, 10 an(s) : 22/02/2011"),
              std::string::npos);
    EXPECT_NE(run.Report.find("\r\n  Titres ignores (2) : SHORT.PA : 119 seances seulement | "
                              "NONE.PA : "),
              std::string::npos);
    EXPECT_EQ(runner.CsvFileName().filename().string().rfind("backtest_10ans_", 0), 0u);
}

TEST(BacktestRun, AnUnwritableFolderIsReportedNotThrown) {
    const test::TOfflineQuotes quotes({"AI.PA"});
    // A file where the report folder should be.
    test::TempDir documents;
    documents.Write("Cotalys", "not a folder");
    setenv("COTALYS_DOCUMENTS_DIR", documents.Path().c_str(), 1);
    TBacktestRunner runner({"AI.PA"}, StandardVariants());
    const TRun run = RunBacktest(runner);
    EXPECT_TRUE(runner.CsvFileName().empty());
    const std::string last = run.Report.substr(run.Report.rfind("\r\n") + 2);
    EXPECT_EQ(last.rfind("  CSV non ecrit : ", 0), 0u) << last;
}

TEST(BacktestRun, ALostConfidenceFileIsSaidBeforeTheDetailLine) {
    const test::TOfflineQuotes quotes({"AI.PA"});
    test::TempDir output;
    // The confidence file's name leads under a plain file, where no folder can be made.
    const std::filesystem::path confidence =
        output.Path() / "backtest_1ans_20210222_1800_confiance.csv";
    std::filesystem::create_symlink(output.Write("plain", "x") / "confiance.csv", confidence);
    TBacktestRunner runner({"AI.PA"}, StandardVariants());
    runner.SetOutputDir(output.Path());
    const TRun run = RunBacktest(runner);
    EXPECT_TRUE(runner.ConfidenceFileName().empty());
    ASSERT_EQ(runner.CsvFileName(), output.Path() / "backtest_1ans_20210222_1800.csv");
    EXPECT_TRUE(run.Report.ends_with(
        "\r\n  CSV de confiance non ecrit : Impossible d'ecrire le "
        "fichier " +
        confidence.string() +
        " : Not a directory\r\n  Detail des signaux : " + runner.CsvFileName().string()))
        << run.Report.substr(run.Report.size() - 300);
}

}  // namespace
}  // namespace cotalys
