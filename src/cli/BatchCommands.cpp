#include <atomic>
#include <csignal>
#include <filesystem>
#include <memory>
#include <ostream>

#include "backtest/Backtest.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/PngExport.h"
#include "cli/Schedule.h"
#include "cli/UserSizing.h"
#include "core/Core.h"
#include "portfolio/Portfolio.h"
#include "providers/Providers.h"
#include "scanner/Scanner.h"

namespace cotalys {
namespace {

// Set by the first Ctrl+C: the download in progress ends at once, the run stops and still
// reports.
std::atomic<bool> StopRequested{false};

extern "C" void RequestRunStop(int) {
    StopRequested = true;
    // A second Ctrl+C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

// Installs the Ctrl+C handler for the lifetime of one batch run, and makes it cancel the
// run's transfers.
class TInterruptGuard {
public:
    TInterruptGuard() : FCancelTransfers(&StopRequested) {
        StopRequested = false;
        FPrevious = std::signal(SIGINT, RequestRunStop);
    }
    ~TInterruptGuard() { std::signal(SIGINT, FPrevious); }
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

private:
    TTransferCancelScope FCancelTransfers;
    void (*FPrevious)(int);
};

// The cancel query of a run: true once Ctrl+C was pressed, saying so once on AErr.
TCancelQuery CancelOnInterrupt(std::ostream& AErr, const std::string& AMessage) {
    return [&AErr, AMessage, told = false]() mutable {
        if (StopRequested && !told) {
            AErr << AMessage << "\n";
            told = true;
        }
        return StopRequested.load();
    };
}

TBatchProgress ProgressTo(std::ostream& AErr) {
    return [&AErr](const std::string& ALine) { AErr << ALine << "\n" << std::flush; };
}

// The symbols of a run: the file of --symbols, else "cac40.txt" beside the executable, else the
// built-in CAC 40. A list read from a file is announced on AErr after APrefix.
std::vector<std::string> RunSymbols(const TBatchOptions& AOptions, const std::string& APrefix,
                                    std::ostream& AErr) {
    if (!AOptions.SymbolsFile.empty() && !std::filesystem::exists(AOptions.SymbolsFile)) {
        throw EUsageError("Fichier de symboles introuvable : " + AOptions.SymbolsFile);
    }
    TSymbolList list;
    try {
        list = ChooseSymbolList(AOptions.SymbolsFile.empty()
                                    ? SymbolListFile()
                                    : std::filesystem::path(AOptions.SymbolsFile));
    } catch (const EFinanceError& e) {
        throw EFinanceError(APrefix + e.Message());
    }
    if (!list.File.empty()) {
        AErr << APrefix << list.ReadNote() << "\n";
    }
    return std::move(list.Symbols);
}

// Gives a scan or a backtest the user's own sizing settings, as the window uses them (why the
// defaults stand in for an unreadable file goes to AErr), and the options both runs take.
template <class TRun>
void Configure(TRun& ARun, const TCommonOptions& ACommon, const TBatchOptions& AOptions,
               std::ostream& AErr) {
    TSizingParams sizing = LoadUserSizing(AErr);
    if (AOptions.Capital > 0) {
        sizing.Capital = AOptions.Capital;
        sizing.Validate();
    }
    ARun.SetSizing(sizing);
    ARun.SetOutputDir(AOptions.OutputDir);
    if (ACommon.DelayMs >= 0) {
        ARun.SetDelayMs(ACommon.DelayMs);
    }
    ARun.SetUseStore(!ACommon.NoStore);
}

// Writes the report of a scan that ran and says how the run ends: its exit code.
int ReportScan(const TDailyScanner& AScanner, const std::vector<TScanRow>& ARows,
               std::ostream& AOut, std::ostream& AErr) {
    AOut << TDailyScanner::FormatReport(ARows, AScanner.Market(), AScanner.Interrupted()) << "\r\n";
    if (AScanner.CsvFileName().empty()) {
        AErr << "Scanner : CSV non ecrit : " << AScanner.CsvError() << "\n";
        return ExitFailure;
    }
    AOut << "Detail du scanner : " << AScanner.CsvFileName().string() << "\r\n";
    if (StopRequested) {
        return ExitInterrupted;
    }
    const bool allFailed = std::all_of(ARows.begin(), ARows.end(), [](const TScanRow& ARow) {
        return ARow.Status == TScanStatus::ssError;
    });
    if (allFailed) {
        AErr << "Scanner : aucun titre n'a pu etre analyse\n";
        return ExitFailure;
    }
    return ExitSuccess;
}

}  // namespace

int ScanCommand(const TCommonOptions& ACommon, const TBatchOptions& AOptions, std::ostream& AOut,
                std::ostream& AErr) {
    TDailyScanner scanner(RunSymbols(AOptions, "", AErr));
    Configure(scanner, ACommon, AOptions, AErr);
    AErr << Format("Scanner du jour lance sur %d titre(s)...",
                   static_cast<int>(scanner.Symbols().size()))
         << "\n"
         << "Taille de position : " << scanner.Sizing().Summary() << "\n";
    const TInterruptGuard guard;
    const std::vector<TScanRow> rows =
        scanner.Run(ProgressTo(AErr), CancelOnInterrupt(AErr, "Scanner : arret demande"));
    const int exitCode = ReportScan(scanner, rows, AOut, AErr);
    if (AOptions.Notify) {
        NotifyScanEnd(rows, exitCode, AErr);
    }
    return exitCode;
}

int BacktestCommand(const TCommonOptions& ACommon, const TBatchOptions& AOptions,
                    std::ostream& AOut, std::ostream& AErr) {
    TBacktestRunner runner(RunSymbols(AOptions, "Backtest : ", AErr), StandardVariants());
    runner.SetYears(AOptions.Years);
    Configure(runner, ACommon, AOptions, AErr);
    const auto simulation = std::make_shared<TPortfolioSimulation>();
    runner.SetExtension(PortfolioExtension(simulation));
    AErr << Format("Backtest lance sur %d titre(s) et %d an(s), quelques minutes...",
                   static_cast<int>(runner.Symbols().size()), runner.Years())
         << "\n";
    const TInterruptGuard guard;
    const std::string report = runner.Run(
        ProgressTo(AErr), CancelOnInterrupt(AErr, "Backtest : arret demande, rapport partiel"));
    AOut << report << "\r\n";
    if (!AOptions.PngFile.empty()) {
        if (runner.Figures().Empty()) {
            AErr << "Graphique du backtest non exporte : aucun titre analyse\n";
        } else {
            ExportBacktestPng(runner.Figures(), AOptions.PngFile);
            AErr << "Graphique du backtest exporte : " << AOptions.PngFile << "\n";
            const std::string portfolio = PortfolioPictureName(AOptions.PngFile);
            ExportPortfolioPng(PortfolioFiguresOf(*simulation), portfolio);
            AErr << "Graphique du portefeuille exporte : " << portfolio << "\n";
        }
    }
    if (runner.CsvFileName().empty()) {
        AErr << report.substr(report.rfind("\r\n") + 4) << "\n";
        return ExitFailure;
    }
    if (StopRequested) {
        return ExitInterrupted;
    }
    if (runner.Failed().size() == runner.Symbols().size()) {
        AErr << "Backtest : aucun titre n'a pu etre analyse\n";
        return ExitFailure;
    }
    return ExitSuccess;
}

}  // namespace cotalys
