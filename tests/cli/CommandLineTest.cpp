// The program run as a separate process, one per case, against the offline quote service.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "notify/NotificationServer.h"
#include "notify/Notify.h"
#include "providers/Providers.h"
#include "scanner/Scanner.h"
#include "sizing/PositionSizing.h"
#include "support/OfflineQuotes.h"

namespace cotalys {
namespace {

struct TProcessResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// Environment variables of the program, a null value leaving a variable out.
using TEnvironment = std::vector<std::pair<const char*, const char*>>;

// In a child process: the program with AArgs and the changes of AEnvironment; never returns.
[[noreturn]] void ExecProgram(const std::vector<std::string>& AArgs,
                              const TEnvironment& AEnvironment) {
    for (const auto& [name, value] : AEnvironment) {
        if (value == nullptr) {
            unsetenv(name);
        } else {
            setenv(name, value, 1);
        }
    }
    std::vector<std::string> args = {COTALYS_EXECUTABLE};
    args.insert(args.end(), AArgs.begin(), AArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

// Starts the program with AArgs, its output and errors going to files of AFolder.
pid_t Start(const std::vector<std::string>& AArgs, const test::TempDir& AFolder,
            const TEnvironment& AEnvironment = {}) {
    const std::string out = (AFolder.Path() / "out.txt").string();
    const std::string err = (AFolder.Path() / "err.txt").string();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        ExecProgram(AArgs, AEnvironment);
    }
    return pid;
}

TProcessResult Finish(pid_t APid, const test::TempDir& AFolder) {
    TProcessResult result;
    int status = 0;
    waitpid(APid, &status, 0);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = test::ReadAll(AFolder.Path() / "out.txt");
    result.Err = test::ReadAll(AFolder.Path() / "err.txt");
    return result;
}

TProcessResult RunProgram(const std::vector<std::string>& AArgs,
                          const TEnvironment& AEnvironment = {}) {
    const test::TempDir folder;
    return Finish(Start(AArgs, folder, AEnvironment), folder);
}

// The common options that aim the program at the test's quote service and day.
std::vector<std::string> Offline(std::vector<std::string> AArgs) {
    for (const char* option : {"--as-of", "2021-02-22", "--delay-ms", "0", "--quote-host"}) {
        AArgs.emplace_back(option);
    }
    AArgs.push_back(QuoteHost());
    return AArgs;
}

TEST(CommandLine, HelpListsTheSubcommands) {
    const TProcessResult result = RunProgram({"--help"});
    EXPECT_EQ(result.ExitCode, 0);
    for (const char* name :
         {"analyse", "scan", "backtest", "serve-quotes", "--as-of", "--quote-host", "--delay-ms"}) {
        EXPECT_NE(result.Out.find(name), std::string::npos) << name;
    }
}

TEST(CommandLine, EveryHelpIsInFrenchAndSaysWhatTheCommandNeedsAndLeaves) {
    const std::vector<std::vector<std::string>> helps = {{"--help"},
                                                         {"analyse", "--help"},
                                                         {"scan", "--help"},
                                                         {"backtest", "--help"},
                                                         {"serve-quotes", "--help"},
                                                         {"store", "--help"},
                                                         {"store", "import", "--help"},
                                                         {"positions", "--help"},
                                                         {"positions", "add", "--help"}};
    for (const auto& args : helps) {
        const TProcessResult result = RunProgram(args);
        SCOPED_TRACE(args[0]);
        EXPECT_EQ(result.ExitCode, 0);
        for (const char* english : {"Usage", "Print", "help message", "Positionals", "Subcommands",
                                    "REQUIRED", "TEXT", "INT", "Needs", "SUBCOMMAND", "Display"}) {
            EXPECT_EQ(result.Out.find(english), std::string::npos) << english;
        }
        test::ExpectInOrder(result.Out,
                            {"Utilisation : cotalys", "Variables d'environnement :\n",
                             "COTALYS_QUOTE_HOST", "COTALYS_DOCUMENTS_DIR", "COTALYS_CA_BUNDLE",
                             "Fichiers :\n", "Codes de sortie :\n", "2 ", "arguments invalides"});
        if (args.size() > 1) {
            test::ExpectInOrder(result.Out, {"Options globales", "--as-of AAAA-MM-JJ",
                                             "--quote-host", "--delay-ms", "--no-store"});
        }
    }
    for (const char* command : {"scan", "backtest"}) {
        test::ExpectInOrder(RunProgram({command, "--help"}).Out,
                            {"--output-dir DOSSIER", "(ecrit", "130 "});
    }
    const TProcessResult version = RunProgram({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out.rfind("Cotalys ", 0), 0u) << version.Out;
}

TEST(CommandLine, BadArgumentsExitWithCodeTwoAndAFrenchMessage) {
    const struct {
        std::vector<std::string> Args;
        const char* Message;
    } cases[] = {
        {{"backtest", "--years", "4"},
         "Arguments invalides : --years : 4 n'est pas parmi {1,2,3,5,10}\n"},
        {{"backtest", "--capital", "-5"},
         "Arguments invalides : --capital : -5 n'est pas un montant positif en EUR\n"},
        {{"scan", "--capital", "beaucoup"},
         "Arguments invalides : --capital : beaucoup n'est pas un montant positif en EUR\n"},
        {{"backtest", "--years", "abc"},
         "Arguments invalides : valeur non reconnue pour --years : abc\n"},
        {{"--as-of", "2021-02-30", "scan"}, "Date invalide pour --as-of : 2021-02-30"},
        {{"scan", "--as-of", "22/02/2021"}, "Date invalide pour --as-of : 22/02/2021"},
        {{"scan", "--as-of"}, "Arguments invalides : valeur manquante apres --as-of\n"},
        {{"analyse"}, "Arguments invalides : SYMBOLE manquant\n"},
        {{"analyse", "AI.PA", "--source", "html"}, "Indiquer l'URL de la page HTML"},
        {{"analyse", "AI.PA", "--source", "file"}, "Choisir un fichier local"},
        {{"analyse", "AI.PA", "--source", "ftp"},
         "Arguments invalides : --source : ftp n'est pas parmi {yahoo,html,file}\n"},
        {{"analyse", "AI.PA", "--size", "0x500"},
         "Arguments invalides : --size : Taille attendue LARGEURxHAUTEUR (1 a 10000 pixels) : "
         "0x500\n"},
        {{"analyse", "AI.PA", "--size", "800"}, "Arguments invalides : --size : "},
        {{"analyse", "AI.PA", "--from", "2021-01-04"},
         "Arguments invalides : --from demande --png\n"},
        {{"analyse", "AI.PA", "--png", "x.png", "--from", "04/01/2021"},
         "Date invalide pour --from : 04/01/2021 (attendu AAAA-MM-JJ)\n"},
        {{"scan", "--symbols", "/nonexistent/cac40.txt"},
         "Fichier de symboles introuvable : /nonexistent/cac40.txt"},
        {{"scan", "--delay-ms", "abc"},
         "Arguments invalides : valeur non reconnue pour --delay-ms : abc\n"},
        {{"serve-quotes", "--data", "x", "--port", "65536"},
         "Arguments invalides : --port : 65536 hors de l'intervalle 0 a 65535\n"},
        {{"serve-quotes"}, "Arguments invalides : --data manquant\n"},
        {{"store"}, "Arguments invalides : sous-commande manquante\n"},
        {{"frobnicate", "--x"}, "Arguments invalides : argument(s) inattendu(s) : "},
        {{"--as-of", "2021-02-22"}, "Sous-commande manquante"},
    };
    for (const auto& c : cases) {
        const TProcessResult result = RunProgram(c.Args);
        EXPECT_EQ(result.ExitCode, 2) << c.Args[0] << " " << result.Err;
        EXPECT_EQ(result.Err.rfind(c.Message, 0), 0u) << result.Err;
        EXPECT_TRUE(result.Out.empty()) << result.Out;
    }
}

TEST(CommandLine, AnalysePrintsTheReviewInOrder) {
    const test::TOfflineQuotes quotes({"AI.PA", "^FCHI"});
    const TProcessResult result = RunProgram(Offline({"analyse", " ai.pa "}));
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    test::ExpectInOrder(
        result.Out,
        {"Chargement AI.PA via Yahoo Finance (JSON) (22/11/2019 -> 22/02/2021)\r\n",
         "[Yahoo chart JSON] 320 ligne(s) retenue(s), 0 rejetee(s), 0 avertissement(s)\r\n",
         "AI.PA au 22/02/2021 : cloture 131,20 | MACD(12,26,9)", "\r\nZones (ATR ",
         "\r\nFiltre : ", " => criteres techniques non reunis\r\n",
         "Signaux d'entree AI.PA sur la periode affichee : ",
         "Comparaison des reglages du signal (AI.PA, periode affichee, ",
         "  RSI oblig. + marche > MM50    ", "Comparaison des stops (", "(au moins 10).\r\n"});
    EXPECT_EQ(result.Out.find("indisponible"), std::string::npos);
    EXPECT_EQ(result.Out.find("Note : historique plus court"), std::string::npos);
}

TEST(CommandLine, AnalyseExportsTheChartAsPng) {
    const test::TOfflineQuotes quotes({"AI.PA", "^FCHI"});
    const test::TempDir folder;
    const std::string png = (folder.Path() / "ai.png").string();
    const TProcessResult result = RunProgram(Offline({"analyse", "AI.PA", "--png", png}));
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    const std::string bytes = test::ReadAll(png);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    // IHDR: width and height (big-endian), 8 bits, colour type 2 (RGB without alpha).
    EXPECT_EQ(bytes.substr(16, 10), std::string("\0\0\x06\x40\0\0\x03\xe8\x08\x02", 10));

    const std::string small = (folder.Path() / "small.png").string();
    const TProcessResult sized =
        RunProgram(Offline({"analyse", "AI.PA", "--png", small, "--size", "800x500"}));
    EXPECT_EQ(sized.ExitCode, 0) << sized.Err;
    EXPECT_EQ(test::ReadAll(small).substr(16, 8), std::string("\0\0\x03\x20\0\0\x01\xf4", 8));
}

// --from: the chart from that day, from the first loaded session for an earlier day, none for a
// day after the last session.
TEST(CommandLine, AnalyseExportsTheChartFromADay) {
    const test::TOfflineQuotes quotes({"AI.PA", "^FCHI"});
    const test::TempDir folder;
    const auto exportFrom = [&](const std::string& AName, const std::string& AFrom) {
        const std::string png = (folder.Path() / AName).string();
        std::vector<std::string> args = {"analyse", "AI.PA", "--png", png};
        if (!AFrom.empty()) {
            args.insert(args.end(), {"--from", AFrom});
        }
        return RunProgram(Offline(args));
    };
    ASSERT_EQ(exportFrom("year.png", "").ExitCode, 0);
    const TProcessResult month = exportFrom("month.png", "2021-01-25");
    EXPECT_EQ(month.ExitCode, 0) << month.Err;
    EXPECT_NE(test::ReadAll(folder.Path() / "month.png"),
              test::ReadAll(folder.Path() / "year.png"));

    const TProcessResult early = exportFrom("early.png", "2010-01-04");
    EXPECT_EQ(early.ExitCode, 0) << early.Err;
    EXPECT_NE(early.Err.find("Graphique a partir de la premiere seance chargee, le 22/11/2019"),
              std::string::npos)
        << early.Err;

    const TProcessResult late = exportFrom("late.png", "2021-03-01");
    EXPECT_EQ(late.ExitCode, 1);
    EXPECT_NE(late.Err.find("Aucune seance a partir du 01/03/2021"), std::string::npos) << late.Err;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "late.png"));
}

// backtest --png: the run's picture, or a line saying why there is none.
TEST(CommandLine, BacktestWritesItsPictureAsA1600By1000RgbPng) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "^FCHI"});
    const test::TempDir folder;
    const struct {
        const char* Symbols;
        int ExitCode;
        const char* Line;
    } cases[] = {{"AI.PA\nBNP.PA\n", 0, "Graphique du backtest exporte : "},
                 {"NONE.PA\n", 1, "Graphique du backtest non exporte : aucun titre analyse\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Symbols);
        const std::string png = (folder.Path() / "backtest.png").string();
        const std::string portfolio = (folder.Path() / "backtest_portefeuille.png").string();
        std::filesystem::remove(png);
        std::filesystem::remove(portfolio);
        const TProcessResult result =
            RunProgram(Offline({"backtest", "--years", "1", "--symbols",
                                folder.Write("symbols.txt", c.Symbols).string(), "--png", png}));
        EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Err;
        EXPECT_NE(result.Err.find(c.Line), std::string::npos) << result.Err;
        if (c.ExitCode != 0) {
            EXPECT_FALSE(std::filesystem::exists(png));
            EXPECT_FALSE(std::filesystem::exists(portfolio));
            continue;
        }
        EXPECT_NE(result.Err.find(c.Line + png + "\n"), std::string::npos) << result.Err;
        EXPECT_NE(result.Err.find("Graphique du portefeuille exporte : " + portfolio + "\n"),
                  std::string::npos)
            << result.Err;
        for (const std::string& file : {png, portfolio}) {
            const std::string bytes = test::ReadAll(file);
            ASSERT_GT(bytes.size(), 26u);
            EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
            // IHDR: width and height (big-endian), 8 bits, colour type 2 (RGB without alpha).
            EXPECT_EQ(bytes.substr(16, 10), std::string("\0\0\x06\x40\0\0\x03\xe8\x08\x02", 10));
        }
    }
}

TEST(CommandLine, AnalyseOfALocalFileWithoutIndex) {
    const test::TOfflineQuotes quotes({"AI.PA"});
    const std::string file = test::DataPath("demo/OR.PA.csv").string();
    const TProcessResult result =
        RunProgram(Offline({"analyse", "OR.PA", "--source", "file", "--location", file}));
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    test::ExpectInOrder(
        result.Out,
        {"Chargement OR.PA via Fichier OR.PA.csv (22/11/2019 -> 22/02/2021)\r\n",
         "Indice ^FCHI indisponible, filtre de marche ignore : ", "Signaux d'entree OR.PA",
         "  RSI oblig. + marche > MM50   indice de marche indisponible"});
}

TEST(CommandLine, AnalyseFailuresExitWithCodeOne) {
    const test::TOfflineQuotes quotes(
        {"^FCHI"}, {{"TINY.PA.csv", test::TOfflineQuotes::LastSessions("AI.PA", 59)}});
    TProcessResult result = RunProgram(Offline({"analyse", "NONE.PA"}));
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err.rfind("Erreur de source : ", 0), 0u) << result.Err;
    result = RunProgram(Offline({"analyse", "TINY.PA"}));
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err,
              "Calcul des indicateurs : Historique trop court : 59 seances (minimum 60)\n");
}

TEST(CommandLine, ScanReadsTheSymbolFileAndWritesItsCsv) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "^FCHI"});
    const test::TempDir folder;
    const auto symbols = folder.Write(
        "cac40.txt", "# mes valeurs\r\n\r\n ai.pa ; Air Liquide\r\nAI.PA\r\nBNP.PA\r\n");
    const TProcessResult result = RunProgram(Offline({"scan", "--symbols", symbols.string()}));
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    test::ExpectInOrder(result.Err,
                        {"2 symbole(s) lus dans " + symbols.string() + "\n",
                         "Scanner du jour lance sur 2 titre(s)...\n",
                         "Taille de position : capital 100 000 EUR", "CAC 40 au 22/02/2021 : "});
    test::ExpectInOrder(
        result.Out,
        {"CAC 40 au 22/02/2021 : ", "Scanner du jour : 2 titre(s), donnees au 22/02/2021",
         "  Portefeuille : ", "(reglages de taille).\r\n",
         "Detail du scanner : " + (quotes.Documents() / "Cotalys").string() + "/scanner_"});
}

TEST(CommandLine, BacktestPrintsProgressOnErrorsAndTheReportOnOutput) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "^FCHI"});
    const test::TempDir folder;
    const auto symbols = folder.Write("cac40.txt", "AI.PA\nBNP.PA\nNONE.PA\n");
    const TProcessResult result =
        RunProgram(Offline({"backtest", "--years", "1", "--symbols", symbols.string()}));
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    test::ExpectInOrder(
        result.Err,
        {"Backtest : 3 symbole(s) lus dans ",
         "Backtest lance sur 3 titre(s) et 1 an(s), quelques minutes...\n",
         "Indice ^FCHI : ", "[1/3] AI.PA : ", "[2/3] BNP.PA : ", "[3/3] NONE.PA ignore : "});
    EXPECT_EQ(result.Out.rfind("Backtest sur 2 titre(s) analyse(s) sur 3, 1 an(s) : 22/02/2020 - "
                               "22/02/2021",
                               0),
              0u);
    EXPECT_NE(result.Out.find("  Detail des signaux : "), std::string::npos);
    EXPECT_EQ(result.Out.find("[1/3]"), std::string::npos);
}

// Every bundled history but the index, as the file of symbols of a run.
std::vector<std::string> DemoSymbols() {
    std::vector<std::string> symbols;
    for (const auto& entry : std::filesystem::directory_iterator(test::DataPath("demo"))) {
        if (entry.path().extension() == ".csv" && entry.path().stem() != "^FCHI") {
            symbols.push_back(entry.path().stem().string());
        }
    }
    std::sort(symbols.begin(), symbols.end());
    return symbols;
}

// The report without the lines that name its files, whose names differ from run to run.
std::string WithoutFileLines(const std::string& AReport) {
    const std::size_t at = AReport.find("  Portefeuille jour par jour : ");
    return at == std::string::npos ? AReport : AReport.substr(0, at);
}

TEST(CommandLine, ASecondBacktestReadsTheStoreAndNeedsNoService) {
    std::vector<std::string> demo = DemoSymbols();
    demo.push_back("^FCHI");
    test::TOfflineQuotes quotes(demo);
    demo.pop_back();
    const test::TempDir folder;
    std::string list;
    for (const std::string& symbol : demo) {
        list += symbol + "\n";
    }
    const auto symbols = folder.Write("cac40.txt", list);
    // The default pauses, the quote service of the test, the last day of the histories.
    const std::vector<std::string> args = {"backtest",   "--years",        "5",
                                           "--symbols",  symbols.string(), "--as-of",
                                           "2021-02-22", "--quote-host",   QuoteHost()};
    const TProcessResult first = RunProgram(args);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_EQ(first.Out.rfind(Format("Backtest sur %d titre(s) analyse(s) sur %d, 5 an(s)",
                                     static_cast<int>(demo.size()), static_cast<int>(demo.size())),
                              0),
              0u)
        << first.Out.substr(0, 200);
    const TProcessResult second = RunProgram(args);
    ASSERT_EQ(second.ExitCode, 0) << second.Err;
    EXPECT_EQ(WithoutFileLines(second.Out), WithoutFileLines(first.Out));
    quotes.StopService();
    const TProcessResult offline = RunProgram(args);
    ASSERT_EQ(offline.ExitCode, 0) << offline.Err;
    EXPECT_EQ(WithoutFileLines(offline.Out), WithoutFileLines(first.Out));
}

// A French number of a report file.
double CsvValue(const std::string& ACell) {
    std::string text = ACell;
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

// The path a report line "  CAPTION : PATH" names.
std::filesystem::path NamedFile(const std::string& AReport, const std::string& ACaption) {
    const std::size_t at = AReport.find("  " + ACaption + " : ");
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = at + ACaption.size() + 5;
    return AReport.substr(start, AReport.find("\r\n", start) - start);
}

TEST(CommandLine, BacktestSimulatesThePortfolioAndWritesItsDaysAndTrades) {
    std::vector<std::string> demo = DemoSymbols();
    demo.push_back("^FCHI");
    const test::TOfflineQuotes quotes(demo);
    const TProcessResult result =
        RunProgram({"backtest", "--years", "5", "--as-of", "2021-02-19", "--capital", "20000",
                    "--delay-ms", "0", "--quote-host", QuoteHost()});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    test::ExpectInOrder(
        result.Out,
        {"\r\nSimulation du portefeuille : reglage RSI obligatoire (defaut), capital 20 000 EUR, "
         "frais personnalises, compte-titres\r\n",
         "\r\n  Strategie  ", "\r\n  Egal-pondere  ", "\r\n  CAC 40  ",
         "\r\n  Ecart de rendement annualise avec Egal-pondere : ",
         "\r\n  Titres : composition actuelle du CAC 40 ; les titres sortis de l'indice pendant la "
         "periode ne sont pas testes (biais du survivant)\r\nComparaison des stops"});

    // One line per session of the index from 19/02/2016 to 19/02/2021.
    int sessions = 0;
    std::ifstream index(test::DataPath("demo/^FCHI.csv"));
    for (std::string line; std::getline(index, line);) {
        sessions += line >= "2016-02-19" && line < "2021-02-20" ? 1 : 0;
    }
    const std::vector<std::string> days =
        test::CsvLinesOf(NamedFile(result.Out, "Portefeuille jour par jour"));
    ASSERT_FALSE(days.empty()) << result.Out.substr(result.Out.size() - 400);
    EXPECT_EQ(days[0],
              "Date;Liquidites;Investi;Valeur;BaisseDepuisSommet;Positions;EgalPondere;CAC40");
    EXPECT_EQ(static_cast<int>(days.size()) - 1, sessions);
    EXPECT_EQ(test::CsvCellsOf(days[1])[0], "19/02/2016");
    EXPECT_EQ(test::CsvCellsOf(days.back())[0], "19/02/2021");

    // The final value, recomputed from the trades alone: each sale (or last close) less its
    // brokerage, less the purchase with its brokerage and tax, plus the dividends.
    const std::vector<std::string> trades =
        test::CsvLinesOf(NamedFile(result.Out, "Operations du portefeuille"));
    ASSERT_GT(trades.size(), 100u);
    EXPECT_EQ(trades[0],
              "Symbole;Signal;Entree;PrixEntree;Titres;Courtage;TTF;Sortie;PrixSortie;"
              "CourtageSortie;Motif;Dividendes;ResultatEUR;ResultatPct");
    double value = 20000;
    for (std::size_t i = 1; i < trades.size(); ++i) {
        const std::vector<std::string> c = test::CsvCellsOf(trades[i]);
        ASSERT_EQ(c.size(), 14u) << trades[i];
        const double shares = CsvValue(c[4]);
        value += shares * CsvValue(c[8]) - CsvValue(c[9]) - shares * CsvValue(c[3]) -
                 CsvValue(c[5]) - CsvValue(c[6]) + CsvValue(c[11]);
        EXPECT_TRUE(c[10] == "stop" || c[10] == "20 seances" || c[10] == "fin de periode") << c[10];
    }
    EXPECT_NEAR(value, CsvValue(test::CsvCellsOf(days.back())[3]), 1.0);
}

TEST(CommandLine, BacktestWithNothingAnalysedFails) {
    const test::TOfflineQuotes quotes({"^FCHI"});
    const test::TempDir folder;
    const auto symbols = folder.Write("cac40.txt", "NONE.PA\n");
    const TProcessResult result = RunProgram(Offline({"backtest", "--symbols", symbols.string()}));
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("Backtest : aucun titre n'a pu etre analyse"), std::string::npos);
}

// Waits until the file AFile holds AText, for half a minute at most; false when it never does.
bool WaitForText(const std::filesystem::path& AFile, const std::string& AText) {
    for (int i = 0; i < 600; ++i) {
        if (test::ReadAll(AFile).find(AText) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The port a started service printed on its first line, "... http://127.0.0.1:PORT ...".
int PrintedPort(const std::string& AOut) {
    const std::string marker = "http://127.0.0.1:";
    const std::size_t at = AOut.find(marker);
    return at == std::string::npos ? 0 : std::atoi(AOut.c_str() + at + marker.size());
}

TEST(CommandLine, ServeQuotesAnswersUntilInterrupted) {
    const test::TempDir data;
    data.Write("AI.PA.csv", test::ReadAll(test::DataPath("demo/AI.PA.csv")));
    const test::TempDir folder;
    // Port 0: the service takes a free port and says which.
    const pid_t pid = Start(
        {"serve-quotes", "--data", data.Path().string(), "--port", "0", "--log-requests"}, folder);
    ASSERT_TRUE(WaitForText(folder.Path() / "out.txt", "Ctrl+C"));
    const int port = PrintedPort(test::ReadAll(folder.Path() / "out.txt"));
    ASSERT_GT(port, 0);
    // A second service on the same port fails instead of sharing it.
    const TProcessResult second = RunProgram(
        {"serve-quotes", "--data", data.Path().string(), "--port", std::to_string(port)});
    EXPECT_EQ(second.ExitCode, 1);
    EXPECT_EQ(second.Err, Format("Impossible d'ecouter sur 127.0.0.1:%d\n", port));
    SetQuoteHost("http://127.0.0.1:" + std::to_string(port));
    TPriceSeries series("AI.PA");
    TParseReport report;
    EXPECT_NO_THROW(TYahooChartProvider().Load("AI.PA", EncodeDate(2021, 1, 4),
                                               EncodeDate(2021, 2, 22), series, report));
    EXPECT_EQ(series.Count(), 36);
    EXPECT_THROW(TYahooChartProvider().Load("NONE.PA", EncodeDate(2021, 1, 4),
                                            EncodeDate(2021, 2, 22), series, report),
                 EDataProviderError);
    SetQuoteHost("");
    kill(pid, SIGINT);
    const TProcessResult result = Finish(pid, folder);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out.rfind("Service de cotations hors ligne sur http://127.0.0.1:" +
                                   std::to_string(port) + " (1 symbole(s))",
                               0),
              0u)
        << result.Out;
    // One line per request: the symbol, the days asked, the status.
    test::ExpectInOrder(
        result.Err, {"AI.PA 04/01/2021 23/02/2021 200\n", "NONE.PA 04/01/2021 23/02/2021 404\n"});
}

TEST(CommandLine, ACtrlCEndsTheDownloadAndTheRunWithExitCode130AfterItsReport) {
    const test::TempDir documents;
    setenv("COTALYS_DOCUMENTS_DIR", documents.Path().c_str(), 1);
    const test::TempDir lists;
    const auto symbols = lists.Write("cac40.txt", "AI.PA\nBNP.PA\n");
    const struct {
        const char* Command;
        const char* Report;
    } cases[] = {{"scan", "Detail du scanner : "}, {"backtest", "Backtest sur 0 titre(s)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Command);
        const test::SilentService service;
        const test::TempDir folder;
        const pid_t pid = Start({c.Command, "--symbols", symbols.string(), "--as-of", "2021-02-22",
                                 "--quote-host", service.Url()},
                                folder);
        ASSERT_TRUE(service.WaitForAsker());
        kill(pid, SIGINT);
        const TProcessResult result = Finish(pid, folder);
        EXPECT_EQ(result.ExitCode, 130) << result.Err;
        EXPECT_NE(result.Out.find(c.Report), std::string::npos) << result.Out;
        EXPECT_NE(result.Err.find("arret demande"), std::string::npos) << result.Err;
    }
    unsetenv("COTALYS_DOCUMENTS_DIR");
}

TEST(CommandLine, ReportsGoToTheOutputFolder) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "^FCHI"});
    const test::TempDir folder;
    const auto symbols = folder.Write("cac40.txt", "AI.PA\nBNP.PA\n");
    const auto reports = folder.Path() / "rapports";
    const struct {
        const char* Command;
        const char* Line;
        const char* File;
        int Files;
    } cases[] = {{"scan", "Detail du scanner : ", "scanner", 1},
                 {"backtest", "  Detail des signaux : ", "backtest", 5}};
    for (const auto& c : cases) {
        const TProcessResult result = RunProgram(
            Offline({c.Command, "--symbols", symbols.string(), "--output-dir", reports.string()}));
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_NE(result.Out.find(c.Line + (reports / c.File).string() + "_"), std::string::npos)
            << result.Out;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(reports),
                                std::filesystem::directory_iterator()),
                  c.Files)
            << c.Command;
    }
    EXPECT_FALSE(std::filesystem::exists(quotes.Documents() / "Cotalys"));
}

TEST(CommandLine, TheTerminalGetsLineFeedsOnly) {
    const test::TOfflineQuotes quotes({"AI.PA", "^FCHI"});
    // A terminal that passes bytes as they are, so a CR the program writes shows.
    termios raw{};
    cfmakeraw(&raw);
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, &raw, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ExecProgram(Offline({"analyse", "AI.PA"}), {});
    }
    std::string shown;
    char buffer[4096];
    for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;) {
        shown.append(buffer, static_cast<std::size_t>(got));
    }
    close(terminal);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;
    test::ExpectInOrder(shown, {"Chargement AI.PA via Yahoo Finance (JSON) (22/11/2019 -> "
                                "22/02/2021)\n",
                                "Comparaison des stops ("});
    EXPECT_EQ(shown.find('\r'), std::string::npos);
}

TEST(CommandLine, WithoutADisplayTheWindowPointsToTheCommandLine) {
    const TEnvironment noDisplay = {
        {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}, {"QT_QPA_PLATFORM", nullptr}};
    const TProcessResult result = RunProgram({}, noDisplay);
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_EQ(result.Err,
              "La fenetre de Cotalys demande une session graphique, et aucun affichage n'est "
              "joignable (DISPLAY, WAYLAND_DISPLAY).\n"
              "Sans fenetre, la ligne de commande fait le meme travail : cotalys --help\n");
    // A display that is named but cannot be reached.
    TEnvironment unreachable = noDisplay;
    unreachable.front().second = ":97";
    const TProcessResult named = RunProgram({}, unreachable);
    EXPECT_EQ(named.ExitCode, 2);
    EXPECT_NE(named.Err.find("demande une session graphique"), std::string::npos) << named.Err;
}

TEST(CommandLine, AnUnreadableSettingsFileIsSaidAndTheDefaultsServe) {
    const test::TOfflineQuotes quotes({"AI.PA", "^FCHI"});
    const auto settings = quotes.Documents() / "Cotalys" / "Cotalys.ini";
    std::filesystem::create_directories(settings);
    const TProcessResult result = RunProgram(Offline({"analyse", "AI.PA"}));
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err,
              "Reglages de taille illisibles, valeurs par defaut : Impossible de "
              "lire le fichier " +
                  settings.string() + " : ce n'est pas un fichier ordinaire\n");
}

TEST(CommandLine, TheStoreIsSeededFromFilesAndStandsInForTheService) {
    const test::TempDir files;
    files.Write("ai.pa.csv", test::ReadAll(test::DataPath("demo/AI.PA.csv")));
    files.Write("BNP.PA.csv", test::ReadAll(test::DataPath("demo/BNP.PA.csv")));
    files.Write("BAD.PA.csv", "ceci n'est pas un fichier de cours\n");
    const TProcessResult imported = RunProgram({"store", "import", files.Path().string()});
    EXPECT_EQ(imported.ExitCode, 1) << "a file that cannot be read fails the import";
    test::ExpectInOrder(
        imported.Out,
        {"BNP.PA : ", "AI.PA : 3802 seance(s) importee(s), du 07/04/2006 au 22/02/2021\n",
         "2 fichier(s) importe(s) sur 3\n"});
    EXPECT_EQ(imported.Err.rfind("BAD.PA.csv non importe : ", 0), 0u) << imported.Err;

    const TProcessResult status = RunProgram({"store", "status"});
    EXPECT_EQ(status.ExitCode, 0);
    test::ExpectInOrder(status.Out, {"AI.PA      07/04/2006 -> 22/02/2021   3802 seance(s)\n",
                                     "BNP.PA     ", "2 symbole(s), "});

    // The service does not answer: the stored days stand in, and say so; without the store the
    // load fails.
    const std::vector<std::string> offline = {"analyse",    "AI.PA",        "--as-of",
                                              "2021-02-23", "--quote-host", "http://127.0.0.1:1"};
    const TProcessResult analysed = RunProgram(offline);
    EXPECT_EQ(analysed.ExitCode, 0) << analysed.Err;
    test::ExpectInOrder(
        analysed.Out,
        {"Service de cotations injoignable : donnees en cache jusqu'au 22/02/2021\r\n",
         "seance(s) locales, 0 telechargee(s)\r\n", "AI.PA au 22/02/2021 : cloture 131,20"});
    std::vector<std::string> withoutStore = offline;
    withoutStore.insert(withoutStore.begin(), "--no-store");
    EXPECT_EQ(RunProgram(withoutStore).ExitCode, 1);

    EXPECT_EQ(RunProgram({"store", "clear", "ai.pa"}).Out.find("1 symbole(s) efface(s)") !=
                  std::string::npos,
              true);
    EXPECT_NE(RunProgram({"store", "status"}).Out.find("1 symbole(s), "), std::string::npos);
}

// A folder of the test's own first on PATH, holding a "systemctl" that appends its arguments to
// calls.txt, prints ALines and ends with AExitCode; the environment of a run that finds it,
// with its units and its state in folders of the test.
class TFakeSystemctl {
public:
    explicit TFakeSystemctl(int AExitCode, const std::string& AOutput = "") {
        const auto script = FBin.Write(
            "systemctl", "#!/bin/sh\necho \"$@\" >> '" + Calls().string() + "'\n" +
                             "case \"$2\" in is-enabled) echo enabled;; show) echo 'lun. "
                             "2021-02-22 18:40:00 CET';; esac\n" +
                             (AOutput.empty() ? "" : "echo '" + AOutput + "'\n") + "exit " +
                             std::to_string(AExitCode) + "\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        FPath = FBin.Path().string() + ":" + std::getenv("PATH");
    }
    // Runs with no systemctl at all on PATH.
    void RemoveSystemctl() {
        std::filesystem::remove(FBin.Path() / "systemctl");
        FPath = FBin.Path().string();
    }
    TEnvironment Environment() const {
        return {{"XDG_CONFIG_HOME", FConfig.Path().c_str()},
                {"XDG_STATE_HOME", FState.Path().c_str()},
                {"PATH", FPath.c_str()}};
    }
    std::filesystem::path Calls() const { return FBin.Path() / "calls.txt"; }
    std::filesystem::path Units() const { return FConfig.Path() / "systemd/user"; }
    std::filesystem::path State() const { return FState.Path() / "cotalys"; }

private:
    test::TempDir FBin;
    test::TempDir FConfig;
    test::TempDir FState;
    std::string FPath;
};

TEST(CommandLine, ScheduleEnablesReportsAndDisablesTheTimer) {
    TFakeSystemctl systemctl(0);
    TProcessResult result =
        RunProgram({"schedule", "enable", "--time", "18:40"}, systemctl.Environment());
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    test::ExpectInOrder(
        result.Out, {"Unites ecrites : " + (systemctl.Units() / "cotalys-scan.service").string(),
                     "Scan planifie active : du lundi au vendredi a 18:40"});
    EXPECT_NE(test::ReadAll(systemctl.Units() / "cotalys-scan.timer")
                  .find("OnCalendar=Mon..Fri *-*-* 18:40:00\nPersistent=true\n"),
              std::string::npos);
    EXPECT_NE(test::ReadAll(systemctl.Units() / "cotalys-scan.service")
                  .find("ExecStart=\"" + std::filesystem::canonical(COTALYS_EXECUTABLE).string() +
                        "\" scan --notify\n"),
              std::string::npos);
    EXPECT_EQ(test::ReadAll(systemctl.Calls()),
              "--user daemon-reload\n--user enable --now cotalys-scan.timer\n");

    result = RunProgram({"schedule", "status"}, systemctl.Environment());
    EXPECT_EQ(result.Out,
              "Scan planifie : oui, du lundi au vendredi a 18:40\n"
              "Prochain passage : lun. 2021-02-22 18:40:00 CET\n"
              "Dernier passage : aucun\n");
    std::filesystem::create_directories(systemctl.State());
    std::ofstream(systemctl.State() / "scan.log")
        << "2021-02-22 18:40:07 signaux=2 surveiller=3 erreurs=1 code=0\nligne abimee\n";
    result = RunProgram({"schedule", "status"}, systemctl.Environment());
    EXPECT_NE(result.Out.find("Dernier passage : 2021-02-22 18:40:07, 2 signal(s), 3 a surveiller, "
                              "1 erreur(s), code de sortie 0 (succes)\n"),
              std::string::npos)
        << result.Out;

    result = RunProgram({"schedule", "disable"}, systemctl.Environment());
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out,
              "Scan planifie desactive, unites supprimees de " + systemctl.Units().string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(systemctl.Units() / "cotalys-scan.timer"));
    EXPECT_FALSE(std::filesystem::exists(systemctl.Units() / "cotalys-scan.service"));
    test::ExpectInOrder(test::ReadAll(systemctl.Calls()),
                        {"--user disable --now cotalys-scan.timer\n", "--user daemon-reload\n"});
    result = RunProgram({"schedule", "status"}, systemctl.Environment());
    EXPECT_EQ(result.Out.rfind("Scan planifie : non (cotalys schedule enable pour l'activer)\n", 0),
              0u);
}

TEST(CommandLine, WithoutSystemdUserSessionScheduleGivesTheCrontabLine) {
    for (const bool missing : {false, true}) {
        TFakeSystemctl systemctl(1, "Failed to connect to bus: No medium found");
        if (missing) {
            systemctl.RemoveSystemctl();
        }
        TProcessResult result = RunProgram({"schedule", "enable"}, systemctl.Environment());
        EXPECT_EQ(result.ExitCode, 1) << missing;
        EXPECT_EQ(result.Err, std::string("Pas de session systemd utilisateur joignable (") +
                                  (missing ? "systemctl introuvable"
                                           : "Failed to connect to bus: No medium found") +
                                  ") : le scan planifie n'est pas active.\n"
                                  "Ligne equivalente a ajouter avec crontab -e :\n");
        EXPECT_NE(result.Out.find("\n15 18 * * 1-5 DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/" +
                                  std::to_string(getuid()) + "/bus '" +
                                  std::filesystem::canonical(COTALYS_EXECUTABLE).string() +
                                  "' scan --notify\n"),
                  std::string::npos)
            << result.Out;
        result = RunProgram({"schedule", "status"}, systemctl.Environment());
        EXPECT_EQ(result.Out.rfind("Scan planifie : non, minuteur " +
                                       (systemctl.Units() / "cotalys-scan.timer").string() +
                                       " ecrit pour 18:15 mais pas active (",
                                   0),
                  0u)
            << result.Out;
    }
    const TProcessResult result = RunProgram({"schedule", "enable", "--time", "25:00"});
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_EQ(result.Err, "Heure invalide pour --time : 25:00 (attendu HH:MM, de 00:00 a 23:59)\n");
}

TEST(CommandLine, ScanNotifiesTheDesktopAndLogsTheRun) {
    test::EnsureQtApplication();
    const test::TSessionBus bus;
    ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon ne demarre pas";
    // On 22 February 2021 Unibail and Kering give a signal, Air Liquide does not.
    const test::TOfflineQuotes quotes({"AI.PA", "KER.PA", "URW.PA", "^FCHI"});
    const test::TempDir folder;
    const test::TempDir state;
    const auto symbols = folder.Write("cac40.txt", "AI.PA\nKER.PA\nURW.PA\n");
    const TEnvironment environment = {{"DBUS_SESSION_BUS_ADDRESS", bus.Address().c_str()},
                                      {"XDG_STATE_HOME", state.Path().c_str()}};
    const std::vector<std::string> args =
        Offline({"scan", "--notify", "--symbols", symbols.string()});
    const std::filesystem::path log = state.Path() / "cotalys/scan.log";

    // No notification service on the bus: the scan still succeeds, with one line saying so.
    TProcessResult result = RunProgram(args, environment);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_NE(result.Err.find("\nNotification non affichee : service de notification absent du "
                              "bus ("),
              std::string::npos)
        << result.Err;
    const auto lines = [&log] {
        const std::string text = test::ReadAll(log);
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_EQ(lines(), 1);

    test::TNotificationServer server(bus.Address());
    ASSERT_TRUE(server.Registered());
    const pid_t pid = Start(args, folder, environment);
    server.ServeUntil([&server] { return !server.Received().empty(); });
    result = Finish(pid, folder);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err.find("Notification"), std::string::npos) << result.Err;
    ASSERT_EQ(server.Received().size(), 1u);
    const test::TReceivedNotification& got = server.Received().front();
    const std::string csv = result.Out.substr(result.Out.find("Detail du scanner : ") + 20);
    const std::vector<TScanRow> rows = ReadScanCsv(csv.substr(0, csv.find('\r')));
    const TScanNotice expected = ScanNotice(rows);
    EXPECT_EQ(got.Summary, "Cotalys : 2 signal(s) ce soir");
    EXPECT_EQ(got.Body, "URW.PA : 85 titre(s)\nKER.PA : 27 titre(s)");
    EXPECT_EQ(got.Summary.toStdString(), expected.Title);
    EXPECT_EQ(got.Body.toStdString(), expected.Body);
    EXPECT_EQ(got.AppName, "Cotalys");
    EXPECT_EQ(got.Hints.value("desktop-entry").toString(), "cotalys");

    // One line per run, the last one with the scan's figures.
    const std::optional<TScanLogEntry> last = LastScanLogEntry(log);
    ASSERT_TRUE(last);
    EXPECT_EQ(lines(), 2);
    EXPECT_EQ(last->Signals, RowsWithStatus(rows, TScanStatus::ssSignal));
    EXPECT_EQ(last->Watch, RowsWithStatus(rows, TScanStatus::ssWatch));
    EXPECT_EQ(last->Errors, 0);
    EXPECT_EQ(last->ExitCode, 0);
}

}  // namespace
}  // namespace cotalys

namespace cotalys {
namespace {

// The positions journal through the program: a data folder and a documents folder (with the
// sizing settings) of the test's own.
class PositionsCommandLine : public testing::Test {
protected:
    void SetUp() override {
        setenv("COTALYS_DOCUMENTS_DIR", FDocuments.Path().c_str(), 1);
        TSizingParams sizing;
        sizing.FeePlan = TFeePlan::fpBoursoDecouverte;  // 1.99 EUR, or 0.6 % above 500 EUR
        sizing.SaveToIni(TSizingParams::IniFileName());
        unsetenv("COTALYS_DOCUMENTS_DIR");
    }

    TProcessResult Run(std::vector<std::string> AArgs, const test::TempDir* AData = nullptr) {
        AArgs.insert(AArgs.begin(), "positions");
        AArgs.insert(AArgs.end(), {"--as-of", "2021-02-19"});
        const test::TempDir& data = AData != nullptr ? *AData : FData;
        return RunProgram(AArgs, {{"COTALYS_DATA_DIR", data.Path().c_str()},
                                  {"COTALYS_DOCUMENTS_DIR", FDocuments.Path().c_str()}});
    }

    test::TempDir FData;
    test::TempDir FDocuments;
};

TEST_F(PositionsCommandLine, AddCloseListAndResultsToTheCent) {
    TProcessResult result = Run({"add", "AI.PA", "--date", "2021-02-01", "--price", "136.10",
                                 "--shares", "10", "--stop", "133", "--note", "cassure"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    // 1361.00 EUR: brokerage 0.6 % = 8.166, tax 0.4 % = 5.444, each billed to the cent.
    EXPECT_EQ(result.Out,
              "Position 1 ajoutee : AI.PA, 10 action(s) a 136,10 EUR le 01/02/2021, courtage "
              "8,17 EUR, TTF 5,44 EUR, cout 1374,61 EUR, sortie prevue le 01/03/2021\n");
    const std::filesystem::path journal = FData.Path() / "positions.sqlite3";
    EXPECT_TRUE(std::filesystem::is_regular_file(journal));
    EXPECT_EQ(result.Err, "Journal des positions : " + journal.string() + "\n");

    ASSERT_EQ(Run({"add", "tte.pa", "--date", "2021-02-03", "--price", "36.42", "--shares", "50"})
                  .ExitCode,
              0);
    result = Run({"close", "2", "--date", "2021-02-18", "--price", "35.10", "--reason", "stop"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    // Cost 1821.00 + 10.93 + 7.28 = 1839.21; sale 1755.00 - 10.53; result -94.74 EUR, -5.15 %.
    EXPECT_EQ(result.Out,
              "Position 2 cloturee : TTE.PA le 18/02/2021 a 35,10 EUR (stop), courtage 10,53 EUR, "
              "resultat -94,74 EUR (-5,15 %)\n");

    result = Run({"list"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out,
              "    N  Symbole    Entree     Prix entree  Actions        Stop Sortie prevue\n"
              "    1  AI.PA      01/02/2021      136,10       10      133,00 01/03/2021\n"
              "1 position(s) ouverte(s)\n");
    result = Run({"list", "--closed"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    test::ExpectInOrder(result.Out, {"Sortie", "Resultat EUR", "\n    2  TTE.PA     03/02/2021",
                                     "36,42", "50", "-", "03/03/2021", "18/02/2021", "35,10",
                                     "stop", "-94,74", "-5,15", "\n1 position(s) cloturee(s)\n"});
    // Fees the user paid, given in place of the settings' ones.
    result = Run({"add", "OR.PA", "--date", "2021-02-04", "--price", "300.50", "--shares", "3",
                  "--brokerage", "1.99", "--ttf", "0"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_NE(result.Out.find("courtage 1,99 EUR, TTF 0,00 EUR, cout 903,49 EUR"),
              std::string::npos)
        << result.Out;
    result = Run({"close", "3", "--date", "2021-02-05", "--price", "310", "--brokerage", "0"});
    EXPECT_NE(result.Out.find("courtage 0,00 EUR, resultat 26,51 EUR (2,93 %)"), std::string::npos)
        << result.Out;
}

TEST_F(PositionsCommandLine, RefusalsAndTheirExitCodes) {
    ASSERT_EQ(Run({"add", "AI.PA", "--date", "2021-02-01", "--price", "136.10", "--shares", "10"})
                  .ExitCode,
              0);
    ASSERT_EQ(Run({"close", "1", "--date", "2021-02-10", "--price", "140"}).ExitCode, 0);
    const struct {
        std::vector<std::string> Args;
        int ExitCode;
        const char* Message;
    } cases[] = {
        {{"close", "1", "--date", "2021-02-11", "--price", "141"},
         1,
         "Position 1 (AI.PA) deja cloturee le 10/02/2021\n"},
        {{"close", "9", "--date", "2021-02-11", "--price", "141"},
         1,
         "Aucune position numero 9 dans le journal\n"},
        {{"remove", "9"}, 1, "Aucune position numero 9 dans le journal\n"},
        {{"add", "AI.PA", "--date", "2021-02-01", "--price", "136.10", "--shares", "10", "--stop",
          "140"},
         2,
         "Stop de AI.PA a 140,00 au niveau ou au-dessus de l'entree a 136,10\n"},
        {{"add", "AI.PA", "--date", "2021-02-22", "--price", "136.10", "--shares", "10"},
         2,
         "Date d'entree de AI.PA dans le futur : 22/02/2021 (nous sommes le 19/02/2021)\n"},
        {{"add", "AI PA", "--date", "2021-02-01", "--price", "136.10", "--shares", "10"},
         2,
         "Symbole invalide : \"AI PA\" (attendu par exemple AI.PA ou ^FCHI)\n"},
        {{"add", "AI.PA", "--date", "2021-02-01", "--price", "136.10", "--shares", "0"},
         2,
         "Nombre d'actions invalide pour AI.PA : 0 (attendu au moins 1)\n"},
        {{"add", "AI.PA", "--date", "2021-02-01", "--price", "-1", "--shares", "10"},
         2,
         "Arguments invalides : --price : -1 n'est pas un montant positif en EUR\n"},
        {{"add", "AI.PA", "--date", "01/02/2021", "--price", "136.10", "--shares", "10"},
         2,
         "Date invalide pour --date : 01/02/2021 (attendu AAAA-MM-JJ)\n"},
        {{"add", "AI.PA", "--date", "2021-02-01", "--price", "136.10", "--shares", "10",
          "--brokerage", "-1"},
         2,
         "Arguments invalides : --brokerage : -1 n'est pas un montant en EUR positif ou nul\n"},
        {{"add", "AI.PA", "--price", "136.10", "--shares", "10"},
         2,
         "Arguments invalides : --date manquant\n"},
        {{"close", "1", "--date", "2021-02-11", "--price", "141", "--reason", "vendu"},
         2,
         "Motif de sortie inconnu : \"vendu\" (attendu stop, 20 seances ou manuel)\n"},
    };
    for (const auto& c : cases) {
        const TProcessResult result = Run(c.Args);
        EXPECT_EQ(result.ExitCode, c.ExitCode) << c.Args[0] << " " << result.Err;
        EXPECT_NE(result.Err.find(c.Message), std::string::npos) << result.Err;
        EXPECT_TRUE(result.Out.empty()) << result.Out;
    }
    EXPECT_EQ(Run({"remove", "1"}).ExitCode, 0);
    EXPECT_NE(Run({"list", "--closed"}).Out.find("0 position(s) cloturee(s)"), std::string::npos);
}

TEST_F(PositionsCommandLine, AnUnreadableJournalIsLeftAsItWas) {
    const std::string bytes = "Symbole;Date\r\nAI.PA;01/02/2021\r\n";
    const std::filesystem::path journal = FData.Write("positions.sqlite3", bytes);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list"},
          {"add", "AI.PA", "--date", "2021-02-01", "--price", "136.10", "--shares", "10"}}) {
        const TProcessResult result = Run(args);
        EXPECT_EQ(result.ExitCode, 1) << args[0];
        EXPECT_EQ(result.Err, "Journal des positions illisible : " + journal.string() +
                                  " (ce n'est pas une base SQLite) ; le fichier est laisse tel "
                                  "quel\n");
        EXPECT_EQ(test::ReadAll(journal), bytes);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FData.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(PositionsCommandLine, ExportAndImportRoundTrip) {
    ASSERT_EQ(Run({"add", "AI.PA", "--date", "2021-02-01", "--price", "136.10", "--shares", "10",
                   "--stop", "133.505", "--note", "=cassure;\n\"fort\""})
                  .ExitCode,
              0);
    ASSERT_EQ(Run({"add", "VIV.PA", "--date", "2021-02-03", "--price", "8.962", "--shares", "300"})
                  .ExitCode,
              0);
    ASSERT_EQ(
        Run({"close", "2", "--date", "2021-02-18", "--price", "9.104", "--reason", "20 seances"})
            .ExitCode,
        0);
    const test::TempDir files;
    const std::string first = (files.Path() / "journal.csv").string();
    ASSERT_EQ(Run({"export", first}).ExitCode, 0);
    const std::string text = test::ReadAll(first);
    test::ExpectInOrder(text, {"\xEF\xBB\xBFNumero;Symbole;Date d'entree;Prix d'entree;",
                               "\r\n1;AI.PA;01/02/2021;136,10;10;8,17;5,44;133,505;01/03/2021;;;"
                               "\"'=cassure;\n\"\"fort\"\"\";;;0,00;\r\n",
                               "2;VIV.PA;03/02/2021;8,962;300;16,13;10,75;;03/03/2021;;;;18/02/"
                               "2021;9,104;16,39;20 seances\r\n"});

    const test::TempDir other;
    TProcessResult result = Run({"import", first}, &other);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "2 position(s) importee(s) de " + first + "\n");
    const std::string second = (files.Path() / "copie.csv").string();
    ASSERT_EQ(Run({"export", second}, &other).ExitCode, 0);
    EXPECT_EQ(test::ReadAll(second), text);

    // A malformed line refuses the whole file, naming the line (the note above spans two).
    std::string bad = text;
    bad.replace(bad.find("8,962"), 5, "8,9x2");
    const std::string badFile = files.Write("abime.csv", bad).string();
    result = Run({"import", badFile}, &other);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_TRUE(result.Err.ends_with(badFile + " (ligne 4) : nombre invalide dans Prix d'entree : "
                                               "\"8,9x2\"\n"))
        << result.Err;
    EXPECT_NE(Run({"list"}, &other).Out.find("1 position(s) ouverte(s)"), std::string::npos);
}

}  // namespace
}  // namespace cotalys
