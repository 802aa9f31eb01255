#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "cli/Commands.h"
#include "cli/FrenchHelp.h"
#include "cli/PngExport.h"
#include "cli/Schedule.h"
#include "core/Core.h"
#include "notify/Notify.h"
#include "providers/Providers.h"
#include "sizing/PositionSizing.h"
#include "store/Store.h"

namespace cotalys {
namespace {

// An amount of euros strictly above zero, in the program's own words.
const CLI::Validator PositiveAmount(
    [](std::string& AValue) {
        char* end = nullptr;
        const double amount = std::strtod(AValue.c_str(), &end);
        return end != AValue.c_str() && *end == '\0' && amount > 0 && std::isfinite(amount)
                   ? std::string()
                   : AValue + " n'est pas un montant positif en EUR";
    },
    "EUR");

// The check of an option that takes a day: anything but "YYYY-MM-DD" is refused with an
// EUsageError in the program's own words, which escapes CLI11's parse (a validator's own
// ValidationError would be worded by CLI11).
CLI::Validator DayCheck(const std::string& AOption) {
    return CLI::Validator(
        [AOption](std::string& AText) {
            TDateTime day = 0;
            if (!TryParseIsoDate(AText, day)) {
                throw EUsageError("Date invalide pour " + AOption + " : " + AText +
                                  " (attendu AAAA-MM-JJ)");
            }
            return std::string();
        },
        "", "");
}

// Makes the options that every subcommand shares take effect.
void ApplyCommonOptions(const TCommonOptions& AOptions) {
    if (AOptions.DelayMs < -1) {
        throw EUsageError("Pause invalide pour --delay-ms : " + std::to_string(AOptions.DelayMs));
    }
    if (!AOptions.AsOf.empty()) {
        TDateTime day = 0;
        TryParseIsoDate(AOptions.AsOf, day);
        SetClockDay(day);
    }
    if (!AOptions.QuoteHost.empty()) {
        SetQuoteHost(AOptions.QuoteHost);
    }
}

// One line of a help footer, aligned with the option lines above it.
std::string FooterLine(const std::string& AName, const std::string& AText) {
    return Format("  %-30s%s\n", AName, AText);
}

// What the help of every command ends with: the environment, the files read and written (the
// lines of AFiles after those every command reads) and the exit codes (AExits after the three
// every command has).
std::string HelpFooter(const std::string& AFiles, const std::string& AExits) {
    return "Variables d'environnement :\n" +
           FooterLine("COTALYS_QUOTE_HOST",
                      "hote du service de cotations ou URL de base, comme --quote-host") +
           FooterLine("COTALYS_DOCUMENTS_DIR",
                      "dossier des documents, ou sont les reglages et les rapports") +
           FooterLine("COTALYS_CA_BUNDLE", "certificats de confiance (PEM) pour HTTPS") +
           "\nFichiers :\n" +
           FooterLine("reglages de taille (lus)", TSizingParams::IniFileName().string()) +
           FooterLine("cache des cotations", CacheDir().string()) + AFiles +
           "\nCodes de sortie :\n" + FooterLine("0", "succes") + FooterLine("1", "echec") +
           FooterLine("2", "arguments invalides") + AExits;
}

// The footer of a subcommand's help: the options it shares with every other, then HelpFooter.
std::string SubcommandFooter(const CLI::App& AProgram, const std::string& AFiles,
                             const std::string& AExits = "") {
    return "Options globales (avant ou apres la sous-commande) :\n" + OptionLines(AProgram) + "\n" +
           HelpFooter(AFiles, AExits);
}

}  // namespace

int RunCommandLine(int argc, char** argv, std::ostream& AOut, std::ostream& AErr) {
    CLI::App app("Cotalys : analyse technique des valeurs du CAC 40", "cotalys");
    UseFrenchHelp(app);
    app.set_version_flag("--version", std::string("Cotalys ") + COTALYS_VERSION,
                         "Afficher la version");
    app.fallthrough();
    TCommonOptions common;
    app.add_option("--as-of", common.AsOf, "Jour pris pour aujourd'hui")
        ->check(DayCheck("--as-of"))
        ->type_name("AAAA-MM-JJ");
    app.add_option("--quote-host", common.QuoteHost,
                   "Hote du service de cotations, ou URL de base http://hote:port")
        ->type_name("HOTE");
    app.add_option("--delay-ms", common.DelayMs,
                   "Pause entre deux requetes d'un traitement par lot, en millisecondes")
        ->type_name("MS");
    app.add_flag("--no-store", common.NoStore,
                 "Interroger le service de cotations sans le cache local des cotations");

    TAnalyseOptions analyse;
    CLI::App* analyseCommand =
        app.add_subcommand("analyse", "Charger un symbole et afficher son analyse");
    analyseCommand->add_option("SYMBOLE", analyse.Symbol, "Symbole, par exemple RNO.PA")
        ->required()
        ->type_name("");
    analyseCommand->add_option("--source", analyse.Source, "Source : yahoo, html ou file")
        ->check(CLI::IsMember({"yahoo", "html", "file"}))
        ->type_name("SOURCE");
    analyseCommand
        ->add_option("--location", analyse.Location,
                     "URL de secours, modele d'URL de la page ou fichier local")
        ->type_name("URL");
    analyseCommand->add_option("--png", analyse.PngFile, "Exporter le graphique en PNG")
        ->type_name("FICHIER");
    analyseCommand
        ->add_option("--from", analyse.PngFrom,
                     "Premier jour du PNG (AAAA-MM-JJ), dans les 15 mois charges")
        ->needs("--png")
        ->check(DayCheck("--from"))
        ->type_name("AAAA-MM-JJ");
    analyseCommand
        ->add_option("--size", analyse.PngSize, "Taille du PNG en pixels, par defaut 1600x1000")
        ->type_name("LxH")
        ->check([](const std::string& AText) {
            int width = 0, height = 0;
            return ParseImageSize(AText, width, height)
                       ? std::string()
                       : "Taille attendue LARGEURxHAUTEUR (1 a 10000 pixels) : " + AText;
        });

    TBatchOptions batch;
    CLI::App* scanCommand = app.add_subcommand("scan", "Scanner du jour sur le CAC 40");
    scanCommand->add_flag(
        "--notify", batch.Notify,
        "Notifier le bureau a la fin et noter le passage dans le journal des scans");
    CLI::App* backtestCommand = app.add_subcommand("backtest", "Backtest du signal sur le CAC 40");
    backtestCommand->add_option("--years", batch.Years, "Periode en annees : 1, 2, 3, 5 ou 10")
        ->check(CLI::IsMember({1, 2, 3, 5, 10}))
        ->type_name("N");
    backtestCommand->add_option("--png", batch.PngFile, "Exporter le graphique du backtest en PNG")
        ->type_name("FICHIER");
    for (CLI::App* command : {scanCommand, backtestCommand}) {
        command->add_option("--symbols", batch.SymbolsFile, "Fichier de symboles")
            ->type_name("FICHIER");
        command
            ->add_option("--output-dir", batch.OutputDir,
                         "Dossier des rapports, par defaut " + CotalysDir().string())
            ->type_name("DOSSIER");
        command
            ->add_option("--capital", batch.Capital,
                         "Capital en EUR pour ce passage, a la place de celui des reglages")
            ->check(PositiveAmount)
            ->type_name("EUR");
    }

    TServeOptions serve;
    CLI::App* serveCommand =
        app.add_subcommand("serve-quotes", "Service de cotations hors ligne sur 127.0.0.1");
    serveCommand->add_option("--data", serve.DataDir, "Dossier des fichiers de cours")
        ->required()
        ->type_name("DOSSIER");
    serveCommand->add_option("--port", serve.Port, "Port d'ecoute, 0 pour un port libre (affiche)")
        ->check(CLI::Range(0, 65535).description(""))
        ->type_name("PORT");
    serveCommand->add_flag("--shift-to-today", serve.ShiftToToday,
                           "Decaler les historiques pour finir au dernier jour ouvre");
    serveCommand->add_flag("--log-requests", serve.LogRequests,
                           "Ecrire chaque requete servie sur la sortie d'erreur");

    TStoreOptions store;
    CLI::App* storeCommand = app.add_subcommand("store", "Cache local des cotations");
    storeCommand->require_subcommand(1);
    CLI::App* storeStatus = storeCommand->add_subcommand(
        "status", "Symboles en cache, premier et dernier jour, taille");
    CLI::App* storeClear = storeCommand->add_subcommand(
        "clear", "Effacer du cache les symboles donnes, ou tout le cache sans symbole");
    storeClear->add_option("SYMBOLE", store.Symbols, "Symboles a effacer")->type_name("");
    CLI::App* storeImport = storeCommand->add_subcommand(
        "import", "Mettre en cache les fichiers SYMBOLE.csv d'un dossier, comme telecharges");
    storeImport->add_option("DOSSIER", store.Folder, "Dossier des fichiers de cours")
        ->required()
        ->type_name("");

    TScheduleOptions schedule;
    CLI::App* scheduleCommand = app.add_subcommand(
        "schedule", "Scanner du jour lance seul apres la cloture (systemd utilisateur)");
    scheduleCommand->require_subcommand(1);
    CLI::App* scheduleEnable = scheduleCommand->add_subcommand(
        "enable", "Planifier le scanner et sa notification du lundi au vendredi");
    scheduleEnable->add_option("--time", schedule.Time, "Heure locale du scan, par defaut 18:15")
        ->type_name("HH:MM");
    CLI::App* scheduleDisable = scheduleCommand->add_subcommand(
        "disable", "Arreter le scan planifie et retirer ses unites");
    CLI::App* scheduleStatus = scheduleCommand->add_subcommand(
        "status", "Scan planifie ou non, prochain passage, fin du dernier passage");

    const std::string interrupted =
        FooterLine("130", "interrompu par Ctrl+C, rapport partiel ecrit");
    app.footer(HelpFooter("", ""));
    analyseCommand->footer(
        SubcommandFooter(app, FooterLine("graphique (ecrit)", "fichier de --png")));
    scanCommand->footer(SubcommandFooter(
        app,
        FooterLine("rapport (ecrit)", (CotalysDir() / "scanner_AAAAMMJJ_HHMM.csv").string()) +
            FooterLine("", "ou dans le dossier de --output-dir") +
            FooterLine("journal des scans (ecrit)", ScanLogFile().string()) +
            FooterLine("", "avec --notify"),
        interrupted));
    backtestCommand->footer(
        SubcommandFooter(app,
                         FooterLine("rapports (ecrits)",
                                    (CotalysDir() / "backtest_Nans_AAAAMMJJ_HHMM.csv").string()) +
                             FooterLine("", "et backtest_Nans_AAAAMMJJ_HHMM_confiance.csv,") +
                             FooterLine("", "ou dans le dossier de --output-dir") +
                             FooterLine("graphique (ecrit)", "fichier de --png"),
                         interrupted));
    for (CLI::App* command : {serveCommand, storeCommand, storeStatus, storeClear, storeImport}) {
        command->footer(SubcommandFooter(app, ""));
    }
    const std::string scheduleFiles =
        FooterLine("unites systemd (ecrites)", (UserUnitDir() / ScanTimerName).string()) +
        FooterLine("", std::string("et ") + ScanServiceName) +
        FooterLine("journal des scans (lu)", ScanLogFile().string());
    for (CLI::App* command : {scheduleCommand, scheduleEnable, scheduleDisable, scheduleStatus}) {
        command->footer(SubcommandFooter(
            app, scheduleFiles,
            command == scheduleEnable
                ? FooterLine("1", "aussi sans session systemd : ligne crontab affichee")
                : ""));
    }
    for (CLI::App* command : {analyseCommand, scanCommand, backtestCommand, serveCommand,
                              storeCommand, storeStatus, storeClear, storeImport, scheduleCommand,
                              scheduleEnable, scheduleDisable, scheduleStatus}) {
        command->group("Sous-commandes");
    }

    if (argc <= 1) {
        AOut << app.help();
        return ExitSuccess;
    }
    try {
        app.parse(argc, argv);
        ApplyCommonOptions(common);
        if (analyseCommand->parsed()) {
            analyse.UseStore = !common.NoStore;
            return AnalyseCommand(analyse, AOut, AErr);
        }
        if (scanCommand->parsed()) {
            return ScanCommand(common, batch, AOut, AErr);
        }
        if (backtestCommand->parsed()) {
            return BacktestCommand(common, batch, AOut, AErr);
        }
        if (serveCommand->parsed()) {
            return ServeQuotesCommand(serve, AOut, AErr);
        }
        if (storeCommand->parsed()) {
            store.Action = storeStatus->parsed()  ? "status"
                           : storeClear->parsed() ? "clear"
                                                  : "import";
            return StoreCommand(store, AOut, AErr);
        }
        if (scheduleCommand->parsed()) {
            schedule.Action = scheduleEnable->parsed()    ? "enable"
                              : scheduleDisable->parsed() ? "disable"
                                                          : "status";
            return ScheduleCommand(schedule, AOut, AErr);
        }
        AErr << "Sous-commande manquante : analyse, scan, backtest, serve-quotes, store ou "
                "schedule\n";
        return ExitBadArguments;
    } catch (const CLI::CallForHelp&) {
        AOut << app.help();
        return ExitSuccess;
    } catch (const CLI::CallForVersion& e) {
        AOut << e.what() << "\n";
        return ExitSuccess;
    } catch (const CLI::ParseError& e) {
        AErr << "Arguments invalides : " << FrenchParseError(e) << "\n"
             << "Voir cotalys --help\n";
        return ExitBadArguments;
    } catch (const EUsageError& e) {
        AErr << e.Message() << "\n";
        return ExitBadArguments;
    } catch (const std::exception& e) {
        AErr << e.what() << "\n";
        return ExitFailure;
    }
}

}  // namespace cotalys
