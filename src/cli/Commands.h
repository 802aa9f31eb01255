#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/Core.h"

namespace cotalys {

// Options every subcommand takes.
struct TCommonOptions {
    std::string AsOf;       // "YYYY-MM-DD": the day taken as today; empty for the real date
    std::string QuoteHost;  // host or base URL of the quote service; empty for the configured one
    int DelayMs = -1;       // pause between two requests of a batch run; -1 for its own default
    bool NoStore = false;   // go to the quote service without the local price store
};

struct TAnalyseOptions {
    std::string Symbol;
    std::string Source = "yahoo";       // "yahoo", "html" or "file"
    std::string Location;               // fallback or page URL template, or the file
    std::string PngFile;                // chart export; empty for none
    std::string PngSize = "1600x1000";  // chart export size, "WIDTHxHEIGHT" in pixels
    std::string PngFrom;                // "YYYY-MM-DD": first day of the export; empty for the year
    bool UseStore = true;               // the quote service through the local price store
};

struct TBatchOptions {
    std::string SymbolsFile;  // empty: "cac40.txt" beside the executable, else the CAC 40
    std::string OutputDir;    // folder of the report files; empty for the Cotalys documents folder
    int Years = 1;            // backtest only
    bool Notify = false;      // scan only: a desktop notification and a line in the scan log
    std::string PngFile;      // backtest only: its picture; empty for none
    double Capital = 0;       // the sizing settings' capital for this run; 0 keeps the file's
};

struct TServeOptions {
    std::string DataDir;
    int Port = 8080;  // 0 for any free port
    bool ShiftToToday = false;
    bool LogRequests = false;  // one line per request on the error stream
};

// What to do with the local price store: say what it holds, forget symbols (or all), or import
// the price files SYMBOL.csv of a folder.
enum class TStoreAction { saStatus, saClear, saImport };

struct TStoreOptions {
    TStoreAction Action = TStoreAction::saStatus;
    std::vector<std::string> Symbols;
    std::string Folder;
};

// What to do with the positions journal.
enum class TPositionsAction { paList, paAdd, paClose, paRemove, paExport, paImport };

struct TPositionsOptions {
    TPositionsAction Action = TPositionsAction::paList;
    bool Closed = false;            // list: the closed positions instead of the open ones
    std::string Symbol;             // add
    std::string Date;               // add, close: "YYYY-MM-DD"
    double Price = 0;               // add: entry price; close: exit price
    std::int64_t Shares = 0;        // add
    double Stop = NaN;              // add: NaN for none
    std::string Note;               // add
    double Brokerage = NaN;         // add, close: the brokerage paid; NaN for the settings' one
    double TTF = NaN;               // add: the tax paid; NaN for the settings' one
    std::int64_t Id = 0;            // close, remove
    std::string Reason = "manuel";  // close: "stop", "20 seances" or "manuel"
    std::string File;               // export, import
};

// Input the command line refuses; it ends the program with the bad-arguments exit code.
class EUsageError : public EFinanceError {
public:
    using EFinanceError::EFinanceError;
    const char* ClassName() const noexcept override { return "EUsageError"; }
};

// Each subcommand returns the process exit code; results go to AOut, progress to AErr. They
// throw EUsageError for unusable input and let other failures escape to the caller, which prints
// the message and exits with the failure code.
int AnalyseCommand(const TAnalyseOptions& AOptions, std::ostream& AOut, std::ostream& AErr);
int ScanCommand(const TCommonOptions& ACommon, const TBatchOptions& AOptions, std::ostream& AOut,
                std::ostream& AErr);
int BacktestCommand(const TCommonOptions& ACommon, const TBatchOptions& AOptions,
                    std::ostream& AOut, std::ostream& AErr);
int ServeQuotesCommand(const TServeOptions& AOptions, std::ostream& AOut, std::ostream& AErr);
int PositionsCommand(const TPositionsOptions& AOptions, std::ostream& AOut, std::ostream& AErr);
int StoreCommand(const TStoreOptions& AOptions, std::ostream& AOut, std::ostream& AErr);

}  // namespace cotalys
