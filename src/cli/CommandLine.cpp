#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/Commands.h"
#include "cli/FrenchHelp.h"
#include "cli/PngExport.h"
#include "cli/Schedule.h"
#include "core/Core.h"
#include "notify/Notify.h"
#include "positions/Positions.h"
#include "providers/Providers.h"
#include "sizing/PositionSizing.h"
#include "store/Store.h"

namespace cotalys {
namespace {

// An amount of euros strictly above zero, or from zero with AZeroAllowed (a fee), in the
// program's own words.
CLI::Validator AmountCheck(bool AZeroAllowed) {
    return CLI::Validator(
        [AZeroAllowed](std::string& AValue) {
            char* end = nullptr;
            const double amount = std::strtod(AValue.c_str(), &end);
            const bool number = end != AValue.c_str() && *end == '\0' && std::isfinite(amount);
            if (number && (amount > 0 || (AZeroAllowed && amount == 0))) {
                return std::string();
            }
            return AValue + (AZeroAllowed ? " n'est pas un montant en EUR positif ou nul"
                                          : " n'est pas un montant positif en EUR");
        },
        "EUR");
}

const CLI::Validator PositiveAmount = AmountCheck(false);

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

// Where the subcommand that runs writes, and the exit code it ends with: none while no
// subcommand ran.
struct TCommandRun {
    std::ostream& Out;
    std::ostream& Err;
    std::optional<int> Exit;
};

// The options every subcommand takes, on the program itself.
void AddCommonOptions(CLI::App& AApp, TCommonOptions& AOptions) {
    AApp.add_option("--as-of", AOptions.AsOf, "Jour pris pour aujourd'hui")
        ->check(DayCheck("--as-of"))
        ->type_name("AAAA-MM-JJ");
    AApp.add_option("--quote-host", AOptions.QuoteHost,
                    "Hote du service de cotations, ou URL de base http://hote:port")
        ->type_name("HOTE");
    AApp.add_option("--delay-ms", AOptions.DelayMs,
                    "Pause entre deux requetes d'un traitement par lot, en millisecondes")
        ->type_name("MS");
    AApp.add_flag("--no-store", AOptions.NoStore,
                  "Interroger le service de cotations sans le cache local des cotations");
}

// A subcommand of AParent, listed with the others in the help; its options live as long as its
// callback.
CLI::App* AddSubcommand(CLI::App& AParent, const std::string& AName,
                        const std::string& ADescription) {
    CLI::App* command = AParent.add_subcommand(AName, ADescription);
    command->group("Sous-commandes");
    return command;
}

// The line of the exit code of a run stopped by Ctrl+C.
std::string InterruptedLine() {
    return FooterLine("130", "interrompu par Ctrl+C, rapport partiel ecrit");
}

void AddAnalyseCommand(CLI::App& AApp, const TCommonOptions& ACommon, TCommandRun& ARun) {
    auto options = std::make_shared<TAnalyseOptions>();
    CLI::App* command =
        AddSubcommand(AApp, "analyse", "Charger un symbole et afficher son analyse");
    command->add_option("SYMBOLE", options->Symbol, "Symbole, par exemple RNO.PA")
        ->required()
        ->type_name("");
    command->add_option("--source", options->Source, "Source : yahoo, html ou file")
        ->check(CLI::IsMember({"yahoo", "html", "file"}))
        ->type_name("SOURCE");
    command
        ->add_option("--location", options->Location,
                     "URL de secours, modele d'URL de la page ou fichier local")
        ->type_name("URL");
    command->add_option("--png", options->PngFile, "Exporter le graphique en PNG")
        ->type_name("FICHIER");
    command
        ->add_option("--from", options->PngFrom,
                     "Premier jour du PNG (AAAA-MM-JJ), dans les 15 mois charges")
        ->needs("--png")
        ->check(DayCheck("--from"))
        ->type_name("AAAA-MM-JJ");
    command->add_option("--size", options->PngSize, "Taille du PNG en pixels, par defaut 1600x1000")
        ->type_name("LxH")
        ->check([](const std::string& AText) {
            int width = 0, height = 0;
            return ParseImageSize(AText, width, height)
                       ? std::string()
                       : "Taille attendue LARGEURxHAUTEUR (1 a 10000 pixels) : " + AText;
        });
    command->footer(SubcommandFooter(AApp, FooterLine("graphique (ecrit)", "fichier de --png")));
    command->callback([options, &ACommon, &ARun] {
        options->UseStore = !ACommon.NoStore;
        ARun.Exit = AnalyseCommand(*options, ARun.Out, ARun.Err);
    });
}

// The options a scan and a backtest both take.
void AddBatchOptions(CLI::App& ACommand, TBatchOptions& AOptions) {
    ACommand.add_option("--symbols", AOptions.SymbolsFile, "Fichier de symboles")
        ->type_name("FICHIER");
    ACommand
        .add_option("--output-dir", AOptions.OutputDir,
                    "Dossier des rapports, par defaut " + CotalysDir().string())
        ->type_name("DOSSIER");
    ACommand
        .add_option("--capital", AOptions.Capital,
                    "Capital en EUR pour ce passage, a la place de celui des reglages")
        ->check(PositiveAmount)
        ->type_name("EUR");
}

void AddScanCommand(CLI::App& AApp, const TCommonOptions& ACommon, TCommandRun& ARun) {
    auto options = std::make_shared<TBatchOptions>();
    CLI::App* command = AddSubcommand(AApp, "scan", "Scanner du jour sur le CAC 40");
    command->add_flag("--notify", options->Notify,
                      "Notifier le bureau a la fin et noter le passage dans le journal des scans");
    AddBatchOptions(*command, *options);
    command->footer(SubcommandFooter(
        AApp,
        FooterLine("rapport (ecrit)", (CotalysDir() / "scanner_AAAAMMJJ_HHMM.csv").string()) +
            FooterLine("", "ou dans le dossier de --output-dir") +
            FooterLine("journal des scans (ecrit)", ScanLogFile().string()) +
            FooterLine("", "avec --notify"),
        InterruptedLine()));
    command->callback([options, &ACommon, &ARun] {
        ARun.Exit = ScanCommand(ACommon, *options, ARun.Out, ARun.Err);
    });
}

void AddBacktestCommand(CLI::App& AApp, const TCommonOptions& ACommon, TCommandRun& ARun) {
    auto options = std::make_shared<TBatchOptions>();
    CLI::App* command = AddSubcommand(AApp, "backtest", "Backtest du signal sur le CAC 40");
    command->add_option("--years", options->Years, "Periode en annees : 1, 2, 3, 5 ou 10")
        ->check(CLI::IsMember({1, 2, 3, 5, 10}))
        ->type_name("N");
    command->add_option("--png", options->PngFile, "Exporter le graphique du backtest en PNG")
        ->type_name("FICHIER");
    AddBatchOptions(*command, *options);
    command->footer(SubcommandFooter(
        AApp,
        FooterLine("rapports (ecrits)",
                   (CotalysDir() / "backtest_Nans_AAAAMMJJ_HHMM.csv").string()) +
            FooterLine("", "et backtest_Nans_AAAAMMJJ_HHMM_confiance.csv,") +
            FooterLine("", "_portefeuille.csv et _operations.csv,") +
            FooterLine("", "ou dans le dossier de --output-dir") +
            FooterLine("graphiques (ecrits)", "fichier de --png et FICHIER_portefeuille.png"),
        InterruptedLine()));
    command->callback([options, &ACommon, &ARun] {
        ARun.Exit = BacktestCommand(ACommon, *options, ARun.Out, ARun.Err);
    });
}

void AddServeQuotesCommand(CLI::App& AApp, TCommandRun& ARun) {
    auto options = std::make_shared<TServeOptions>();
    CLI::App* command =
        AddSubcommand(AApp, "serve-quotes", "Service de cotations hors ligne sur 127.0.0.1");
    command->add_option("--data", options->DataDir, "Dossier des fichiers de cours")
        ->required()
        ->type_name("DOSSIER");
    command->add_option("--port", options->Port, "Port d'ecoute, 0 pour un port libre (affiche)")
        ->check(CLI::Range(0, 65535).description(""))
        ->type_name("PORT");
    command->add_flag("--shift-to-today", options->ShiftToToday,
                      "Decaler les historiques pour finir au dernier jour ouvre");
    command->add_flag("--log-requests", options->LogRequests,
                      "Ecrire chaque requete servie sur la sortie d'erreur");
    command->footer(SubcommandFooter(AApp, ""));
    command->callback(
        [options, &ARun] { ARun.Exit = ServeQuotesCommand(*options, ARun.Out, ARun.Err); });
}

void AddStoreCommand(CLI::App& AApp, TCommandRun& ARun) {
    auto options = std::make_shared<TStoreOptions>();
    CLI::App* command = AddSubcommand(AApp, "store", "Cache local des cotations");
    command->require_subcommand(1);
    command->footer(SubcommandFooter(AApp, ""));
    const auto action = [&](const char* AName, const char* ADescription, TStoreAction AAction) {
        CLI::App* sub = AddSubcommand(*command, AName, ADescription);
        sub->footer(SubcommandFooter(AApp, ""));
        sub->callback([options, AAction, &ARun] {
            options->Action = AAction;
            ARun.Exit = StoreCommand(*options, ARun.Out, ARun.Err);
        });
        return sub;
    };
    action("status", "Symboles en cache, premier et dernier jour, taille", TStoreAction::saStatus);
    action("clear", "Effacer du cache les symboles donnes, ou tout le cache sans symbole",
           TStoreAction::saClear)
        ->add_option("SYMBOLE", options->Symbols, "Symboles a effacer")
        ->type_name("");
    action("import", "Mettre en cache les fichiers SYMBOLE.csv d'un dossier, comme telecharges",
           TStoreAction::saImport)
        ->add_option("DOSSIER", options->Folder, "Dossier des fichiers de cours")
        ->required()
        ->type_name("");
}

// The day and the price per share of a purchase or a sale, both required.
void AddDayAndPrice(CLI::App& ACommand, TPositionsOptions& AOptions, const char* ADay,
                    const char* APrice) {
    ACommand.add_option("--date", AOptions.Date, ADay)
        ->required()
        ->check(DayCheck("--date"))
        ->type_name("AAAA-MM-JJ");
    ACommand.add_option("--price", AOptions.Price, APrice)
        ->required()
        ->check(CLI::Validator(PositiveAmount).description(""))
        ->type_name("EUR");
}

// A fee the user paid, given in place of the one the sizing settings charge.
void AddFeeOption(CLI::App& ACommand, double& AFee, const char* AName, const char* AText) {
    ACommand.add_option(AName, AFee, AText)
        ->check(AmountCheck(true).description(""))
        ->type_name("EUR");
}

void AddPositionsCommand(CLI::App& AApp, TCommandRun& ARun) {
    auto options = std::make_shared<TPositionsOptions>();
    CLI::App* command = AddSubcommand(AApp, "positions", "Journal des positions achetees");
    command->require_subcommand(1);
    const std::string files =
        FooterLine("journal des positions", (DataDir() / TPositionJournal::FileName).string()) +
        FooterLine("", "COTALYS_DATA_DIR designe un autre dossier");
    command->footer(SubcommandFooter(AApp, files));
    const auto action = [&](const char* AName, const char* ADescription, TPositionsAction AAction) {
        CLI::App* sub = AddSubcommand(*command, AName, ADescription);
        sub->footer(SubcommandFooter(AApp, files));
        sub->callback([options, AAction, &ARun] {
            options->Action = AAction;
            ARun.Exit = PositionsCommand(*options, ARun.Out, ARun.Err);
        });
        return sub;
    };
    action("list", "Positions ouvertes, ou cloturees avec --closed", TPositionsAction::paList)
        ->add_flag("--closed", options->Closed, "Les positions cloturees et leur resultat");
    CLI::App* add = action("add", "Noter un achat ; courtage et TTF selon les reglages de taille",
                           TPositionsAction::paAdd);
    add->add_option("SYMBOLE", options->Symbol, "Symbole, par exemple AI.PA")
        ->required()
        ->type_name("");
    AddDayAndPrice(*add, *options, "Jour de l'achat", "Prix d'achat par action");
    add->add_option("--shares", options->Shares, "Nombre d'actions")->required()->type_name("N");
    add->add_option("--stop", options->Stop, "Stop, sous le prix d'achat")
        ->check(CLI::Validator(PositiveAmount).description(""))
        ->type_name("EUR");
    add->add_option("--note", options->Note, "Note libre")->type_name("NOTE");
    AddFeeOption(*add, options->Brokerage, "--brokerage",
                 "Courtage paye, a la place de celui des reglages");
    AddFeeOption(*add, options->TTF, "--ttf", "TTF payee, a la place de celle des reglages");
    CLI::App* close = action("close", "Noter la vente d'une position ; courtage selon les reglages",
                             TPositionsAction::paClose);
    close->add_option("ID", options->Id, "Numero de la position")->required()->type_name("");
    AddDayAndPrice(*close, *options, "Jour de la vente", "Prix de vente par action");
    close->add_option("--reason", options->Reason, "Motif : stop, 20 seances ou manuel")
        ->type_name("MOTIF");
    AddFeeOption(*close, options->Brokerage, "--brokerage",
                 "Courtage paye, a la place de celui des reglages");
    action("remove", "Effacer une position du journal", TPositionsAction::paRemove)
        ->add_option("ID", options->Id, "Numero de la position")
        ->required()
        ->type_name("");
    action("export", "Ecrire le journal dans un fichier CSV", TPositionsAction::paExport)
        ->add_option("FICHIER", options->File, "Fichier CSV ecrit")
        ->required()
        ->type_name("");
    action("import", "Ajouter au journal les positions d'un fichier CSV exporte",
           TPositionsAction::paImport)
        ->add_option("FICHIER", options->File, "Fichier CSV lu")
        ->required()
        ->type_name("");
}

void AddScheduleCommand(CLI::App& AApp, TCommandRun& ARun) {
    auto options = std::make_shared<TScheduleOptions>();
    CLI::App* command = AddSubcommand(
        AApp, "schedule", "Scanner du jour lance seul apres la cloture (systemd utilisateur)");
    command->require_subcommand(1);
    const std::string files =
        FooterLine("unites systemd (ecrites)", (UserUnitDir() / ScanTimerName).string()) +
        FooterLine("", std::string("et ") + ScanServiceName) +
        FooterLine("journal des scans (lu)", ScanLogFile().string());
    command->footer(SubcommandFooter(AApp, files));
    const auto action = [&](const char* AName, const char* ADescription, TScheduleAction AAction,
                            const std::string& AExits) {
        CLI::App* sub = AddSubcommand(*command, AName, ADescription);
        sub->footer(SubcommandFooter(AApp, files, AExits));
        sub->callback([options, AAction, &ARun] {
            options->Action = AAction;
            ARun.Exit = ScheduleCommand(*options, ARun.Out, ARun.Err);
        });
        return sub;
    };
    action("enable", "Planifier le scanner et sa notification du lundi au vendredi",
           TScheduleAction::scEnable,
           FooterLine("1", "aussi sans session systemd : ligne crontab affichee"))
        ->add_option("--time", options->Time, "Heure locale du scan, par defaut 18:15")
        ->type_name("HH:MM");
    action("disable", "Arreter le scan planifie et retirer ses unites", TScheduleAction::scDisable,
           "");
    action("status", "Scan planifie ou non, prochain passage, fin du dernier passage",
           TScheduleAction::scStatus, "");
}

}  // namespace

int RunCommandLine(int argc, char** argv, std::ostream& AOut, std::ostream& AErr) {
    CLI::App app("Cotalys : analyse technique des valeurs du CAC 40", "cotalys");
    UseFrenchHelp(app);
    app.set_version_flag("--version", std::string("Cotalys ") + COTALYS_VERSION,
                         "Afficher la version");
    app.fallthrough();
    TCommonOptions common;
    AddCommonOptions(app, common);
    // The subcommands run from their callbacks, once the whole line is read and checked and the
    // common options have taken effect.
    app.parse_complete_callback([&common] { ApplyCommonOptions(common); });
    TCommandRun run{AOut, AErr, std::nullopt};
    AddAnalyseCommand(app, common, run);
    AddScanCommand(app, common, run);
    AddBacktestCommand(app, common, run);
    AddServeQuotesCommand(app, run);
    AddStoreCommand(app, run);
    AddPositionsCommand(app, run);
    AddScheduleCommand(app, run);
    app.footer(HelpFooter("", ""));

    if (argc <= 1) {
        AOut << app.help();
        return ExitSuccess;
    }
    try {
        app.parse(argc, argv);
        if (run.Exit) {
            return *run.Exit;
        }
        AErr << "Sous-commande manquante : analyse, scan, backtest, serve-quotes, store, "
                "positions ou schedule\n";
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
