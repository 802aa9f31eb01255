#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "core/Core.h"
#include "providers/Providers.h"
#include "store/Store.h"

namespace cotalys {
namespace {

// The bytes the store takes on disk, its journal included.
std::uintmax_t SizeOnDisk(const std::filesystem::path& AFile) {
    std::uintmax_t total = 0;
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::path part = AFile;
        part += suffix;
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(part, error);
        total += error ? 0 : size;
    }
    return total;
}

int Status(TPriceStore& AStore, std::ostream& AOut) {
    const std::vector<TStoredSymbol> symbols = AStore.Symbols();
    int bars = 0;
    for (const TStoredSymbol& symbol : symbols) {
        AOut << Format("%-10s %s -> %s %6d seance(s)", symbol.Symbol, FrenchDate(symbol.FirstBar),
                       FrenchDate(symbol.LastBar), symbol.Bars)
             << "\n";
        bars += symbol.Bars;
    }
    AOut << Format("%d symbole(s), %d seance(s), %s Mo sur le disque",
                   static_cast<int>(symbols.size()), bars,
                   FormatFloat("0.0", SizeOnDisk(AStore.File()) / (1024.0 * 1024.0),
                               FrenchFormatSettings()))
         << "\n";
    return ExitSuccess;
}

// Every SYMBOL.csv of the folder, read as the local file source reads it and stored as if the
// quote service had sent it now.
int Import(TPriceStore& AStore, const std::filesystem::path& AFolder, std::ostream& AOut,
           std::ostream& AErr) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(AFolder, error)) {
        if (entry.is_regular_file() && LowerAscii(entry.path().extension().string()) == ".csv") {
            files.push_back(entry.path());
        }
    }
    if (error) {
        throw EUsageError(Format("Dossier illisible : %s (%s)", AFolder.string(), error.message()));
    }
    std::sort(files.begin(), files.end());
    int failures = 0;
    for (const auto& file : files) {
        const std::string symbol = UpperAscii(file.stem().string());
        try {
            TPriceSeries series(symbol);
            TParseReport report;
            TLocalFileProvider(file.string())
                .Load(symbol, 0, EncodeDate(9999, 12, 31), series, report);
            TStoredHistory history;
            history.FirstDay = series.First().Date;
            history.LastDay = series.Last().Date;
            history.FetchedAt = LocalMidnightToUnix(Today());
            history.Bars = series.Bars();
            history.Dividends = series.Dividends();
            AStore.Write(symbol, history, true);
            AOut << Format("%s : %d seance(s) importee(s), du %s au %s", symbol, series.Count(),
                           FrenchDate(history.FirstDay), FrenchDate(history.LastDay))
                 << "\n";
        } catch (const EFinanceError& e) {
            ++failures;
            AErr << Format("%s non importe : %s", file.filename().string(), e.Message()) << "\n";
        }
    }
    AOut << Format("%d fichier(s) importe(s) sur %d", static_cast<int>(files.size()) - failures,
                   static_cast<int>(files.size()))
         << "\n";
    return failures == 0 ? ExitSuccess : ExitFailure;
}

}  // namespace

int StoreCommand(const TStoreOptions& AOptions, std::ostream& AOut, std::ostream& AErr) {
    TPriceStore store;
    if (!store.Notice().empty()) {
        AErr << store.Notice() << "\n";
    }
    AOut << "Cache des cotations : " << store.File().string() << "\n";
    if (AOptions.Action == TStoreAction::saStatus) {
        return Status(store, AOut);
    }
    if (AOptions.Action == TStoreAction::saClear) {
        std::vector<std::string> symbols;
        for (const std::string& symbol : AOptions.Symbols) {
            symbols.push_back(UpperAscii(TrimBlanks(symbol)));
        }
        store.Clear(symbols);
        AOut << (AOptions.Symbols.empty()
                     ? std::string("Cache vide")
                     : Format("%d symbole(s) efface(s)", static_cast<int>(AOptions.Symbols.size())))
             << "\n";
        return ExitSuccess;
    }
    return Import(store, AOptions.Folder, AOut, AErr);
}

}  // namespace cotalys
